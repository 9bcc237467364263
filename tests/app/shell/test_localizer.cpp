// Caption and message lookup over the tables of a copied data folder.
#include "ShellFixture.h"

#include "app/Localizer.h"
#include "app/TForm22.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace versilla::app::testing {
namespace {

TEST(LocalizerKeys, MessageAndCaptionKeyLayouts) {
    EXPECT_EQ(Localizer::messageKey(0, 1, 6), QByteArray(" 0 1  6"));
    EXPECT_EQ(Localizer::messageKey(12, 23, 104), QByteArray("1223104"));
    const QByteArray key = Localizer::captionKey(0, 1, "s2_zs");
    EXPECT_EQ(key.size(), 34);
    EXPECT_EQ(key, QByteArray(" 0 1s2_zs") + QByteArray(25, ' '));
}

TEST_F(ShellTest, MessageLookupGivesCaptionAndTextWithLineBreaks) {
    Localizer localizer(data());
    const Localizer::Message message = localizer.message(1, 6);
    EXPECT_FALSE(message.caption.isEmpty());
    EXPECT_TRUE(message.text.contains("Versilla.dbf"));
    EXPECT_TRUE(message.text.contains('\n'));
    EXPECT_FALSE(message.text.contains('\r'));

    localizer.setLanguage(1);
    EXPECT_NE(localizer.message(1, 6).caption, message.caption);

    const Localizer::Message missing = localizer.message(1, 999);
    EXPECT_TRUE(missing.caption.isEmpty());
    EXPECT_TRUE(missing.text.isEmpty());
}

TEST_F(ShellTest, CaptionRowsChangeCaptionsAndHintsAsStored) {
    setCaptionRow(0, 1, "s1_nametext", "", "Nur der Hinweis");
    setCaptionRow(0, 1, "s1_oeffnen", "", "");
    setCaptionRow(0, 1, "s1_dauertext", "L\xE4nge", ""); // Windows-1252 bytes, as stored
    QWidget window;
    auto* name = new QLabel("Name-Design", &window);
    name->setObjectName("s1_nametext");
    name->setToolTip("alt");
    auto* open = new QPushButton("Öffnen-Design", &window);
    open->setObjectName("s1_oeffnen");
    open->setToolTip("alt");
    auto* length = new QLabel("Dauer-Design", &window);
    length->setObjectName("S1_DAUERTEXT"); // names compare without case
    auto* other = new QLabel("unberührt", &window);
    other->setObjectName("keine_zeile");

    Localizer localizer(data());
    localizer.applyCaptions(1, &window);
    EXPECT_EQ(name->text(), "Name-Design");
    EXPECT_EQ(name->toolTip(), "Nur der Hinweis");
    EXPECT_EQ(open->text(), "Öffnen-Design");
    EXPECT_EQ(open->toolTip(), "");
    EXPECT_EQ(length->text(), "Länge");
    EXPECT_EQ(other->text(), "unberührt");
    EXPECT_EQ(window.windowTitle(), localizer.caption(1, "Caption"));
    EXPECT_FALSE(window.windowTitle().isEmpty());
}

TEST_F(ShellTest, WindowCaptionIsEmptyWithoutItsRow) {
    QWidget window;
    window.setWindowTitle("Design");
    Localizer localizer(data());
    localizer.applyCaptions(99, &window); // a form number without rows
    EXPECT_EQ(window.windowTitle(), "");
}

TEST_F(ShellTest, WordDialogButtonsGetTheirMarkPrefix) {
    setCaptionRow(0, 16, "zs", "Zeilensprung", "");
    setCaptionRow(0, 16, "schaltersilbe", "Silbe", "");
    QWidget window;
    auto* zs = new QPushButton(&window);
    zs->setObjectName("zs");
    auto* syllable = new QPushButton(&window);
    syllable->setObjectName("schaltersilbe");
    Localizer(data()).applyCaptions(16, &window);
    EXPECT_EQ(zs->text(), QString(QChar(0xB6)) + "Zeilensprung");
    EXPECT_EQ(syllable->text(), QString(QChar(0xA4)) + "Silbe");
}

TEST_F(ShellTest, LanguageDialogListsLanguagesWithFlagsAndPreselectsTheCurrent) {
    Localizer localizer(data());
    const auto languages = readLanguages(data());
    ASSERT_GE(languages.size(), 2u);
    for (const auto& language : languages) EXPECT_FALSE(language.flag.isNull()) << language.name.toStdString();

    TForm22 dialog(localizer, 1, QColor(), nullptr);
    EXPECT_EQ(dialog.selectedLanguage(), 1);
    EXPECT_EQ(dialog.grid->count(), static_cast<int>(languages.size()));
    dialog.prior->click();
    dialog.next->click();
    EXPECT_EQ(dialog.selectedLanguage(), 1);
}

} // namespace
} // namespace versilla::app::testing
