#include "ManualClock.h"
#include "RecordingPort.h"
#include "player/TMidiOutput.h"

#include <gtest/gtest.h>

#include <memory>

using versilla::player::FixedMidiDevices;
using versilla::player::MidiDevice;
using versilla::player::TMidiOutput;
using versilla::testsupport::RecordingPort;

namespace {

struct Devices {
    std::shared_ptr<RecordingPort> through = std::make_shared<RecordingPort>();
    std::shared_ptr<RecordingPort> hardware = std::make_shared<RecordingPort>();
    std::shared_ptr<RecordingPort> synth = std::make_shared<RecordingPort>();
};

std::unique_ptr<FixedMidiDevices> list(std::vector<MidiDevice> devices) {
    return std::make_unique<FixedMidiDevices>(std::move(devices));
}

} // namespace

TEST(TMidiOutput, CountAndNamesAreTakenWhenCreated) {
    auto port = std::make_shared<RecordingPort>();
    TMidiOutput out(list({RecordingPort::asDevice(port, "Alpha"), RecordingPort::asDevice(port, "Beta")}));
    EXPECT_EQ(out.deviceCount(), 2);
    EXPECT_EQ(out.deviceNames(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(out.deviceName(-1), "Midi-Mapper");
    EXPECT_EQ(out.deviceName(2), "");
    EXPECT_EQ(out.DeviceID(), -1);
}

TEST(TMidiOutput, SelectSetsIdAndNameAndIsRefusedWhileOpenOrOutOfRange) {
    auto a = std::make_shared<RecordingPort>();
    auto b = std::make_shared<RecordingPort>();
    TMidiOutput out(list({RecordingPort::asDevice(a, "Alpha"), RecordingPort::asDevice(b, "Beta")}));

    EXPECT_FALSE(out.selectDevice(2));
    EXPECT_FALSE(out.selectDevice(-2));
    EXPECT_EQ(out.DeviceID(), -1);

    ASSERT_TRUE(out.selectDevice(1));
    EXPECT_EQ(out.DeviceID(), 1);
    EXPECT_EQ(out.ProductName(), "Beta");

    ASSERT_TRUE(out.open());
    EXPECT_TRUE(b->isOpen());
    EXPECT_FALSE(out.selectDevice(0));
    EXPECT_EQ(out.DeviceID(), 1);

    out.close();
    EXPECT_FALSE(b->isOpen());
    EXPECT_TRUE(out.selectDevice(-1));
    EXPECT_EQ(out.ProductName(), "Midi-Mapper");
}

TEST(TMidiOutput, MapperOpensTheFirstSoundingSystemDevice) {
    Devices d;
    TMidiOutput out(list({RecordingPort::asDevice(d.through, "Midi Through Port-0", MidiDevice::Kind::Through),
                          RecordingPort::asDevice(d.hardware, "Keyboard", MidiDevice::Kind::System),
                          RecordingPort::asDevice(d.synth, "Versilla Synthesizer", MidiDevice::Kind::Synthesizer)}));
    ASSERT_TRUE(out.selectDevice(-1));
    ASSERT_TRUE(out.open());
    EXPECT_FALSE(d.through->isOpen());
    EXPECT_TRUE(d.hardware->isOpen());
    EXPECT_FALSE(d.synth->isOpen());
}

TEST(TMidiOutput, MapperFallsBackToTheSynthesizerWithoutASystemDevice) {
    Devices d;
    TMidiOutput out(list({RecordingPort::asDevice(d.through, "Midi Through Port-0", MidiDevice::Kind::Through),
                          RecordingPort::asDevice(d.synth, "Versilla Synthesizer", MidiDevice::Kind::Synthesizer)}));
    ASSERT_TRUE(out.open()); // a new port has the mapper selected
    EXPECT_TRUE(d.synth->isOpen());
    EXPECT_FALSE(d.through->isOpen());
}

TEST(TMidiOutput, NoDevicesMeansNothingOpens) {
    TMidiOutput out(list({}));
    EXPECT_EQ(out.deviceCount(), 0);
    EXPECT_FALSE(out.open());
    EXPECT_FALSE(out.isOpen());
}

TEST(TMidiOutput, OpenFailureLeavesThePortClosed) {
    auto port = std::make_shared<RecordingPort>();
    port->setFailOpen(true);
    TMidiOutput out(list({RecordingPort::asDevice(port, "Alpha")}));
    EXPECT_FALSE(out.open());
    EXPECT_FALSE(out.isOpen());
    EXPECT_FALSE(out.sendShort(0x90, 60, 100));
    // A device that has gone (no backend) fails the same way.
    MidiDevice gone;
    gone.name = "Gone";
    gone.create = [] { return std::shared_ptr<versilla::player::MidiOutBackend>(); };
    TMidiOutput out2(list({gone}));
    EXPECT_FALSE(out2.open());
}

TEST(TMidiOutput, SendingIsRefusedWhileClosed) {
    auto port = std::make_shared<RecordingPort>();
    TMidiOutput out(list({RecordingPort::asDevice(port, "Alpha")}));
    EXPECT_FALSE(out.sendShort(0x90, 60, 100));
    EXPECT_FALSE(out.sendLong({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    out.allSoundOff();
    EXPECT_TRUE(port->messages().empty());

    ASSERT_TRUE(out.open());
    out.close();
    EXPECT_FALSE(out.sendShort(0x90, 60, 100));
    EXPECT_TRUE(port->messages().empty());
}

TEST(TMidiOutput, ShortAndLongMessagesGoOutWithTheirTime) {
    auto clock = std::make_shared<versilla::testsupport::ManualClock>();
    auto port = std::make_shared<RecordingPort>(clock);
    TMidiOutput out(list({RecordingPort::asDevice(port, "Alpha")}));
    ASSERT_TRUE(out.open());

    clock->advance(10);
    EXPECT_TRUE(out.send(0x91, 60, 100));
    clock->advance(5);
    EXPECT_TRUE(out.send(0xC2, 5, 0)); // program change: two bytes on the wire
    const std::vector<std::uint8_t> gmOn{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_TRUE(out.send(0xF0, 0, 0, &gmOn));
    EXPECT_FALSE(out.sendLong({}));

    const auto m = port->messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].timeMs, 10u);
    EXPECT_EQ(m[0].bytes, (std::vector<std::uint8_t>{0x91, 60, 100}));
    EXPECT_FALSE(m[0].isLong);
    EXPECT_EQ(m[1].timeMs, 15u);
    EXPECT_EQ(m[1].bytes, (std::vector<std::uint8_t>{0xC2, 5}));
    EXPECT_EQ(m[2].bytes, gmOn);
    EXPECT_TRUE(m[2].isLong);
}

TEST(TMidiOutput, AllSoundOffSendsController120OnAll16Channels) {
    auto port = std::make_shared<RecordingPort>();
    TMidiOutput out(list({RecordingPort::asDevice(port, "Alpha")}));
    ASSERT_TRUE(out.open());
    out.allSoundOff();
    const auto m = port->messages();
    ASSERT_EQ(m.size(), 16u);
    for (std::size_t ch = 0; ch < 16; ++ch)
        EXPECT_EQ(m[ch].bytes, (std::vector<std::uint8_t>{static_cast<std::uint8_t>(0xB0 + ch), 0x78, 0x00}))
            << "channel " << ch;
}

TEST(TMidiOutput, DestroyingAnOpenPortClosesTheDevice) {
    auto port = std::make_shared<RecordingPort>();
    {
        TMidiOutput out(list({RecordingPort::asDevice(port, "Alpha")}));
        ASSERT_TRUE(out.open());
        EXPECT_TRUE(port->isOpen());
    }
    EXPECT_FALSE(port->isOpen());
}
