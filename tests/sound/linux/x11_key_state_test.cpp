// The X11 key state on a real display: keys pressed through the XTest extension, as
// another program's typing would arrive.
#include <gtest/gtest.h>
// X11's headers define None and Bool; gtest comes first.
#include "sound/linux/x11_key_state.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>

namespace melodane::on_linux {
namespace {

struct X11KeyStateTest : ::testing::Test {
  void SetUp() override {
    if (!display) GTEST_SKIP() << "needs an X display (the test rig gives one)";
    ASSERT_TRUE(state.Connected());
  }
  void TearDown() override {
    if (display) XCloseDisplay(display);
  }
  // Sent and processed by the server before this returns; the next tick sees it. A
  // keysym names a key, a number a mouse button.
  void Press(KeySym key, bool down) {
    if (key < 10) {
      XTestFakeButtonEvent(display, static_cast<unsigned>(key), down, CurrentTime);
    } else {
      XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down, CurrentTime);
    }
    XSync(display, False);
  }
  // What has arrived is read first, as the program's event loop does when the connection
  // is readable.
  std::uint16_t TickAndQuery(std::int32_t code) {
    pollfd connection{state.ConnectionFd(), POLLIN, 0};
    if (poll(&connection, 1, 20) > 0) state.ReadArrivedEvents();
    state.BeginTick();
    return static_cast<std::uint16_t>(state.Query(code));
  }

  Display* display = XOpenDisplay(nullptr);
  X11KeyState state;
};

TEST_F(X11KeyStateTest, AKeyHeldIsDownAndPressedOnceSinceTheLastQueryATapIsPressedOnce) {
  Press(XK_a, true);
  EXPECT_EQ(TickAndQuery(65), 0x8001);
  EXPECT_EQ(state.Query(65), static_cast<std::int16_t>(0x8000));
  EXPECT_EQ(TickAndQuery(65), 0x8000);
  Press(XK_a, false);
  EXPECT_EQ(TickAndQuery(65), 0);
  Press(XK_z, true);
  Press(XK_z, false);
  EXPECT_EQ(TickAndQuery(90), 0x0001);
  EXPECT_EQ(TickAndQuery(90), 0);
}

TEST_F(X11KeyStateTest, KeysAndButtonsTakeTheirWindowsCodes) {
  // Either Shift is the generic code only; a keypad key is its digit; the middle button 4.
  const std::pair<KeySym, std::int32_t> keys[] = {
      {XK_Shift_L, 16}, {XK_Shift_R, 16}, {XK_KP_1, 97}, {XK_F1, 112}, {2, 4}};
  for (auto [key, code] : keys) {
    Press(key, true);
    EXPECT_EQ(TickAndQuery(code), 0x8001) << key;
    for (std::int32_t other : {160, 161, 49, 0, -1, 300}) EXPECT_EQ(state.Query(other), 0) << key;
    Press(key, false);
    EXPECT_EQ(TickAndQuery(code), 0) << key;
  }
}

}  // namespace
}  // namespace melodane::on_linux
