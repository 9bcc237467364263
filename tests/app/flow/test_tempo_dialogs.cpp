// The tempo dialogs and the start time dialog refuse values in place.
#include "ScriptedPrompter.h"
#include "app/Localizer.h"
#include "app/controls/TNumEditVelk.h"
#include "app/dialogs/TForm11.h"
#include "app/dialogs/TForm3.h"
#include "app/dialogs/TForm4.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace versilla::app {
namespace {

struct TempoCase {
    const char* typed;
    bool several;
    std::optional<MessageId> refusal;
    std::optional<int> accepted;
};

class TempoDialogs : public ::testing::TestWithParam<TempoCase> {};

TEST_P(TempoDialogs, AcceptOnlySixtyToTwoHundredSixty) {
    const TempoCase& c = GetParam();
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<TempoDialog> dialog;
    if (c.several)
        dialog = std::make_unique<TForm11>(nullptr, 100, prompter);
    else
        dialog = std::make_unique<TForm3>(nullptr, 100, prompter);
    EXPECT_EQ(dialog->NewTempo->text(), "100");
    dialog->show();
    dialog->NewTempo->setText(c.typed);
    if (c.refusal) prompter.expect(*c.refusal);
    dialog->speichern->click();
    prompter.verify();
    EXPECT_EQ(dialog->result(), c.accepted);
    if (c.refusal) {
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), dialog->NewTempo);
    } else {
        EXPECT_EQ(dialog->QDialog::result(), QDialog::Accepted);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TempoDialogs,
                         ::testing::Values(TempoCase{"59", false, MessageId{3, 1}, std::nullopt},
                                           TempoCase{"261", false, MessageId{3, 1}, std::nullopt},
                                           TempoCase{"", false, MessageId{3, 1}, std::nullopt},
                                           TempoCase{"60", false, std::nullopt, 60},
                                           TempoCase{"260", false, std::nullopt, 260},
                                           TempoCase{"59", true, MessageId{11, 1}, std::nullopt},
                                           TempoCase{"120", true, std::nullopt, 120}));

TEST(TempoDialog, TitlesWithoutACaptionTable) {
    testsupport::ScriptedPrompter prompter;
    EXPECT_EQ(TForm3(nullptr, 100, prompter).windowTitle(), "Tempo eingeben");
    EXPECT_EQ(TForm11(nullptr, 100, prompter).windowTitle(), "Mehrere Tempi vorhanden");
    EXPECT_EQ(TForm4(nullptr, 0, 1000, prompter).windowTitle(), "Startzeit eingeben");
}

TEST(TempoDialog, TextsComeFromTheCaptionTable) {
    Localizer english(QStringLiteral(VERSILLA_DATA_DIR));
    english.setLanguage(1);
    testsupport::ScriptedPrompter prompter;
    TForm11 several(nullptr, 100, prompter, &english);
    EXPECT_EQ(several.windowTitle(), english.caption(11, "Caption"));
    EXPECT_EQ(several.speichern->text(), english.caption(11, "speichern"));
    EXPECT_EQ(several.NewTempo->toolTip(), english.hint(11, "NewTempo"));
    EXPECT_EQ(several.NewTempo->text(), "100");
    TForm4 start(nullptr, 0, 1000, prompter, &english);
    EXPECT_EQ(start.windowTitle(), english.caption(4, "Caption"));
    EXPECT_EQ(start.findChild<QLabel*>("Label5")->text(), english.caption(4, "Label5"));
    EXPECT_FALSE(english.caption(4, "Label5").isEmpty());
}

TEST(TempoDialog, CancelChangesNothing) {
    testsupport::ScriptedPrompter prompter;
    TForm3 dialog(nullptr, 100, prompter);
    dialog.NewTempo->setText("59");
    dialog.abbrechen->click();
    EXPECT_FALSE(dialog.result());
}

struct StartCase {
    const char* name;
    const char *min, *sek, *ms;
    std::optional<MessageId> refusal;
    const char* focus;
    std::optional<int> accepted;
};

class StartTimeDialog : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartTimeDialog, ChecksAgainstTheSongLength) {
    const StartCase& c = GetParam();
    testsupport::ScriptedPrompter prompter;
    TForm4 dialog(nullptr, 0, 100000, prompter);
    dialog.show();
    dialog.min->setText(c.min);
    dialog.sek->setText(c.sek);
    dialog.ms->setText(c.ms);
    if (c.refusal) prompter.expect(*c.refusal);
    dialog.speichern->click();
    prompter.verify();
    EXPECT_EQ(dialog.result(), c.accepted);
    if (c.refusal) {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget()->objectName(), c.focus);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartTimeDialog,
    ::testing::Values(StartCase{"msWins", "1", "0", "90000", std::nullopt, "", 90000},
                      StartCase{"minSek", "1", "30", "0", std::nullopt, "", 90000},
                      StartCase{"blankIsZero", "", "", "", std::nullopt, "", 0},
                      StartCase{"sixtySeconds", "0", "60", "0", MessageId{4, 2}, "sek", std::nullopt},
                      StartCase{"sixtyMinutes", "60", "0", "0", MessageId{4, 1}, "min", std::nullopt},
                      StartCase{"songLength", "0", "0", "100000", std::nullopt, "", 100000},
                      StartCase{"pastTheEnd", "0", "0", "100001", MessageId{4, 3}, "sek", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartTimeDialogFocus, LeavingMinutesWithANewValuePutsItIntoMilliseconds) {
    testsupport::ScriptedPrompter prompter;
    TForm4 dialog(nullptr, 5000, 1000000, prompter);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.ms->text(), "5000");
    dialog.min->setFocus();
    dialog.min->setText("2");
    // Enter moves on to the seconds and leaves the minutes.
    QTest::keyClick(dialog.min, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), dialog.sek);
    EXPECT_EQ(dialog.ms->text(), "120000");
    // Leaving the seconds unchanged keeps a typed millisecond value.
    dialog.ms->setFocus();
    EXPECT_TRUE(dialog.speichern->isDefault());
    dialog.ms->setText("7000");
    dialog.sek->setFocus();
    dialog.ms->setFocus();
    EXPECT_EQ(dialog.ms->text(), "7000");
}

} // namespace
} // namespace versilla::app
