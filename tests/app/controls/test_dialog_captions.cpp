#include "app/Localizer.h"
#include "app/dialogs/ChannelDialog.h"
#include "app/dialogs/ChoiceDialog.h"
#include "app/dialogs/TForm6.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace versilla::app;

namespace {

/// The English captions of the data folder the build makes.
bool englishTables(Localizer& localizer) {
    if (!QDir(QStringLiteral(VERSILLA_DATA_DIR)).exists(QStringLiteral("Objekte.dbf"))) return false;
    localizer.setLanguage(1);
    return true;
}

} // namespace

TEST(DialogCaptions, ListEntriesAndTextsComeFromTheCaptionTable) {
    Localizer localizer(QStringLiteral(VERSILLA_DATA_DIR));
    if (!englishTables(localizer)) GTEST_SKIP() << "the data folder is not built";
    const QString item0 = localizer.caption(19, QStringLiteral("item0"));
    const QString item1 = localizer.caption(19, QStringLiteral("item1"));
    ASSERT_FALSE(item0.isEmpty());
    ASSERT_NE(item0, QStringLiteral("Zeitgleiche Noten ausblenden"));

    TForm19 dialog(nullptr, true, &localizer);
    ASSERT_EQ(dialog.gleich->count(), 2);
    EXPECT_EQ(dialog.gleich->itemText(0), item0);
    EXPECT_EQ(dialog.gleich->itemText(1), item1);
    EXPECT_EQ(dialog.gleich->currentIndex(), 1);
    EXPECT_EQ(dialog.windowTitle(), localizer.caption(19, QStringLiteral("Caption")));
    EXPECT_EQ(dialog.speichern->text(), localizer.caption(19, QStringLiteral("speichern")));

    TForm17 running(nullptr, false, &localizer);
    EXPECT_EQ(running.runevents->itemText(1), localizer.caption(17, QStringLiteral("item1")));
}

TEST(DialogCaptions, TheAboutBoxKeepsItsVersionWhateverTheTableSays) {
    Localizer localizer(QStringLiteral(VERSILLA_DATA_DIR));
    if (!englishTables(localizer)) GTEST_SKIP() << "the data folder is not built";
    TForm6 box(nullptr, &localizer);
    EXPECT_EQ(box.windowTitle(), localizer.caption(6, QStringLiteral("Caption")));
    EXPECT_EQ(box.version->text(), QStringLiteral("Version: 02.01.004"));
}
