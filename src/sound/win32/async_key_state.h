#pragma once

#include <windows.h>

#include "sound/key_state.h"

namespace melodane::win32 {

// GetAsyncKeyState: bit 15 set while the key is down, bit 0 when it was pressed since
// the previous query.
class AsyncKeyState final : public KeyState {
 public:
  std::int16_t Query(std::int32_t virtual_key) override { return GetAsyncKeyState(virtual_key); }
};

}  // namespace melodane::win32
