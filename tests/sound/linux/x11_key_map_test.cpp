#include <gtest/gtest.h>
// X11's headers define None and Bool; gtest comes first.
#include "sound/linux/x11_key_map.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace melodane::on_linux {
namespace {

TEST(X11KeyMap, LettersDigitsAndFunctionKeysTakeTheirWindowsCodes) {
  EXPECT_EQ(VirtualKeyForKeysym(XK_a), 65);
  EXPECT_EQ(VirtualKeyForKeysym(XK_z), 90);
  EXPECT_EQ(VirtualKeyForKeysym(XK_A), 65);
  EXPECT_EQ(VirtualKeyForKeysym(XK_0), 48);
  EXPECT_EQ(VirtualKeyForKeysym(XK_9), 57);
  EXPECT_EQ(VirtualKeyForKeysym(XK_F1), 112);
  EXPECT_EQ(VirtualKeyForKeysym(XK_F16), 127);
  EXPECT_EQ(VirtualKeyForKeysym(XK_KP_0), 96);
  EXPECT_EQ(VirtualKeyForKeysym(XK_KP_9), 105);
  EXPECT_EQ(VirtualKeyForKeysym(XK_KP_Divide), 111);
}

TEST(X11KeyMap, EitherSideOfAModifierGivesTheGenericCode) {
  EXPECT_EQ(VirtualKeyForKeysym(XK_Shift_L), 16);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Shift_R), 16);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Control_L), 17);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Control_R), 17);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Alt_L), 18);
  EXPECT_EQ(VirtualKeyForKeysym(XK_ISO_Level3_Shift), 18);
}

TEST(X11KeyMap, EditingAndPunctuationKeys) {
  EXPECT_EQ(VirtualKeyForKeysym(XK_space), 32);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Return), 13);
  EXPECT_EQ(VirtualKeyForKeysym(XK_KP_Enter), 13);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Left), 37);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Down), 40);
  EXPECT_EQ(VirtualKeyForKeysym(XK_Delete), 46);
  EXPECT_EQ(VirtualKeyForKeysym(XK_semicolon), 186);  // above 127: never played
  EXPECT_EQ(VirtualKeyForKeysym(XK_bracketleft), 219);
  EXPECT_EQ(VirtualKeyForKeysym(XK_exclam), 0);
  EXPECT_EQ(VirtualKeyForKeysym(XF86XK_AudioPlay), 0);
}

TEST(X11KeyMap, KeypadDigitsAreReadAtTheSecondLevel) {
  EXPECT_TRUE(IsKeypadDigitOrPoint(XK_KP_5));
  EXPECT_TRUE(IsKeypadDigitOrPoint(XK_KP_Decimal));
  EXPECT_FALSE(IsKeypadDigitOrPoint(XK_KP_Begin));
  EXPECT_FALSE(IsKeypadDigitOrPoint(XK_5));
}

TEST(X11KeyMap, MiddleAndExtraButtonsAreCodes4To6) {
  EXPECT_EQ(VirtualKeyForButton(1), 0);
  EXPECT_EQ(VirtualKeyForButton(2), 4);
  EXPECT_EQ(VirtualKeyForButton(3), 0);
  EXPECT_EQ(VirtualKeyForButton(4), 0) << "the wheel";
  EXPECT_EQ(VirtualKeyForButton(8), 5);
  EXPECT_EQ(VirtualKeyForButton(9), 6);
}

}  // namespace
}  // namespace melodane::on_linux
