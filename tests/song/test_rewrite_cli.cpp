#include "SmfBytes.h"

#include "core/TMidiFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace songtest;
namespace fs = std::filesystem;

namespace {

class RewriteCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("versilla-rewrite-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    /// Runs versilla-cli rewrite with `args`; returns the exit code.
    int run(const std::string& args)
    {
        const std::string cmd = "'" + std::string(VERSILLA_BIN_DIR) + "/versilla-cli' rewrite " + args + " 2>'" +
                                (m_dir / "stderr.txt").string() + "'";
        const int rc = std::system(cmd.c_str());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    std::string stderrText() const { return slurp(m_dir / "stderr.txt"); }
    static std::string slurp(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path write(const std::string& name, const std::string& content)
    {
        std::ofstream(m_dir / name, std::ios::binary) << content;
        return m_dir / name;
    }
    std::string q(const fs::path& p) const { return "'" + p.string() + "'"; }

    fs::path m_dir;
};

// A song in the writer's own layout: format 1, shortest quantities, every status
// byte present, one name per track.
std::string plainSong()
{
    const std::string t0 = bytes({0x00, 0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g'}) + tempoEvent(0, 500000) +
                           bytes({0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08}) + endOfTrack();
    std::string t1 = bytes({0x00, 0xC0, 0x05});
    for (int i = 0; i < 8; ++i)
        t1 += bytes({0x00, 0x90, 0x3C + i, 0x50}) + vlq(240) + bytes({0x90, 0x3C + i, 0x00});
    t1 += bytes({0x00, 0xFF, 0x05, 0x03, 'l', 'a', ' '}) + endOfTrack();
    return header(1, 2, 480) + track(t0) + track(t1);
}

} // namespace

TEST_F(RewriteCli, WrongCommandLineIsExitCodeTwo)
{
    const fs::path in = write("in.mid", plainSong());
    for (const std::string& args :
         {std::string(), q(in), q(in) + " a b", q(in) + " " + q(m_dir / "o.mid") + " --fast"}) {
        EXPECT_EQ(run(args), 2) << args;
        EXPECT_NE(stderrText().find("usage: versilla-cli rewrite"), std::string::npos) << args;
    }
    EXPECT_FALSE(fs::exists(m_dir / "o.mid"));
}

TEST_F(RewriteCli, RewritesByteIdenticalAndWithRunningStatus)
{
    const fs::path in = write("in.mid", plainSong());
    const fs::path out = write("out.mid", "previous");
    ASSERT_EQ(run(q(in) + " " + q(out)), 0) << stderrText();
    EXPECT_EQ(slurp(out), plainSong());

    const fs::path rs = m_dir / "rs.mid";
    ASSERT_EQ(run("--running-status " + q(in) + " " + q(rs)), 0) << stderrText();
    const std::string small = slurp(rs);
    // Eight note-offs after their note-ons and seven note-ons after note-offs
    // lose their status byte.
    EXPECT_EQ(small.size(), plainSong().size() - 15);
    versilla::core::TMidiFile a, b;
    a.ReadBytes(plainSong());
    b.ReadBytes(small);
    ASSERT_EQ(b.TrackCount(), 2);
    ASSERT_EQ(b.GetTrack(1)->EventCount(), a.GetTrack(1)->EventCount());
    for (int i = 0; i < a.GetTrack(1)->EventCount(); ++i) {
        EXPECT_EQ(b.GetTrack(1)->Events[i].Status, a.GetTrack(1)->Events[i].Status);
        EXPECT_EQ(b.GetTrack(1)->Events[i].Data1, a.GetTrack(1)->Events[i].Data1);
        EXPECT_EQ(b.GetTrack(1)->Events[i].Ticks, a.GetTrack(1)->Events[i].Ticks);
    }
}

TEST_F(RewriteCli, FailuresAreExitCodeOneAndLeaveOutAlone)
{
    const fs::path out = write("out.mid", "keep me");
    struct Case {
        const char* what;
        std::string in;
        fs::path out;
    } cases[] = {
        {"missing input", (m_dir / "missing.mid").string(), out},
        {"not a MIDI file", write("text.mid", "just some text, no chunks").string(), out},
        {"empty input", write("empty.mid", "").string(), out},
        {"output folder missing", write("in.mid", plainSong()).string(), m_dir / "no" / "out.mid"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(q(c.in) + " " + q(c.out)), 1) << c.what;
        EXPECT_NE(stderrText().find("versilla-cli rewrite: "), std::string::npos) << c.what;
    }
    EXPECT_EQ(slurp(out), "keep me");
    EXPECT_FALSE(fs::exists(m_dir / "no"));
}
