#pragma once

#include <array>
#include <cstdint>

#include "sound/key_state.h"

struct _XDisplay;

namespace melodane::on_linux {

// Key states on the X display, by Windows virtual-key code: "down now" from the key map,
// taken once per tick, and "pressed since the previous query" from XInput2 raw presses
// on the root window, so that a tap between two ticks still counts. Without a display
// every key is up.
//
// The owner's event loop watches ConnectionFd() and calls ReadArrivedEvents() whenever it
// is readable; a tick while every key is up and nothing has arrived then costs no system
// call.
class X11KeyState final : public KeyState {
 public:
  X11KeyState();
  ~X11KeyState() override;
  X11KeyState(const X11KeyState&) = delete;
  X11KeyState& operator=(const X11KeyState&) = delete;

  bool Connected() const { return display_ != nullptr; }
  int ConnectionFd() const;  // -1 without a display
  void ReadArrivedEvents();
  void BeginTick() override;
  std::int16_t Query(std::int32_t virtual_key) override;

 private:
  void ReadKeyboardMap();
  void DrainEvents();

  _XDisplay* display_ = nullptr;
  int xinput_opcode_ = -1;
  std::array<std::uint8_t, 256> key_of_keycode_{};
  std::array<bool, 256> down_{};
  std::array<bool, 256> pressed_{};
  std::array<bool, 256> button_down_{};
  bool all_up_ = false;   // at the last reading of the key map
  bool arrived_ = false;  // events, since then
};

}  // namespace melodane::on_linux
