#include "sound/keystroke_player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/layout.h"
#include "app/lists.h"
#include "fakes/memory_controls.h"
#include "fakes/recording_midi_out.h"
#include "fakes/scripted_input.h"

namespace melodane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MemoryList;
using testing::MemoryScrollBar;
using testing::RecordingMidiOut;
using testing::ScriptedKeys;
using testing::ScriptedRandom;

TEST(KeyToNote, FollowsTheThreeRangesOfCodes) {
  EXPECT_EQ(KeyToNote(3), 53);
  EXPECT_EQ(KeyToNote(49), 99);
  EXPECT_EQ(KeyToNote(50), 50);
  EXPECT_EQ(KeyToNote(90), 90);
  EXPECT_EQ(KeyToNote(91), 61);
  EXPECT_EQ(KeyToNote(127), 97);
}

class KeystrokePlayerTest : public ::testing::Test {
 protected:
  KeystrokePlayerTest() {
    out.devices = {{"Synth"}};
    port.OpenMidiOut(0);
    out.calls.clear();
    for (auto name : kToneNames) tone.AddItem(name);
    tone.SetListIndex(0);  // "C"
    volume.SetValue(100);
  }

  // The notes sent, as "note/velocity".
  std::vector<std::string> Notes() const {
    std::vector<std::string> notes;
    for (const auto& call : out.Calls("msg")) {
      const auto message = std::stoul(call.substr(4), nullptr, 16);
      EXPECT_EQ(message & 0xFF, 0x90u) << "note-on, channel 0";
      notes.push_back(std::to_string((message >> 8) & 0xFF) + "/" +
                      std::to_string((message >> 16) & 0xFF));
    }
    return notes;
  }

  RecordingMidiOut out;
  mdlPubSelf port{out};
  ScriptedKeys keys;
  ScriptedRandom random;
  KeystrokePlayer player{keys, random, port};
  MemoryList tone;
  MemoryScrollBar volume{Layout(ControlId::Vol).min, Layout(ControlId::Vol).max};
};

TEST_F(KeystrokePlayerTest, ATickAsksFor125KeysInAscendingOrderAndDrawsOnce) {
  player.Tick(tone, volume);
  ASSERT_EQ(keys.queries.size(), 125u);
  EXPECT_EQ(keys.queries.front(), 3);
  EXPECT_EQ(keys.queries.back(), 127);
  EXPECT_TRUE(std::is_sorted(keys.queries.begin(), keys.queries.end()));
  EXPECT_EQ(random.draws, 1);
  EXPECT_EQ(keys.ticks, 1);
  EXPECT_THAT(out.calls, IsEmpty());
}

TEST_F(KeystrokePlayerTest, ToneCShiftsByFiveSemitones) {
  // A, Z, 0, 2, Space, Enter, F1, keypad 0
  for (int key : {65, 90, 48, 50, 32, 13, 112, 96}) keys.down[key] = -32768;
  random.values = {0.0};
  player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("68/100", "87/100", "103/100", "55/100", "70/100", "95/100",
                                   "71/100", "87/100"));
}

TEST_F(KeystrokePlayerTest, KeysDownTogetherPlayInCodeOrderWithOneVelocity) {
  keys.down[66] = 1;  // pressed since the last query only
  keys.down[65] = -32767;
  random.values = {0.73};
  player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("70/107", "71/107"));
}

TEST_F(KeystrokePlayerTest, TheVariationIsTheDrawTimesTenRoundedDown) {
  keys.down[65] = 1;
  random.values = {0.0, 0.09999, 0.1, 0.999999};
  for (int i = 0; i < 4; ++i) player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("70/100", "70/100", "70/101", "70/109"));
}

TEST_F(KeystrokePlayerTest, ToneBSilencesNotesAbove127) {
  tone.SetListIndex(11);  // "B": +60
  keys.down[65] = 1;      // 65 + 60 = 125
  keys.down[90] = 1;      // 90 + 60 = 150, dropped by the port
  player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("125/105"));
}

TEST_F(KeystrokePlayerTest, NoToneSelectedMeansNoShift) {
  tone.SetListIndex(-1);
  keys.down[65] = 1;
  player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("65/105"));
}

TEST_F(KeystrokePlayerTest, VolumeZeroLeavesOnlyTheVariation) {
  volume.SetValue(0);
  keys.down[65] = 1;
  random.values = {0.0, 0.95};
  player.Tick(tone, volume);
  player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("70/0", "70/9"));
}

TEST_F(KeystrokePlayerTest, ToneAndVolumeAreReadAgainForEveryKey) {
  keys.down[65] = 1;
  keys.down[66] = 1;
  keys.on_query = [&](std::int32_t key) {
    if (key == 66) {
      tone.SetListIndex(1);
      volume.SetValue(20);
    }
  };
  random.values = {0.0};
  player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("70/100", "76/20"));
}

TEST_F(KeystrokePlayerTest, NothingIsRememberedBetweenTicks) {
  keys.down[65] = 1;
  player.Tick(tone, volume);
  keys.down.clear();
  player.Tick(tone, volume);
  keys.down[65] = 1;
  player.Tick(tone, volume);
  EXPECT_EQ(Notes().size(), 2u);
  EXPECT_EQ(random.draws, 3);
}

TEST_F(KeystrokePlayerTest, OnlyTheGenericShiftCodeIsPolled) {
  // Codes outside 3..127 are never asked for: not the mouse buttons, not left/right Shift.
  player.Tick(tone, volume);
  for (int ignored : {1, 2, 160, 161, 186, 219}) {
    EXPECT_EQ(std::count(keys.queries.begin(), keys.queries.end(), ignored), 0) << ignored;
  }
  keys.down[16] = 1;  // Shift
  keys.down[4] = 1;   // middle mouse button
  keys.queries.clear();
  player.Tick(tone, volume);
  EXPECT_THAT(Notes(), ElementsAre("59/105", "71/105"));
}

TEST_F(KeystrokePlayerTest, WithNoPortOpenNotesAreDroppedQuietly) {
  port.CloseMidiOut();
  out.calls.clear();
  keys.down[65] = 1;
  player.Tick(tone, volume);
  EXPECT_EQ(out.Calls("msg").size(), 1u);  // handed to the system, which refuses it
  EXPECT_EQ(port.hMidiOut(), 0u);
}

}  // namespace
}  // namespace melodane
