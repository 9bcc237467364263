#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "lyrics/AssignmentList.h"
#include "song/TempoList.h"
#include "storage/Schemas.h"
#include "storage/Table.h"

namespace versilla::lyrics::test {

/// A data folder holding only the template "texte0", and a list created from it.
class ListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "versilla-lyrics-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        ASSERT_TRUE(storage::createTable(dir, storage::kAssignmentTemplateAlias,
                                         storage::schemas::assignmentTemplate()));
        ASSERT_TRUE(list.create(dir));
        useTempo({{500000, 0}}, 480);
        songLength = 60000;
        list.setSaveContext(SaveContext{[this] { return songLength; },
                                        [this](std::int32_t ms) { return song::msToTicks(tempo, ms); }});
    }
    void TearDown() override
    {
        (void)list.close();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    /// Tempo changes (tempo, start tick) in tick order.
    void useTempo(const std::vector<std::pair<std::int32_t, std::int32_t>>& changes, std::int32_t division)
    {
        song::TempoList asRead;
        for (const auto& [t, tick] : changes)
            asRead.push_back(song::makeTempoEntry(t, division, tick, 0, static_cast<std::int32_t>(asRead.size())));
        tempo = song::buildTempoList(asRead, division);
    }

    static Row makeRow(std::int32_t zeit, std::string text)
    {
        Row r;
        r.zeit = zeit;
        r.text = std::move(text);
        r.mehrfach = 1;
        return r;
    }

    /// A prefix followed by a number ("r12").
    static std::string label(const char* prefix, int n)
    {
        std::string s(prefix);
        s += std::to_string(n);
        return s;
    }

    /// Texts of the list in list order.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.rowCount(); ++i)
            out.push_back(list.row(i).text);
        return out;
    }

    /// Rows as a fresh open of the table sees them (the list is re-attached).
    std::vector<Row> reread()
    {
        EXPECT_TRUE(list.attach(dir));
        return list.rows();
    }

    std::filesystem::path dir;
    AssignmentList list;
    song::TempoList tempo;
    std::int32_t songLength = 0;
};

} // namespace versilla::lyrics::test
