#include "sound/linux/linux_midi_out.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/controls.h"
#include "fakes/memory_controls.h"
#include "sound/midi_port.h"

namespace melodane::on_linux {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Sent {
  std::vector<std::vector<std::uint8_t>> messages;
};

class RecordingSink final : public MidiSink {
 public:
  explicit RecordingSink(Sent& sent) : sent_(sent) {}
  bool Send(const std::uint8_t* bytes, std::size_t size) override {
    sent_.messages.emplace_back(bytes, bytes + size);
    return true;
  }

 private:
  Sent& sent_;
};

class FakeSystem final : public MidiSystem {
 public:
  FakeSystem(std::vector<MidiDestination> destinations, Sent& sent)
      : destinations_(std::move(destinations)), sent_(sent) {}
  std::vector<MidiDestination> Destinations() override { return destinations_; }
  std::unique_ptr<MidiSink> Open(const MidiDestination& destination) override {
    opened.push_back(destination.address);
    if (destination.address == "refuses") return nullptr;
    return std::make_unique<RecordingSink>(sent_);
  }
  std::vector<std::string> opened;

 private:
  std::vector<MidiDestination> destinations_;
  Sent& sent_;
};

class LinuxMidiOutTest : public ::testing::Test {
 protected:
  Sent synth_sent, port_sent;
  bool synth_opens = true;
  FakeSystem alsa{{{"Synth Port", "128:0"}}, port_sent};
  FakeSystem jack{{{"midi_dump:input", "midi_dump:input"}, {"busy:in", "refuses"}}, port_sent};
  LinuxMidiOut out{[this]() -> std::unique_ptr<MidiSink> {
                     if (!synth_opens) return nullptr;
                     return std::make_unique<RecordingSink>(synth_sent);
                   },
                   {&alsa, &jack}};
};

TEST_F(LinuxMidiOutTest, TheSynthesizerTakesTheMappersPlaceThenEachSystemsPortsInTurn) {
  mdlPubSelf port(out);
  testing::MemoryList list;
  ASSERT_TRUE(port.ListMidiOutDevices(list));
  ASSERT_EQ(list.ListCount(), 4);
  EXPECT_EQ(list.Text(0), "Melodane Synthesizer");
  EXPECT_EQ(list.ItemData(0), -1);
  EXPECT_EQ(list.Text(1), "Synth Port");
  EXPECT_EQ(list.ItemData(1), 0);
  EXPECT_EQ(list.Text(2), "midi_dump:input");
  EXPECT_EQ(list.ItemData(2), 1);
  EXPECT_EQ(list.ItemData(3), 2);
}

TEST_F(LinuxMidiOutTest, OpensTheChosenPlaceAndSendsWholeMessages) {
  out.NumDevs();
  MidiHandle synth = 0, dump = 0;
  ASSERT_EQ(out.Open(kMidiMapperId, synth), 0u);
  ASSERT_EQ(out.Open(1, dump), 0u);
  EXPECT_THAT(jack.opened, ElementsAre("midi_dump:input"));
  EXPECT_EQ(out.ShortMsg(synth, 0x00644690), 0u);
  EXPECT_EQ(out.ShortMsg(dump, 0x000046C0), 0u);  // a program change is two bytes
  EXPECT_THAT(synth_sent.messages, ElementsAre(ElementsAre(0x90, 0x46, 0x64)));
  EXPECT_THAT(port_sent.messages, ElementsAre(ElementsAre(0xC0, 0x46)));
  EXPECT_EQ(out.Close(dump), 0u);
  EXPECT_EQ(out.ShortMsg(dump, 0x00644690), kMidiInvalidHandle);
  EXPECT_EQ(out.Close(dump), kMidiInvalidHandle);
}

TEST_F(LinuxMidiOutTest, DataBytesOf128OrMoreReachNoDevice) {
  out.NumDevs();
  MidiHandle synth = 0;
  ASSERT_EQ(out.Open(kMidiMapperId, synth), 0u);
  EXPECT_EQ(out.ShortMsg(synth, 0xFFFFFFC0), kMidiInvalidParam);  // program -1
  EXPECT_EQ(out.ShortMsg(synth, 0x00808090), kMidiInvalidParam);
  EXPECT_EQ(out.ShortMsg(synth, 0x00006446), kMidiInvalidParam) << "no status byte";
  EXPECT_EQ(out.ShortMsg(synth, 0x000000F8), kMidiInvalidParam) << "not a channel message";
  EXPECT_THAT(synth_sent.messages, IsEmpty());
}

TEST_F(LinuxMidiOutTest, APlaceThatCannotOpenFailsAndLeavesNothingOpen) {
  out.NumDevs();
  synth_opens = false;
  MidiHandle handle = 0;
  EXPECT_EQ(out.Open(kMidiMapperId, handle), kMidiAllocated);
  EXPECT_EQ(out.Open(2, handle), kMidiAllocated);
  EXPECT_EQ(out.Open(3, handle), kMidiBadDeviceId);
  EXPECT_EQ(handle, 0u);
  std::string name;
  EXPECT_EQ(out.DevCaps(3, name), kMidiBadDeviceId);
}

TEST(DeviceName, KeepsAtMost31CharactersWithoutSplittingOne) {
  EXPECT_EQ(DeviceName("short"), "short");
  EXPECT_EQ(DeviceName(std::string(31, 'x')), std::string(31, 'x'));
  EXPECT_EQ(DeviceName(std::string(40, 'x')), std::string(31, 'x'));
  const std::string accented = std::string(30, 'a') + "\xC3\xA9\xC3\xA9";  // 30 + "éé"
  EXPECT_EQ(DeviceName(accented), std::string(30, 'a') + "\xC3\xA9");
}

}  // namespace
}  // namespace melodane::on_linux
