#include "SeamRecorder.h"
#include "app/controls/NumEditRules.h"
#include "app/controls/TNumEditVelk.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using versilla::app::NumEditRules;
using versilla::app::TNumEditVelk;
using Verdict = NumEditRules::LeaveVerdict;

namespace {

struct LeaveCase {
    const char* typed;
    int decimals;
    bool blankToZero;
    double minimum;
    bool nullErlaubt;
    const char* shown;
    Verdict verdict;
    double value;
};

class LeaveRules : public ::testing::TestWithParam<LeaveCase> {};

} // namespace

TEST_P(LeaveRules, FormatsAndChecks) {
    const LeaveCase& c = GetParam();
    NumEditRules rules;
    rules.nachkommastellen = c.decimals;
    rules.blankToZero = c.blankToZero;
    rules.minimum = c.minimum;
    rules.nullErlaubt = c.nullErlaubt;
    const auto r = rules.leave(QString::fromUtf8(c.typed));
    EXPECT_EQ(r.text.toStdString(), c.shown) << "typed '" << c.typed << "'";
    EXPECT_EQ(r.verdict, c.verdict) << "typed '" << c.typed << "'";
    if (c.verdict == Verdict::Ok) {
        EXPECT_DOUBLE_EQ(r.value, c.value) << "typed '" << c.typed << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeaveRules,
    ::testing::Values(
        LeaveCase{"5", 2, false, 0, true, "5,00", Verdict::Ok, 5},
        LeaveCase{",5", 2, false, 0, true, "0,50", Verdict::Ok, 0.5},
        LeaveCase{"007,1", 2, false, 0, true, "7,10", Verdict::Ok, 7.1},
        LeaveCase{"0,25", 2, false, 0, true, "0,25", Verdict::Ok, 0.25},
        LeaveCase{",", 2, false, 0, true, "0,00", Verdict::Ok, 0},
        LeaveCase{"12-3", 0, false, -1000000, true, "-123", Verdict::Ok, -123},
        LeaveCase{"+-+5", 0, false, -10, true, "-5", Verdict::Ok, -5},
        LeaveCase{"000", 0, false, 0, true, "0", Verdict::Ok, 0},
        LeaveCase{"00120", 0, false, 0, true, "120", Verdict::Ok, 120},
        LeaveCase{"-", 0, false, 0, true, "", Verdict::Ok, 0},
        LeaveCase{"-", 0, true, 0, true, "0", Verdict::Ok, 0},
        LeaveCase{"", 2, true, 0, true, "0,00", Verdict::Ok, 0},
        LeaveCase{"", 0, false, 0, false, "", Verdict::ZeroNotAllowed, 0},
        LeaveCase{"0", 0, false, 0, false, "0", Verdict::ZeroNotAllowed, 0},
        LeaveCase{"-1000001", 0, false, -1000000, true, "-1000001", Verdict::BelowMinimum, 0},
        LeaveCase{"-1000000", 0, false, -1000000, true, "-1000000", Verdict::Ok, -1000000},
        LeaveCase{"2147483648", 0, false, 0, true, "2147483648", Verdict::AboveMaximum, 0},
        LeaveCase{"1a2", 0, false, 0, true, "1a2", Verdict::NotANumber, 0}));

TEST(NumEditRules, ChangeLimitsAndAllowedKeys) {
    NumEditRules rules;
    rules.vorkommastellen = 3;
    rules.nachkommastellen = 2;
    EXPECT_EQ(rules.checkChange("-123,45"), NumEditRules::ChangeVerdict::Ok);
    EXPECT_EQ(rules.checkChange("1234"), NumEditRules::ChangeVerdict::TooManyBefore);
    EXPECT_EQ(rules.checkChange("1,234"), NumEditRules::ChangeVerdict::TooManyAfter);
    EXPECT_EQ(rules.checkChange("1,2,3"), NumEditRules::ChangeVerdict::TwoSeparators);
    EXPECT_TRUE(rules.isAllowedKey(u','));
    EXPECT_FALSE(rules.isAllowedKey(u'a'));
    EXPECT_FALSE(rules.isAllowedKey(u'.'));
    EXPECT_EQ(rules.allowedKeysText(), QStringLiteral("Zulässing sind: 0123456789+-,"));
    rules.nachkommastellen = 0;
    EXPECT_FALSE(rules.isAllowedKey(u','));
    EXPECT_EQ(rules.allowedKeysText(), QStringLiteral("Zulässing sind: 0123456789+-"));
}

TEST(NumEditRules, BoxTextsNameTheLimit) {
    NumEditRules rules;
    rules.minimum = -1000000;
    EXPECT_EQ(rules.leaveMessage(Verdict::BelowMinimum),
              QStringLiteral("Die Eingabe ist kleiner als das erlaubte Minimum: -1000000"));
    EXPECT_EQ(rules.leaveMessage(Verdict::AboveMaximum),
              QStringLiteral("Die Eingabe ist größer als das erlaubte Maximum: 2147483647"));
}

TEST(TNumEditVelk, DefaultsOfANewField) {
    TNumEditVelk f;
    EXPECT_EQ(f.Vorkommastellen(), 10);
    EXPECT_EQ(f.Nachkommastellen(), 2);
    EXPECT_EQ(f.Dezimalseperator(), QStringLiteral(","));
    EXPECT_FALSE(f.ShowErrorMessages());
    EXPECT_FALSE(f.BlankToZero());
    EXPECT_FALSE(f.ZeroToBlank());
    EXPECT_EQ(f.Minimum(), 0);
    EXPECT_EQ(f.Maximum(), 2147483647);
    EXPECT_TRUE(f.NullErlaubt());
    EXPECT_EQ(f.Wert(), 0);
}

TEST(TNumEditVelk, RefusedPropertyValuesShowTheirBox) {
    SeamRecorder seams;
    TNumEditVelk f;
    f.setVorkommastellen(16);
    f.setNachkommastellen(20);
    f.setDezimalseperator(QStringLiteral(".."));
    EXPECT_EQ(f.Vorkommastellen(), 10);
    EXPECT_EQ(f.Nachkommastellen(), 2);
    EXPECT_EQ(f.Dezimalseperator(), QStringLiteral(","));
    ASSERT_EQ(seams.boxes.size(), 3u);
    EXPECT_EQ(seams.boxes[0].caption, QStringLiteral("TNumEditVelk"));
    EXPECT_EQ(seams.boxes[0].text, QStringLiteral("Nicht mehr als 15 Stellen möglich."));
    EXPECT_EQ(seams.boxes[2].text, QStringLiteral("Nicht mehr als 1 Zeichen möglich."));
    f.setVorkommastellen(15);
    EXPECT_EQ(f.Vorkommastellen(), 15);
}

TEST(TNumEditVelk, ALetterIsDroppedWithABeep) {
    SeamRecorder seams;
    TNumEditVelk f;
    f.setNachkommastellen(0);
    QTest::keyClicks(&f, "1a2,");
    EXPECT_EQ(f.text(), QStringLiteral("12"));
    EXPECT_EQ(seams.beeps, 2);
    EXPECT_TRUE(seams.boxes.empty());
}

TEST(TNumEditVelk, WithShowErrorMessagesALetterShowsTheBox) {
    SeamRecorder seams;
    TNumEditVelk f;
    f.setShowErrorMessages(true);
    QTest::keyClicks(&f, "x");
    EXPECT_EQ(f.text(), QString());
    EXPECT_EQ(seams.beeps, 0);
    ASSERT_EQ(seams.boxes.size(), 1u);
    EXPECT_EQ(seams.boxes[0].caption, QStringLiteral("Unzulässiges Zeichen"));
    EXPECT_EQ(seams.boxes[0].text, QStringLiteral("Zulässing sind: 0123456789+-,"));
}

TEST(TNumEditVelk, AChangeBeyondTheDigitLimitsIsUndone) {
    SeamRecorder seams;
    TNumEditVelk f;
    f.setVorkommastellen(3);
    f.setShowErrorMessages(true);
    QTest::keyClicks(&f, "1234");
    EXPECT_EQ(f.text(), QStringLiteral("123"));
    QTest::keyClicks(&f, ",567");
    EXPECT_EQ(f.text(), QStringLiteral("123,56"));
    QTest::keyClicks(&f, ",");
    EXPECT_EQ(f.text(), QStringLiteral("123,56"));
    ASSERT_EQ(seams.boxes.size(), 3u);
    EXPECT_EQ(seams.boxes[0].caption, QStringLiteral("zuviele Vorkommastellen"));
    EXPECT_EQ(seams.boxes[0].text, QStringLiteral("Es sind nur 3 Vorkommastellen zulässig"));
    EXPECT_EQ(seams.boxes[1].caption, QStringLiteral("zuviele Nachkommastellen"));
    EXPECT_EQ(seams.boxes[1].text, QStringLiteral("Es sind nur 2 Nachkommastellen zulässig"));
    EXPECT_EQ(seams.boxes[2].caption, QStringLiteral("Doppeltes Dezimaltrennzeichen"));
    EXPECT_EQ(seams.boxes[2].text, QStringLiteral("Nur ein Dezimaltrennzeichen ist zulässig"));
}

namespace {

/// A window with the field and a second field to move the focus to.
struct FocusWindow {
    QWidget window;
    TNumEditVelk* field;
    TNumEditVelk* other;
    FocusWindow() {
        auto* layout = new QVBoxLayout(&window);
        field = new TNumEditVelk(&window);
        other = new TNumEditVelk(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

TEST(TNumEditVelk, BelowTheMinimumShowsTheBoxAndKeepsTheFocus) {
    SeamRecorder seams;
    FocusWindow w;
    // s2_schiebenzeit
    w.field->setNachkommastellen(0);
    w.field->setMinimum(-1000000);
    QSignalSpy accepted(w.field, &TNumEditVelk::leaveAccepted);
    w.field->setFocus();
    QTest::keyClicks(w.field, "-1000001");
    w.other->setFocus();
    QTest::qWait(20);
    ASSERT_EQ(seams.boxes.size(), 1u);
    EXPECT_EQ(seams.boxes[0].caption, QStringLiteral("Ungültiger Wert"));
    EXPECT_EQ(seams.boxes[0].text, QStringLiteral("Die Eingabe ist kleiner als das erlaubte Minimum: -1000000"));
    EXPECT_TRUE(w.field->hasFocus());
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_EQ(w.field->Wert(), 0);

    // A valid value leaves normally and sets Wert.
    w.field->selectAll();
    QTest::keyClicks(w.field, "-250");
    w.other->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(seams.boxes.size(), 1u);
    EXPECT_TRUE(w.other->hasFocus());
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(w.field->Wert(), -250);
}

TEST(TNumEditVelk, LeavingFormatsTheTextAndZeroToBlankClearsOnEnter) {
    SeamRecorder seams;
    FocusWindow w;
    w.field->setZeroToBlank(true);
    w.field->setFocus();
    QTest::keyClicks(w.field, ",");
    w.other->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(w.field->text(), QStringLiteral("0,00"));
    EXPECT_TRUE(seams.boxes.empty());
    w.field->setFocus();
    EXPECT_EQ(w.field->text(), QString());

    // BlankToZero (the start-time fields): an empty field becomes 0.
    w.other->setNachkommastellen(0);
    w.other->setBlankToZero(true);
    w.other->setFocus();
    w.field->setFocus();
    QTest::qWait(20);
    EXPECT_EQ(w.other->text(), QStringLiteral("0"));
}
