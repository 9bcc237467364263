#include <cstdio>

#include "TableFixture.h"
#include "storage/Schemas.h"

namespace versilla::storage::test {
namespace {

/// Runs the independent reader on a table file and returns what it printed.
std::string dumpWithDbfread(const std::filesystem::path& dbf)
{
    const std::string cmd = std::string("/usr/bin/python3 ") + VERSILLA_SOURCE_DIR +
                            "/tests/storage/dump_dbf.py '" + dbf.string() + "' 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

TEST_F(TableTest, AnIndependentReaderSeesWhatWeWrote)
{
    ASSERT_TRUE(createTable(dir, "texte", schemas::assignmentTemplate()));
    ASSERT_TRUE(createTable(dir, "Messages", schemas::messages()));
    ASSERT_TRUE(createTable(dir, "Versilla", schemas::settings()));
    {
        Table t;
        ASSERT_TRUE(t.open(dir, "texte", quick()));
        ASSERT_TRUE(t.appendStart());
        ASSERT_TRUE(t.replaceInteger("ZEIT", -1500));
        ASSERT_TRUE(t.replaceString("TEXT", "Gr\xFC\xDF" "e\xA4"));
        ASSERT_TRUE(t.replaceString("STRZEIT", "0:00:01.500"));
        ASSERT_TRUE(t.replaceInteger("GESTICKS", 2147483647));
        ASSERT_TRUE(t.replaceDouble("ACHTEL", 2.5));
        ASSERT_TRUE(t.appendEnd());
        ASSERT_TRUE(t.appendBlank());
        ASSERT_TRUE(t.replaceString("TEXT", "\xB6"));
        ASSERT_TRUE(t.unlock());
        ASSERT_TRUE(t.appendBlank());
        ASSERT_TRUE(t.deleteRecord());
        // The table stays open: rows written so far must already be on disk
        // apart from the header count, which flush() brings up to date.
        ASSERT_TRUE(t.flush());

        Table m;
        ASSERT_TRUE(m.open(dir, "Messages", quick()));
        ASSERT_TRUE(m.appendStart());
        ASSERT_TRUE(m.replaceInteger("SPRACHE", 0));
        ASSERT_TRUE(m.replaceInteger("GRUPPE", 1));
        ASSERT_TRUE(m.replaceInteger("NUMMER", 6));
        ASSERT_TRUE(m.replaceString("HINWEIS", "Fehler"));
        ASSERT_TRUE(m.replaceString("NACHRICHT", "Zeile 1\r\nZeile \xE4"));
        ASSERT_TRUE(m.appendEnd());
        ASSERT_TRUE(m.close());

        Table s;
        ASSERT_TRUE(s.open(dir, "Versilla", quick()));
        ASSERT_TRUE(writeShippedSettingsRow(s));
        ASSERT_TRUE(s.close());

        EXPECT_EQ(dumpWithDbfread(dir / "texte.dbf"),
                  "encoding cp1252\n"
                  "field ZEIT N 11 0\n"
                  "field TEXT C 99 0\n"
                  "field STRZEIT C 11 0\n"
                  "field GESTICKS N 11 0\n"
                  "field START N 3 0\n"
                  "field MEHRFACH N 5 0\n"
                  "field ACHTEL N 14 4\n"
                  "ZEIT=-1500|TEXT='Gr\\xfc\\xdfe\\xa4'|STRZEIT='0:00:01.500'|GESTICKS=2147483647|START=None|"
                  "MEHRFACH=None|ACHTEL=2.5\n"
                  "ZEIT=None|TEXT='\\xb6'|STRZEIT=''|GESTICKS=None|START=None|MEHRFACH=None|ACHTEL=None\n"
                  "deleted 1\n");
    }
    EXPECT_EQ(dumpWithDbfread(dir / "Messages.dbf"),
              "encoding cp1252\n"
              "field SPRACHE N 2 0\n"
              "field GRUPPE N 2 0\n"
              "field NUMMER N 3 0\n"
              "field HINWEIS C 100 0\n"
              "field NACHRICHT M 10 0\n"
              "SPRACHE=0|GRUPPE=1|NUMMER=6|HINWEIS='Fehler'|NACHRICHT='Zeile 1\\r\\nZeile \\xe4'\n"
              "deleted 0\n");
    EXPECT_EQ(dumpWithDbfread(dir / "Versilla.dbf"),
              "encoding cp1252\n"
              "field FARBE N 10 0\n"
              "field FARBEBACK N 10 0\n"
              "field COPYRIGHT L 1 0\n"
              "field GLEICH L 1 0\n"
              "field INSTLANG N 3 0\n"
              "field DEVICENR N 4 0\n"
              "field MELODIE N 3 0\n"
              "field TEXTSPUR N 3 0\n"
              "field RUNEVENTS L 1 0\n"
              "field SPRACHE N 2 0\n"
              "field QUANTISIER N 2 0\n"
              "FARBE=12632256|FARBEBACK=None|COPYRIGHT=False|GLEICH=False|INSTLANG=None|DEVICENR=None|"
              "MELODIE=None|TEXTSPUR=None|RUNEVENTS=False|SPRACHE=0|QUANTISIER=0\n"
              "deleted 0\n");
}

} // namespace
} // namespace versilla::storage::test
