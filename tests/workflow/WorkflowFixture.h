#pragma once
#include "SongBuilder.h"

#include "core/TMidiFile.h"
#include "song/Workspace.h"
#include "storage/Schemas.h"
#include "storage/Table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace workflowtest {

namespace fs = std::filesystem;
using namespace versilla;

/// Counts busy/idle calls: every busy must be followed by idle.
struct CountingObserver : song::WorkspaceObserver {
    int busyCalls = 0;
    int idleCalls = 0;
    std::vector<std::string> keys;
    void busy(std::string_view key, bool) override
    {
        ++busyCalls;
        keys.emplace_back(key);
    }
    void idle() override { ++idleCalls; }
};

/// File dialogs answered from the test.
struct FakeChooser : song::SongFileChooser {
    std::optional<std::string> openAnswer;
    std::optional<std::string> saveAnswer;
    std::string seenPreset;
    std::string seenFolder;
    std::string seenProposed;
    std::optional<std::string> chooseSongToOpen(const std::string& preset) override
    {
        seenPreset = preset;
        return openAnswer;
    }
    std::optional<std::string> chooseSaveName(const std::string& folder, const std::string& proposed) override
    {
        seenFolder = folder;
        seenProposed = proposed;
        return saveAnswer;
    }
};

/// Records every prompt (with its appended text) and answers from a list.
struct RecordingPrompter : Prompter {
    std::vector<Prompt> asked;
    std::vector<Answer> answers;
    Answer ask(const Prompt& p) override
    {
        asked.push_back(p);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected prompt " << p.message.group << "/" << p.message.number;
            return Answer::No;
        }
        Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
};

inline std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeAll(const fs::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

/// (tick, text) of every lyric event of a track.
using Lyrics = std::vector<std::pair<std::int32_t, std::string>>;
inline Lyrics lyricsOf(const core::TMidiFile& song, int track)
{
    Lyrics out;
    if (const core::TMidiTrack* t = song.GetTrack(track))
        for (const core::TMidiEvent& ev : t->Events)
            if (ev.isMeta(0x05))
                out.emplace_back(ev.Ticks, std::string(core::EventText(ev)));
    return out;
}

inline std::vector<std::string> rowTexts(const lyrics::AssignmentList& list)
{
    std::vector<std::string> out;
    for (const auto& r : list.rows())
        out.push_back(r.text);
    return out;
}

/// A fresh data folder with the template "texte0", a song object without a
/// playback thread and a workspace over both.
class WorkflowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        dir = fs::temp_directory_path() /
              ("versilla_workflow_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(dir);
        fs::create_directories(dir / "data");
        ASSERT_TRUE(storage::createTable(dir / "data", storage::kAssignmentTemplateAlias,
                                         storage::schemas::assignmentTemplate()));
        midi = std::make_unique<core::TMidiFile>(core::PlaybackSetup{nullptr, nullptr, false});
        ws = std::make_unique<song::Workspace>(*midi, dir / "data");
        ASSERT_TRUE(ws->createList());
        ws->setObserver(&observer);
        ws->setDeleteLimit(std::chrono::milliseconds(200));
        settings.melodie = 1;
        settings.textspur = 1;
        ws->setSettings(settings);
    }
    void TearDown() override
    {
        ws.reset();
        midi.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    fs::path data() const { return dir / "data"; }

    /// Writes `bytes` as `name` in the test folder and opens it.
    song::CommandResult openBytes(const std::string& bytes, const std::string& name = "song.mid")
    {
        writeAll(dir / name, bytes);
        return ws->openFile((dir / name).string());
    }

    void applySettings() { ws->setSettings(settings); }

    /// Changes the TEXT of the row at `pos` through the save rules, as the grid does.
    void editText(int pos, const std::string& text)
    {
        ASSERT_TRUE(ws->list().setCurrentPosition(pos));
        ASSERT_TRUE(ws->list().setText(text));
        ASSERT_FALSE(ws->list().post().has_value());
    }

    fs::path dir;
    std::unique_ptr<core::TMidiFile> midi;
    std::unique_ptr<song::Workspace> ws;
    CountingObserver observer;
    song::WorkspaceSettings settings;
};

} // namespace workflowtest
