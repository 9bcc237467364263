// The lyric text editor's logic: text from the song, file names, loading and saving.
#include "song/LyricTextFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace versilla::song;

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        dir = fs::temp_directory_path() /
              ("versilla_lyrictext_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;
};

TEST(LyricTextFromSong, Table)
{
    struct Case {
        const char* name;
        std::vector<std::string> items;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"syllables of one word get hyphens", {"Hal", "lo ", "Welt", "\xB6"}, "Hal-lo Welt\r\n"},
        {"an item ending in a hyphen gets no second one", {"Rock-", "n", "roll "}, "Rock-n-roll "},
        {"a list starting with a line break", {"\xB6", "Hal", "lo"}, "\r\nHal-lo"},
        {"no hyphen before a line break", {"Herz", "\xB6", "Schmerz"}, "Herz\r\nSchmerz"},
        {"a line break inside an item", {"Herz\xB6", "Schmerz"}, "Herz\r\nSchmerz"},
        {"protected characters stay", {"a\xB7" "b", "c\xAC" "d "}, "a\xB7" "b-c\xAC" "d "},
        {"empty list", {}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lyricTextFromSong(c.items), c.text) << c.name;
}

TEST(LyricTextFileNames, LoadAndSaveRules)
{
    // Loading looks for ".txt" in lower case only; saving for ".TXT" in any case.
    EXPECT_EQ(textFileNameAfterLoad("/x/lied.TXT"), "/x/lied.TXT.txt");
    EXPECT_EQ(textFileNameAfterLoad("/x/lied.txt"), "/x/lied.txt");
    EXPECT_EQ(textFileNameAfterLoad("/x/lied"), "/x/lied.txt");
    EXPECT_EQ(textFileNameAfterLoad("/x/lied.txt.bak"), "/x/lied.txt.bak");
    EXPECT_EQ(textFileNameForSave("/x/lied.TXT"), "/x/lied.TXT");
    EXPECT_EQ(textFileNameForSave("/x/lied.Txt"), "/x/lied.Txt");
    EXPECT_EQ(textFileNameForSave("/x/lied"), "/x/lied.txt");
    EXPECT_EQ(textFileNameForSave("/x/lied.md"), "/x/lied.md.txt");
}

TEST(LyricTextQuestions, ClearAsksOnlyForARealText)
{
    EXPECT_FALSE(clearTextAsks(""));
    EXPECT_FALSE(clearTextAsks("     "));
    EXPECT_TRUE(clearTextAsks("  a  "));
    EXPECT_TRUE(clearTextAsks("\r\n")); // only blanks count as nothing
}

TEST_F(TextFileTest, SaveAndLoadKeepEveryByte)
{
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes += static_cast<char>(b);
    bytes += "\r\nHal-lo\xB7Welt\xAC\r\n";
    const fs::path file = dir / "lied.txt";
    EXPECT_FALSE(saveAsAsksOverwrite(file));
    ASSERT_TRUE(saveLyricText(file, bytes)) << saveLyricText(file, bytes).message();
    EXPECT_TRUE(saveAsAsksOverwrite(file));
    EXPECT_EQ(readAll(file), bytes);
    const LyricTextLoad load = loadLyricText(file);
    ASSERT_TRUE(load.status);
    EXPECT_EQ(load.text, bytes);
    // Saving again replaces the whole file (no leftovers of a longer text).
    ASSERT_TRUE(saveLyricText(file, "kurz"));
    EXPECT_EQ(readAll(file), "kurz");
    // No temporary files stay behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(TextFileTest, AFailedLoadGivesAnEmptyTextAndAReason)
{
    const LyricTextLoad missing = loadLyricText(dir / "fehlt.txt");
    EXPECT_FALSE(missing.status);
    EXPECT_TRUE(missing.text.empty());
    EXPECT_NE(missing.status.message().find("fehlt.txt"), std::string::npos);
    const LyricTextLoad folder = loadLyricText(dir);
    EXPECT_FALSE(folder.status);
    EXPECT_TRUE(folder.text.empty());
}

TEST_F(TextFileTest, AFailedSaveLeavesTheOldFileIntact)
{
    const fs::path file = dir / "lied.txt";
    const std::string old = "Hal-lo Welt\r\n";
    {
        std::ofstream out(file, std::ios::binary);
        out << old;
    }
    // Files may grow to 64 bytes only: writing the long text fails part way, as
    // on a full disk. Truncating the target first would have lost the old text.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SongStatus s = saveLyricText(file, std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(s);
    EXPECT_NE(s.message().find("lied.txt"), std::string::npos);
    EXPECT_EQ(readAll(file), old);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 1); // the temporary file is gone too
}

TEST_F(TextFileTest, SavingOverAFolderFails)
{
    fs::create_directories(dir / "ordner.txt" / "inhalt");
    const SongStatus s = saveLyricText(dir / "ordner.txt", "x");
    EXPECT_FALSE(s);
    EXPECT_TRUE(fs::is_directory(dir / "ordner.txt" / "inhalt"));
}

} // namespace
