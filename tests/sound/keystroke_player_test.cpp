#include "sound/keystroke_player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "fakes/sound_fakes.h"

namespace melodane {
namespace {

using ::testing::ElementsAre;

struct KeystrokePlayerTest : ::testing::Test {
  KeystrokePlayerTest() { port.OpenMidiOut(0); }

  // The notes one tick sends, as "note/velocity"; each must be a note-on on channel 0.
  std::vector<std::string> Tick(std::int16_t tone, std::int16_t volume) {
    out.calls.clear();
    player.Tick(tone, volume);
    std::vector<std::string> notes;
    for (const auto& call : out.calls) {
      const auto message = std::stoul(call.substr(4), nullptr, 16);
      EXPECT_EQ(message & 0xFF, 0x90u) << call;
      notes.push_back(std::to_string(message >> 8 & 0xFF) + "/" + std::to_string(message >> 16));
    }
    return notes;
  }

  testing::RecordingMidiOut out;
  MidiPort port{out};
  testing::ScriptedKeys keys;
  testing::ScriptedRandom random;
  KeystrokePlayer player{keys, random, port};
};

TEST_F(KeystrokePlayerTest, ATickDrawsOnceThenAsksFor3To127InOrderAndPlaysThemInThatOrder) {
  // Codes 3-49 play 50 above, 50-90 themselves, 91-127 30 below; with tone C, 5 more.
  // Enter, Space, 0, 1, 2, A, Z, left Windows key, keypad 0, F1; held down or pressed
  // since the last query.
  for (int key : {65, 90, 48, 49, 50, 91, 32, 13, 112, 96}) keys.down[key] = key % 2 ? 1 : -32768;
  random.values = {0.73};
  EXPECT_THAT(Tick(0, 100), ElementsAre("68/107", "87/107", "103/107", "104/107", "55/107",
                                        "70/107", "95/107", "66/107", "71/107", "87/107"));
  std::vector<std::int32_t> codes(125);
  std::iota(codes.begin(), codes.end(), 3);
  EXPECT_EQ(keys.queries, codes);
  EXPECT_EQ(random.draws, 1);
  EXPECT_EQ(keys.ticks, 1);
}

TEST_F(KeystrokePlayerTest, TheVariationIsTheDrawTimesTenRoundedDownAndTheToneShiftsByFives) {
  keys.down[65] = 1;
  std::vector<std::string> notes;
  random.values = {0.0, 0.09999, 0.1, 0.999999, 0.0, 0.95};
  for (int volume : {100, 100, 100, 100, 0, 0}) notes.push_back(Tick(0, volume).at(0));
  EXPECT_THAT(notes, ElementsAre("70/100", "70/100", "70/101", "70/109", "70/0", "70/9"));
  // Tone B puts Z (90) at 150, which the port drops; no tone is no shift.
  keys.down[90] = 1;
  EXPECT_THAT(Tick(11, 100), ElementsAre("125/105"));
  EXPECT_THAT(Tick(-1, 100), ElementsAre("65/105", "90/105"));
}

}  // namespace
}  // namespace melodane
