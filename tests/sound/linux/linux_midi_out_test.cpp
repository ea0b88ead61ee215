#include "sound/linux/linux_midi_out.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sound/midi_port.h"

namespace melodane::on_linux {
namespace {

using ::testing::ElementsAre;
using Messages = std::vector<std::vector<std::uint8_t>>;

// A system whose ports record what they are sent in one list.
struct FakeSystem final : MidiSystem {
  struct Sink final : MidiSink {
    explicit Sink(Messages& sent) : sent(sent) {}
    bool Send(const std::uint8_t* bytes, std::size_t size) override {
      return sent.emplace_back(bytes, bytes + size), true;
    }
    Messages& sent;
  };
  explicit FakeSystem(std::vector<MidiDestination> ports = {}) : ports(std::move(ports)) {}
  std::vector<MidiDestination> Destinations() override { return ports; }
  std::unique_ptr<MidiSink> Open(const MidiDestination&) override {
    return std::make_unique<Sink>(sent);
  }
  std::vector<MidiDestination> ports;
  Messages sent;
};

struct LinuxMidiOutTest : ::testing::Test {
  FakeSystem synth, alsa{{{"Synth Port", "128:0"}}};
  FakeSystem jack{{{"midi_dump:input", "midi_dump:input"}, {"busy:in", "busy:in"}}};
  LinuxMidiOut out{[this] { return synth.Open({}); }, {&alsa, &jack}};
  MidiHandle synth_port = 0, dump = 0;
};

TEST_F(LinuxMidiOutTest, TheSynthesizerTakesTheMappersPlaceThenEachSystemsPortsInTurn) {
  EXPECT_THAT(MidiPort(out).ListMidiOutDevices(),
              ElementsAre(MidiDevice{"Melodane Synthesizer", -1}, MidiDevice{"Synth Port", 0},
                          MidiDevice{"midi_dump:input", 1}, MidiDevice{"busy:in", 2}));
  const std::string accented = std::string(30, 'a') + "\xC3\xA9\xC3\xA9";  // 30 + "éé"
  EXPECT_EQ(DeviceName(accented), std::string(30, 'a') + "\xC3\xA9") << "31 characters at most";
}

TEST_F(LinuxMidiOutTest, SendsWholeChannelMessagesAndRefusesWhatIsNoMidi) {
  out.NumDevs();
  ASSERT_EQ(out.Open(kMidiMapperId, synth_port) + out.Open(1, dump), 0u);
  EXPECT_EQ(out.ShortMsg(synth_port, 0x00644690) + out.ShortMsg(dump, 0x000046C0), 0u);
  for (std::uint32_t message : {0xFFFFFFC0u, 0x00808090u, 0x00006446u, 0x000000F8u}) {
    EXPECT_EQ(out.ShortMsg(synth_port, message), kMidiInvalidParam) << std::hex << message;
  }
  EXPECT_THAT(synth.sent, ElementsAre(ElementsAre(0x90, 0x46, 0x64)));
  EXPECT_THAT(jack.sent, ElementsAre(ElementsAre(0xC0, 0x46)));  // a program change: two bytes
  EXPECT_EQ(out.Close(dump), 0u);
  EXPECT_EQ(out.ShortMsg(dump, 0x00644690), kMidiInvalidHandle);
  EXPECT_EQ(out.Close(dump), kMidiInvalidHandle);
}

}  // namespace
}  // namespace melodane::on_linux
