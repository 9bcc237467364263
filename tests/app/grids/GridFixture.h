#pragma once
#include "ScriptedPrompter.h"
#include "lyrics/AssignmentList.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace versilla::app::testing {

/// A ScriptedPrompter that also keeps every prompt it was asked, so a test can
/// look at the appended text and the icon.
class KeepingPrompter : public testsupport::ScriptedPrompter {
public:
    Answer ask(const Prompt& prompt) override {
        asked.push_back(prompt);
        return ScriptedPrompter::ask(prompt);
    }
    std::vector<Prompt> asked;
};

/// An assignment list created from the built "texte0" template in a temporary
/// copy of the data folder; the song is 60 s long and one tick is one ms.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Appends stored rows (text, time) in one go and puts the cursor on the first.
    void fill(const std::vector<std::pair<std::int32_t, std::string>>& rows);
    /// Texts of the list in list order.
    std::vector<std::string> texts() const;

    QTemporaryDir m_dir;
    lyrics::AssignmentList list;
    KeepingPrompter prompter;
    std::int32_t songLength = 60000;
};

/// Collects Qt warnings (the model tester reports through them) while alive.
class WarningCatcher {
public:
    WarningCatcher();
    ~WarningCatcher();
    QStringList warnings() const;
};

} // namespace versilla::app::testing
