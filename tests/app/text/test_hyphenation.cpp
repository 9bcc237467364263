// The hyphenation command of tab 3 and its language dialog.
#include "SongBuilder.h"
#include "TextFixture.h"

#include "app/Localizer.h"
#include "app/MainMenu.h"
#include "app/dialogs/TForm15.h"
#include "text/Hyphenation.h"
#include "text/TQuillonHyphenator.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace versilla::app::testing {
namespace {

std::string smallSong() {
    workflowtest::Track t;
    t.bpm(0, 120).noteOn(480, 1, 60).noteOff(720, 1, 60).end(960);
    return workflowtest::songBytes(0, 480, {t});
}

TEST_F(TextTest, HyphenationOffTab3WithoutSongTellsToOpenOne) {
    tab3().setText("Hallo");
    prompter.expect(MessageId{1, 80});
    window->MainMenu1->AutomatischeSilbentrennung1->trigger();
    EXPECT_EQ(tab3().text(), "Hallo");
    EXPECT_EQ(dialogs.hyphenationCalls, 0);
}

TEST_F(TextTest, HyphenationOffTab3WithSongTellsToGoToTab3) {
    openSong(smallSong());
    tab3().setText("Hallo");
    prompter.expect(MessageId{1, 79});
    tab3().hyphenationCommand();
    EXPECT_EQ(tab3().text(), "Hallo");
    EXPECT_EQ(dialogs.hyphenationCalls, 0);
}

TEST_F(TextTest, SelectionNotAtTheStartIsRefused) {
    showTab(2);
    tab3().setText("Titel\r\nHallo");
    select(tab3().s4_text, 2, 3);
    prompter.expect(MessageId{1, 78});
    tab3().s3_st->click();
    EXPECT_EQ(tab3().text(), "Titel\r\nHallo");
    EXPECT_EQ(dialogs.hyphenationCalls, 0);
}

TEST_F(TextTest, CancelledLanguageDialogChangesNothing) {
    showTab(2);
    ASSERT_TRUE(window->settings().writeInteger("SPRACHE", 1).ok());
    tab3().setText("Hallo Sonne");
    tab3().s3_st->click();
    EXPECT_EQ(dialogs.hyphenationCalls, 1);
    EXPECT_EQ(dialogs.hyphenationCurrent, 1); // preselected from "SPRACHE"
    EXPECT_EQ(window->settings().integer("SPRACHE"), 1);
    EXPECT_EQ(tab3().text(), "Hallo Sonne");
}

TEST_F(TextTest, GermanRunHyphenatesAndStoresTheLanguage) {
    showTab(2);
    ASSERT_TRUE(window->settings().writeInteger("SPRACHE", 1).ok());
    dialogs.hyphenationLanguage = 0;
    tab3().setText("Hal-lo So-nne");
    tab3().s3_st->click();
    EXPECT_EQ(tab3().text(), "Hal-lo Son-ne");
    EXPECT_EQ(window->settings().integer("SPRACHE"), 0);
    // A second run gives the same text: old marks are dropped first.
    tab3().s3_st->click();
    EXPECT_EQ(tab3().text(), "Hal-lo Son-ne");
}

TEST_F(TextTest, SelectedPreambleWithItsLineEndIsKept) {
    showTab(2);
    dialogs.hyphenationLanguage = 0;
    tab3().setText("Ti-tel: Fenster\r\nHallo, Welt!\r\nLiebe");
    select(tab3().s4_text, 0, 15); // the first line without its line end
    tab3().s3_st->click();
    EXPECT_EQ(tab3().text(), "Ti-tel: Fenster\r\nHal-lo, Welt!\r\nLie-be");
}

TEST_F(TextTest, PreambleOverSeveralLinesCountsLineEndsAsTwoBytes) {
    showTab(2);
    dialogs.hyphenationLanguage = 0;
    tab3().setText("Hallo\r\nSonne\r\nFenster");
    select(tab3().s4_text, 0, 11); // "Hallo", line end, "Sonne"
    tab3().s3_st->click();
    EXPECT_EQ(tab3().text(), "Hallo\r\nSonne\r\nFen-ster");
}

TEST_F(TextTest, EnglishRunUsesThePatterns) {
    showTab(2);
    dialogs.hyphenationLanguage = 1;
    tab3().setText("hyphenation Hallo");
    tab3().s3_st->click();
    EXPECT_EQ(window->settings().integer("SPRACHE"), 1);
    text::TQuillonHyphenator patterns;
    const std::string english =
        text::hyphenateText("hyphenation Hallo", 0, text::HyphenLanguage::English, patterns);
    EXPECT_EQ(tab3().text(), english);
    EXPECT_NE(english, text::hyphenateText("hyphenation Hallo", 0, text::HyphenLanguage::German, patterns));
    EXPECT_NE(english.find('-'), std::string::npos);
}

TEST(TForm15Test, PreselectsChoosesAndCancels) {
    TForm15 dialog(nullptr, 1);
    EXPECT_EQ(dialog.windowTitle(), "Automatische Silbentrennung");
    EXPECT_GE(dialog.width(), 215);
    EXPECT_GE(dialog.height(), 203);
    ASSERT_EQ(dialog.Sprache->count(), 2);
    EXPECT_EQ(dialog.Sprache->itemText(0), "Deutsch");
    EXPECT_EQ(dialog.Sprache->itemText(1), "English");
    EXPECT_FALSE(dialog.Sprache->isEditable());
    EXPECT_EQ(dialog.Sprache->currentIndex(), 1);
    EXPECT_EQ(dialog.speichern->text(), "&Start");
    dialog.Sprache->setCurrentIndex(0);
    dialog.speichern->click();
    EXPECT_EQ(dialog.result(), 0);

    TForm15 cancelled(nullptr, 0);
    cancelled.Sprache->setCurrentIndex(1);
    cancelled.abbrechen->click();
    EXPECT_FALSE(cancelled.result().has_value());
}

TEST_F(TextTest, LanguageDialogTakesFormFifteenCaptionsAndTheTheme) {
    setCaptionRow(0, 15, "Label1", "Sprache w\xE4hlen:", "");
    setCaptionRow(0, 15, "speichern", "&Los", "");
    Localizer localizer(data());
    TForm15 dialog(nullptr, 0, &localizer, QColor(10, 20, 30));
    EXPECT_EQ(dialog.Label1->text(), "Sprache wählen:");
    EXPECT_EQ(dialog.speichern->text(), "&Los");
    EXPECT_EQ(dialog.windowTitle(), "Automatische Silbentrennung");
    for (QFrame* panel : {dialog.Panel1, dialog.Panel2}) {
        EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(10, 20, 30));
        EXPECT_TRUE(panel->autoFillBackground());
    }
}

} // namespace
} // namespace versilla::app::testing
