#pragma once

#include <cstdint>

namespace melodane::on_linux {

// The Windows virtual-key code of an X keysym, 0 for none. Either Shift, Control or Alt
// gives the generic code (16, 17, 18), as Windows reports them.
std::uint8_t VirtualKeyForKeysym(unsigned long keysym);

// Whether the keypad key's digit sits at the keysym's second level (with Num Lock).
bool IsKeypadDigitOrPoint(unsigned long keysym);

// The virtual-key code of an X pointer button: middle 4, the two extra buttons 5 and 6.
std::uint8_t VirtualKeyForButton(int button);

}  // namespace melodane::on_linux
