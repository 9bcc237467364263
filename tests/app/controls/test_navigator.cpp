#include "app/controls/NavigatorDataSet.h"
#include "app/controls/TDBNavigatorVelk.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using versilla::app::ItemViewDataSet;
using versilla::app::TDBNavigatorVelk;

namespace {

struct Rows {
    QStandardItemModel model{25, 2};
    QTableView view;
    ItemViewDataSet dataSet{&view};
    TDBNavigatorVelk nav;
    Rows() {
        view.setModel(&model);
        dataSet.watchModel();
        nav.setDataSource(&dataSet);
    }
    void goTo(int row) { view.setCurrentIndex(model.index(row, 0)); }
    int row() const { return view.currentIndex().row(); }
    /// Enable states of the six buttons as a string, e.g. "000111".
    std::string states() const {
        std::string s;
        for (int i = 0; i < TDBNavigatorVelk::ButtonCount; ++i) s += nav.button(i)->isEnabled() ? '1' : '0';
        return s;
    }
};

} // namespace

TEST(TDBNavigatorVelk, ANewNavigatorIs241By25WithTheDefaultHints) {
    TDBNavigatorVelk nav;
    EXPECT_EQ(nav.size(), QSize(241, 25));
    EXPECT_EQ(nav.MoveBy(), 10);
    const QStringList hints{"Erste Zeile", "Seite zurück", "Zeile zurück", "Zeile vor", "Seite vor", "Letzte Zeile"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(nav.button(i)->toolTip(), hints[i]);
    // Without a data set everything is disabled.
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(nav.button(i)->isEnabled());
}

TEST(TDBNavigatorVelk, EnableStatesFollowThePosition) {
    Rows r;
    r.goTo(0);
    EXPECT_EQ(r.states(), "000111");
    r.goTo(12);
    EXPECT_EQ(r.states(), "111111");
    r.goTo(24);
    EXPECT_EQ(r.states(), "111000");

    r.nav.setEnabled(false);
    r.goTo(12);
    EXPECT_EQ(r.states(), "000000");
    r.nav.setEnabled(true);
    EXPECT_EQ(r.states(), "111111");

    // A closed data set (no rows to move through) disables everything.
    r.view.setModel(nullptr);
    r.dataSet.watchModel();
    r.nav.refreshButtons();
    EXPECT_EQ(r.states(), "000000");
}

TEST(TDBNavigatorVelk, EmptyAndSingleRowDataSetsOfferNoMove) {
    Rows r;
    r.model.setRowCount(0);
    EXPECT_EQ(r.states(), "000000");
    r.model.setRowCount(1);
    r.goTo(0);
    EXPECT_EQ(r.states(), "000000");
}

TEST(TDBNavigatorVelk, ButtonsMoveByRowsAndPages) {
    Rows r;
    r.nav.setMoveBy(12);
    QSignalSpy before(&r.nav, &TDBNavigatorVelk::beforeAction);
    QSignalSpy clicked(&r.nav, &TDBNavigatorVelk::clicked);
    r.goTo(0);
    r.nav.press(TDBNavigatorVelk::PageForward);
    EXPECT_EQ(r.row(), 12);
    r.nav.press(TDBNavigatorVelk::PageForward);
    EXPECT_EQ(r.row(), 24); // clamped at the last row
    EXPECT_EQ(r.states(), "111000");
    r.nav.press(TDBNavigatorVelk::PageForward); // disabled: nothing happens
    EXPECT_EQ(r.row(), 24);
    r.nav.press(TDBNavigatorVelk::PageBack);
    EXPECT_EQ(r.row(), 12);
    r.nav.press(TDBNavigatorVelk::Prior);
    EXPECT_EQ(r.row(), 11);
    r.nav.press(TDBNavigatorVelk::Next);
    EXPECT_EQ(r.row(), 12);
    r.nav.press(TDBNavigatorVelk::Last);
    EXPECT_EQ(r.row(), 24);
    r.nav.press(TDBNavigatorVelk::First);
    EXPECT_EQ(r.row(), 0);

    ASSERT_EQ(clicked.count(), 7);
    ASSERT_EQ(before.count(), 7);
    EXPECT_EQ(before.at(0).at(0).toInt(), TDBNavigatorVelk::PageForward);
    EXPECT_EQ(clicked.at(6).at(0).toInt(), TDBNavigatorVelk::First);
}

TEST(TDBNavigatorVelk, MouseClickAndKeyboard) {
    Rows r;
    r.goTo(5);
    r.nav.show();
    QTest::mouseClick(r.nav.button(TDBNavigatorVelk::Next), Qt::LeftButton);
    EXPECT_EQ(r.row(), 6);
    // Space presses the focused button; Left and Right move along the visible ones.
    EXPECT_EQ(r.nav.focusedButton(), TDBNavigatorVelk::First);
    QTest::keyClick(&r.nav, Qt::Key_Right);
    QTest::keyClick(&r.nav, Qt::Key_Right);
    EXPECT_EQ(r.nav.focusedButton(), TDBNavigatorVelk::Prior);
    QTest::keyClick(&r.nav, Qt::Key_Space);
    EXPECT_EQ(r.row(), 5);
    QTest::keyClick(&r.nav, Qt::Key_Left);
    QTest::keyClick(&r.nav, Qt::Key_Left);
    QTest::keyClick(&r.nav, Qt::Key_Left); // stays on the first
    EXPECT_EQ(r.nav.focusedButton(), TDBNavigatorVelk::First);
    QTest::keyClick(&r.nav, Qt::Key_Space);
    EXPECT_EQ(r.row(), 0);
}

TEST(TDBNavigatorVelk, PageAndRowButtonsRepeatWhileHeld) {
    TDBNavigatorVelk nav;
    for (int i : {TDBNavigatorVelk::PageBack, TDBNavigatorVelk::Prior, TDBNavigatorVelk::Next,
                  TDBNavigatorVelk::PageForward}) {
        EXPECT_TRUE(nav.button(i)->autoRepeat());
        EXPECT_EQ(nav.button(i)->autoRepeatDelay(), 400);
        EXPECT_EQ(nav.button(i)->autoRepeatInterval(), 100);
    }
    EXPECT_FALSE(nav.button(TDBNavigatorVelk::First)->autoRepeat());
    EXPECT_FALSE(nav.button(TDBNavigatorVelk::Last)->autoRepeat());
}

TEST(TDBNavigatorVelk, OnlyPriorAndNextShareTheWidth) {
    Rows r;
    r.nav.setVisibleButtons({false, false, true, true, false, false});
    r.nav.show();
    EXPECT_FALSE(r.nav.button(TDBNavigatorVelk::First)->isVisible());
    EXPECT_TRUE(r.nav.button(TDBNavigatorVelk::Prior)->isVisible());
    EXPECT_EQ(r.nav.button(TDBNavigatorVelk::Prior)->width() + r.nav.button(TDBNavigatorVelk::Next)->width(), 241);
    EXPECT_EQ(r.nav.focusedButton(), TDBNavigatorVelk::Prior);
    r.goTo(3);
    r.nav.press(TDBNavigatorVelk::Last); // hidden: does nothing
    EXPECT_EQ(r.row(), 3);
}

TEST(TDBNavigatorVelk, HintsReplaceTheDefaultsEntryByEntry) {
    TDBNavigatorVelk nav;
    nav.setHints({"Anfang", "", "Zurück"});
    EXPECT_EQ(nav.button(0)->toolTip(), QStringLiteral("Anfang"));
    EXPECT_EQ(nav.button(1)->toolTip(), QStringLiteral("Seite zurück"));
    EXPECT_EQ(nav.button(2)->toolTip(), QStringLiteral("Zurück"));
    EXPECT_EQ(nav.button(5)->toolTip(), QStringLiteral("Letzte Zeile"));
    nav.setHints(TDBNavigatorVelk::defaultHints());
    EXPECT_TRUE(nav.Hints().isEmpty());
}
