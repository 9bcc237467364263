// Tab switching: refusals before a switch, going back after it, and what the
// shown tab enables.
#include "FlowFixture.h"

#include "app/AssignmentTab.h"
#include "app/KaraokeTab.h"
#include "app/LyricTextTab.h"
#include "app/PlayerPanel.h"
#include "app/SongFactsPanel.h"
#include "app/WritingPanel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTextEdit>
#include <QtTest/QTest>

namespace versilla::app::testing {
namespace {

constexpr int kKaraoke = 0, kWords = 1, kText = 2, kAssign = 3, kStaff = 4;

void clickTab(TForm1& window, int index) {
    QTabBar* bar = window.PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

TEST_F(FlowTest, WithoutASongEveryTabSwitchIsRefused) {
    auto window = startedWindow();
    window->show();
    for (int target : {kWords, kText}) {
        prompter.expect(MessageId{1, 28});
        clickTab(*window, target);
        prompter.verify();
        EXPECT_EQ(window->PageControl1->currentIndex(), kKaraoke) << target;
    }
    // Keyboard paths are refused the same way.
    prompter.expect(MessageId{1, 28});
    QTest::keyClick(window->PageControl1, Qt::Key_Tab, Qt::ControlModifier);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kKaraoke);
}

TEST_F(FlowTest, TheAccessKeysOfTheTabsFollowTheSameRules) {
    auto window = openedWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QApplication::processEvents(); // first activation
    QTest::keyClick(window.get(), Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(window->PageControl1->currentIndex(), kText);

    window->state().playing = true;
    prompter.expect(MessageId{1, 29});
    QTest::keyClick(window.get(), Qt::Key_2, Qt::AltModifier);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kText);
}

TEST_F(FlowTest, WhilePlayingTabSwitchesAreRefused) {
    auto window = openedWindow();
    window->state().playing = true;
    prompter.expect(MessageId{1, 29});
    EXPECT_FALSE(window->PageControl1->userSwitch(kWords));
    EXPECT_EQ(window->PageControl1->currentIndex(), kKaraoke);
}

TEST_F(FlowTest, TabsSetUpThePlayerButtonsAndTheFocus) {
    auto window = openedWindow();
    window->show();
    QPushButton* play = window->Panel2->s1_abspielen;

    clickTab(*window, kText);
    EXPECT_EQ(window->PageControl1->currentIndex(), kText);
    EXPECT_FALSE(play->isEnabled());
    EXPECT_FALSE(window->Panel2->s1_stopp->isEnabled());
    EXPECT_FALSE(window->Panel2->s1_weiter->isEnabled());
    EXPECT_EQ(window->focusWidget(), window->TabSheet4->s4_text);

    clickTab(*window, kWords);
    EXPECT_TRUE(play->isEnabled());
    EXPECT_FALSE(window->Panel2->s1_weiter->isEnabled());

    clickTab(*window, kAssign);
    EXPECT_EQ(window->PageControl1->currentIndex(), kAssign);
    EXPECT_TRUE(play->isEnabled());
    EXPECT_FALSE(window->TabSheet5->s5_text->toPlainText().isEmpty());

    clickTab(*window, kStaff);
    EXPECT_EQ(window->PageControl1->currentIndex(), kStaff);
    EXPECT_TRUE(play->isEnabled());
    EXPECT_FALSE(window->workspace().list().marks().staffRefresh);
    EXPECT_EQ(window->workspace().rowSnapshot().size(), std::size_t{kImportedRows});

    clickTab(*window, kKaraoke);
    EXPECT_EQ(window->PageControl1->currentIndex(), kKaraoke);
    EXPECT_EQ(window->focusWidget(), play);
    EXPECT_FALSE(window->TabSheet1->s1_oben->textCursor().hasSelection());
}

TEST_F(FlowTest, ContinueIsOfferedOnlyWhereThePlaybackStopped) {
    auto window = openedWindow();
    window->workspace().setContinueAllowed(true);
    window->state().stopTab = kWords;
    window->state().stopTime = 61500;
    ASSERT_TRUE(window->PageControl1->userSwitch(kWords));
    EXPECT_TRUE(window->Panel2->s1_weiter->isEnabled());
    EXPECT_EQ(window->Panel2->s1_aktzeit->text(), "0:01:01.500");
    ASSERT_TRUE(window->PageControl1->userSwitch(kAssign));
    EXPECT_FALSE(window->Panel2->s1_weiter->isEnabled());
    EXPECT_TRUE(window->Panel2->s1_aktzeit->text().isEmpty());
}

TEST_F(FlowTest, AnEmptyChangedListKeepsTheWordTableWithANotice) {
    auto window = openedWindow();
    ASSERT_TRUE(window->PageControl1->userSwitch(kWords));
    lyrics::AssignmentList& list = window->workspace().list();
    while (list.rowCount() > 0) ASSERT_TRUE(list.removeAt(0).ok());
    ASSERT_TRUE(window->listChanged());

    prompter.expect(MessageId{1, 31});
    window->PageControl1->userSwitch(kKaraoke);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kWords);

    // The staff tab needs rows.
    prompter.expect(MessageId{1, 33});
    window->PageControl1->userSwitch(kStaff);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kWords);
    EXPECT_TRUE(window->updatesEnabled());
}

TEST_F(FlowTest, BackToTheKaraokeTabWithAChangedListOffersToWrite) {
    auto window = openedWindow();
    ASSERT_TRUE(window->PageControl1->userSwitch(kWords));
    lyrics::AssignmentList& list = window->workspace().list();
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("Lei\xA4"));
    ASSERT_FALSE(list.post().has_value());

    prompter.expect(MessageId{1, 30}, Answer::No);
    window->PageControl1->userSwitch(kKaraoke);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kWords);
    EXPECT_TRUE(window->listChanged());

    prompter.expect(MessageId{1, 30}, Answer::Yes);
    window->PageControl1->userSwitch(kKaraoke);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kKaraoke);
    EXPECT_FALSE(window->listChanged());
    EXPECT_TRUE(window->songUnsaved());
}

TEST_F(FlowTest, TheAssignmentTabNeedsALyricText) {
    auto window = openedWindow();
    ASSERT_TRUE(window->PageControl1->userSwitch(kText));
    window->TabSheet4->s4_text->clear();
    prompter.expect(MessageId{1, 32});
    window->PageControl1->userSwitch(kAssign);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kText);
}

TEST_F(FlowTest, TheKaraokeTabIsClosedDuringManualAssignment) {
    auto window = openedWindow();
    ASSERT_TRUE(window->PageControl1->userSwitch(kWords));
    window->Panel2->s1_anzeigetext->show();
    prompter.expect(MessageId{1, 34});
    window->PageControl1->userSwitch(kKaraoke);
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kWords);
}

TEST_F(FlowTest, CommandsShowTheirTabWithoutTheSwitchRules) {
    auto window = openedWindow();
    ASSERT_TRUE(window->PageControl1->userSwitch(kText));
    // Opening again shows tab 1 with no question and no notice.
    files.openPath = corpusSong();
    window->s1_oeffnenClick();
    prompter.verify();
    EXPECT_EQ(window->PageControl1->currentIndex(), kKaraoke);
}

} // namespace
} // namespace versilla::app::testing
