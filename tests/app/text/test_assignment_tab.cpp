// Tab 4: the assignment text in s5_text and the automatic assignment.
#include "SongBuilder.h"
#include "TextFixture.h"

#include "app/Text.h"
#include "app/WorkspaceState.h"
#include "lyrics/AssignmentList.h"

#include <QPushButton>
#include <QTabWidget>

namespace versilla::app::testing {
namespace {

using namespace std::string_literals;

QString selectedText(QTextEdit* edit) {
    QString text = edit->textCursor().selectedText();
    text.replace(QChar(0x2029), QLatin1Char('\n'));
    return text;
}

TEST_F(TextTest, EnteringTab4BuildsTheAssignmentText) {
    window->state().manualMode = true;
    tab4().s5_eintragen->setEnabled(true);
    EXPECT_TRUE(tab4().enterTab("  Hal-lo  Welt \r\n-Zwei\r\n"));
    EXPECT_EQ(fromQString(tab4().s5_text->toPlainText()), "Hal-lo Welt\xB6\nZwei");
    EXPECT_EQ(tab4().s5_text->textCursor().position(), 0);
    EXPECT_FALSE(tab4().s5_text->textCursor().hasSelection());
    EXPECT_FALSE(tab4().s5_eintragen->isEnabled());
    EXPECT_FALSE(window->state().manualMode);
    EXPECT_TRUE(tab4().s5_text->isReadOnly());
}

TEST_F(TextTest, SameTextKeepsTheAssignmentTextAndPosition) {
    ASSERT_TRUE(tab4().enterTab("Hal-lo Welt\r\nZwei"));
    tab4().textState().setNextPosition(7);
    tab4().showSelection(4, 3);
    tab4().s5_eintragen->setEnabled(true);

    EXPECT_FALSE(tab4().enterTab("Hal-lo Welt\r\nZwei"));
    EXPECT_EQ(tab4().textState().nextPosition(), 7);
    EXPECT_EQ(selectedText(tab4().s5_text), "lo ");
    EXPECT_TRUE(tab4().s5_eintragen->isEnabled());

    // One changed character rebuilds and starts over.
    EXPECT_TRUE(tab4().enterTab("Hal-lo Welt\r\nZwei!"));
    EXPECT_EQ(tab4().textState().nextPosition(), 0);
    EXPECT_EQ(fromQString(tab4().s5_text->toPlainText()), "Hal-lo Welt\xB6\nZwei!");

    // A forgotten hand-over (a song was opened) rebuilds even the same text.
    tab4().forgetHandedText();
    EXPECT_TRUE(tab4().enterTab("Hal-lo Welt\r\nZwei!"));
}

TEST_F(TextTest, SyllableSelectionsHighlightExactlyTheStepsBytes) {
    // Positions after a line end must match byte positions: the line feed is one position.
    ASSERT_TRUE(tab4().enterTab("Herz \xB7Schmerz\r\nzwei-te Zei\xACle\r\nEnde"));
    const std::string text = tab4().textState().text();
    int position = 0;
    for (int guard = 0; guard < 20 && position < static_cast<int>(text.size()); ++guard) {
        const lyrics::SyllableStep step = lyrics::syllableStep(text, position);
        tab4().showSelection(step.selStart, step.selLength);
        std::string expected = text.substr(static_cast<std::size_t>(step.selStart),
                                           static_cast<std::size_t>(step.selLength));
        EXPECT_EQ(fromQString(selectedText(tab4().s5_text)), expected) << "at " << position;
        position = step.nextPosition;
    }
    EXPECT_EQ(position, static_cast<int>(text.size()));
}

TEST_F(TextTest, SelectionStaysVisibleWithoutFocus) {
    const QPalette palette = tab4().s5_text->palette();
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight),
              palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::HighlightedText),
              palette.color(QPalette::Active, QPalette::HighlightedText));
}

std::string threeNoteSong() {
    workflowtest::Track t;
    t.bpm(0, 120)
        .noteOn(480, 1, 60).noteOff(720, 1, 60)
        .noteOn(960, 1, 62).noteOff(1200, 1, 62)
        .noteOn(1440, 1, 64).noteOff(1680, 1, 64)
        .end(1920);
    return workflowtest::songBytes(0, 480, {t});
}

TEST_F(TextTest, AutomaticAssignmentFillsTheListAndShowsTab5) {
    openSong(threeNoteSong());
    tab3().setText("Hal-lo Welt");
    userSwitch(3);
    ASSERT_EQ(window->PageControl1->currentIndex(), 3);
    tab4().s5_abbrechen->setEnabled(true);
    bool abbrechenClicked = false;
    QObject::connect(tab4().s5_abbrechen, &QPushButton::clicked, [&] { abbrechenClicked = true; });
    int currentAtReport = -1;
    QObject::connect(&tab4(), &AssignmentTab::autoAssignFinishing,
                     [&] { currentAtReport = window->PageControl1->currentIndex(); });

    prompter.expect(MessageId{1, 74}, Answer::Yes);
    prompter.expect(MessageId{1, 77});
    tab4().s5_auto->click();

    const auto& rows = ws().list().rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, "Hal\xA4");
    EXPECT_EQ(rows[1].text, "lo");
    EXPECT_EQ(rows[2].text, "Welt");
    EXPECT_EQ(rows[0].zeit, 500);
    EXPECT_EQ(rows[1].zeit, 1000);
    EXPECT_EQ(rows[2].zeit, 1500);
    EXPECT_EQ(rows[0].start, 1);
    EXPECT_EQ(rows[1].start, 0);
    EXPECT_TRUE(abbrechenClicked);
    EXPECT_EQ(currentAtReport, 3);
    EXPECT_EQ(window->PageControl1->currentIndex(), 4);
    // Tab 5 got its set-up: the staff works on a fresh snapshot of the new rows.
    EXPECT_FALSE(ws().list().marks().staffRefresh);
    EXPECT_EQ(ws().rowSnapshot().size(), 3u);
    EXPECT_EQ(ws().melodyNotes().size(), 3u);
    // The last step's syllable is shown; the next position is the end of the text.
    EXPECT_EQ(selectedText(tab4().s5_text), "Welt");
    EXPECT_EQ(tab4().textState().nextPosition(), 11);
}

TEST_F(TextTest, AutomaticAssignmentWithMoreSyllablesStopsOnTheLastNote) {
    openSong(threeNoteSong());
    tab3().setText("Ein sch\xF6-nes Lied");
    userSwitch(3);
    ASSERT_EQ(window->PageControl1->currentIndex(), 3);
    prompter.expect(MessageId{1, 74}, Answer::Yes);
    prompter.expect(MessageId{1, 77});
    tab4().s5_auto->click();
    ASSERT_EQ(ws().list().rows().size(), 3u);
    EXPECT_EQ(selectedText(tab4().s5_text), "nes ");
    EXPECT_EQ(tab4().textState().nextPosition(), 13); // "Lied" is left for a manual assignment
}

TEST_F(TextTest, DeclinedOrRefusedAutomaticAssignmentChangesNothing) {
    openSong(threeNoteSong());
    tab3().setText("Hal-lo Welt");
    userSwitch(3);
    ASSERT_EQ(window->PageControl1->currentIndex(), 3);
    prompter.expect(MessageId{1, 74}, Answer::No);
    tab4().s5_auto->click();
    EXPECT_TRUE(ws().list().rows().empty());
    EXPECT_EQ(window->PageControl1->currentIndex(), 3);

    // A selection that does not start at the beginning is no intro.
    select(tab4().s5_text, 4, 2);
    prompter.expect(MessageId{1, 74}, Answer::Yes);
    prompter.expect(MessageId{1, 75});
    tab4().s5_auto->click();
    EXPECT_TRUE(ws().list().rows().empty());
    EXPECT_EQ(window->PageControl1->currentIndex(), 3);
}

TEST_F(TextTest, RefusedRowIsShownAndDropped) {
    // The second note falls on the song's end: its row's time is outside the song
    // and the save refuses it (1/47).
    workflowtest::Track t;
    t.bpm(0, 120).noteOn(480, 1, 60).noteOff(720, 1, 60).noteOn(960, 1, 62).end(960);
    openSong(workflowtest::songBytes(0, 480, {t}));
    tab3().setText("eins zwei drei");
    userSwitch(3);
    ASSERT_EQ(window->PageControl1->currentIndex(), 3);
    prompter.expect(MessageId{1, 74}, Answer::Yes);
    prompter.expect(MessageId{1, 47});
    tab4().s5_auto->click();
    ASSERT_EQ(ws().list().rows().size(), 1u);
    EXPECT_EQ(ws().list().rows()[0].text, "eins");
    EXPECT_FALSE(ws().list().isEditing());
    EXPECT_EQ(window->PageControl1->currentIndex(), 3);
    EXPECT_EQ(selectedText(tab4().s5_text), "zwei ");
}

} // namespace
} // namespace versilla::app::testing
