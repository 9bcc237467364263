// Menu texts, language switch, close query, hot keys and option commands of the main window.
#include "ShellFixture.h"

#include "app/AssignmentModel.h"
#include "app/Localizer.h"
#include "app/MainMenu.h"
#include "app/SongFactsPanel.h"
#include "app/TForm5.h"
#include "app/WordTableTab.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

namespace versilla::app::testing {
namespace {

TEST_F(ShellTest, MenuRowsSetMenuCaptionsItemsAndShortcuts) {
    setCaptionRow(0, 1, "Item1", "&Bearbeiten X", "");
    setCaptionRow(0, 1, "Item111", "&Sprache X", "");
    setCaptionRow(0, 1, "Item100", "&Midi X", "M");
    auto window = startedWindow();
    EXPECT_EQ(window->MainMenu1->menu(1)->title(), "&Bearbeiten X");
    EXPECT_EQ(window->MainMenu1->SpracheEinstellen1->text(), "&Sprache X");
    EXPECT_EQ(window->MainMenu1->MidiAusgabegeraet1->text(), "&Midi X");
    EXPECT_EQ(window->MainMenu1->MidiAusgabegeraet1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    EXPECT_EQ(window->MainMenu1->Oeffnen1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(window->MainMenu1->Speichern1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

TEST_F(ShellTest, SingleLookupsFillTheWordTableTexts) {
    setCaptionRow(0, 1, "s2_zs", "ZS", "");
    setCaptionRow(0, 1, "Spalte2", "Silbe", "");
    setCaptionRow(0, 1, "CBGlobals1Save", "Sichern", "");
    auto window = startedWindow();
    EXPECT_EQ(window->TabSheet2->s2_zs->text(), QString(QChar(0xB6)) + "ZS");
    EXPECT_TRUE(window->TabSheet2->s2_lz->text().startsWith(QChar(0xA4)));
    EXPECT_EQ(window->TabSheet2->gridModel->headerData(1, Qt::Horizontal).toString(), "Silbe");
    EXPECT_EQ(window->TabSheet2->saveButton->text(), "Sichern ");
    EXPECT_EQ(window->TabSheet2->s2_multiselect->text(), window->texts.multiselectOnCaption);
}

TEST_F(ShellTest, LanguageSwitchReloadsWindowAndMenuTexts) {
    setSetting("INSTLANG", "0");
    auto window = startedWindow();
    Localizer english(data());
    english.setLanguage(1);
    const QString germanTitle = window->windowTitle();
    const QString germanMenu = window->MainMenu1->menu(0)->title();
    ASSERT_NE(english.caption(1, "Caption"), germanTitle);

    dialogs.language = 1;
    window->SpracheEinstellen1Click();
    EXPECT_EQ(window->settings().integer("INSTLANG"), 1);
    EXPECT_EQ(window->windowTitle(), english.caption(1, "Caption"));
    EXPECT_EQ(window->MainMenu1->menu(0)->title(), english.caption(1, "Item0"));
    EXPECT_NE(window->MainMenu1->menu(0)->title(), germanMenu);
    EXPECT_EQ(window->MainMenu1->SpracheEinstellen1->text(), english.caption(1, "Item111"));
}

TEST_F(ShellTest, ChoosingTheSameLanguageReloadsNothing) {
    setSetting("INSTLANG", "0");
    auto window = startedWindow();
    window->Panel1->s1_nametext->setText("unverändert");
    dialogs.language = 0;
    window->SpracheEinstellen1Click();
    EXPECT_EQ(window->Panel1->s1_nametext->text(), "unverändert");
    EXPECT_EQ(dialogs.languageCalls, 1);
}

struct CloseCase {
    const char* name;
    bool playing, listChanged, songUnsaved;
    std::optional<MessageId> asked;
    Answer answer;
    bool closes;
};

class CloseQuery : public ShellTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuery, AsksAtMostOneQuestion) {
    const CloseCase& c = GetParam();
    auto window = startedWindow();
    if (c.songUnsaved) makeSongUnsaved(*window);
    window->state().playing = c.playing;
    window->workspace().list().marks().listChanged = c.listChanged;
    if (c.asked) prompter.expect(*c.asked, c.answer);
    EXPECT_EQ(window->closeQuery(), c.closes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseQuery,
    ::testing::Values(CloseCase{"nothing", false, false, false, std::nullopt, Answer::Ok, true},
                      CloseCase{"playing", true, true, true, MessageId{1, 51}, Answer::Ok, false},
                      CloseCase{"bothChangedOnlyAsks52", false, true, true, MessageId{1, 52}, Answer::Yes, true},
                      CloseCase{"listChangedNo", false, true, false, MessageId{1, 52}, Answer::No, false},
                      CloseCase{"unsavedYes", false, false, true, MessageId{1, 53}, Answer::Yes, true},
                      CloseCase{"unsavedNo", false, false, true, MessageId{1, 53}, Answer::No, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellTest, BeendenGoesThroughTheCloseQueryAndTheCloseSteps) {
    auto window = startedWindow();
    window->show();
    const QString working = QDir(data()).filePath("Sylo1.dbf");
    QFile file(working);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    window->workspace().list().marks().listChanged = true;
    prompter.expect(MessageId{1, 52}, Answer::No);
    window->MainMenu1->Beenden1->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(QFile::exists(working));
    prompter.verify();

    prompter.expect(MessageId{1, 52}, Answer::Yes);
    window->MainMenu1->Beenden1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFile::exists(working));
    EXPECT_FALSE(window->settings().isOpen());
}

TEST_F(ShellTest, PasteWithoutTextOnTheClipboardShowsMessage61) {
    auto window = startedWindow();
    window->show();
    QLineEdit* search = window->TabSheet2->s2_suchwort;
    QApplication::clipboard()->clear();
    prompter.expect(MessageId{1, 61});
    QTest::keyClick(search, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(search->text(), "");
    prompter.verify();

    QApplication::clipboard()->setText("Wort");
    QTest::keyClick(search, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(search->text(), "Wort");
}

TEST_F(ShellTest, CopyrightHotKeyTogglesSettingAndIndicator) {
    setSetting("COPYRIGHT", "F");
    auto window = startedWindow();
    const auto keys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    QTest::keyClick(window->Panel1, Qt::Key_C, keys);
    EXPECT_TRUE(window->settings().boolean("COPYRIGHT"));
    EXPECT_FALSE(window->Panel1->caus->isVisibleTo(window.get()));
    QTest::keyClick(window->Panel1, Qt::Key_C, keys);
    EXPECT_FALSE(window->settings().boolean("COPYRIGHT"));
    EXPECT_TRUE(window->Panel1->caus->isVisibleTo(window.get()));
}

TEST_F(ShellTest, HelpKeyOpensTopicPageExceptWhilePlaying) {
    auto window = startedWindow();
    QTest::keyClick(window->Panel1, Qt::Key_F1);
    ASSERT_EQ(dialogs.helpPages.size(), 1u);
    EXPECT_EQ(dialogs.helpPages[0], window->helpPage());
    window->state().playing = true;
    QTest::keyClick(window->Panel1, Qt::Key_F1);
    EXPECT_EQ(dialogs.helpPages.size(), 1u);
}

TEST_F(ShellTest, BackgroundHotKeyStoresTheChosenColour) {
    auto window = startedWindow();
    dialogs.backgroundColour = 0x123456;
    QTest::keyClick(window->Panel1, Qt::Key_X, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(dialogs.backgroundCalls, 1);
    EXPECT_EQ(window->settings().integer("FARBEBACK"), 0x123456);
    EXPECT_EQ(window->state().backgroundColour, 0x123456);
}

TEST_F(ShellTest, UpAndDownMoveTheFocusBetweenEditFields) {
    auto window = startedWindow();
    window->show();
    window->activateWindow();
    QLineEdit* target = window->TabSheet2->s2_zielzeit;
    QLineEdit* shift = window->TabSheet2->s2_schiebenzeit;
    window->PageControl1->setCurrentIndex(1);
    target->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), shift);
    QTest::keyClick(shift, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), target);
}

TEST_F(ShellTest, OptionCommandsStoreTheirChoice) {
    auto window = startedWindow();
    dialogs.textChannel = 16;
    dialogs.melodyChannel = 1;
    dialogs.runningMode = true;
    dialogs.equalTime = true;
    dialogs.readOnlyColour = 0x00FF00;
    window->MainMenu1->TextAusgabekanal1->trigger();
    window->MainMenu1->Melodiekanal1->trigger();
    window->MainMenu1->RunningMode1->trigger();
    window->MainMenu1->GleicheZeit1->trigger();
    window->MainMenu1->FarbeSchreibgeschuetzt1->trigger();
    EXPECT_EQ(window->settings().integer("TEXTSPUR"), 16);
    EXPECT_EQ(window->settings().integer("MELODIE"), 1);
    EXPECT_TRUE(window->settings().boolean("RUNEVENTS"));
    EXPECT_TRUE(window->settings().boolean("GLEICH"));
    EXPECT_TRUE(window->state().gleich);
    EXPECT_EQ(window->settings().integer("FARBE"), 0x00FF00);
    EXPECT_EQ(window->Panel1->s1_tempo->palette().color(QPalette::Disabled, QPalette::Base), QColor(0, 255, 0));

    // Cancelled dialogs change nothing.
    dialogs.textChannel.reset();
    dialogs.readOnlyColour.reset();
    window->MainMenu1->TextAusgabekanal1->trigger();
    window->MainMenu1->FarbeSchreibgeschuetzt1->trigger();
    EXPECT_EQ(window->settings().integer("TEXTSPUR"), 16);
    EXPECT_EQ(window->settings().integer("FARBE"), 0x00FF00);
}

TEST_F(ShellTest, AboutMenuOpensTheAboutBox) {
    auto window = startedWindow();
    window->MainMenu1->UeberVersilla1->trigger();
    EXPECT_EQ(dialogs.aboutCalls, 1);
}

} // namespace
} // namespace versilla::app::testing

namespace versilla::app::testing {
namespace {

TEST_F(ShellTest, DeviceMenuStoresAndOpensTheChosenDevice) {
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "0");
    auto window = startedWindow(3);
    ASSERT_TRUE(window->firstActivation());
    dialogs.device = 2;
    window->MainMenu1->MidiAusgabegeraet1->trigger();
    EXPECT_EQ(dialogs.deviceCurrent, 0);
    EXPECT_EQ(window->settings().integer("DEVICENR"), 2);
    EXPECT_TRUE(ports[2]->isOpen());
    EXPECT_FALSE(ports[0]->isOpen());

    ports[1]->setFailOpen(true);
    dialogs.device = 1;
    prompter.expect(MessageId{1, 3});
    window->MainMenu1->MidiAusgabegeraet1->trigger();
    EXPECT_FALSE(window->state().portOpen);
}

} // namespace
} // namespace versilla::app::testing

namespace versilla::app::testing {
namespace {

TEST_F(ShellTest, ThemeModeColoursAndMovesThePanels) {
    auto window = startedWindow();
    ASSERT_TRUE(window->state().themeMode); // widget tests run in the Fusion style
    EXPECT_EQ(window->Panel1->palette().color(QPalette::Window), QColor(200, 241, 253));
    EXPECT_EQ(window->Panel1->s1_oeffnen->pos(), QPoint(3, 2)); // designed at 5,5
    EXPECT_EQ(window->Panel1->frameShape(), QFrame::Box);
}

TEST_F(ShellTest, InformationWindowShowsItsTextWithTheHourglass) {
    setCaptionRow(0, 5, "text3", "Bitte warten", "");
    auto window = startedWindow();
    {
        InformationScope scope(window->informationWindow(), 3);
        EXPECT_TRUE(window->informationWindow().isVisible());
        EXPECT_EQ(window->informationWindow().Label1->text(), "Bitte warten");
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_FALSE(window->informationWindow().isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ShellTest, EnterInTheGridMovesTheFocusOn) {
    auto window = startedWindow();
    window->show();
    window->activateWindow();
    window->PageControl1->setCurrentIndex(1);
    QTableView* grid = window->TabSheet2->wwDBGrid2;
    grid->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), grid);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), grid);
}

} // namespace
} // namespace versilla::app::testing
