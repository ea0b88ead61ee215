#include "sound/midi_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/sound_fakes.h"

namespace melodane {
namespace {

using ::testing::ElementsAre;

struct MidiPortTest : ::testing::Test {
  testing::RecordingMidiOut out;
  MidiPort port{out};
};

TEST_F(MidiPortTest, ListsTheMapperFirstThenEveryDeviceWhoseNameCanBeReadByItsId) {
  EXPECT_THAT(port.ListMidiOutDevices(),
              ElementsAre(MidiDevice{"Default MIDI Output", -1}, MidiDevice{"Synth A", 0},
                          MidiDevice{"Synth B", 1}));
  out.mapper.reset();
  out.devices = {{"Synth A", false}, {"Synth B"}, {"Synth C"}};
  EXPECT_THAT(port.ListMidiOutDevices(),
              ElementsAre(MidiDevice{"Synth B", 1}, MidiDevice{"Synth C", 2}));
  out.reported_count = 40000;  // a count beyond 16 bits lists no device
  EXPECT_THAT(port.ListMidiOutDevices(), ::testing::IsEmpty());
}

TEST_F(MidiPortTest, OpeningClosesThePortFirstAFailedOpenOrCloseLeavesNoneAndTheOwnerCloses) {
  {
    MidiPort owned(out);
    owned.OpenMidiOut(-1);
  }
  EXPECT_TRUE(port.OpenMidiOut(1));
  out.close_result = 7;  // forgotten all the same
  out.devices[0].opens = false;
  EXPECT_FALSE(port.OpenMidiOut(0));
  EXPECT_EQ(port.hMidiOut(), 0u);
  port.PlayMidiNote(0, 70, 100);  // handed to the system, which refuses it
  port.CloseMidiOut();            // nothing open: no call
  EXPECT_THAT(out.calls, ElementsAre("open 0xFFFFFFFF", "close 1", "open 0x00000001", "close 2",
                                     "open 0x00000000", "msg 0x00644690"));
}

TEST_F(MidiPortTest, PacksStatusThenFirstThenSecondDataByteAndDropsAFirstOf128OrMore) {
  port.OpenMidiOut(0);
  out.calls.clear();
  port.PlayMidiNote(0, 65, 100);
  port.PlayMidiNote(0, 127, 100);
  for (std::int16_t note : {128, 185, -129}) port.PlayMidiNote(0, note, 100);
  port.SendMidiControl(0, 7, 127);
  port.SetMidiInstrument(0, 0, 70);  // bank select, then program change
  port.SetMidiInstrument(0, 0, -1);  // no instrument chosen
  EXPECT_THAT(out.calls,
              ElementsAre("msg 0x00644190", "msg 0x00647F90", "msg 0x007F07B0", "msg 0x000000B0",
                          "msg 0x000046C0", "msg 0x000000B0", "msg 0xFFFFFFC0"));
}

}  // namespace
}  // namespace melodane
