#include "sound/linux/x11_key_state.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <cstdio>

#include "sound/linux/x11_key_map.h"

namespace melodane::on_linux {

X11KeyState::X11KeyState() {
  display_ = XOpenDisplay(nullptr);
  if (!display_) {
    std::fputs("Melodane: no X display; typed keys will not play.\n", stderr);
    return;
  }
  int event = 0, error = 0;
  // From XInput 2.1 on, raw events reach the root window even while another client
  // holds a grab (a button held down, an open menu).
  int major = 2, minor = 2;
  if (XQueryExtension(display_, "XInputExtension", &xinput_opcode_, &event, &error) &&
      XIQueryVersion(display_, &major, &minor) == Success) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    XSync(display_, False);  // from here on, no press goes unseen
  } else {
    xinput_opcode_ = -1;  // keys held down still play; taps between ticks may not
  }
  ReadKeyboardMap();
}

X11KeyState::~X11KeyState() {
  if (display_) XCloseDisplay(display_);
}

int X11KeyState::ConnectionFd() const { return display_ ? ConnectionNumber(display_) : -1; }

void X11KeyState::ReadArrivedEvents() {
  // Every one, until the connection is quiet again: Xlib reads no more while its queue
  // holds any.
  if (!display_) return;
  DrainEvents();
  arrived_ = true;
}

void X11KeyState::ReadKeyboardMap() {
  int min_keycode = 0, max_keycode = 0;
  XDisplayKeycodes(display_, &min_keycode, &max_keycode);
  key_of_keycode_.fill(0);
  for (int keycode = min_keycode; keycode <= max_keycode && keycode < 256; ++keycode) {
    const auto code = static_cast<KeyCode>(keycode);
    KeySym keysym = XkbKeycodeToKeysym(display_, code, 0, 0);
    // Keypad keys: the digit sits at the second level.
    const KeySym shifted = XkbKeycodeToKeysym(display_, code, 0, 1);
    if (IsKeypadDigitOrPoint(shifted)) keysym = shifted;
    key_of_keycode_[static_cast<std::size_t>(keycode)] = VirtualKeyForKeysym(keysym);
  }
}

void X11KeyState::DrainEvents() {
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == MappingNotify) {
      XRefreshKeyboardMapping(&event.xmapping);
      ReadKeyboardMap();
      continue;
    }
    if (event.type != GenericEvent || event.xcookie.extension != xinput_opcode_ ||
        !XGetEventData(display_, &event.xcookie)) {
      continue;
    }
    const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
    const auto detail = static_cast<std::size_t>(raw->detail);
    switch (event.xcookie.evtype) {
      case XI_RawKeyPress:
        if (detail < key_of_keycode_.size()) pressed_[key_of_keycode_[detail]] = true;
        break;
      case XI_RawButtonPress:
      case XI_RawButtonRelease: {
        const std::uint8_t key = VirtualKeyForButton(raw->detail);
        const bool press = event.xcookie.evtype == XI_RawButtonPress;
        if (key != 0) {
          button_down_[key] = press;
          if (press) pressed_[key] = true;
        }
        break;
      }
      default:
        break;
    }
    XFreeEventData(display_, &event.xcookie);
  }
  pressed_[0] = false;  // keys with no code
}

void X11KeyState::BeginTick() {
  if (!display_) return;
  // While every key is up only a press can change that, and a press comes as an event:
  // without one, the idle tick saves the key map's round trip.
  if (all_up_ && xinput_opcode_ >= 0 && !arrived_) return;
  arrived_ = false;
  // The key map first: its round trip brings in every event the server sent before it,
  // so the presses drained next are all those that came before the map was taken.
  char keymap[32] = {};
  XQueryKeymap(display_, keymap);
  DrainEvents();
  down_ = button_down_;
  for (std::size_t keycode = 0; keycode < 256; ++keycode) {
    if (keymap[keycode / 8] & (1 << (keycode % 8))) down_[key_of_keycode_[keycode]] = true;
  }
  down_[0] = false;
  all_up_ = std::find(down_.begin(), down_.end(), true) == down_.end();
}

std::int16_t X11KeyState::Query(std::int32_t virtual_key) {
  if (virtual_key < 0 || virtual_key > 255) return 0;
  const auto key = static_cast<std::size_t>(virtual_key);
  std::uint16_t state = down_[key] ? 0x8000 : 0;
  if (pressed_[key]) state |= 0x0001;
  pressed_[key] = false;
  return static_cast<std::int16_t>(state);
}

}  // namespace melodane::on_linux
