#pragma once
// A workspace over a small song built in code, for the automatic assignment.
#include "../workflow/SongBuilder.h"

#include "core/TMidiFile.h"
#include "song/AutoAssign.h"
#include "song/Workspace.h"
#include "storage/Schemas.h"
#include "storage/Table.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace assigntest {

namespace fs = std::filesystem;
using namespace versilla;
using workflowtest::Track;

/// Checks the order and answers through a ScriptedPrompter and keeps every
/// prompt with its appended text.
struct RecordingPrompter : Prompter {
    testsupport::ScriptedPrompter script;
    std::vector<Prompt> seen;
    Answer ask(const Prompt& p) override
    {
        seen.push_back(p);
        return script.ask(p);
    }
    std::string appended(MessageId id) const
    {
        for (const Prompt& p : seen)
            if (p.message == id)
                return p.appendText;
        return "(not asked)";
    }
};

/// A note-on of a song built here: tick, velocity, channel, note.
struct Note {
    std::int32_t tick;
    int velocity = 100;
    int channel = 1;
    int note = 60;
};

/// Format 1, 480 ticks per quarter, 120 BPM (a quarter is 500 ms): track 0 the
/// tempo, track 1 the given note-ons (each ended at `endTick` - 10), ending at `endTick`.
inline std::string melodySong(const std::vector<Note>& notes, std::int32_t endTick = 9600)
{
    Track conductor;
    conductor.tempo(0, 500000).end(endTick);
    Track melody;
    for (const Note& n : notes)
        melody.noteOn(n.tick, n.channel, n.note, n.velocity);
    for (const Note& n : notes)
        melody.noteOff(endTick - 10, n.channel, n.note);
    melody.end(endTick);
    return workflowtest::songBytes(1, 480, {conductor, melody});
}

/// (ZEIT, TEXT, GESTICKS, START, MEHRFACH, STRZEIT) of a row.
using RowTuple = std::tuple<std::int32_t, std::string, std::int32_t, std::int32_t, std::int32_t, std::string>;

inline std::vector<RowTuple> rowTuples(const lyrics::AssignmentList& list)
{
    std::vector<RowTuple> out;
    for (const lyrics::Row& r : list.rows())
        out.emplace_back(r.zeit, r.text, r.gesticks, r.start, r.mehrfach, r.strzeit);
    return out;
}

class AssignTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        dir = fs::temp_directory_path() /
              ("versilla_assign_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(dir);
        fs::create_directories(dir / "data");
        ASSERT_TRUE(storage::createTable(dir / "data", storage::kAssignmentTemplateAlias,
                                         storage::schemas::assignmentTemplate()));
        midi = std::make_unique<core::TMidiFile>(core::PlaybackSetup{nullptr, nullptr, false});
        ws = std::make_unique<song::Workspace>(*midi, dir / "data");
        ASSERT_TRUE(ws->createList());
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

    void open(const std::string& bytes)
    {
        {
            std::ofstream out(dir / "song.mid", std::ios::binary);
            out << bytes;
        }
        ws->setSettings(settings);
        const song::CommandResult r = ws->openFile((dir / "song.mid").string());
        ASSERT_NE(r.outcome, song::Outcome::Failed) << r.error;
        ASSERT_NE(r.outcome, song::Outcome::Refused);
    }

    /// The automatic assignment over `text` with the selection (start, length).
    song::AutoAssignResult run(const std::string& text, int selStart = 0, int selLength = 0, int next = 0)
    {
        assignmentText = text;
        song::AutoAssignInput in;
        in.text = assignmentText;
        in.selStart = selStart;
        in.selLength = selLength;
        in.nextPosition = next;
        in.beforeReport = [this] { reportedAfterFinish = prompter.seen.size(); };
        ws->setSettings(settings);
        return song::autoAssign(*ws, in, prompter);
    }

    fs::path dir;
    std::unique_ptr<core::TMidiFile> midi;
    std::unique_ptr<song::Workspace> ws;
    song::WorkspaceSettings settings;
    RecordingPrompter prompter;
    std::string assignmentText;
    std::size_t reportedAfterFinish = 999;
};

} // namespace assigntest
