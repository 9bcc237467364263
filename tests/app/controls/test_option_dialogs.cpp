#include "SeamRecorder.h"
#include "app/dialogs/ChannelDialog.h"
#include "app/dialogs/ChoiceDialog.h"
#include "app/dialogs/TForm24.h"
#include "app/dialogs/TForm6.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace versilla::app;

namespace {

/// The designed size, or wider where the desktop's font needs more room.
void expectAtLeast(const QWidget& w, int width, int height) {
    EXPECT_GE(w.width(), width);
    EXPECT_GE(w.height(), height);
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "fixed size";
}

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

/// Caption rows "item0"/"item1" as the caption table of another language holds them.
CaptionLookup englishItems() {
    return [](const QString& object) -> QString {
        if (object == QLatin1String("item0")) return QStringLiteral("Skip notes at the same time");
        if (object == QLatin1String("item1")) return QStringLiteral("Use notes at the same time");
        return {};
    };
}

} // namespace

TEST(ChannelDialogs, ABlankMelodyChannelPreselects1AndStores1) {
    TForm13 dialog(nullptr, 0, nullptr);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TForm13"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Melodiekanal festlegen"));
    ASSERT_EQ(dialog.TextSpur->count(), 16);
    EXPECT_EQ(dialog.TextSpur->itemText(15), QStringLiteral("16"));
    EXPECT_EQ(dialog.TextSpur->currentText(), QStringLiteral("1"));
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(dialog.QDialog::result(), QDialog::Accepted);
}

TEST(ChannelDialogs, TextChannel16PreselectsAndStores16) {
    TForm12 dialog(nullptr, 16, nullptr);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TForm12"));
    expectAtLeast(dialog, 215, 115);
    EXPECT_EQ(dialog.TextSpur->objectName(), QStringLiteral("TextSpur"));
    EXPECT_EQ(dialog.TextSpur->currentText(), QStringLiteral("16"));
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), 16);
}

TEST(ChannelDialogs, ChoosingAnotherChannelAndCancelling) {
    TForm12 dialog(nullptr, 3, nullptr);
    EXPECT_EQ(dialog.TextSpur->currentIndex(), 2);
    dialog.TextSpur->setCurrentIndex(9);
    dialog.abbrechenClick();
    EXPECT_EQ(dialog.result(), std::nullopt);
    EXPECT_EQ(dialog.QDialog::result(), QDialog::Rejected);

    TForm12 again(nullptr, 3, nullptr);
    again.TextSpur->setCurrentIndex(9);
    again.speichernClick();
    EXPECT_EQ(again.result(), 10);
}

TEST(ChannelDialogs, ModalSingleBorderNoTitleBarButtonsAndThemeColour) {
    TForm13 dialog(nullptr, 0, nullptr, QColor(200, 241, 253));
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(dialog.isModal());
    expectAtLeast(dialog, 215, 105);
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(200, 241, 253));
}

TEST(ChoiceDialogs, RunningModeShowsDesignEntriesAndStoresTheChoice) {
    TForm17 dialog(nullptr, true, nullptr);
    EXPECT_EQ(dialog.runevents->objectName(), QStringLiteral("runevents"));
    EXPECT_EQ(entries(dialog.runevents), (QStringList{"Midifile wird OHNE Running Events erzeugt",
                                                      "Midifile wird MIT Running Events erzeugt"}));
    EXPECT_EQ(dialog.runevents->currentIndex(), 1);
    dialog.runevents->setCurrentIndex(0);
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), false);

    TForm17 off(nullptr, false, nullptr);
    EXPECT_EQ(off.runevents->currentIndex(), 0);
    off.runevents->setCurrentIndex(1);
    off.speichernClick();
    EXPECT_EQ(off.result(), true);
}

TEST(ChoiceDialogs, ListEntriesComeFromTheCaptionTableWhenItHasThem) {
    TForm19 dialog(nullptr, false, nullptr, std::nullopt, englishItems());
    EXPECT_EQ(dialog.gleich->objectName(), QStringLiteral("gleich"));
    EXPECT_EQ(entries(dialog.gleich), (QStringList{"Skip notes at the same time", "Use notes at the same time"}));
    EXPECT_EQ(dialog.gleich->currentIndex(), 0);
    dialog.abbrechenClick();
    EXPECT_EQ(dialog.result(), std::nullopt);

    // Only item1 in the table: item0 keeps its design text.
    TForm17 partial(nullptr, false, nullptr, std::nullopt, [](const QString& object) {
        return object == QLatin1String("item1") ? QStringLiteral("with running status") : QString();
    });
    EXPECT_EQ(entries(partial.runevents),
              (QStringList{"Midifile wird OHNE Running Events erzeugt", "with running status"}));
}

TEST(ChoiceDialogs, EqualTimeDesignTexts) {
    TForm19 dialog(nullptr, true, nullptr);
    expectAtLeast(dialog, 226, 158);
    EXPECT_EQ(entries(dialog.gleich), (QStringList{"Zeitgleiche Noten ausblenden", "Zeitgleiche Noten verwenden"}));
    EXPECT_EQ(dialog.gleich->currentIndex(), 1);
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), true);
}

TEST(BackgroundColourDialog, TheCurrentColourAgainStoresNothingAndShowsNoBox) {
    SeamRecorder seams;
    const qint64 current = 0x123456;
    seams.colourAnswers = {current};
    TForm24 dialog(nullptr, current);
    dialog.Button2Click();
    EXPECT_EQ(dialog.chosen(), current);
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), std::nullopt);
    EXPECT_TRUE(seams.boxes.empty());

    // The standard colour while it is already the background: nothing either.
    TForm24 standard(nullptr, TForm24::StandardColour);
    standard.Button1Click();
    standard.speichernClick();
    EXPECT_EQ(standard.result(), std::nullopt);
    EXPECT_TRUE(seams.boxes.empty());
}

TEST(BackgroundColourDialog, ANewColourIsStoredWithTheRestartNote) {
    SeamRecorder seams;
    seams.colourAnswers = {0x00FF00};
    TForm24 dialog(nullptr, TForm24::StandardColour);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TForm24"));
    expectAtLeast(dialog, 341, 137);
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(200, 241, 253)); // 16642504
    dialog.Button2Click();
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(0, 255, 0));
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), 0x00FF00);
    ASSERT_EQ(seams.boxes.size(), 1u);
    EXPECT_EQ(seams.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(seams.boxes[0].caption, QStringLiteral("Hinweis"));
    EXPECT_EQ(seams.boxes[0].text,
              QStringLiteral("Die neue Hintergrundfarbe wird erst nach einem Neustart von Versilla angezeigt."));
}

TEST(BackgroundColourDialog, StandardColourButtonAndCancelledColourDialog) {
    SeamRecorder seams;
    seams.colourAnswers = {-1};
    TForm24 dialog(nullptr, 0x0000FF);
    dialog.Button1Click();
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(200, 241, 253));
    dialog.Button2Click(); // cancelled: the standard colour stays chosen
    EXPECT_EQ(dialog.chosen(), TForm24::StandardColour);
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), TForm24::StandardColour);
    EXPECT_EQ(seams.boxes.size(), 1u);
}

TEST(BackgroundColourDialog, SavingWithoutAChoiceOrCancellingChangesNothing) {
    SeamRecorder seams;
    TForm24 dialog(nullptr, 0x0000FF);
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), std::nullopt);
    TForm24 cancelled(nullptr, 0x0000FF);
    cancelled.Button1Click();
    cancelled.abbrechenClick();
    EXPECT_EQ(cancelled.result(), std::nullopt);
    EXPECT_TRUE(seams.boxes.empty());
}

TEST(ReadOnlyColour, TheColourDialogsAnswer) {
    SeamRecorder seams;
    seams.colourAnswers = {0x808080, -1};
    EXPECT_EQ(chooseReadOnlyColour(nullptr, 12632256), 0x808080);
    EXPECT_EQ(chooseReadOnlyColour(nullptr, 12632256), std::nullopt);
}

TEST(AboutBox, ShowsTheVersionAndClosesWithOk) {
    TForm6 box(nullptr, nullptr);
    EXPECT_EQ(box.objectName(), QStringLiteral("TForm6"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Information"));
    EXPECT_EQ(box.version->objectName(), QStringLiteral("version"));
    EXPECT_EQ(box.version->text(), QStringLiteral("Version: 02.01.004"));
    QTimer::singleShot(0, box.OKButton, &QPushButton::click);
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

TEST(DialogStatics, ChooseRunsModallyAndReportsTheChoice) {
    // The static entry points run the dialog with exec(); press its button
    // from the event loop so the test never waits for a user.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<TForm13*>(w); d && d->isVisible()) {
                d->TextSpur->setCurrentIndex(6);
                d->speichern->click();
            }
    });
    EXPECT_EQ(TForm13::choose(nullptr, 2, nullptr), 7);
}
