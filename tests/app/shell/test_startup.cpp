// Start-up and first activation of the main window over a copy of the data folder.
#include "ShellFixture.h"

#include "app/DataFolder.h"
#include "app/InstanceGuard.h"
#include "app/SongFactsPanel.h"
#include "app/StaffTab.h"
#include "player/TMidiOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>

namespace versilla::app::testing {
namespace {

using testsupport::ScriptedPrompter;

TEST_F(ShellTest, MissingSettingsTableShowsMessage6AndEnds) {
    ASSERT_TRUE(QFile::remove(QDir(data()).filePath("Versilla.dbf")));
    prompter.expect(MessageId{1, 6});
    auto window = makeWindow();
    EXPECT_FALSE(window->startUp());
    EXPECT_TRUE(window->hasEnded());
    EXPECT_FALSE(window->firstActivationPending());
    EXPECT_TRUE(window->firstActivation() == false);
    EXPECT_EQ(window->firstActivationRuns(), 0);
}

TEST_F(ShellTest, WorkingTablesAreRecreatedFromTheirTemplates) {
    // A leftover list with a row must come back empty.
    {
        ASSERT_TRUE(storage::copyStructure(folder(), "texte0", "texte").ok());
        storage::Table list = openTable("texte");
        ASSERT_TRUE(list.appendBlank().ok());
        ASSERT_TRUE(list.close().ok());
    }
    auto window = startedWindow();
    // The window keeps the list open (exclusively) for the whole run.
    const lyrics::AssignmentList& list = window->workspace().list();
    EXPECT_TRUE(list.isOpen());
    EXPECT_EQ(list.rowCount(), 0);
    window.reset();
    storage::Table table = openTable("texte");
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_TRUE(table.hasField("ZEIT"));
    EXPECT_TRUE(QFile::exists(QDir(data()).filePath("tempo.dbf")));
}

// A settings table without exactly one row comes out with one fresh row.
class SettingsRowCount : public ShellTest, public ::testing::WithParamInterface<int> {};

TEST_P(SettingsRowCount, EndsWithExactlyOneFreshRow) {
    {
        storage::Table settings = openTable("Versilla");
        ASSERT_TRUE(settings.zap().ok());
        for (int i = 0; i < GetParam(); ++i) {
            ASSERT_TRUE(settings.appendBlank().ok());
            ASSERT_TRUE(settings.replaceInteger("MELODIE", 7).ok());
            ASSERT_TRUE(settings.unlock().ok());
        }
        ASSERT_TRUE(settings.close().ok());
    }
    {
        auto window = startedWindow();
        EXPECT_EQ(window->state().readOnlyColour, 12632256);
        window->close();
    }
    storage::Table settings = openTable("Versilla");
    ASSERT_EQ(settings.rowCount(), 1u);
    settings.goTop();
    EXPECT_EQ(settings.fieldAsInteger("FARBE"), 12632256);
    for (const auto& field : settings.fields()) {
        if (field.name == "FARBE") continue;
        EXPECT_TRUE(settings.isBlank(field.name)) << field.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsRowCount, ::testing::Values(0, 2));

TEST_F(ShellTest, SingleSettingsRowIsKept) {
    setSetting("MELODIE", "7");
    auto window = startedWindow();
    EXPECT_EQ(window->settings().integer("MELODIE"), 7);
}

// FARBEBACK 0 or blank is the standard colour; any other value is taken as it is.
TEST_F(ShellTest, BackgroundColourZeroOrBlankIsTheStandardColour) {
    const std::pair<std::string, qint64> cases[] = {{"0", 16642504}, {"", 16642504}, {"255", 255}};
    for (const auto& [stored, expected] : cases) {
        setSetting("FARBEBACK", stored);
        auto window = startedWindow();
        EXPECT_EQ(window->state().backgroundColour, expected) << "FARBEBACK '" << stored << "'";
        window->close();
    }
}

TEST_F(ShellTest, CopyrightIndicatorShowsWhileCopyrightIsOff) {
    for (const bool copyright : {false, true}) {
        setSetting("COPYRIGHT", copyright ? "T" : "F");
        auto window = startedWindow();
        EXPECT_EQ(window->Panel1->caus->isVisibleTo(window.get()), !copyright);
        window->close();
    }
}

TEST_F(ShellTest, StaffSlotsAreCreatedHiddenOnTheStaffPanel) {
    auto window = startedWindow();
    for (const char* prefix : {"s6_lyric", "s6_note", "s6_vorz"}) {
        for (int n : {1, 64}) {
            auto* slot = window->TabSheet6->s6_panel->findChild<QWidget*>(QStringLiteral("%1%2").arg(prefix).arg(n));
            ASSERT_NE(slot, nullptr) << prefix << n;
            EXPECT_FALSE(slot->isVisibleTo(window.get()));
            EXPECT_EQ(slot->pos(), QPoint(0, 0));
        }
    }
    EXPECT_EQ(window->TabSheet6->s6_panel->findChild<QLabel*>("s6_vorz5")->text(), "#");
    EXPECT_EQ(window->TabSheet6->s6_panel->findChild<QWidget*>("s6_note9")->size(), QSize(7, 7));
}

TEST_F(ShellTest, GoneDeviceIsBlankedAndTheDeviceDialogAsked) {
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "5");
    dialogs.device = 2;
    auto window = startedWindow(3);
    EXPECT_TRUE(window->firstActivation());
    EXPECT_EQ(dialogs.deviceCalls, 1);
    EXPECT_FALSE(dialogs.deviceCurrent.has_value());
    EXPECT_EQ(window->settings().integer("DEVICENR"), 2);
    EXPECT_EQ(window->port().DeviceID(), 2);
    EXPECT_TRUE(window->port().isOpen());
    EXPECT_TRUE(ports[2]->isOpen());
}

TEST_F(ShellTest, MapperDeviceStaysWhateverTheDeviceCount) {
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "-1");
    auto window = startedWindow(1);
    EXPECT_TRUE(window->firstActivation());
    EXPECT_EQ(dialogs.deviceCalls, 0);
    EXPECT_FALSE(window->settings().isBlank("DEVICENR"));
    EXPECT_EQ(window->settings().integer("DEVICENR"), -1);
    EXPECT_TRUE(window->state().portOpen);
}

TEST_F(ShellTest, FirstStartAsksTheLanguageThenTheDevice) {
    setSetting("INSTLANG", "");
    dialogs.language = 0;
    dialogs.device = 0;
    auto window = startedWindow(2);
    EXPECT_TRUE(window->firstActivation());
    EXPECT_EQ(dialogs.languageCalls, 1);
    EXPECT_FALSE(window->settings().isBlank("INSTLANG"));
    EXPECT_EQ(window->settings().integer("INSTLANG"), 0);
    EXPECT_EQ(window->settings().integer("DEVICENR"), 0);
}

struct ActivationFailure {
    const char* name;
    int devices;
    int screenWidth;
    bool cancelDevice;
    bool failOpen;
    MessageId message;
};

class FirstActivationFailure : public ShellTest, public ::testing::WithParamInterface<ActivationFailure> {};

TEST_P(FirstActivationFailure, ShowsItsMessageAndEnds) {
    const ActivationFailure& c = GetParam();
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "");
    if (!c.cancelDevice) dialogs.device = 0;
    auto window = makeWindow(c.devices, c.screenWidth);
    ASSERT_TRUE(window->startUp());
    if (c.failOpen) ports[0]->setFailOpen(true);
    prompter.expect(c.message);
    EXPECT_FALSE(window->firstActivation());
    EXPECT_TRUE(window->hasEnded());
    EXPECT_FALSE(window->state().portOpen);
}

INSTANTIATE_TEST_SUITE_P(Cases, FirstActivationFailure,
                         ::testing::Values(ActivationFailure{"narrow", 1, 799, false, false, MessageId{1, 11}},
                                           ActivationFailure{"nodevice", 0, 1024, false, false, MessageId{1, 12}},
                                           ActivationFailure{"cancel", 1, 1024, true, false, MessageId{1, 16}},
                                           ActivationFailure{"openfails", 1, 1024, false, true, MessageId{1, 3}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellTest, FirstActivationRunsOnceAcrossActivations) {
    setSetting("INSTLANG", "0");
    setSetting("DEVICENR", "0");
    auto window = startedWindow(1);
    for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window.get(), &activate);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(window->firstActivationRuns(), 1);
    EXPECT_EQ(ports[0]->openCount(), 1);
}

TEST_F(ShellTest, HelpPageFollowsTheLanguageChosenAtStartUp) {
    setSetting("INSTLANG", "1");
    auto window = startedWindow();
    EXPECT_EQ(window->helpPage(), QDir(data()).filePath("help/1/1001.html"));
    EXPECT_TRUE(QFile::exists(window->helpPage()));
}

TEST(InstanceGuardTest, SecondInstanceIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    {
        InstanceGuard first(dir.path());
        ASSERT_TRUE(first.acquired());
        InstanceGuard second(dir.path());
        EXPECT_FALSE(second.acquired());
    }
    InstanceGuard again(dir.path());
    EXPECT_TRUE(again.acquired());
}

TEST(DataFolderTest, OptionThenCurrentFolderThenSeededUserFolder) {
    QTemporaryDir installed, current, user, empty;
    QFile settings(QDir(installed.path()).filePath("Versilla.dbf"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("x");
    settings.close();
    QDir(installed.path()).mkpath("help/0");
    QFile page(QDir(installed.path()).filePath("help/0/1001.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();

    EXPECT_EQ(findDataFolder("/some/where", installed.path(), user.path(), {installed.path()}), "/some/where");
    EXPECT_EQ(findDataFolder({}, installed.path(), user.path(), {}), QDir(installed.path()).absolutePath());

    const QString userData = QDir(user.path()).filePath("Versilla");
    EXPECT_EQ(findDataFolder({}, empty.path(), userData, {empty.path(), installed.path()}), userData);
    EXPECT_TRUE(QFile::exists(QDir(userData).filePath("Versilla.dbf")));
    EXPECT_TRUE(QFile::exists(QDir(userData).filePath("help/0/1001.html")));
}

} // namespace
} // namespace versilla::app::testing
