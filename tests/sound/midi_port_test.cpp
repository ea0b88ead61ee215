#include "sound/midi_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/memory_controls.h"
#include "fakes/recording_midi_out.h"

namespace melodane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MemoryList;
using testing::RecordingMidiOut;

class MidiPortTest : public ::testing::Test {
 protected:
  MidiPortTest() { out.devices = {{"Synth A"}, {"Synth B"}}; }

  RecordingMidiOut out;
  mdlPubSelf port{out};
  MemoryList list;
};

TEST_F(MidiPortTest, ListsTheMapperFirstThenEveryReadableDevice) {
  list.AddItem("left over");
  EXPECT_TRUE(port.ListMidiOutDevices(list));
  ASSERT_EQ(list.ListCount(), 3);
  EXPECT_EQ(list.Text(0), "Default MIDI Output");
  EXPECT_EQ(list.ItemData(0), -1);
  EXPECT_EQ(list.Text(1), "Synth A");
  EXPECT_EQ(list.ItemData(1), 0);
  EXPECT_EQ(list.Text(2), "Synth B");
  EXPECT_EQ(list.ItemData(2), 1);
  EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(MidiPortTest, SkipsADeviceWhoseNameCannotBeRead) {
  out.devices[1].caps_readable = false;
  port.ListMidiOutDevices(list);
  ASSERT_EQ(list.ListCount(), 2);
  EXPECT_EQ(list.ItemData(0), -1);
  EXPECT_EQ(list.ItemData(1), 0);
}

TEST_F(MidiPortTest, ItemDataIsTheDeviceIdNotThePosition) {
  out.mapper.reset();
  out.devices = {{"Synth A", false}, {"Synth B"}, {"Synth C"}};
  port.ListMidiOutDevices(list);
  ASSERT_EQ(list.ListCount(), 2);
  EXPECT_EQ(list.Text(0), "Synth B");
  EXPECT_EQ(list.ItemData(0), 1);
  EXPECT_EQ(list.ItemData(1), 2);
}

TEST_F(MidiPortTest, NoMapperAndNoDeviceLeavesTheListEmpty) {
  out.mapper.reset();
  out.devices.clear();
  list.AddItem("left over");
  EXPECT_FALSE(port.ListMidiOutDevices(list));
  EXPECT_EQ(list.ListCount(), 0);
}

TEST_F(MidiPortTest, ADeviceCountBeyond16BitsListsNoDevice) {
  out.reported_count = 40000;
  EXPECT_TRUE(port.ListMidiOutDevices(list));
  EXPECT_EQ(list.ListCount(), 1);  // the mapper alone
}

TEST_F(MidiPortTest, MinusOneOpensTheMapperId) {
  EXPECT_TRUE(port.OpenMidiOut(-1));
  EXPECT_THAT(out.calls, ElementsAre("open 0xFFFFFFFF"));
  EXPECT_NE(port.hMidiOut(), 0u);
}

TEST_F(MidiPortTest, OpeningClosesTheOpenPortFirst) {
  port.OpenMidiOut(0);
  const MidiHandle first = port.hMidiOut();
  port.OpenMidiOut(1);
  EXPECT_THAT(out.calls,
              ElementsAre("open 0x00000000", "close " + std::to_string(first), "open 0x00000001"));
  EXPECT_EQ(out.open_ports.size(), 1u);
}

TEST_F(MidiPortTest, AFailedOpenLeavesNoPortAndLaterNotesAreDroppedSilently) {
  port.OpenMidiOut(0);
  out.devices[1].opens = false;
  EXPECT_FALSE(port.OpenMidiOut(1));
  EXPECT_EQ(port.hMidiOut(), 0u);
  EXPECT_TRUE(out.open_ports.empty());

  out.calls.clear();
  port.PlayMidiNote(0, 70, 100);  // refused by the system, and nothing more happens
  EXPECT_THAT(out.calls, ElementsAre("msg 0x00644690"));
  port.CloseMidiOut();
  EXPECT_THAT(out.Calls("close"), IsEmpty());
}

TEST_F(MidiPortTest, ClosingWithNoPortOpenMakesNoCall) {
  port.CloseMidiOut();
  EXPECT_THAT(out.calls, IsEmpty());
}

TEST_F(MidiPortTest, AFailedCloseStillForgetsThePort) {
  port.OpenMidiOut(0);
  out.close_result = 7;
  port.CloseMidiOut();
  EXPECT_EQ(port.hMidiOut(), 0u);
  port.CloseMidiOut();
  EXPECT_EQ(out.Calls("close").size(), 1u);
}

TEST_F(MidiPortTest, PacksNoteOnStatusLowestThenNoteThenVelocity) {
  port.OpenMidiOut(0);
  out.calls.clear();
  port.PlayMidiNote(0, 65, 100);
  port.PlayMidiNote(0, 127, 100);
  port.PlayMidiNote(0, 0, 0);
  EXPECT_THAT(out.calls, ElementsAre("msg 0x00644190", "msg 0x00647F90", "msg 0x00000090"));
}

TEST_F(MidiPortTest, ANoteAbove127SendsNothingAtAll) {
  port.OpenMidiOut(0);
  out.calls.clear();
  port.PlayMidiNote(0, 128, 100);
  port.PlayMidiNote(0, 185, 100);
  port.PlayMidiNote(0, -129, 100);
  EXPECT_THAT(out.calls, IsEmpty());
}

TEST_F(MidiPortTest, InstrumentIsBankSelectThenProgramChange) {
  port.OpenMidiOut(0);
  out.calls.clear();
  port.SetMidiInstrument(0, 0, 70);
  EXPECT_THAT(out.calls, ElementsAre("msg 0x000000B0", "msg 0x000046C0"));
}

TEST_F(MidiPortTest, NoInstrumentSelectedPassesProgramMinusOneThrough) {
  port.OpenMidiOut(0);
  out.calls.clear();
  port.SetMidiInstrument(0, 0, -1);
  EXPECT_THAT(out.calls, ElementsAre("msg 0x000000B0", "msg 0xFFFFFFC0"));
}

TEST_F(MidiPortTest, ControlChangeCarriesControllerAndValue) {
  port.OpenMidiOut(0);
  out.calls.clear();
  port.SendMidiControl(0, 7, 127);
  EXPECT_THAT(out.calls, ElementsAre("msg 0x007F07B0"));
}

}  // namespace
}  // namespace melodane
