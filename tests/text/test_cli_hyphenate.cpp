// versilla-cli hyphenate from outside: input through a file, output and exit code.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Outcome {
    int exitCode = -1;
    std::string output; // standard output, or both streams when asked
};

Outcome runCli(const std::string& arguments, const std::string& input, bool withStderr = false) {
    const std::filesystem::path in =
        std::filesystem::temp_directory_path() / ("versilla_hyphenate_" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream f(in, std::ios::binary);
        f << input;
    }
    const std::string command = std::string("'") + VERSILLA_BIN_DIR + "/versilla-cli' hyphenate " + arguments +
                                " < '" + in.string() + "'" + (withStderr ? " 2>&1" : " 2>/dev/null");
    Outcome result;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.output.append(buffer, got);
        const int status = ::pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::filesystem::remove(in);
    return result;
}

} // namespace

TEST(CliHyphenate, GermanTextWithUnixLineEnds) {
    // Bare LF lines stay lines (as CR LF); UTF-8 in and out.
    const Outcome r = runCli("--lang de", "Hallo, Welt!\nM\xC3\xA4" "dchen waschen\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "Hal-lo, Welt!\r\nM\xC3\xA4" "d-chen wa-schen\r\n");
}

TEST(CliHyphenate, EnglishTextWithWindowsLineEnds) {
    const Outcome r = runCli("--lang en", "hyphenation algorithm\r\nbeau-tiful  computer");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "hy-phen-ation al-go-rithm\r\nbeau-ti-ful  com-puter");
}

TEST(CliHyphenate, ProtectedCharactersSurvive) {
    // U+00B7 and U+00AC are the protected space and hyphen.
    const Outcome r = runCli("--lang de", "\xEF\xBB\xBF" "da\xC2\xB7ist Son\xC2\xACne");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "da-\xC2\xB7ist Son\xC2\xAC-ne");
}

TEST(CliHyphenate, CharacterOutsideTheCodePageIsRefused) {
    const Outcome r = runCli("--lang de", "Hallo\nWelt \xC4\x80 Sonne\n", true);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("U+0100 '\xC4\x80'"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("line 2, column 6"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Hal-lo"), std::string::npos) << "nothing is printed on refusal";

    const Outcome bad = runCli("--lang en", "ab\xFF" "cd", true);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.output.find("invalid UTF-8"), std::string::npos) << bad.output;
}

TEST(CliHyphenate, WrongCommandLine) {
    EXPECT_EQ(runCli("", "Hallo").exitCode, 2);
    EXPECT_EQ(runCli("--lang fr", "Hallo").exitCode, 2);
    EXPECT_EQ(runCli("--lang", "Hallo").exitCode, 2);
    EXPECT_EQ(runCli("--lang de extra", "Hallo").exitCode, 2);
    const Outcome help = runCli("--help", "");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("CR LF"), std::string::npos);
}
