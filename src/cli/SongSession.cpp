#include "SongSession.h"

#include "storage/Schemas.h"
#include "storage/Table.h"
#include "text/CodePage1252.h"

#include <atomic>
#include <chrono>
#include <system_error>
#include <unistd.h>

namespace versilla::cli {

std::unique_ptr<SongSession> SongSession::create(std::string& error)
{
    std::unique_ptr<SongSession> session(new SongSession());
    static std::atomic<int> counter{0};
    std::error_code ec;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    session->m_folder = std::filesystem::temp_directory_path(ec) /
                        ("versilla-cli-" + std::to_string(::getpid()) + "-" + std::to_string(stamp) + "-" +
                         std::to_string(counter++));
    if (ec || !std::filesystem::create_directories(session->m_folder, ec)) {
        error = "cannot create a temporary data folder: " + ec.message();
        session->m_folder.clear();
        return nullptr;
    }
    if (auto st = storage::createTable(session->m_folder, storage::kAssignmentTemplateAlias,
                                       storage::schemas::assignmentTemplate());
        !st) {
        error = st.message();
        return nullptr;
    }
    session->m_song = std::make_unique<core::TMidiFile>(core::PlaybackSetup{nullptr, nullptr, false});
    session->m_workspace = std::make_unique<song::Workspace>(*session->m_song, session->m_folder);
    if (auto st = session->m_workspace->createList(); !st) {
        error = st.message();
        return nullptr;
    }
    return session;
}

SongSession::~SongSession()
{
    m_workspace.reset(); // closes the table before its folder goes
    m_song.reset();
    if (!m_folder.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
}

std::string messageText(MessageId id, const std::string& append)
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::filesystem::path dataFolder = exe.parent_path().parent_path() / "data";
        storage::Table table;
        storage::OpenOptions options;
        options.exclusive = false;
        options.readOnly = true;
        if (std::filesystem::exists(dataFolder / (std::string(storage::kMessagesAlias) + ".dbf"), ec) &&
            table.open(dataFolder, storage::kMessagesAlias, options)) {
            for (table.goTop(); !table.eof(); table.skip()) {
                if (table.fieldAsInteger("SPRACHE") == 0 && table.fieldAsInteger("GRUPPE") == id.group &&
                    table.fieldAsInteger("NUMMER") == id.number)
                    return text::cp1252ToUtf8(table.fieldAsString("NACHRICHT") + append);
            }
        }
    }
    return "message " + std::to_string(id.group) + "/" + std::to_string(id.number) + text::cp1252ToUtf8(append);
}

} // namespace versilla::cli
