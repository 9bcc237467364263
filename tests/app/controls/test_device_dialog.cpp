#include "RecordingPort.h"
#include "app/dialogs/TForm2.h"
#include "player/TMidiOutput.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using versilla::app::TForm2;
using versilla::player::FixedMidiDevices;
using versilla::player::TMidiOutput;
using versilla::testsupport::RecordingPort;

namespace {

struct Port {
    std::shared_ptr<RecordingPort> a = std::make_shared<RecordingPort>();
    std::shared_ptr<RecordingPort> b = std::make_shared<RecordingPort>();
    std::shared_ptr<RecordingPort> c = std::make_shared<RecordingPort>();
    TMidiOutput out{std::make_unique<FixedMidiDevices>(std::vector{
        RecordingPort::asDevice(a, "USB MIDI"), RecordingPort::asDevice(b, "Versilla Synthesizer"),
        RecordingPort::asDevice(c, "USB MIDI")})};
};

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

} // namespace

TEST(DeviceDialog, ListsTheMapperAndEveryDeviceAndShowsTheStoredOne) {
    Port p;
    TForm2 dialog(nullptr, p.out, 1);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TForm2"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Festlegung Midi-Ausgabegerät"));
    EXPECT_TRUE(dialog.midialt->isReadOnly());
    EXPECT_EQ(dialog.midialt->text(), QStringLiteral("Versilla Synthesizer"));
    EXPECT_EQ(entries(dialog.ComboBox1), (QStringList{"Midi-Mapper", "USB MIDI", "Versilla Synthesizer", "USB MIDI"}));
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), 0);

    TForm2 mapper(nullptr, p.out, -1);
    EXPECT_EQ(mapper.midialt->text(), QStringLiteral("Midi-Mapper"));
    TForm2 blank(nullptr, p.out, std::nullopt);
    EXPECT_EQ(blank.midialt->text(), QString());
}

TEST(DeviceDialog, SavingReportsTheChosenDevice) {
    Port p;
    TForm2 mapper(nullptr, p.out, std::nullopt);
    mapper.speichernClick();
    EXPECT_EQ(mapper.result(), -1);

    TForm2 dialog(nullptr, p.out, std::nullopt);
    dialog.ComboBox1->setCurrentIndex(2);
    dialog.speichernClick();
    EXPECT_EQ(dialog.result(), 1);

    // Two devices with the same name stay apart.
    TForm2 second(nullptr, p.out, std::nullopt);
    second.ComboBox1->setCurrentIndex(3);
    second.speichernClick();
    EXPECT_EQ(second.result(), 2);
}

TEST(DeviceDialog, TheOpenPortIsClosedWhileShownAndReopenedOnCancel) {
    Port p;
    ASSERT_TRUE(p.out.selectDevice(1));
    ASSERT_TRUE(p.out.open());
    {
        TForm2 dialog(nullptr, p.out, 1);
        EXPECT_FALSE(p.out.isOpen());
        EXPECT_FALSE(p.b->isOpen());
        dialog.ComboBox1->setCurrentIndex(1);
        dialog.abbrechenClick();
        EXPECT_EQ(dialog.result(), std::nullopt);
        EXPECT_FALSE(dialog.reopenFailed());
    }
    EXPECT_TRUE(p.out.isOpen());
    EXPECT_EQ(p.out.DeviceID(), 1);
    EXPECT_TRUE(p.b->isOpen());
    EXPECT_EQ(p.b->openCount(), 2);
}

TEST(DeviceDialog, CancelRunsTheCallersOpenProcedureAndReportsAFailedReopen) {
    Port p;
    ASSERT_TRUE(p.out.selectDevice(0));
    ASSERT_TRUE(p.out.open());
    int procedures = 0;
    {
        TForm2 dialog(nullptr, p.out, 0, nullptr, std::nullopt, [&] {
            ++procedures;
            EXPECT_EQ(p.out.DeviceID(), 0);
        });
        dialog.reject(); // Escape
    }
    EXPECT_EQ(procedures, 1);

    // Without a procedure the dialog opens the port itself and says when it failed.
    ASSERT_TRUE(p.out.open());
    p.a->setFailOpen(true);
    TForm2 dialog(nullptr, p.out, 0);
    dialog.abbrechenClick();
    EXPECT_TRUE(dialog.reopenFailed());
    EXPECT_FALSE(p.out.isOpen());
}

TEST(DeviceDialog, ACancelWithTheClosedPortOpensNothing) {
    Port p;
    TForm2 dialog(nullptr, p.out, std::nullopt);
    dialog.abbrechenClick();
    EXPECT_FALSE(p.out.isOpen());
    EXPECT_EQ(p.a->openCount() + p.b->openCount() + p.c->openCount(), 0);
}
