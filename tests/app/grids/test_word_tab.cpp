#include "GridFixture.h"

#include "app/AssignmentModel.h"
#include "app/WordTableTab.h"
#include "app/controls/TDBNavigatorVelk.h"
#include "app/controls/TNumEditVelk.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

namespace versilla::app::testing {
namespace {

/// Tab 2 inside a page control, shown and active, bound to the fixture's list.
class WordTabTest : public GridTest {
protected:
    void SetUp() override {
        GridTest::SetUp();
        pages = std::make_unique<QTabWidget>();
        pages->addTab(new QWidget, QStringLiteral("1"));
        tab = new WordTableTab(nullptr);
        pages->addTab(tab, QStringLiteral("2"));
        pages->setCurrentWidget(tab);
        tab->bind(list, prompter);
        pages->resize(780, 420);
        pages->show();
        pages->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(pages.get()));
    }
    void TearDown() override {
        pages.reset();
        GridTest::TearDown();
    }

    QLineEdit* zeit() const { return tab->recordFields[0]; }
    QLineEdit* text() const { return tab->recordFields[1]; }
    QLineEdit* strzeit() const { return tab->recordFields[2]; }
    void focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), w);
    }

    std::unique_ptr<QTabWidget> pages;
    WordTableTab* tab = nullptr;
};

TEST_F(WordTabTest, RecordPanelShowsAndEditsTheCurrentRow) {
    fill({{1000, "Herz"}, {2500, "Schmerz"}});
    EXPECT_EQ(zeit()->text(), "1000");
    EXPECT_EQ(text()->text(), "Herz");
    EXPECT_TRUE(strzeit()->isReadOnly());
    EXPECT_FALSE(tab->saveButton->isEnabled());
    ASSERT_TRUE(list.setCurrentPosition(1));
    EXPECT_EQ(text()->text(), "Schmerz");

    focus(text());
    QTest::keyClick(text(), Qt::Key_End);
    QTest::keyClicks(text(), "en");
    EXPECT_TRUE(list.isEditing());
    EXPECT_EQ(list.editRow().text, "Schmerzen");
    EXPECT_EQ(tab->wwDBGrid2->model()->headerData(1, Qt::Vertical).toString(), "I");
    EXPECT_TRUE(tab->saveButton->isEnabled());
    EXPECT_TRUE(tab->cancelButton->isEnabled());
    // Enter in TEXT of a row in edit state saves it (the panel's default keys).
    EXPECT_TRUE(list.marks().panelDefaultKeys);
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(list.row(1).text, "Schmerzen");
    EXPECT_FALSE(tab->saveButton->isEnabled());
}

TEST_F(WordTabTest, WithoutARowTheEditorsTakeNothing) {
    // Only STRZEIT is read-only (the window colours read-only fields).
    EXPECT_FALSE(text()->isReadOnly());
    EXPECT_FALSE(zeit()->isReadOnly());
    focus(text());
    QTest::keyClicks(text(), "x");
    EXPECT_EQ(text()->text(), "");
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_FALSE(list.isEditing());
}

TEST_F(WordTabTest, RefusedSaveShowsTheMessageAndFocusesTheField) {
    fill({{1000, "a"}, {2000, "b"}});
    focus(text());
    text()->selectAll();
    QTest::keyClicks(text(), QString(QChar(0xA4)));
    EXPECT_EQ(list.editRow().text, "\xA4");
    // The user goes to ZEIT and presses the panel's save.
    focus(zeit());
    prompter.expect(MessageId{1, 44});
    tab->saveButton->click();
    QApplication::processEvents();
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].appendText, " \xA4");
    EXPECT_TRUE(list.isEditing());
    EXPECT_EQ(QApplication::focusWidget(), text());

    // Leaving the row through the grid is refused the same way.
    prompter.expect(MessageId{1, 44});
    tab->wwDBGrid2->setCurrentIndex(tab->gridModel->index(1, 1));
    QApplication::processEvents();
    EXPECT_EQ(list.currentPosition(), 0);
    EXPECT_EQ(tab->wwDBGrid2->currentIndex().row(), 0);
    EXPECT_TRUE(list.isEditing());

    // A time beyond the song focuses ZEIT.
    text()->selectAll();
    QTest::keyClicks(text(), "a");
    zeit()->setFocus();
    zeit()->selectAll();
    QTest::keyClicks(zeit(), "60000");
    focus(text());
    prompter.expect(MessageId{1, 47});
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), zeit());
    EXPECT_TRUE(list.isEditing());
}

TEST_F(WordTabTest, CancelButtonAsksAndEscapeIsTheCancelKey) {
    fill({{1000, "a"}});
    focus(text());
    QTest::keyClicks(text(), "b");
    ASSERT_TRUE(list.isEditing());
    prompter.expect(MessageId{1, 38}, Answer::No);
    tab->cancelButton->click();
    EXPECT_TRUE(list.isEditing());
    EXPECT_EQ(text()->text(), "ab");
    prompter.expect(MessageId{1, 38}, Answer::Yes);
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(text()->text(), "a");
}

TEST_F(WordTabTest, TypedHyphenAndSpaceBecomeProtectedMarks) {
    fill({{1000, "x"}});
    focus(text());
    text()->selectAll();
    QTest::keyClicks(text(), "Rock-n Roll");
    EXPECT_EQ(text()->text(), QString::fromUtf8("Rock\u00ACn\u00B7Roll"));
    EXPECT_EQ(list.editRow().text, "Rock\xAC" "n\xB7Roll");

    // The shift may be negative: "-" stays there, spaces still turn.
    focus(tab->s2_schiebenzeit);
    QTest::keyClicks(tab->s2_schiebenzeit, "-250");
    EXPECT_EQ(tab->s2_schiebenzeit->text(), "-250");
    focus(tab->s2_suchwort);
    QTest::keyClicks(tab->s2_suchwort, "a-b c");
    EXPECT_EQ(tab->s2_suchwort->text(), QString::fromUtf8("a\u00ACb\u00B7c"));

    // While manual assignment runs nothing is changed.
    tab->setManualAssignmentProbe([] { return true; });
    tab->s2_suchwort->clear();
    QTest::keyClicks(tab->s2_suchwort, "a-b c");
    EXPECT_EQ(tab->s2_suchwort->text(), "a-b c");
    tab->setManualAssignmentProbe(nullptr);

    // Nor on another page.
    pages->setCurrentIndex(0);
    tab->s2_suchwort->clear();
    QTest::keyClicks(tab->s2_suchwort, "a-b");
    EXPECT_EQ(tab->s2_suchwort->text(), "a-b");
}

TEST_F(WordTabTest, TypingIntoTheGridOpensAnEditorWithTheProtectedMark) {
    fill({{1000, "x"}});
    QTableView* grid = tab->wwDBGrid2;
    grid->setCurrentIndex(tab->gridModel->index(0, 1));
    focus(grid);
    QTest::keyClick(grid, Qt::Key_Minus, Qt::NoModifier);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(grid->isAncestorOf(editor));
    EXPECT_EQ(editor->text(), QString(QChar(0xAC)));
}

TEST_F(WordTabTest, NumericFieldsOfTheRangeCommands) {
    EXPECT_EQ(tab->s2_zielzeit->Vorkommastellen(), 10);
    EXPECT_EQ(tab->s2_zielzeit->Nachkommastellen(), 0);
    EXPECT_EQ(tab->s2_zielzeit->Minimum(), 0);
    EXPECT_EQ(tab->s2_schiebenzeit->Minimum(), -1000000);
    EXPECT_EQ(tab->s2_schiebenzeit->Maximum(), 2147483647.0);
    // "-" typed into the target time becomes the protected hyphen, which the
    // numeric field refuses.
    focus(tab->s2_zielzeit);
    QTest::keyClicks(tab->s2_zielzeit, "-12");
    EXPECT_EQ(tab->s2_zielzeit->text(), "12");
}

TEST_F(WordTabTest, EnterInAOneLineFieldMovesTheFocusOn) {
    focus(tab->s2_zielzeit);
    QTest::keyClick(tab->s2_zielzeit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), tab->s2_schiebenzeit);
}

TEST_F(WordTabTest, LeavingZeitOfANewRowWritesItsTimeText) {
    fill({{1000, "a"}});
    ASSERT_TRUE(list.appendBlankRow());
    list.marks().newRow = true;
    list.notifyMarksChanged();
    EXPECT_EQ(tab->wwDBGrid2->currentIndex().row(), 1);
    focus(zeit());
    zeit()->selectAll();
    QTest::keyClicks(zeit(), "1500");
    EXPECT_EQ(strzeit()->text(), "");
    focus(text());
    EXPECT_EQ(strzeit()->text(), "0:00:01.500");
    QTest::keyClicks(text(), "b");
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(list.row(1).strzeit, "0:00:01.500");
    EXPECT_FALSE(list.marks().newRow);
}

TEST_F(WordTabTest, SaveEnablesTheWordCommandsAndReportsTheMarks) {
    fill({{1000, "a"}});
    list.marks().wordCommandsEnabled = false;
    list.notifyMarksChanged();
    EXPECT_FALSE(tab->s2_neuanlage->isEnabled());
    EXPECT_FALSE(tab->s2_loeschen->isEnabled());
    QSignalSpy marks(tab, &WordTableTab::listMarksChanged);
    ASSERT_TRUE(list.setText("b"));
    EXPECT_TRUE(tab->saveClicked());
    EXPECT_TRUE(tab->s2_neuanlage->isEnabled());
    EXPECT_TRUE(tab->s2_loeschen->isEnabled());
    EXPECT_GE(marks.count(), 1);
    EXPECT_TRUE(list.marks().writeUndoEnabled);
}

TEST_F(WordTabTest, ColumnTitlesAndNavigatorStep) {
    tab->setColumns("Zeit", "Silbe", "Zeit als Text");
    EXPECT_EQ(tab->gridModel->headerData(1, Qt::Horizontal).toString(), "Silbe");
    EXPECT_EQ(tab->recordTitles[1]->text(), "Silbe");
    EXPECT_EQ(tab->DBNavigatorVelk1->MoveBy(), 12);
    EXPECT_GT(tab->wwDBGrid2->columnWidth(1), tab->wwDBGrid2->columnWidth(0) * 3);
}

} // namespace
} // namespace versilla::app::testing
