// Plays a note for every key that is down, anywhere on the desktop, once per tick.
#pragma once

#include <cstdint>

#include "sound/key_state.h"
#include "sound/midi_port.h"
#include "sound/uniform_random.h"

namespace melodane {

// The polled virtual-key codes: the mouse's left and right buttons (1, 2) and every
// code above 127 make no sound.
inline constexpr std::int16_t kFirstPlayedKey = 3;
inline constexpr std::int16_t kLastPlayedKey = 127;

// The base note of a virtual-key code: 3-49 play 53-99, 50-90 play 50-90, 91-127
// play 61-97.
std::int16_t KeyToNote(std::int16_t key);

class KeystrokePlayer {
 public:
  KeystrokePlayer(KeyState& keys, UniformRandom& random, MidiPort& midi)
      : keys_(keys), random_(random), midi_(midi) {}

  // One tick: one random draw, then every code in ascending order; each key that is down
  // plays base + 5 x (tone index + 1) at the volume plus the draw. Tone index -1 (no
  // tone chosen) plays the base note.
  void Tick(std::int16_t tone_index, std::int16_t volume);

 private:
  KeyState& keys_;
  UniformRandom& random_;
  MidiPort& midi_;
};

}  // namespace melodane
