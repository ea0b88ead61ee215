#include "sound/linux/x11_key_map.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <unordered_map>

namespace melodane::on_linux {

bool IsKeypadDigitOrPoint(unsigned long keysym) {
  return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal ||
         keysym == XK_KP_Separator;
}

std::uint8_t VirtualKeyForKeysym(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<std::uint8_t>('A' + (keysym - XK_a));
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<std::uint8_t>('A' + (keysym - XK_A));
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<std::uint8_t>('0' + (keysym - XK_0));
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
    return static_cast<std::uint8_t>(96 + (keysym - XK_KP_0));
  if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<std::uint8_t>(112 + (keysym - XK_F1));

  // clang-format off
  static const std::unordered_map<unsigned long, std::uint8_t> kTable = {
      {XK_Cancel, 3},        {XK_Break, 3},         {XK_BackSpace, 8},
      {XK_Tab, 9},           {XK_ISO_Left_Tab, 9},  {XK_Clear, 12},
      {XK_KP_Begin, 12},     {XK_Return, 13},       {XK_KP_Enter, 13},
      {XK_Shift_L, 16},      {XK_Shift_R, 16},      {XK_Control_L, 17},
      {XK_Control_R, 17},    {XK_Alt_L, 18},        {XK_Alt_R, 18},
      {XK_Meta_L, 18},       {XK_Meta_R, 18},       {XK_ISO_Level3_Shift, 18},
      {XK_Pause, 19},        {XK_Caps_Lock, 20},    {XK_Escape, 27},
      {XK_space, 32},        {XK_Prior, 33},        {XK_Next, 34},
      {XK_End, 35},          {XK_Home, 36},         {XK_Left, 37},
      {XK_Up, 38},           {XK_Right, 39},        {XK_Down, 40},
      {XK_Select, 41},       {XK_Print, 44},        {XK_Execute, 43},
      {XK_Insert, 45},       {XK_Delete, 46},       {XK_Help, 47},
      {XK_Super_L, 91},      {XK_Super_R, 92},      {XK_Menu, 93},
      {XF86XK_Sleep, 95},    {XK_KP_Multiply, 106}, {XK_KP_Add, 107},
      {XK_KP_Separator, 108}, {XK_KP_Subtract, 109}, {XK_KP_Decimal, 110},
      {XK_KP_Divide, 111},   {XK_Num_Lock, 144},    {XK_Scroll_Lock, 145},
      {XK_semicolon, 186},   {XK_equal, 187},       {XK_comma, 188},
      {XK_minus, 189},       {XK_period, 190},      {XK_slash, 191},
      {XK_grave, 192},       {XK_bracketleft, 219}, {XK_backslash, 220},
      {XK_bracketright, 221}, {XK_apostrophe, 222}, {XK_less, 226},
  };
  // clang-format on
  const auto found = kTable.find(keysym);
  return found == kTable.end() ? 0 : found->second;
}

std::uint8_t VirtualKeyForButton(int button) {
  switch (button) {
    case 2:
      return 4;
    case 8:
      return 5;
    case 9:
      return 6;
    default:
      return 0;
  }
}

}  // namespace melodane::on_linux
