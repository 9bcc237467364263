// Tab 3: the lyric text box, its rulers and the text commands.
#include "TextFixture.h"

#include "SongBuilder.h"
#include "app/Text.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace versilla::app::testing {
namespace {

using namespace std::string_literals;

TEST_F(TextTest, BoxTextIsCodePageBytesWithCrLfLineEnds) {
    // Marks, the euro sign and a no-break space are single bytes and come back unchanged.
    const std::string text = "Hal-lo\xB7Welt \x80\xA0\xAC\r\nzweite Zeile\xB6\r\n\r\nEnde"s;
    tab3().setText(text);
    EXPECT_EQ(tab3().text(), text);
    EXPECT_EQ(tab3().s4_text->document()->blockCount(), 4);
    // A lone CR or LF read from a file also ends a line; it is written back as CR LF.
    tab3().setText("a\nb\rc");
    EXPECT_EQ(tab3().text(), "a\r\nb\r\nc");
}

TEST_F(TextTest, CharactersOutsideTheCodePageAreDroppedOnPaste) {
    int dropped = 0;
    EXPECT_EQ(LyricTextEdit::filtered(QString::fromUtf8("a€ő\r\nb\u2029c\u4e2d"), &dropped),
              QString::fromUtf8("a€\nb\nc"));
    EXPECT_EQ(dropped, 2);

    tab3().setText("xy");
    select(tab3().s4_text, 1, 0);
    QApplication::clipboard()->setText(QString::fromUtf8("Ü\u0151ber\r\nZeile"));
    tab3().s4_text->paste();
    EXPECT_EQ(tab3().text(), "x\xDC" "ber\r\nZeiley");
}

TEST_F(TextTest, ProtectedCharactersReplaceTheSelectionAndFocusTheBox) {
    showWindow();
    showTab(2);
    tab3().setText("abc");
    select(tab3().s4_text, 1, 1);
    tab3().s3_st->setFocus();
    tab3().s3_lz->click();
    EXPECT_EQ(tab3().text(), "a\xB7" "c");
    select(tab3().s4_text, 3, 0);
    tab3().s3_bs->click();
    EXPECT_EQ(tab3().text(), "a\xB7" "c\xAC");
    EXPECT_TRUE(tab3().s4_text->hasFocus());
}

TEST_F(TextTest, ClearingBlanksAsksNothingAndLeavesThem) {
    tab3().setText("   ");
    tab3().s3_tl->click(); // no prompt queued: any question fails the test
    EXPECT_EQ(tab3().text(), "   ");
}

TEST_F(TextTest, ClearingTextAsksAndNoKeepsIt) {
    tab3().setText("Hallo  ");
    prompter.expect(MessageId{1, 67}, Answer::No);
    tab3().s3_tl->click();
    EXPECT_EQ(tab3().text(), "Hallo  ");
    prompter.expect(MessageId{1, 67}, Answer::Yes);
    tab3().s3_tl->click();
    EXPECT_EQ(tab3().text(), "");
}

TEST_F(TextTest, TextFromSongAsksOnlyWhenThePressedButtonRuns) {
    const std::vector<std::string> items = {"Hal", "lo ", "Welt", "\xB6", "Zwei"};
    tab3().setText("alt");
    prompter.expect(MessageId{1, 35}, Answer::No);
    EXPECT_FALSE(tab3().loadFromSong(items, true));
    EXPECT_EQ(tab3().text(), "alt");
    prompter.expect(MessageId{1, 35}, Answer::Yes);
    EXPECT_TRUE(tab3().loadFromSong(items, true));
    EXPECT_EQ(tab3().text(), "Hal-lo Welt\r\nZwei");
    // Opening a song loads without asking.
    EXPECT_TRUE(tab3().loadFromSong({"\xB6", "Herz"}, false));
    EXPECT_EQ(tab3().text(), "\r\nHerz");
}

TEST_F(TextTest, TextFromSongButtonUsesTheSongsLyrics) {
    using workflowtest::Track;
    Track t;
    t.bpm(0, 120).lyric(0, "Hal").lyric(240, "lo ").noteOn(480, 1, 60).lyric(480, "Welt").noteOff(720, 1, 60).end(960);
    openSong(workflowtest::songBytes(0, 480, {t}));
    tab3().setText("alt");
    prompter.expect(MessageId{1, 35}, Answer::Yes);
    tab3().s4_ladenmidifile->click();
    EXPECT_EQ(tab3().text(), "Hal-lo Welt");
}

TEST_F(TextTest, LoadingKeepsBytesAndAppendsTxtToTheRememberedName) {
    const std::string bytes = "Hal-lo\xB7Welt\r\nzwei\xAC" "drei"s;
    const std::string path = writeFile("lied.TXT", bytes);
    dialogs.textToOpen = QString::fromStdString(path);
    tab3().setText("alt");
    tab3().s3_laden->click();
    EXPECT_EQ(tab3().text(), bytes);
    EXPECT_EQ(tab3().currentFile(), QString::fromStdString(path + ".txt"));

    // "Text speichern" now writes to lied.TXT.txt without asking.
    tab3().setText("neu");
    tab3().s4_speichern->click();
    EXPECT_EQ(readFile(path + ".txt"), "neu");
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_EQ(dialogs.textSaveCalls, 0);

    tab3().clearCurrentFile();
    EXPECT_TRUE(tab3().currentFile().isEmpty());
}

TEST_F(TextTest, CancelledOrFailedLoad) {
    tab3().setText("bleibt");
    tab3().s3_laden->click(); // dialog cancelled
    EXPECT_EQ(tab3().text(), "bleibt");
    EXPECT_EQ(dialogs.textOpenCalls, 1);

    dialogs.textToOpen = QString::fromStdString((folder() / "fehlt.txt").string());
    tab3().s3_laden->click();
    EXPECT_EQ(tab3().text(), "");
    ASSERT_EQ(dialogs.engineErrors.size(), 1u);
    EXPECT_TRUE(dialogs.engineErrors[0].contains(QStringLiteral("fehlt.txt")));
}

TEST_F(TextTest, SaveAsNamesAndTheOverwriteQuestion) {
    const std::string text = "Zeile eins\r\nZeile\xB7zwei"s;
    tab3().setText(text);

    // No current file: "Text speichern" acts as "Speichern unter"; ".txt" is added.
    dialogs.textSaveName = QString::fromStdString((folder() / "neu").string());
    tab3().s4_speichern->click();
    EXPECT_EQ(dialogs.textSaveCalls, 1);
    EXPECT_EQ(readFile((folder() / "neu.txt").string()), text);
    EXPECT_EQ(tab3().currentFile(), QString::fromStdString((folder() / "neu.txt").string()));

    // An existing lied.TXT keeps its name; No writes nothing but the name is taken.
    const std::string existing = writeFile("lied.TXT", "vorher");
    dialogs.textSaveName = QString::fromStdString(existing);
    prompter.expect(MessageId{1, 27}, Answer::No);
    tab3().s4_speichernunter->click();
    EXPECT_EQ(readFile(existing), "vorher");
    EXPECT_EQ(tab3().currentFile(), QString::fromStdString(existing));
    EXPECT_EQ(dialogs.textSaveCurrent, QString::fromStdString((folder() / "neu.txt").string()));

    prompter.expect(MessageId{1, 27}, Answer::Yes);
    tab3().s4_speichernunter->click();
    EXPECT_EQ(readFile(existing), text);

    // Cancelling the dialog keeps the current file.
    dialogs.textSaveName.reset();
    tab3().s4_speichernunter->click();
    EXPECT_EQ(tab3().currentFile(), QString::fromStdString(existing));
}

TEST_F(TextTest, FailedSaveIsShownAndLeavesNoFile) {
    tab3().setText("x");
    const std::filesystem::path target = folder() / "fehlt" / "lied.txt";
    dialogs.textSaveName = QString::fromStdString(target.string());
    tab3().s4_speichernunter->click();
    EXPECT_FALSE(std::filesystem::exists(target));
    ASSERT_EQ(dialogs.engineErrors.size(), 1u);
}

TEST_F(TextTest, RulerNumbersStandOverTheirCharacterColumns) {
    showWindow();
    showTab(2);
    QApplication::processEvents();
    QTextEdit* box = tab3().s4_text;
    tab3().setText(std::string(38, 'M'));
    QApplication::processEvents();
    // All 38 columns fit on one line of the box.
    EXPECT_EQ(box->document()->firstBlock().layout()->lineCount(), 1);
    ASSERT_EQ(tab3().rulerAbove.size(), 38u);
    for (int column = 1; column <= 38; ++column) {
        QTextCursor cursor(box->document());
        cursor.setPosition(column - 1);
        const QRect left = box->cursorRect(cursor);
        cursor.setPosition(column);
        const QRect right = box->cursorRect(cursor);
        const QPoint centre = box->viewport()->mapTo(tab3().Panel12, QPoint((left.x() + right.x()) / 2, 0));
        for (const QLabel* label : {tab3().rulerAbove[column - 1], tab3().rulerBelow[column - 1]}) {
            EXPECT_EQ(label->text(), QString::number(column));
            EXPECT_NEAR(label->geometry().center().x(), centre.x(), 1.5) << "column " << column;
            EXPECT_TRUE(label->isVisible());
        }
        EXPECT_LE(right.x(), box->viewport()->width()) << "column " << column;
    }
    EXPECT_EQ(tab3().rulerAbove[0]->y(), 0);
    EXPECT_EQ(tab3().rulerBelow[0]->y(), 308);
    EXPECT_LE(tab3().rulerAbove[0]->geometry().bottom(), box->y());
    // A 39th character starts a new line.
    tab3().setText(std::string(39, 'M'));
    QApplication::processEvents();
    EXPECT_EQ(box->document()->firstBlock().layout()->lineCount(), 2);
}

TEST_F(TextTest, ButtonsAreOutOfTheTabOrder) {
    for (QPushButton* b : {tab3().s3_lz, tab3().s3_bs, tab3().s3_tl, tab3().s3_st, tab3().s4_ladenmidifile,
                           tab3().s3_laden, tab3().s4_speichern, tab3().s4_speichernunter}) {
        EXPECT_FALSE(b->focusPolicy() & Qt::TabFocus) << b->objectName().toStdString();
        EXPECT_EQ(b->y(), 329);
    }
    EXPECT_EQ(tab3().s4_text->geometry(), QRect(12, 12, 730, 295));
}

} // namespace
} // namespace versilla::app::testing
