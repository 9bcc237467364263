#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "TableFixture.h"
#include "storage/Schemas.h"

namespace versilla::storage::test {
namespace {

/// Visits the table in the current order and collects one field as text.
std::vector<std::string> column(Table& t, const char* field)
{
    std::vector<std::string> out;
    for (t.goTop(); !t.eof(); t.skip())
        out.push_back(t.fieldAsString(field));
    return out;
}

Status addSyllable(Table& t, std::int64_t zeit, const std::string& text)
{
    if (auto st = t.appendStart(); !st)
        return st;
    if (auto st = t.replaceInteger("ZEIT", zeit); !st)
        return st;
    if (auto st = t.replaceString("TEXT", text); !st)
        return st;
    return t.appendEnd();
}

TEST_F(TableTest, CreateFromTemplateCopiesFieldsAndTagsButNoRows)
{
    ASSERT_TRUE(createTable(dir, "texte0", schemas::assignmentTemplate()));
    {
        Table tmpl;
        ASSERT_TRUE(tmpl.open(dir, "texte0", quick()));
        ASSERT_TRUE(addSyllable(tmpl, 5, "row in the template"));
    }
    // An existing target with rows and a different structure is replaced.
    ASSERT_TRUE(createTable(dir, "texte", schemas::captions()));
    {
        Table old;
        ASSERT_TRUE(old.open(dir, "texte", quick()));
        ASSERT_TRUE(old.appendBlank());
    }
    ASSERT_TRUE(copyStructure(dir, "texte0", "texte"));

    Table t;
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    EXPECT_EQ(t.recCount(), 0u);
    EXPECT_TRUE(t.eof());
    const auto want = schemas::assignmentTemplate();
    ASSERT_EQ(t.fields().size(), want.fields.size());
    for (std::size_t i = 0; i < want.fields.size(); ++i) {
        EXPECT_EQ(t.fields()[i].name, want.fields[i].name);
        EXPECT_EQ(t.fields()[i].type, want.fields[i].type);
        EXPECT_EQ(t.fields()[i].width, want.fields[i].width);
        EXPECT_EQ(t.fields()[i].decimals, want.fields[i].decimals);
    }
    ASSERT_EQ(t.tags().size(), 1u);
    EXPECT_EQ(t.tags()[0].name, "IPRIMAER");
    EXPECT_TRUE(t.setTag("IPRIMAER"));

    // A template that does not exist is an error, not an empty table.
    EXPECT_FALSE(copyStructure(dir, "nothere", "other"));
}

TEST_F(TableTest, FieldValuesFollowTheReadAndWriteRulesAndSurviveReopen)
{
    ASSERT_TRUE(createTable(dir, "texte", schemas::assignmentTemplate()));
    {
        Table t;
        ASSERT_TRUE(t.open(dir, "texte", quick()));
        ASSERT_TRUE(t.appendStart());
        ASSERT_TRUE(t.replaceInteger("ZEIT", -1234567890));
        ASSERT_TRUE(t.replaceString("TEXT", "Hel\xA4   "));
        ASSERT_TRUE(t.replaceString("STRZEIT", "0:00:01.500"));
        ASSERT_TRUE(t.replaceDouble("ACHTEL", 12.34567));
        ASSERT_TRUE(t.replaceInteger("MEHRFACH", 1));
        ASSERT_TRUE(t.appendEnd());
        // Text too long for TEXT (99) is cut to the width.
        ASSERT_TRUE(t.appendBlank());
        ASSERT_TRUE(t.replaceString("TEXT", std::string(120, 'x')));
        ASSERT_TRUE(t.replaceString("ZEIT", "42"));
        ASSERT_TRUE(t.unlock());
        // Empty text into a number blanks it again.
        ASSERT_TRUE(t.recordLock());
        ASSERT_TRUE(t.replaceString("ZEIT", ""));
        ASSERT_TRUE(t.unlock());
        // Refused writes leave the row alone and say why.
        const Status tooWide = t.replaceInteger("START", 12345);
        EXPECT_FALSE(tooWide);
        EXPECT_NE(tooWide.message().find("START"), std::string::npos);
        EXPECT_FALSE(t.replaceString("GESTICKS", "12a"));
        EXPECT_FALSE(t.replaceString("NOSUCH", "x"));
        ASSERT_TRUE(t.close());
    }
    Table t;
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    ASSERT_EQ(t.recCount(), 2u);
    EXPECT_EQ(t.recNo(), 1u);
    EXPECT_EQ(t.fieldAsInteger("ZEIT"), -1234567890);
    EXPECT_EQ(t.fieldAsString("TEXT"), "Hel\xA4");
    EXPECT_EQ(t.fieldAsString("STRZEIT"), "0:00:01.500");
    EXPECT_DOUBLE_EQ(t.fieldAsDouble("ACHTEL"), 12.3457);
    EXPECT_EQ(t.fieldAsInteger("MEHRFACH"), 1);
    EXPECT_TRUE(t.isBlank("GESTICKS"));
    EXPECT_EQ(t.fieldAsInteger("GESTICKS"), 0);
    EXPECT_EQ(t.fieldAsString("GESTICKS"), "");
    t.skip();
    EXPECT_EQ(t.fieldAsString("TEXT"), std::string(99, 'x'));
    EXPECT_TRUE(t.isBlank("ZEIT"));
    EXPECT_EQ(t.fieldAsInteger("ZEIT"), 0);

    // Unknown field names read blank and leave an error to inspect.
    t.clearError();
    EXPECT_EQ(t.fieldAsString("NOSUCH"), "");
    EXPECT_FALSE(t.lastError());
    EXPECT_NE(t.lastError().message().find("NOSUCH"), std::string::npos);

    // Past the end every field reads blank.
    t.skip();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.fieldAsString("TEXT"), "");
    EXPECT_EQ(t.recNo(), 3u);
    EXPECT_FALSE(t.recordLock());
}

TEST_F(TableTest, LogicalFieldsReadTrueFalseAndBlankAsFalse)
{
    ASSERT_TRUE(createTable(dir, "Versilla", schemas::settings()));
    Table t;
    ASSERT_TRUE(t.open(dir, "Versilla", quick()));
    ASSERT_TRUE(t.appendBlank());
    EXPECT_FALSE(t.fieldAsBoolean("GLEICH"));
    EXPECT_TRUE(t.isBlank("GLEICH"));
    ASSERT_TRUE(t.replaceBoolean("GLEICH", true));
    ASSERT_TRUE(t.replaceBoolean("COPYRIGHT", false));
    ASSERT_TRUE(t.replaceInteger("DEVICENR", -1));
    ASSERT_TRUE(t.unlock());
    EXPECT_TRUE(t.fieldAsBoolean("GLEICH"));
    EXPECT_EQ(t.fieldAsString("GLEICH"), "T");
    EXPECT_FALSE(t.fieldAsBoolean("COPYRIGHT"));
    EXPECT_EQ(t.fieldAsString("COPYRIGHT"), "F");
    EXPECT_FALSE(t.isBlank("COPYRIGHT"));
    EXPECT_EQ(t.fieldAsInteger("DEVICENR"), -1);
    EXPECT_FALSE(t.replaceString("GLEICH", "maybe"));
}

TEST_F(TableTest, SignedTagKeepsNumericOrderAndRecordOrderForEqualKeys)
{
    ASSERT_TRUE(createTable(dir, "texte", schemas::assignmentTemplate()));
    Table t;
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    const std::vector<std::pair<int, std::string>> rows = {
        {500, "b1"}, {-20, "neg"}, {500, "b2"}, {0, "zero"}, {100000, "big"}, {-3, "small neg"}, {500, "b3"}, {9, "nine"}};
    for (const auto& [z, s] : rows)
        ASSERT_TRUE(addSyllable(t, z, s));
    ASSERT_TRUE(t.setTag("IPRIMAER"));
    const std::vector<std::string> want = {"neg", "small neg", "zero", "nine", "b1", "b2", "b3", "big"};
    EXPECT_EQ(column(t, "TEXT"), want);

    // Changing a key moves the row; equal keys still keep record order.
    ASSERT_TRUE(t.seek(keySigned(9)));
    ASSERT_TRUE(t.recordLock());
    ASSERT_TRUE(t.replaceInteger("ZEIT", 500));
    ASSERT_TRUE(t.unlock());
    const std::vector<std::string> moved = {"neg", "small neg", "zero", "b1", "b2", "b3", "nine", "big"};
    EXPECT_EQ(column(t, "TEXT"), moved);

    // Without a tag: record order.
    ASSERT_TRUE(t.setTag(""));
    EXPECT_EQ(column(t, "TEXT").front(), "b1");
    EXPECT_FALSE(t.setTag("NOSUCH"));

    // Tags are rebuilt on open.
    ASSERT_TRUE(t.close());
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    ASSERT_TRUE(t.setTag("IPRIMAER"));
    EXPECT_EQ(column(t, "TEXT"), moved);
}

TEST_F(TableTest, ManyAppendsWithEditsInBetweenAllReachTheFile)
{
    // Enough rows that appends are written in several batches, with edits to
    // rows already written and to rows still gathered in memory.
    ASSERT_TRUE(createTable(dir, "texte", schemas::assignmentTemplate()));
    constexpr int kRows = 2000;
    {
        Table t;
        ASSERT_TRUE(t.open(dir, "texte", quick()));
        for (int i = 0; i < kRows; ++i) {
            ASSERT_TRUE(addSyllable(t, i, "s" + std::to_string(i)));
            if (i == 1500) {
                ASSERT_TRUE(t.go(10));
                ASSERT_TRUE(t.recordLock());
                ASSERT_TRUE(t.replaceString("TEXT", "edited early"));
                ASSERT_TRUE(t.unlock());
            }
        }
        ASSERT_TRUE(t.go(kRows));
        ASSERT_TRUE(t.recordLock());
        ASSERT_TRUE(t.replaceString("TEXT", "edited last"));
        ASSERT_TRUE(t.unlock());
        ASSERT_TRUE(t.go(500));
        ASSERT_TRUE(t.deleteRecord());
    }
    EXPECT_EQ(readFile("texte.dbf").size(), 32u + 32u * 7u + 1u + kRows * 155u + 1u);
    Table t;
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    EXPECT_EQ(t.recCount(), static_cast<std::uint32_t>(kRows));
    EXPECT_EQ(t.rowCount(), static_cast<std::uint32_t>(kRows - 1));
    ASSERT_TRUE(t.go(10));
    EXPECT_EQ(t.fieldAsString("TEXT"), "edited early");
    ASSERT_TRUE(t.go(kRows));
    EXPECT_EQ(t.fieldAsString("TEXT"), "edited last");
    EXPECT_EQ(t.fieldAsInteger("ZEIT"), kRows - 1);
    EXPECT_FALSE(t.go(500));
    ASSERT_TRUE(t.go(1999));
    EXPECT_EQ(t.fieldAsString("TEXT"), "s1998");
}

TEST_F(TableTest, DescendingTagsAndTheirDefinitionsRoundTrip)
{
    Schema schema;
    schema.fields = {{"NR", FieldType::Numeric, 3, 0}, {"NAME", FieldType::Character, 8, 0}};
    schema.tags = {{"IDOWN", {{"NR", KeyKind::Right, 3}}, true},
                   {"IBOTH", {{"NAME", KeyKind::Text, 0}, {"NR", KeyKind::Signed, 0}}, false}};
    ASSERT_TRUE(createTable(dir, "mixed", schema));
    Schema back;
    ASSERT_TRUE(readSchema(dir, "mixed", back));
    ASSERT_EQ(back.tags.size(), 2u);
    EXPECT_TRUE(back.tags[0].descending);
    EXPECT_EQ(formatTags(back.tags), formatTags(schema.tags));

    Table t;
    ASSERT_TRUE(t.open(dir, "mixed", quick()));
    const std::vector<std::pair<int, std::string>> rows = {{5, "a"}, {70, "b"}, {5, "c"}, {100, "d"}, {70, "e"}};
    for (const auto& [nr, name] : rows) {
        ASSERT_TRUE(t.appendStart());
        ASSERT_TRUE(t.replaceInteger("NR", nr));
        ASSERT_TRUE(t.replaceString("NAME", name));
        ASSERT_TRUE(t.appendEnd());
    }
    ASSERT_TRUE(t.setTag("idown")); // tag names compare without regard to case
    EXPECT_EQ(column(t, "NAME"), (std::vector<std::string>{"d", "b", "e", "a", "c"}));
    EXPECT_TRUE(t.seek(keyRight(70, 3)));
    EXPECT_EQ(t.fieldAsString("NAME"), "b");
    ASSERT_TRUE(t.setScope(keyRight(5, 3), keyRight(70, 3)));
    EXPECT_EQ(column(t, "NAME"), (std::vector<std::string>{"b", "e", "a", "c"}));
    ASSERT_TRUE(t.setTag("IBOTH"));
    EXPECT_TRUE(t.seek(keyLeft("c", 8) + keySigned(5)));
    EXPECT_EQ(t.recNo(), 3u);
}

TEST_F(TableTest, NavigationSkipsBackwardsAndReportsBeginning)
{
    ASSERT_TRUE(createTable(dir, "tempo", schemas::tempoTemplate()));
    Table t;
    ASSERT_TRUE(t.open(dir, "tempo", quick()));
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    for (int g : {960, 0, 480}) {
        ASSERT_TRUE(t.appendBlank());
        ASSERT_TRUE(t.replaceInteger("GESTICKS", g));
        ASSERT_TRUE(t.unlock());
    }
    ASSERT_TRUE(t.setTag("IPRIMAER"));
    t.goBottom();
    EXPECT_EQ(t.fieldAsInteger("GESTICKS"), 960);
    t.skip(-1);
    EXPECT_EQ(t.fieldAsInteger("GESTICKS"), 480);
    t.skip(-5);
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.fieldAsInteger("GESTICKS"), 0);
    EXPECT_EQ(t.recNo(), 2u);
    ASSERT_TRUE(t.go(1));
    EXPECT_EQ(t.fieldAsInteger("GESTICKS"), 960);
    t.skip();
    EXPECT_TRUE(t.eof());
    EXPECT_FALSE(t.go(4));
    EXPECT_TRUE(t.eof());
}

class CaptionTableTest : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        ASSERT_TRUE(createTable(dir, "Objekte", schemas::captions()));
        Table t;
        ASSERT_TRUE(t.open(dir, "Objekte", quick()));
        const struct { int lang, form; const char* obj; const char* caption; } rows[] = {
            {0, 1, "Caption", "Hauptfenster"}, {0, 1, "Item0", "&Datei"}, {0, 1, "Item100", "&Midi"},
            {0, 1, "Item1", "&Bearbeiten"},    {0, 1, "Item111", "&Sprache"}, {0, 12, "Caption", "Kanal"},
            {1, 1, "Item0", "&File"},          {0, 2, "Caption", "Ger\xE4t"}, {0, 1, "s2_zs", "Zeilensprung"}};
        for (const auto& r : rows) {
            ASSERT_TRUE(t.appendStart());
            ASSERT_TRUE(t.replaceInteger("SPRACHE", r.lang));
            ASSERT_TRUE(t.replaceInteger("FORM", r.form));
            ASSERT_TRUE(t.replaceString("OBJEKT", r.obj));
            ASSERT_TRUE(t.replaceString("CAPTION", r.caption));
            ASSERT_TRUE(t.appendEnd());
        }
    }
};

TEST_F(CaptionTableTest, SeekFindsTheCaptionKeyOrLandsPastTheEnd)
{
    Table t;
    ASSERT_TRUE(t.open(dir, "Objekte", quick(false, true)));
    ASSERT_TRUE(t.setTag("IPRIMAER"));
    // language 0, form 1, object s2_zs: blank, 0, blank, 1, s2_zs, 25 blanks
    EXPECT_TRUE(t.seek(" 0 1s2_zs" + std::string(25, ' ')));
    EXPECT_EQ(t.fieldAsString("CAPTION"), "Zeilensprung");
    EXPECT_EQ(t.currentKey(), keyRight(0, 2) + keyRight(1, 2) + keyLeft("s2_zs", 30));
    EXPECT_TRUE(t.seek(keyRight(0, 2) + keyRight(2, 2) + keyLeft("Caption", 30)));
    EXPECT_EQ(t.fieldAsString("CAPTION"), "Ger\xE4t");

    EXPECT_FALSE(t.seek(keyRight(0, 2) + keyRight(3, 2) + keyLeft("Caption", 30)));
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.fieldAsString("CAPTION"), "");
    EXPECT_EQ(t.fieldAsInteger("FORM"), 0);

    // Read-only tables refuse writes.
    t.goTop();
    EXPECT_FALSE(t.recordLock());
    EXPECT_FALSE(t.appendBlank());
}

TEST_F(CaptionTableTest, ScopeBoundsMatchAsPrefixes)
{
    Table t;
    ASSERT_TRUE(t.open(dir, "Objekte", quick(false, true)));
    EXPECT_FALSE(t.setScope("a", "b")); // no tag yet
    ASSERT_TRUE(t.setTag("IPRIMAER"));

    // All of form 1 in language 0: upper bound padded with 0xFC.
    ASSERT_TRUE(t.setScope(" 0 1", " 0 1" + std::string(30, '\xFC')));
    const std::vector<std::string> form1 = {"Caption", "Item0", "Item1", "Item100", "Item111", "s2_zs"};
    EXPECT_EQ(column(t, "OBJEKT"), form1);

    // Menu rows: " 1Item0" to " 1Item99" catch Item100 and Item111 too.
    ASSERT_TRUE(t.setScope(" 0 1Item0", " 0 1Item99"));
    const std::vector<std::string> menus = {"Item0", "Item1", "Item100", "Item111"};
    EXPECT_EQ(column(t, "OBJEKT"), menus);

    // A seek outside the scope fails; lifting the scope finds it.
    EXPECT_FALSE(t.seek(" 012" + keyLeft("Caption", 30)));
    t.clearScope();
    EXPECT_TRUE(t.seek(" 012" + keyLeft("Caption", 30)));
    EXPECT_EQ(t.fieldAsString("CAPTION"), "Kanal");

    // An empty scope is at its end at once.
    ASSERT_TRUE(t.setScope(" 5", " 5"));
    EXPECT_TRUE(t.eof());
}

TEST_F(TableTest, DeletedRowsAreNeverVisited)
{
    ASSERT_TRUE(createTable(dir, "texte", schemas::assignmentTemplate()));
    Table t;
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    for (int i = 1; i <= 5; ++i)
        ASSERT_TRUE(addSyllable(t, i * 10, "s" + std::to_string(i)));
    ASSERT_TRUE(t.setTag("IPRIMAER"));
    ASSERT_TRUE(t.seek(keySigned(20)));
    ASSERT_TRUE(t.deleteRecord());
    EXPECT_EQ(t.fieldAsString("TEXT"), "s3"); // moved on to the next row
    t.goBottom();
    ASSERT_TRUE(t.deleteRecord());
    EXPECT_TRUE(t.eof());
    ASSERT_TRUE(t.go(1));
    ASSERT_TRUE(t.deleteRecord());

    const std::vector<std::string> left = {"s3", "s4"};
    EXPECT_EQ(column(t, "TEXT"), left);
    EXPECT_EQ(t.recCount(), 5u);
    EXPECT_EQ(t.rowCount(), 2u);
    EXPECT_FALSE(t.go(2));
    EXPECT_FALSE(t.seek(keySigned(20)));

    ASSERT_TRUE(t.close());
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    EXPECT_EQ(column(t, "TEXT"), left); // record order, deleted still hidden
    ASSERT_TRUE(t.setTag("IPRIMAER"));
    EXPECT_EQ(column(t, "TEXT"), left);

    ASSERT_TRUE(t.pack());
    EXPECT_EQ(t.recCount(), 2u);
    EXPECT_EQ(column(t, "TEXT"), left);

    ASSERT_TRUE(t.zap());
    EXPECT_EQ(t.recCount(), 0u);
    EXPECT_TRUE(t.eof());
    ASSERT_TRUE(t.close());
    ASSERT_TRUE(t.open(dir, "texte", quick()));
    EXPECT_EQ(t.recCount(), 0u);
}

TEST_F(TableTest, MemosOfAnyLengthAndBinaryBytesSurviveRewritesAndReopen)
{
    ASSERT_TRUE(createTable(dir, "Messages", schemas::messages()));
    ASSERT_TRUE(createTable(dir, "InstSpr", schemas::languages()));
    std::string longText;
    for (int i = 0; i < 300; ++i)
        longText += "Zeile " + std::to_string(i) + "\r\n";
    std::string picture;
    for (int i = 0; i < 700; ++i)
        picture += static_cast<char>(i % 256);
    {
        Table t;
        ASSERT_TRUE(t.open(dir, "Messages", quick()));
        ASSERT_TRUE(t.appendStart());
        ASSERT_TRUE(t.replaceString("NACHRICHT", "kurz"));
        ASSERT_TRUE(t.appendEnd());
        ASSERT_TRUE(t.appendStart());
        ASSERT_TRUE(t.replaceString("NACHRICHT", longText));
        ASSERT_TRUE(t.appendEnd());
        ASSERT_TRUE(t.appendBlank());
        // Rewrite the first memo longer, then the long one shorter (in place).
        ASSERT_TRUE(t.go(1));
        ASSERT_TRUE(t.recordLock());
        ASSERT_TRUE(t.replaceString("NACHRICHT", "jetzt l\xE4nger als vorher, " + std::string(100, '!')));
        ASSERT_TRUE(t.unlock());
        ASSERT_TRUE(t.go(2));
        ASSERT_TRUE(t.recordLock());
        ASSERT_TRUE(t.replaceString("NACHRICHT", "k\xFCrzer"));
        ASSERT_TRUE(t.unlock());

        Table l;
        ASSERT_TRUE(l.open(dir, "InstSpr", quick()));
        ASSERT_TRUE(l.appendStart());
        ASSERT_TRUE(l.replaceMemoBytes("FLAGGE", picture));
        ASSERT_TRUE(l.appendEnd());
    }
    Table t;
    ASSERT_TRUE(t.open(dir, "Messages", quick()));
    std::string out;
    ASSERT_TRUE(t.copyMemoField("NACHRICHT", out));
    EXPECT_EQ(out, "jetzt l\xE4nger als vorher, " + std::string(100, '!'));
    t.skip();
    EXPECT_EQ(t.fieldAsString("NACHRICHT"), "k\xFCrzer");
    EXPECT_EQ(t.fieldLength("NACHRICHT"), 6u);
    t.skip();
    EXPECT_TRUE(t.isBlank("NACHRICHT"));
    EXPECT_EQ(t.fieldLength("NACHRICHT"), 0u);

    Table l;
    ASSERT_TRUE(l.open(dir, "InstSpr", quick()));
    ASSERT_TRUE(l.copyMemoField("FLAGGE", out));
    EXPECT_EQ(out, picture);
}

TEST_F(TableTest, ExclusiveOpenLocksOutEveryOtherOpen)
{
    ASSERT_TRUE(createTable(dir, "tempo", schemas::tempoTemplate()));
    Table first;
    ASSERT_TRUE(first.open(dir, "tempo", quick()));

    Table second;
    const Status refused = second.open(dir, "tempo", quick());
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message().find("in use"), std::string::npos);
    EXPECT_FALSE(second.open(dir, "tempo", quick(false, true)));
    EXPECT_FALSE(copyStructure(dir, "tempo", "tempo")); // cannot replace a table in use

    // Another process is refused too.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        Table other;
        ::_exit(other.open(dir, "tempo", quick()) ? 0 : 7);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);

    // Shared opens coexist, and keep an exclusive open out.
    ASSERT_TRUE(first.close());
    Table readerA, readerB;
    ASSERT_TRUE(readerA.open(dir, "tempo", quick(false, true)));
    ASSERT_TRUE(readerB.open(dir, "tempo", quick(false, true)));
    EXPECT_FALSE(second.open(dir, "tempo", quick()));
    ASSERT_TRUE(readerA.close());
    ASSERT_TRUE(readerB.close());
    EXPECT_TRUE(second.open(dir, "tempo", quick()));
}

TEST_F(TableTest, AtomicSettingsWritesReplaceTheFileAndKeepTheLock)
{
    ASSERT_TRUE(createTable(dir, "Versilla", schemas::settings()));
    OpenOptions atomic = quick();
    atomic.atomicWrites = true;
    Table s;
    ASSERT_TRUE(s.open(dir, "Versilla", atomic));
    // Two rows, then the reset to exactly one row.
    ASSERT_TRUE(s.appendBlank());
    ASSERT_TRUE(s.appendBlank());
    ASSERT_TRUE(resetSettingsRow(s));
    EXPECT_EQ(s.recCount(), 1u);
    ASSERT_TRUE(s.recordLock());
    ASSERT_TRUE(s.replaceInteger("INSTLANG", 1));
    ASSERT_TRUE(s.unlock());

    // Every store is already complete on disk (header count included).
    Table probe;
    EXPECT_FALSE(probe.open(dir, "Versilla", quick())); // still locked after the rename
    const std::string file = readFile("Versilla.dbf");
    EXPECT_EQ(static_cast<unsigned char>(file[4]), 1u);
    EXPECT_NE(file.find("12632256"), std::string::npos);
    for (const auto& e : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().rfind(".Versilla", 0), std::string::npos) << e.path();

    ASSERT_TRUE(s.close());
    ASSERT_TRUE(s.open(dir, "Versilla", quick()));
    EXPECT_EQ(s.recCount(), 1u);
    EXPECT_EQ(s.fieldAsInteger("FARBE"), 12632256);
    EXPECT_EQ(s.fieldAsInteger("INSTLANG"), 1);
    for (const char* blank : {"FARBEBACK", "COPYRIGHT", "GLEICH", "DEVICENR", "MELODIE", "TEXTSPUR", "RUNEVENTS",
                              "SPRACHE", "QUANTISIER"})
        EXPECT_TRUE(s.isBlank(blank)) << blank;
}

TEST_F(TableTest, ReopeningClosesFirstAndLandsOnTheFirstRow)
{
    ASSERT_TRUE(createTable(dir, "tempo", schemas::tempoTemplate()));
    Table t;
    ASSERT_TRUE(t.open(dir, "tempo", quick()));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(t.appendStart());
        ASSERT_TRUE(t.replaceInteger("NR", i));
        ASSERT_TRUE(t.appendEnd());
    }
    // Unstored changes are stored by the re-open, which would otherwise fail on
    // its own exclusive lock.
    ASSERT_TRUE(t.recordLock());
    ASSERT_TRUE(t.replaceInteger("GESTICKS", 77));
    ASSERT_TRUE(t.open(dir, "tempo", quick()));
    EXPECT_EQ(t.recNo(), 1u);
    EXPECT_EQ(t.recCount(), 3u);
    ASSERT_TRUE(t.go(3));
    EXPECT_EQ(t.fieldAsInteger("GESTICKS"), 77);
}

} // namespace
} // namespace versilla::storage::test
