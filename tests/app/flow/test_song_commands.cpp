// Song commands of the main window: what open, write, undo, close and save
// show and enable.
#include "FlowFixture.h"

#include "app/KaraokeTab.h"
#include "app/LyricTextTab.h"
#include "app/MainMenu.h"
#include "app/PlayerPanel.h"
#include "app/SongFactsPanel.h"
#include "app/Text.h"
#include "app/WordTableTab.h"
#include "app/WritingPanel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QtTest/QTest>

namespace versilla::app::testing {
namespace {

QString sylo(const QString& data, int n) {
    return QDir(data).filePath(QStringLiteral("Sylo%1.dbf").arg(n));
}

TEST_F(FlowTest, OpenShowsTheFactsFillsThePanesAndEnablesTheSongCommands) {
    auto window = startedWindow();
    files.openPath = corpusSong();
    window->MainMenu1->Oeffnen1->trigger();
    prompter.verify();
    ASSERT_TRUE(window->songOpen());

    SongFactsPanel& facts = *window->Panel1;
    EXPECT_EQ(facts.s1_format->text(), "1");
    EXPECT_EQ(facts.s1_spurname->text(), "Format 1: Kein Name möglich!");
    EXPECT_FALSE(facts.s1_spurname->isEnabled());
    EXPECT_EQ(facts.s1_tempo->text(), "70"); // 857142 µs per quarter
    EXPECT_EQ(facts.s1_taktart->text(), "3/4");
    EXPECT_EQ(facts.s1_dauer->text().toStdString(), window->workspace().facts().dauerText());
    EXPECT_FALSE(facts.s1_dauer->text().isEmpty());
    EXPECT_EQ(window->windowTitle(), window->title + ", Midifile: " + QString::fromStdString(corpusSong()));
    EXPECT_EQ(window->PageControl1->currentIndex(), 0);
    EXPECT_EQ(window->workspace().list().rowCount(), kImportedRows);
    EXPECT_EQ(window->TabSheet2->wwDBGrid2->model()->rowCount(), kImportedRows);
    EXPECT_TRUE(QFile::exists(sylo(data(), 1)));
    EXPECT_EQ(bytesOf(sylo(data(), 1)), bytesOf(QString::fromStdString(corpusSong())));

    // The panes show the first lyrics; the top pane begins with the first syllables.
    const QString top = window->TabSheet1->s1_oben->toPlainText();
    EXPECT_TRUE(top.startsWith("Leise flehen meine Lieder")) << top.toStdString();
    EXPECT_FALSE(window->TabSheet1->s1_unten->toPlainText().isEmpty());
    EXPECT_EQ(window->TabSheet1->s1_oben->textCursor().selectedText(), "");
    // The song's lyrics became the lyric text without a question.
    EXPECT_TRUE(window->TabSheet4->s4_text->toPlainText().startsWith("Le")) << window->TabSheet4->s4_text->toPlainText().toStdString();

    for (QWidget* on : {static_cast<QWidget*>(window->Panel2->s1_abspielen), static_cast<QWidget*>(window->Panel2->s1_st),
                        static_cast<QWidget*>(facts.s1_tempoauswahl), static_cast<QWidget*>(facts.s1_speichern)})
        EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
    for (QWidget* off : {static_cast<QWidget*>(window->Panel2->s1_stopp), static_cast<QWidget*>(window->Panel2->s1_weiter),
                         static_cast<QWidget*>(window->Panel9->s1_eintragen),
                         static_cast<QWidget*>(window->Panel9->s1_rueckgaengig)})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    EXPECT_TRUE(window->MainMenu1->Schliessen1->isEnabled());
    EXPECT_TRUE(window->MainMenu1->Speichern1->isEnabled());
    EXPECT_EQ(window->Panel9->s1_rueckgaengig->toolTip(), window->texts.undoHint1);
    EXPECT_EQ(window->Panel2->s1_startzeit->text(), "0:00:00.000");
    // The information window is gone and the window usable again.
    EXPECT_TRUE(window->Panel10->isEnabled());
    EXPECT_TRUE(window->MainMenu1->isEnabled());
}

TEST_F(FlowTest, OpenIsOfferedTheLastChosenPathAndCancelChangesNothing) {
    auto window = openedWindow();
    files.openPath.reset();
    window->s1_oeffnenClick();
    ASSERT_EQ(files.openPresets.size(), 2u);
    EXPECT_EQ(files.openPresets.back(), corpusSong());
    EXPECT_TRUE(window->songOpen());
    EXPECT_EQ(window->workspace().list().rowCount(), kImportedRows);
}

TEST_F(FlowTest, AFileThatCannotBeOpenedLeavesTheOpenSongAsItWas) {
    auto window = openedWindow();
    const QString caption = window->windowTitle();
    const QByteArray working = bytesOf(sylo(data(), 1));

    // Format 2 is refused with 1/19.
    QByteArray format2 = bytesOf(QString::fromStdString(writeSmallSong("zwei.mid")));
    format2[9] = 2;
    const QString format2Path = QDir(data()).filePath("zwei.mid");
    QFile out(format2Path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(format2);
    out.close();
    files.openPath = format2Path.toStdString();
    prompter.expect(MessageId{1, 19});
    window->s1_oeffnenClick();
    prompter.verify();

    // A file that vanished before it was read: the engine's text in an error box.
    files.openPath = QDir(data()).filePath("fehlt.mid").toStdString();
    window->s1_oeffnenClick();
    EXPECT_EQ(dialogs.engineErrors.size(), 1u);

    EXPECT_TRUE(window->songOpen());
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(window->workspace().list().rowCount(), kImportedRows);
    EXPECT_EQ(bytesOf(sylo(data(), 1)), working);
    EXPECT_EQ(window->Panel1->s1_tempo->text(), "70");
    EXPECT_TRUE(window->Panel10->isEnabled());
}

TEST_F(FlowTest, AFormatZeroSongNameIsEditableAndItsEditEnablesWriting) {
    auto window = startedWindow();
    files.openPath = writeSmallSong();
    window->s1_oeffnenClick();
    ASSERT_TRUE(window->songOpen());
    QLineEdit* name = window->Panel1->s1_spurname;
    EXPECT_TRUE(name->isEnabled());
    EXPECT_FALSE(name->isReadOnly());
    EXPECT_EQ(name->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_FALSE(window->Panel9->s1_eintragen->isEnabled());

    QTest::keyClicks(name, "Neu");
    EXPECT_TRUE(window->listChanged());
    EXPECT_TRUE(window->Panel9->s1_eintragen->isEnabled());
    EXPECT_EQ(window->workspace().facts().songName, "Neu");
}

TEST_F(FlowTest, OpenWithoutMelodyNotesWarnsAndKeepsTheSongOpen) {
    setSetting("MELODIE", "");
    auto window = startedWindow();
    files.openPath = corpusSong();
    prompter.expect(MessageId{1, 20}); // the melody notes are missing, the refused rows are not told
    window->s1_oeffnenClick();
    prompter.verify();
    EXPECT_TRUE(window->songOpen());
    EXPECT_EQ(window->workspace().list().rowCount(), kImportedRows);
}

TEST_F(FlowTest, AnEditedRowEnablesWritingAndWritingRotatesTheWorkingCopies) {
    auto window = openedWindow();
    lyrics::AssignmentList& list = window->workspace().list();
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("Lei\xA4"));
    ASSERT_FALSE(list.post().has_value());
    EXPECT_TRUE(window->listChanged());
    EXPECT_TRUE(window->Panel9->s1_eintragen->isEnabled());
    EXPECT_TRUE(window->Panel9->s1_rueckgaengig->isEnabled());

    window->Panel9->s1_eintragen->click();
    EXPECT_FALSE(window->listChanged());
    EXPECT_TRUE(window->songUnsaved());
    EXPECT_FALSE(window->Panel9->s1_eintragen->isEnabled());
    EXPECT_FALSE(window->Panel9->s1_rueckgaengig->isEnabled());
    EXPECT_EQ(window->Panel9->s1_rueckgaengig->toolTip(), window->texts.undoHint2);
    EXPECT_TRUE(QFile::exists(sylo(data(), 1)));
    EXPECT_TRUE(QFile::exists(sylo(data(), 3)));
    EXPECT_FALSE(QFile::exists(sylo(data(), 2)));
    EXPECT_EQ(bytesOf(sylo(data(), 3)), bytesOf(QString::fromStdString(corpusSong())));
    EXPECT_EQ(list.row(0).text, "Lei\xA4");
    EXPECT_TRUE(window->TabSheet1->s1_oben->toPlainText().startsWith("Leiise flehen")); // "Lei" + "i" + "se "
}

TEST_F(FlowTest, UndoAsksWhetherLyricsWereWrittenAndRestoresTheRows) {
    auto window = openedWindow();
    lyrics::AssignmentList& list = window->workspace().list();
    const std::string first = list.row(0).text;
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("anders"));
    ASSERT_FALSE(list.post().has_value());

    prompter.expect(MessageId{1, 49}, Answer::No);
    window->Panel9->s1_rueckgaengig->click();
    prompter.verify();
    EXPECT_EQ(list.row(0).text, "anders");
    EXPECT_TRUE(window->Panel9->s1_rueckgaengig->isEnabled());

    prompter.expect(MessageId{1, 49}, Answer::Yes);
    window->Panel9->s1_rueckgaengig->click();
    prompter.verify();
    EXPECT_EQ(list.row(0).text, first);
    EXPECT_FALSE(window->listChanged());
    EXPECT_FALSE(window->Panel9->s1_rueckgaengig->isEnabled());
    EXPECT_FALSE(window->Panel9->s1_eintragen->isEnabled());
    EXPECT_TRUE(window->Panel2->s1_abspielen->isEnabled());

    // After a writing the question is 1/50.
    ASSERT_TRUE(list.setText("wieder"));
    ASSERT_FALSE(list.post().has_value());
    window->s1_eintragenClick();
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("noch einmal"));
    ASSERT_FALSE(list.post().has_value());
    prompter.expect(MessageId{1, 50}, Answer::Yes);
    window->s5_rueckgaengigClick();
    prompter.verify();
    EXPECT_EQ(list.row(0).text, "wieder");

    // On the lyric text tab nothing plays, also after an undo.
    ASSERT_TRUE(window->PageControl1->userSwitch(2));
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("dort"));
    ASSERT_FALSE(list.post().has_value());
    prompter.expect(MessageId{1, 49}, Answer::Yes); // the undo cleared the lyrics-written mark
    window->s5_rueckgaengigClick();
    prompter.verify();
    EXPECT_FALSE(window->Panel2->s1_abspielen->isEnabled());
    EXPECT_TRUE(window->Panel2->s1_st->isEnabled());
}

TEST_F(FlowTest, CloseAsksBothQuestionsAndEmptiesTheWindow) {
    auto window = openedWindow();
    lyrics::AssignmentList& list = window->workspace().list();
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("x"));
    ASSERT_FALSE(list.post().has_value());
    window->s1_eintragenClick();
    ASSERT_TRUE(list.setText("y"));
    ASSERT_FALSE(list.post().has_value());
    ASSERT_TRUE(window->listChanged());
    ASSERT_TRUE(window->songUnsaved());

    prompter.expect(MessageId{1, 54}, Answer::Yes).expect(MessageId{1, 55}, Answer::No);
    window->MainMenu1->Schliessen1->trigger();
    prompter.verify();
    EXPECT_TRUE(window->songOpen());
    EXPECT_EQ(list.rowCount(), kImportedRows);
    EXPECT_EQ(window->Panel1->s1_tempo->text(), "70");

    prompter.expect(MessageId{1, 54}, Answer::Yes).expect(MessageId{1, 55}, Answer::Yes);
    window->MainMenu1->Schliessen1->trigger();
    prompter.verify();
    EXPECT_FALSE(window->songOpen());
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(window->Panel1->s1_tempo->text(), "60");
    for (QLineEdit* field : {window->Panel1->s1_spurname, window->Panel1->s1_taktart, window->Panel1->s1_dauer,
                             window->Panel1->s1_format, window->Panel2->s1_startzeit, window->Panel2->s1_aktzeit})
        EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
    EXPECT_TRUE(window->TabSheet1->s1_oben->toPlainText().isEmpty());
    EXPECT_FALSE(window->Panel1->s1_speichern->isEnabled());
    EXPECT_FALSE(window->Panel2->s1_abspielen->isEnabled());
    EXPECT_FALSE(window->MainMenu1->Schliessen1->isEnabled());
    EXPECT_FALSE(window->MainMenu1->Speichern1->isEnabled());
    EXPECT_EQ(window->windowTitle(), window->title);
    EXPECT_FALSE(QFile::exists(sylo(data(), 1)));
    EXPECT_FALSE(QFile::exists(sylo(data(), 3)));
}

TEST_F(FlowTest, SaveWritesTheWorkingCopyUnderTheChosenName) {
    auto window = openedWindow();
    const QString target = QDir(data()).filePath("gespeichert");
    files.savePath = target.toStdString();
    window->Panel1->s1_speichern->click();
    ASSERT_EQ(files.saveCalls, 1);
    EXPECT_EQ(files.saveProposed, window->texts.copyText.toStdString() + "Schubert_Standchen.mid");
    EXPECT_EQ(files.saveFolder, std::string(VERSILLA_CORPUS_DIR) + "/real/dmidiplayer");
    const QString saved = target + ".mid";
    EXPECT_EQ(bytesOf(saved), bytesOf(sylo(data(), 1)));
    EXPECT_FALSE(bytesOf(saved).isEmpty());
    EXPECT_EQ(window->windowTitle(), window->title + ", Midifile: " + saved);

    // Again onto the same name: 1/60, No keeps the file.
    prompter.expect(MessageId{1, 60}, Answer::No);
    files.savePath = saved.toStdString();
    window->MainMenu1->Speichern1->trigger();
    prompter.verify();
}

TEST_F(FlowTest, SavingAChangedListWritesItFirst) {
    auto window = openedWindow();
    lyrics::AssignmentList& list = window->workspace().list();
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("Lei\xA4"));
    ASSERT_FALSE(list.post().has_value());
    files.savePath = QDir(data()).filePath("mit_text.mid").toStdString();
    prompter.expect(MessageId{1, 57}, Answer::Yes);
    window->Speichern1Click();
    prompter.verify();
    EXPECT_FALSE(window->listChanged());
    EXPECT_FALSE(window->songUnsaved());
    EXPECT_FALSE(window->Panel9->s1_eintragen->isEnabled());
    EXPECT_EQ(window->Panel9->s1_rueckgaengig->toolTip(), window->texts.undoHint2);
    EXPECT_TRUE(window->TabSheet1->s1_oben->toPlainText().startsWith("Leiise"));
    EXPECT_EQ(bytesOf(QString::fromStdString(*files.savePath)), bytesOf(sylo(data(), 1)));
    EXPECT_NE(bytesOf(sylo(data(), 1)), bytesOf(QString::fromStdString(corpusSong())));
}

TEST_F(FlowTest, ALanguageChangeClosesTheSongFirst) {
    auto window = openedWindow();
    dialogs.language = 1;
    window->MainMenu1->SpracheEinstellen1->trigger();
    EXPECT_FALSE(window->songOpen());
    EXPECT_EQ(window->windowTitle(), window->title);
    EXPECT_EQ(window->Panel1->s1_tempo->text(), "60");
}

TEST_F(FlowTest, SaveWithoutASongShowsItsNotice) {
    auto window = startedWindow();
    prompter.expect(MessageId{1, 56});
    window->Panel1->s1_speichern->click();
    EXPECT_EQ(files.saveCalls, 0);
}

TEST_F(FlowTest, StartTimeFromTheDialogIsShown) {
    auto window = openedWindow();
    dialogs.startTime = 90000;
    window->Panel2->s1_st->click();
    EXPECT_EQ(dialogs.startTimeCurrent, 0);
    EXPECT_EQ(dialogs.songLength, window->workspace().facts().songLengthMs);
    EXPECT_EQ(window->workspace().startTimeMs(), 90000);
    EXPECT_EQ(window->Panel2->s1_startzeit->text(), "0:01:30.000");

    dialogs.startTime.reset();
    window->Panel2->s1_st->click();
    EXPECT_EQ(dialogs.startTimeCurrent, 90000);
    EXPECT_EQ(window->workspace().startTimeMs(), 90000);
}

} // namespace
} // namespace versilla::app::testing
