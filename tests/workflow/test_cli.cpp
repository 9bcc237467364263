// versilla-cli lyrics and write, run as the separate program.
#include "WorkflowFixture.h"

#include <cstdio>
#include <cstdlib>

using namespace workflowtest;

namespace {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

CliRun runCli(const std::string& args, const fs::path& scratch)
{
    const fs::path errFile = scratch / "stderr.txt";
    std::string command = "'";
    command += VERSILLA_BIN_DIR;
    command += "/versilla-cli' ";
    command += args;
    command += " 2>'";
    command += errFile.string();
    command += "'";
    CliRun r;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            r.out.append(buf, n);
        const int status = ::pclose(pipe);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    r.err = readAll(errFile);
    return r;
}

std::string q(const fs::path& p)
{
    std::string quoted = "'";
    quoted += p.string();
    quoted += "'";
    return quoted;
}

/// 120 BPM, 480 ticks per quarter, 4000 ms long; one note-on per quarter on channel 1.
std::string smallSong()
{
    Track conductor;
    conductor.bpm(0, 120).timeSignature(0, 4, 2).end(3840);
    Track melody;
    for (int tick = 0; tick < 3840; tick += 480)
        melody.noteOn(tick, 1, 60 + tick / 480).noteOff(tick + 400, 1, 60 + tick / 480);
    melody.lyric(960, "alt ").end(3840);
    return songBytes(1, 480, {conductor, melody});
}

} // namespace

TEST_F(WorkflowTest, CliWritesRowsAndReadsThemBack)
{
    writeAll(dir / "in.mid", smallSong());
    writeAll(dir / "rows.json", R"({"rows":[{"zeit":500,"text":"Hal\u00a4"},{"zeit":1000,"text":"lo","start":1},)"
                                R"({"zeit":1000,"text":"¶"},{"zeit":1500,"text":"rock¬n·roll","mehrfach":2}]})");
    const CliRun w = runCli("write " + q(dir / "in.mid") + " " + q(dir / "rows.json") + " -o " + q(dir / "out.mid"), dir);
    ASSERT_EQ(w.code, 0) << w.err;

    core::TMidiFile out(core::PlaybackSetup{nullptr, nullptr, false});
    out.ReadBytes(readAll(dir / "out.mid"));
    EXPECT_EQ(lyricsOf(out, 1), (Lyrics{{480, "Hal"}, {960, "lo"}, {960, "\r"}, {1440, "rock-n roll "}}));

    const CliRun l = runCli("lyrics " + q(dir / "out.mid"), dir);
    ASSERT_EQ(l.code, 0) << l.err;
    EXPECT_NE(l.out.find(R"("rows":[{"zeit":500,"strzeit":"0:00:00.500","text":"Hal¤","gesticks":480},)"
                         R"({"zeit":1000,"strzeit":"0:00:01.000","text":"lo¤","gesticks":960},)"
                         R"({"zeit":1000,"strzeit":"0:00:01.000","text":"¶","gesticks":960},)"
                         R"({"zeit":1500,"strzeit":"0:00:01.500","text":"rock¬n·roll","gesticks":1440}]})"),
              std::string::npos)
        << l.out;
    EXPECT_NE(l.out.find(R"("songLengthMs":4000,"endTick":3840,"timeSignature":"4/4","shownBpm":120,)"
                         R"("tempo":[{"tick":0,"ms":0,"tempo":500000,"bpm":120}],"melody":[[480,61,72,true],)"),
              std::string::npos)
        << l.out;
}

TEST_F(WorkflowTest, CliRefusesRowsAndWritesNothing)
{
    writeAll(dir / "in.mid", smallSong());
    const bool messagesBuilt = fs::exists(fs::path(VERSILLA_DATA_DIR) / "Messages.dbf");
    struct Case {
        std::string rows;
        std::string inError;
    };
    const Case cases[] = {
        {R"([{"zeit":100,"text":"¤"}])", messagesBuilt ? "allein ist keine Silbe" : "message 1/44"},
        {R"([{"zeit":4000,"text":"spät"}])", messagesBuilt ? "nicht innerhalb des Songs" : "message 1/47"},
        {R"([{"zeit":100,"text":"a→b"}])", "U+2192"},
        {R"([{"text":"ohne Zeit"}])", "\"zeit\" is missing"},
        {R"([{"zeit":1,"text":"x"},)", "expected"},
    };
    for (const Case& c : cases) {
        writeAll(dir / "rows.json", c.rows);
        const CliRun r =
            runCli("write " + q(dir / "in.mid") + " " + q(dir / "rows.json") + " -o " + q(dir / "out.mid"), dir);
        EXPECT_EQ(r.code, 1) << c.rows;
        EXPECT_NE(r.err.find(c.inError), std::string::npos) << c.rows << "\n" << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.mid")) << c.rows;
    }
}
