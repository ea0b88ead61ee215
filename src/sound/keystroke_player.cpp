#include "sound/keystroke_player.h"

#include <cmath>

#include "common/whole_number.h"

namespace melodane {

namespace {

constexpr std::int16_t kChannel = 0;
constexpr std::int16_t kSemitonesPerTone = 5;

}  // namespace

std::int16_t KeyToNote(std::int16_t key) {
  if (key < 50) return static_cast<std::int16_t>(key + 50);
  if (key > 90) return static_cast<std::int16_t>(key - 30);
  return key;
}

void KeystrokePlayer::Tick(std::int16_t tone_index, std::int16_t volume) {
  // Drawn once per tick, keys or not.
  const auto variation = static_cast<std::int16_t>(std::floor(random_.Next() * 10));
  keys_.BeginTick();

  // 16-bit arithmetic throughout; a step that overflows plays nothing. A note above 127
  // still goes to the port, which drops it.
  const auto steps = Add16(tone_index, 1);
  const auto shift = steps ? Mul16(kSemitonesPerTone, *steps) : std::nullopt;
  const auto velocity = Add16(volume, variation);

  for (std::int16_t key = kFirstPlayedKey; key <= kLastPlayedKey; ++key) {
    if (keys_.Query(key) == 0) continue;
    const auto note = shift ? Add16(KeyToNote(key), *shift) : std::nullopt;
    if (note && velocity) midi_.PlayMidiNote(kChannel, *note, *velocity);
  }
}

}  // namespace melodane
