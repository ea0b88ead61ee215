// The X11 key state on a real display: keys pressed through the XTest extension, as
// another program's typing would arrive.
#include <gtest/gtest.h>
// X11's headers define None and Bool; gtest comes first.
#include "sound/linux/x11_key_state.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <cstdlib>

namespace melodane::on_linux {
namespace {

class X11KeyStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (the test rig gives one)";
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    ASSERT_TRUE(XTestQueryExtension(display_, &event, &error, &major, &minor));
    state_.emplace();
    ASSERT_TRUE(state_->Connected());
  }
  void TearDown() override {
    if (display_) {
      for (KeySym held : held_) Key(held, false);
      XCloseDisplay(display_);
    }
  }

  void Key(KeySym keysym, bool down) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), down, CurrentTime);
    XSync(display_, False);
    if (down) held_.push_back(keysym);
  }
  void Button(unsigned button, bool down) {
    XTestFakeButtonEvent(display_, button, down, CurrentTime);
    XSync(display_, False);
  }
  // A tick, a moment after the events: they reach the state's own connection then.
  void Tick() {
    usleep(50000);
    state_->BeginTick();
  }

  Display* display_ = nullptr;
  std::optional<X11KeyState> state_;
  std::vector<KeySym> held_;
};

TEST_F(X11KeyStateTest, AHeldKeyIsDownAndPressedOnceSinceTheLastQuery) {
  Key(XK_a, true);
  Tick();
  EXPECT_EQ(static_cast<std::uint16_t>(state_->Query(65)), 0x8001);
  EXPECT_EQ(static_cast<std::uint16_t>(state_->Query(65)), 0x8000);
  Tick();
  EXPECT_EQ(static_cast<std::uint16_t>(state_->Query(65)), 0x8000);
  Key(XK_a, false);
  Tick();
  EXPECT_EQ(state_->Query(65), 0);
  EXPECT_EQ(state_->Query(66), 0);
}

TEST_F(X11KeyStateTest, ATapBetweenTwoTicksCountsOnce) {
  Key(XK_z, true);
  Key(XK_z, false);
  Tick();
  EXPECT_EQ(state_->Query(90), 0x0001);
  EXPECT_EQ(state_->Query(90), 0);
  Tick();
  EXPECT_EQ(state_->Query(90), 0);
}

TEST_F(X11KeyStateTest, EitherShiftIsTheGenericCodeOnly) {
  for (KeySym shift : {XK_Shift_L, XK_Shift_R}) {
    Key(shift, true);
    Tick();
    EXPECT_NE(state_->Query(16), 0) << shift;
    EXPECT_EQ(state_->Query(160), 0);
    EXPECT_EQ(state_->Query(161), 0);
    Key(shift, false);
    Tick();
    state_->Query(16);
  }
}

TEST_F(X11KeyStateTest, KeypadKeysAreTheirDigitsAndTheMiddleButtonIsCode4) {
  Key(XK_KP_1, true);
  Button(2, true);
  Tick();
  EXPECT_NE(state_->Query(97), 0);
  EXPECT_NE(state_->Query(4), 0);
  Key(XK_KP_1, false);
  Button(2, false);
  Tick();
  state_->Query(97);
  state_->Query(4);
  Tick();
  EXPECT_EQ(state_->Query(97), 0);
  EXPECT_EQ(state_->Query(4), 0);
}

TEST_F(X11KeyStateTest, CodesOutsideTheKeyboardAreUp) {
  Tick();
  EXPECT_EQ(state_->Query(-1), 0);
  EXPECT_EQ(state_->Query(0), 0);
  EXPECT_EQ(state_->Query(300), 0);
}

}  // namespace
}  // namespace melodane::on_linux
