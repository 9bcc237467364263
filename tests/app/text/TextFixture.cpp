#include "TextFixture.h"

#include "storage/Schemas.h"
#include "storage/Table.h"

#include <QTabWidget>
#include <QTest>

#include <fstream>
#include <iterator>

namespace versilla::app::testing {

void TextTest::SetUp() {
    ShellTest::SetUp();
    if (HasFatalFailure()) return;
    // A known language and the mapper device: the first activation asks nothing.
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "-1");
    window = startedWindow();
    ASSERT_TRUE(window->firstActivation());
    const std::filesystem::path songData = folder() / "songdata";
    std::filesystem::create_directories(songData);
    ASSERT_TRUE(storage::createTable(songData, storage::kAssignmentTemplateAlias,
                                     storage::schemas::assignmentTemplate()));
    midi = std::make_unique<core::TMidiFile>(core::PlaybackSetup{nullptr, nullptr, false});
    ws = std::make_unique<song::Workspace>(*midi, songData);
    ASSERT_TRUE(ws->createList());
    ws->setDeleteLimit(std::chrono::milliseconds(200));
    song::WorkspaceSettings settings;
    settings.melodie = 1;
    settings.textspur = 1;
    ws->setSettings(settings);
    tab3().setWorkspace(ws.get());
    tab4().setWorkspace(ws.get());
}

void TextTest::TearDown() {
    if (window) {
        tab3().setWorkspace(nullptr);
        tab4().setWorkspace(nullptr);
    }
    window.reset();
    ws.reset();
    midi.reset();
    prompter.verify();
}

void TextTest::showWindow() {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void TextTest::showTab(int index) {
    window->PageControl1->setCurrentIndex(index);
}

void TextTest::select(QTextEdit* edit, int start, int length) {
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

void TextTest::openSong(const std::string& bytes) {
    const std::string path = writeFile("song.mid", bytes);
    const song::CommandResult result = ws->openFile(path);
    ASSERT_EQ(result.outcome, song::Outcome::Done) << result.error;
}

std::string TextTest::writeFile(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = folder() / name;
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path.string();
}

std::string TextTest::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace versilla::app::testing
