// versilla-cli assign: exit codes, the JSON line, refusals that write nothing.
#include "../workflow/SongBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using workflowtest::Track;

std::string readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

class CliAssign : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        dir = fs::temp_directory_path() /
              ("versilla_cli_assign_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Three quarter notes on channel 1 from tick 480; 120 BPM.
        Track conductor;
        conductor.tempo(0, 500000).end(4800);
        Track melody;
        melody.noteOn(480, 1, 60).noteOn(960, 1, 62).noteOn(1440, 1, 64).noteOff(4000, 1, 60).end(4800);
        writeAll(dir / "song.mid", workflowtest::songBytes(1, 480, {conductor, melody}));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    /// Runs versilla-cli assign with `options`; stdout and stderr land in files.
    int run(const std::string& lyrics, const std::string& options)
    {
        writeAll(dir / "lyrics.txt", lyrics);
        const std::string cmd = std::string("'") + VERSILLA_BIN_DIR + "/versilla-cli' assign '" +
                                (dir / "song.mid").string() + "' '" + (dir / "lyrics.txt").string() + "' -o '" +
                                (dir / "out.mid").string() + "' " + options + " >'" + (dir / "stdout").string() +
                                "' 2>'" + (dir / "stderr").string() + "'";
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string out() const { return readAll(dir / "stdout"); }
    std::string err() const { return readAll(dir / "stderr"); }

    fs::path dir;
};

TEST_F(CliAssign, CountsRowsEmptyNotesAndLeftSyllables)
{
    struct Case {
        std::string lyrics;
        std::string options;
        std::string json;
    };
    const std::vector<Case> cases = {
        {"Hal-lo Welt\n", "", "{\"rows\":3,\"notesWithoutSyllable\":0,\"syllablesLeft\":0}\n"},
        {"Hal-lo\r\nWelt", "", "{\"rows\":4,\"notesWithoutSyllable\":0,\"syllablesLeft\":0}\n"},
        {"Hal-lo", "", "{\"rows\":2,\"notesWithoutSyllable\":1,\"syllablesLeft\":0}\n"},
        {"Hal-lo Welt wie geht's", "", "{\"rows\":3,\"notesWithoutSyllable\":0,\"syllablesLeft\":2}\n"},
        // Title line: two words and its line break at one quarter note.
        {"Titel Interpret\nHal-lo Welt", "--intro-lines 1",
         "{\"rows\":6,\"notesWithoutSyllable\":0,\"syllablesLeft\":0}\n"},
        // German rules split the words, never the intro.
        {"Sonnen-Schein\nHallo Sonne", "--intro-lines 1 --hyphenate de",
         "{\"rows\":5,\"notesWithoutSyllable\":0,\"syllablesLeft\":1}\n"},
    };
    for (const Case& c : cases) {
        fs::remove(dir / "out.mid");
        EXPECT_EQ(run(c.lyrics, c.options), 0) << c.lyrics << "\n" << err();
        EXPECT_EQ(out(), c.json) << c.lyrics;
        EXPECT_TRUE(fs::exists(dir / "out.mid")) << c.lyrics;
    }
}

TEST_F(CliAssign, RefusalsWriteNothing)
{
    struct Case {
        const char* name;
        std::string lyrics;
        std::string options;
        std::string inMessage;
    };
    const std::vector<Case> cases = {
        {"no notes on the melody channel", "a b", "--melody 3", "Noten: 1 \n"},
        {"empty line", "a\n\nb", "", "Leerzeile"},
        {"character outside the code page", "Hal-lo \xC5\x82" "\xC3\xB3" "dka", "--encoding utf-8", "U+0142"},
        {"intro covers every line", "Titel Interpret", "--intro-lines 1", "intro"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.lyrics, c.options), 1) << c.name;
        EXPECT_FALSE(fs::exists(dir / "out.mid")) << c.name;
        EXPECT_TRUE(out().empty()) << c.name;
        EXPECT_FALSE(err().empty()) << c.name;
        EXPECT_NE(err().find(c.inMessage), std::string::npos) << c.name << ": " << err();
    }
    EXPECT_EQ(run("a", "--melody 0"), 2);
    EXPECT_EQ(run("a", "--hyphenate fr"), 2);
}

TEST_F(CliAssign, Utf8TextIsConverted)
{
    ASSERT_EQ(run("\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e", "--encoding utf-8"), 0) << err();
    // The song holds the Windows-1252 bytes of «Grüße».
    EXPECT_NE(readAll(dir / "out.mid").find("Gr\xFC\xDF" "e"), std::string::npos);
}

} // namespace
