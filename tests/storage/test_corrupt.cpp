#include <functional>

#include "TableFixture.h"
#include "storage/Schemas.h"

namespace versilla::storage::test {
namespace {

/// A valid two-row assignment list; each case below damages it one way.
class CorruptTableTest : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        ASSERT_TRUE(createTable(dir, "Messages", schemas::messages()));
        Table t;
        ASSERT_TRUE(t.open(dir, "Messages", quick()));
        for (int i = 1; i <= 2; ++i) {
            ASSERT_TRUE(t.appendStart());
            ASSERT_TRUE(t.replaceInteger("NUMMER", i));
            ASSERT_TRUE(t.replaceString("NACHRICHT", "Text " + std::to_string(i)));
            ASSERT_TRUE(t.appendEnd());
        }
        ASSERT_TRUE(t.close());
        good = readFile("Messages.dbf");
        ASSERT_GT(good.size(), 200u);
    }
    std::string good;
};

struct Damage {
    const char* name;
    std::function<void(std::string& dbf)> apply;
    const char* expected; // part of the error text
};

TEST_F(CorruptTableTest, DamagedFilesAreRefusedWithAClearError)
{
    const std::size_t headerLen = static_cast<unsigned char>(good[8]) | (static_cast<unsigned char>(good[9]) << 8);
    const Damage cases[] = {
        {"empty file", [](std::string& f) { f.clear(); }, "too short"},
        {"only part of the header", [](std::string& f) { f.resize(40); }, "too short"},
        {"unknown version byte", [](std::string& f) { f[0] = '\x42'; }, "version byte 0x42"},
        {"header length beyond the file", [](std::string& f) { f[8] = '\xFF'; f[9] = '\x7F'; }, "bad header length"},
        {"header length too small", [](std::string& f) { f[8] = 10; f[9] = 0; }, "bad header length"},
        {"record size mismatch", [](std::string& f) { f[10] = static_cast<char>(f[10] + 1); }, "record size mismatch"},
        {"last record cut short", [](std::string& f) { f.resize(f.size() - 20); }, "truncated"},
        {"record count too high", [](std::string& f) { f[4] = 9; }, "truncated"},
        {"unsupported field type", [](std::string& f) { f[32 + 11] = 'D'; }, "unsupported type 'D'"},
        {"field name not a name", [](std::string& f) { f[32] = '#'; }, "bad field name"},
        {"duplicate field", [](std::string& f) { std::copy(f.begin() + 32, f.begin() + 43, f.begin() + 64); }, "twice"},
        {"numeric width zero", [](std::string& f) { f[32 + 16] = 0; }, "width"},
        {"no field terminator", [headerLen](std::string& f) { f[headerLen - 1] = 'X'; }, "terminator"},
        {"bad delete flag", [headerLen](std::string& f) { f[headerLen] = 'Q'; }, "damaged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string damaged = good;
        c.apply(damaged);
        writeFile("Messages.dbf", damaged);
        Table t;
        const Status st = t.open(dir, "Messages", quick());
        ASSERT_FALSE(st);
        EXPECT_NE(st.message().find(c.expected), std::string::npos) << st.message();
        EXPECT_NE(st.message().find("Messages"), std::string::npos) << st.message();
        EXPECT_FALSE(t.isOpen());
        if (std::string(c.name) != "bad delete flag") { // rows are not part of the structure
            Schema schema;
            EXPECT_FALSE(readSchema(dir, "Messages", schema));
        }
    }
}

TEST_F(CorruptTableTest, AnySingleDamagedByteOpensCleanlyOrFailsWithText)
{
    // Every byte of the header and first record set to 0x00 and to 0xFF in turn:
    // the open either fails with a message or gives a table that reads safely.
    const std::size_t span = std::min<std::size_t>(good.size(), 32 * 7 + 1 + 2 * 118);
    for (std::size_t at = 0; at < span; ++at) {
        for (const char value : {'\0', '\xFF'}) {
            std::string damaged = good;
            damaged[at] = value;
            writeFile("Messages.dbf", damaged);
            Table t;
            const Status st = t.open(dir, "Messages", quick());
            if (!st) {
                EXPECT_FALSE(st.message().empty()) << "byte " << at;
                continue;
            }
            for (t.goTop(); !t.eof(); t.skip())
                for (const auto& f : t.fields()) {
                    (void)t.fieldAsString(f.name);
                    (void)t.fieldAsInteger(f.name);
                }
            EXPECT_LE(t.rowCount(), 2u) << "byte " << at;
        }
    }
}

TEST_F(CorruptTableTest, MissingFilesAreErrors)
{
    Table t;
    const Status noTable = t.open(dir, "Nothing", quick());
    ASSERT_FALSE(noTable);
    EXPECT_NE(noTable.message().find("Nothing.dbf"), std::string::npos);

    std::filesystem::remove(dir / "Messages.fpt");
    const Status noMemo = t.open(dir, "Messages", quick());
    ASSERT_FALSE(noMemo);
    EXPECT_NE(noMemo.message().find("memo file"), std::string::npos);

    writeFile("Messages.fpt", std::string(100, '\0'));
    EXPECT_FALSE(t.open(dir, "Messages", quick()));
}

TEST_F(CorruptTableTest, MemoPointingOutsideTheMemoFileReadsAsAnError)
{
    // Cut the memo file just after its header: the rows still point into it.
    std::string fpt = readFile("Messages.fpt");
    fpt.resize(512);
    writeFile("Messages.fpt", fpt);
    Table t;
    ASSERT_TRUE(t.open(dir, "Messages", quick()));
    std::string out = "old";
    const Status st = t.copyMemoField("NACHRICHT", out);
    EXPECT_FALSE(st);
    EXPECT_NE(st.message().find("memo"), std::string::npos);
    EXPECT_EQ(out, "");
    t.clearError();
    EXPECT_EQ(t.fieldAsString("NACHRICHT"), "");
    EXPECT_FALSE(t.lastError());
}

TEST_F(CorruptTableTest, BadTagDefinitionsAreErrors)
{
    writeFile("Messages.tags", "IPRIMAER ASC NOFIELD:right:2\n");
    Table t;
    Status st = t.open(dir, "Messages", quick());
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find("NOFIELD"), std::string::npos);

    writeFile("Messages.tags", "IPRIMAER UP SPRACHE:right:2\n");
    st = t.open(dir, "Messages", quick());
    ASSERT_FALSE(st);
    EXPECT_NE(st.message().find("line 1"), std::string::npos);
}

} // namespace
} // namespace versilla::storage::test
