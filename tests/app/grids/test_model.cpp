#include "GridFixture.h"

#include "app/AssignmentModel.h"
#include "app/controls/TDBNavigatorVelk.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>

namespace versilla::app::testing {
namespace {

TEST_F(GridTest, ModelStaysConsistentThroughInsertsSavesMovesDeletesAndResets) {
    WarningCatcher catcher;
    AssignmentModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setList(&list, &prompter);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    // Rows added one by one: each is inserted at the end, then moved to its place.
    for (const auto& [zeit, text] : std::vector<std::pair<int, std::string>>{{3000, "drei"}, {1000, "eins"}, {2000, "zwei"}}) {
        lyrics::Row row;
        row.zeit = zeit;
        row.text = text;
        ASSERT_FALSE(list.appendRow(row).has_value());
    }
    EXPECT_EQ(inserted.count(), 3);
    EXPECT_EQ(moved.count(), 2);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(0, AssignmentModel::Text)).toString(), "eins");
    EXPECT_EQ(model.data(model.index(2, AssignmentModel::Zeit)).toString(), "3000");

    // Editing a cell of another row makes that row current; leaving it saves
    // it and it moves to its new place.
    ASSERT_TRUE(model.setData(model.index(0, AssignmentModel::Zeit), "2500"));
    EXPECT_EQ(model.currentRow(), 0);
    EXPECT_TRUE(list.isEditing());
    ASSERT_TRUE(model.moveTo(2)); // "drei", which ends up at position 2 again
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(texts(), (std::vector<std::string>{"zwei", "eins", "drei"}));
    EXPECT_EQ(model.currentRow(), 2);
    EXPECT_EQ(moved.count(), 3);

    // A blank row that is cancelled leaves nothing behind.
    ASSERT_TRUE(list.appendBlankRow());
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.headerData(3, Qt::Vertical).toString(), "*");
    model.cancel(false);
    EXPECT_EQ(model.rowCount(), 3);

    ASSERT_TRUE(list.removeAt(1).ok());
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(texts(), (std::vector<std::string>{"zwei", "drei"}));

    // A bulk change of many rows gives exactly one reset and no per-row signals.
    const int insertsBefore = inserted.count();
    list.beginBulk();
    for (int i = 0; i < 20; ++i) {
        lyrics::Row row;
        row.zeit = 10000 + i;
        row.text = "r" + std::to_string(i);
        ASSERT_FALSE(list.appendRow(row).has_value());
    }
    list.endBulk();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserted.count(), insertsBefore);
    EXPECT_EQ(model.rowCount(), 22);

    ASSERT_TRUE(list.setIndexActive(false).ok());
    ASSERT_TRUE(list.setIndexActive(true).ok());
    ASSERT_TRUE(list.zap().ok());
    EXPECT_EQ(resets.count(), 4);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(catcher.warnings().isEmpty()) << catcher.warnings().join('\n').toStdString();
}

TEST_F(GridTest, CellEditsFollowTheFieldRules) {
    AssignmentModel model;
    model.setList(&list, &prompter);
    fill({{1000, "Herz"}});
    EXPECT_FALSE(model.setData(model.index(0, AssignmentModel::Strzeit), "0:00:09.000"));
    EXPECT_FALSE(model.setData(model.index(0, AssignmentModel::Zeit), "12a"));
    EXPECT_FALSE(list.isEditing());
    // Closing an editor without a change leaves the row in browse state.
    EXPECT_TRUE(model.setData(model.index(0, AssignmentModel::Text), "Herz"));
    EXPECT_FALSE(list.isEditing());
    EXPECT_TRUE(model.setData(model.index(0, AssignmentModel::Text), QString::fromUtf8("Her\u00ACz\u00A4")));
    EXPECT_TRUE(list.isEditing());
    EXPECT_EQ(list.editRow().text, "Her\xAC" "z\xA4");
    EXPECT_TRUE(model.post());
    EXPECT_EQ(list.row(0).text, "Her\xAC" "z\xA4");
    EXPECT_EQ(model.data(model.index(0, AssignmentModel::Text)).toString(), QString::fromUtf8("Her\u00ACz\u00A4"));
    EXPECT_TRUE(model.flags(model.index(0, AssignmentModel::Zeit)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, AssignmentModel::Strzeit)) & Qt::ItemIsEditable);
}

TEST_F(GridTest, RefusedSaveOnLeavingTheRowKeepsItInEditState) {
    AssignmentModel model;
    model.setList(&list, &prompter);
    fill({{1000, "a"}, {2000, "b"}, {3000, "c"}});
    QSignalSpy refused(&model, &AssignmentModel::refused);

    struct Case {
        std::string text;
        MessageId message;
        std::string appended;
    };
    const Case cases[] = {
        {"\xA4", MessageId{1, 44}, " \xA4"},
        {"a\xA4\xA4", MessageId{1, 45}, " \xA4"},
        {"a\xA4" "b", MessageId{1, 46}, " \xA4"},
        {"a\xB6", MessageId{16, 8}, " \xB6"},
        {"   ", MessageId{1, 87}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        prompter.asked.clear();
        prompter.expect(c.message);
        ASSERT_TRUE(list.setText(c.text));
        EXPECT_FALSE(model.moveTo(2));
        ASSERT_EQ(prompter.asked.size(), 1u);
        EXPECT_EQ(prompter.asked[0].appendText, c.appended);
        EXPECT_EQ(prompter.asked[0].icon, PromptIcon::Error);
        EXPECT_EQ(prompter.asked[0].buttons, PromptButtons::Ok);
        EXPECT_TRUE(list.isEditing());
        EXPECT_EQ(model.currentRow(), 0);
        EXPECT_EQ(refused.takeLast().at(0).toString(), "TEXT");
    }
    // A time at the song length names ZEIT.
    prompter.expect(MessageId{1, 47});
    ASSERT_TRUE(list.setText("a"));
    ASSERT_TRUE(list.setZeit(songLength));
    EXPECT_FALSE(model.post());
    EXPECT_EQ(refused.takeLast().at(0).toString(), "ZEIT");
    // Corrected, the move goes through to the row that was asked for.
    ASSERT_TRUE(list.setZeit(songLength - 1));
    EXPECT_TRUE(model.moveTo(2));
    EXPECT_EQ(list.row(model.currentRow()).text, "c");
    EXPECT_EQ(texts(), (std::vector<std::string>{"b", "c", "a"}));
}

TEST_F(GridTest, CancelAsksFirst) {
    AssignmentModel model;
    model.setList(&list, &prompter);
    fill({{1000, "a"}});
    ASSERT_TRUE(list.setText("neu"));
    prompter.expect(MessageId{1, 38}, Answer::No).expect(MessageId{1, 38}, Answer::Yes);
    EXPECT_FALSE(model.cancel(true));
    EXPECT_TRUE(list.isEditing());
    EXPECT_EQ(prompter.asked.back().buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompter.asked.back().icon, PromptIcon::Question);
    EXPECT_TRUE(model.cancel(true));
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(list.row(0).text, "a");
}

TEST_F(GridTest, TwoViewsShareTheListCursor) {
    AssignmentModel model;
    model.setList(&list, &prompter);
    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (int i = 0; i < 30; ++i) rows.push_back({1000 * (i + 1), "w" + std::to_string(i)});
    fill(rows);

    QTableView word, assign;
    TDBNavigatorVelk wordNav, assignNav;
    AssignmentGridBinding* first = bindAssignmentGrid(&word, &model, &wordNav, 12);
    AssignmentGridBinding* second = bindAssignmentGrid(&assign, &model, &assignNav, 13);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(word.currentIndex().row(), 0);
    EXPECT_EQ(assign.currentIndex().row(), 0);

    // The user moves in one view: the list and the other view follow.
    word.setCurrentIndex(model.index(5, 1));
    QApplication::processEvents();
    EXPECT_EQ(list.currentPosition(), 5);
    EXPECT_EQ(assign.currentIndex().row(), 5);

    // The list moves (as playback advances it): both views follow.
    EXPECT_TRUE(model.next());
    EXPECT_EQ(word.currentIndex().row(), 6);
    EXPECT_EQ(assign.currentIndex().row(), 6);

    // An edit refused on leaving puts the view back on the list's row.
    ASSERT_TRUE(list.setText("\xA4"));
    prompter.expect(MessageId{1, 44});
    assign.setCurrentIndex(model.index(20, 0));
    QApplication::processEvents();
    EXPECT_EQ(list.currentPosition(), 6);
    EXPECT_EQ(assign.currentIndex().row(), 6);
    EXPECT_EQ(word.currentIndex().row(), 6);
    EXPECT_TRUE(list.isEditing());
    model.cancel(false);

    // A bulk rewrite ends with both views on the list's current row.
    list.beginBulk();
    ASSERT_TRUE(list.setCurrentPosition(9));
    list.endBulk();
    EXPECT_EQ(word.currentIndex().row(), 9);
    EXPECT_EQ(assign.currentIndex().row(), 9);
}

TEST_F(GridTest, NavigatorButtonsFollowTheCursorAndPageByTheirStep) {
    AssignmentModel model;
    model.setList(&list, &prompter);
    QTableView word, assign;
    TDBNavigatorVelk wordNav, assignNav;
    bindAssignmentGrid(&word, &model, &wordNav, 12);
    bindAssignmentGrid(&assign, &model, &assignNav, 13);
    const auto enabled = [](TDBNavigatorVelk& nav) {
        std::string s;
        for (int i = 0; i < TDBNavigatorVelk::ButtonCount; ++i) s += nav.button(i)->isEnabled() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(enabled(wordNav), "000000"); // empty list

    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (int i = 0; i < 30; ++i) rows.push_back({1000 * (i + 1), "w" + std::to_string(i)});
    fill(rows);
    EXPECT_EQ(enabled(wordNav), "000111");

    wordNav.press(TDBNavigatorVelk::PageForward);
    EXPECT_EQ(list.currentPosition(), 12);
    EXPECT_EQ(enabled(assignNav), "111111");
    assignNav.press(TDBNavigatorVelk::PageForward);
    EXPECT_EQ(list.currentPosition(), 25);
    EXPECT_EQ(word.currentIndex().row(), 25);
    wordNav.press(TDBNavigatorVelk::Last);
    EXPECT_EQ(enabled(wordNav), "111000");
    EXPECT_EQ(enabled(assignNav), "111000");

    // A navigator move saves the row in edit state first; refused, it stays.
    ASSERT_TRUE(list.setText(""));
    prompter.expect(MessageId{1, 87});
    wordNav.press(TDBNavigatorVelk::First);
    EXPECT_EQ(list.currentPosition(), 29);
    EXPECT_TRUE(list.isEditing());
    model.cancel(false);
    wordNav.press(TDBNavigatorVelk::First);
    EXPECT_EQ(list.currentPosition(), 0);
    EXPECT_EQ(enabled(assignNav), "000111");
}

TEST_F(GridTest, MarkedRowsOnlyWhileMultiSelectionIsOn) {
    AssignmentModel model;
    model.setList(&list, &prompter);
    fill({{1000, "a"}, {2000, "b"}, {3000, "c"}, {4000, "d"}});
    QTableView view;
    AssignmentGridBinding* binding = bindAssignmentGrid(&view, &model, nullptr, 12);
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(binding->markedRows().empty());
    binding->setMultiSelect(true);
    view.selectionModel()->select(model.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.selectionModel()->select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(binding->markedRows(), (std::vector<int>{0, 1, 3}));
    // Moving the cursor keeps the marks.
    ASSERT_TRUE(model.moveTo(2));
    EXPECT_EQ(binding->markedRows(), (std::vector<int>{0, 1, 3}));
    binding->setMultiSelect(false);
    EXPECT_TRUE(binding->markedRows().empty());
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 1);
}

TEST_F(GridTest, ModelLetsGoOfADestroyedList) {
    AssignmentModel model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    {
        lyrics::AssignmentList other;
        model.setList(&other, &prompter);
    }
    EXPECT_EQ(model.list(), nullptr);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
    EXPECT_FALSE(model.moveTo(0));
}

} // namespace
} // namespace versilla::app::testing
