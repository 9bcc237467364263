// versilla-cli events: exact output shape, exit codes, and agreement with mido.
#include "SmfBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

using namespace versilla::coretest;

struct ShellRun {
    int exitCode = -1;
    std::string out;
};

ShellRun runShell(const std::string& command) {
    ShellRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        run.out.append(buf.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::string kCli = std::string(VERSILLA_BIN_DIR) + "/versilla-cli";

std::filesystem::path writeTemp(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

TEST(CliEventsTest, PrintsTheSongAsOneJsonObject) {
    // Name: "Grüße" in Windows-1252 with a tab and a quote; events of each kind.
    const std::string name = bytes({'G', 'r', 0xFC, 0xDF, 'e', 0x09, '"'});
    const auto path = writeTemp(
        "versilla_cli_events.mid",
        header(1, 2, 96)
            + track(bytes({0x00, 0xFF, 0x03, 0x07}) + name
                    + bytes({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x0A, 0xC1, 0x05, 0x00, 0xF0, 0x02, 0x7E, 0xF7}))
            + track(bytes({0x00, 0x90, 0x3C, 0x40, 0x81, 0x00, 0x3C, 0x00}) + kEndOfTrack));
    const ShellRun run = runShell(kCli + " events '" + path.string() + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "{\"format\":1,\"trackCount\":2,\"division\":96,\"bpm\":60,\"tracks\":["
              "{\"name\":\"Gr\xC3\xBC\xC3\x9F" "e\\u0009\\\"\",\"events\":["
              "[0,255,3,0,\"4772fcdf65092" "2\"],[0,255,81,0,\"0f4240\"],[10,193,5,0,\"\"],[10,240,0,0,\"027ef7\"]]},"
              "{\"name\":\"\",\"events\":[[0,144,60,64,\"\"],[128,144,60,0,\"\"],[128,255,47,0,\"\"]]}]}\n");
    std::filesystem::remove(path);
}

TEST(CliEventsTest, SongWithoutTracksPrintsEmptyList) {
    const auto path = writeTemp("versilla_cli_events_empty.mid", "not a song at all");
    ShellRun run = runShell(kCli + " events '" + path.string() + "' 2>/dev/null");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "{\"format\":0,\"trackCount\":0,\"division\":0,\"bpm\":120,\"tracks\":[]}\n");
    std::filesystem::remove(path);

    // A missing file reads as a song without tracks; the complaint goes to stderr.
    run = runShell(kCli + " events /nonexistent/versilla/song.mid 2>&1 >/dev/null");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("cannot open"), std::string::npos);
    run = runShell(kCli + " events /nonexistent/versilla/song.mid 2>/dev/null");
    EXPECT_EQ(run.out, "{\"format\":0,\"trackCount\":0,\"division\":0,\"bpm\":120,\"tracks\":[]}\n");
}

TEST(CliEventsTest, WrongCommandLineExitsTwo) {
    EXPECT_EQ(runShell(kCli + " events 2>/dev/null").exitCode, 2);
    EXPECT_EQ(runShell(kCli + " events a.mid b.mid 2>/dev/null").exitCode, 2);
    const ShellRun run = runShell(kCli + " events 2>&1 >/dev/null");
    EXPECT_NE(run.out.find("usage"), std::string::npos);
}

TEST(CliEventsTest, ReadsAllTracksOfTheLargeTrackCountFile) {
    const std::string file = std::string(VERSILLA_CORPUS_DIR) + "/real/shkyrockett/empty-65535-tracks.mid";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "corpus file missing";
    const ShellRun run = runShell(kCli + " events '" + file + "' | head -c 60");
    EXPECT_EQ(run.out.rfind("{\"format\":1,\"trackCount\":65535,\"division\":480,", 0), 0u) << run.out;
}

TEST(CliEventsTest, AgreesWithMidoOnTheCorpus) {
    const std::string script = std::string(VERSILLA_SOURCE_DIR) + "/tests/core/compare_events_with_mido.py";
    if (runShell("/usr/bin/python3 -c 'import mido' 2>/dev/null").exitCode != 0)
        GTEST_SKIP() << "python3-mido not installed";
    const ShellRun run = runShell("/usr/bin/python3 '" + script + "' '" + kCli + "' '" VERSILLA_CORPUS_DIR "' 2>&1");
    EXPECT_EQ(run.exitCode, 0) << run.out;
}

} // namespace
