#pragma once

#include <cstdint>

namespace melodane {

// The desktop-wide state of one key, by Windows virtual-key code, as a 16-bit value that
// is non-zero when the key is down now or was pressed since the previous query.
class KeyState {
 public:
  virtual ~KeyState() = default;
  // Called once before the queries of each tick, for sources that take a snapshot.
  virtual void BeginTick() {}
  virtual std::int16_t Query(std::int32_t virtual_key) = 0;
};

}  // namespace melodane
