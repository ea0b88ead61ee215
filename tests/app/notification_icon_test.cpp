#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/notify_icon.h"
#include "fakes/form_rig.h"

namespace melodane {
namespace {

using ::testing::ElementsAre;
using testing::FormRig;

TEST(NotifyIconRecord, HoldsTheFieldsInTheSystemsOrder) {
  NotifyIconRecord record;
  FillNotifyIconRecord(record, 0x1234, 0x5678);
  EXPECT_EQ(record.cbSize, sizeof(NotifyIconRecord));
  EXPECT_EQ(record.hWnd, 0x1234u);
  EXPECT_EQ(record.uID, 0x5678u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 512u);
  EXPECT_EQ(record.hIcon, 0x5678u);
  const char tip[32] = {'M', 'e', 'l', 'o', 'd', 'a', 'n', 'e', '\0', ' ', ' ',
                        ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',  ' ', ' ',
                        ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',  ' '};
  EXPECT_EQ(std::memcmp(record.szTip, tip, sizeof tip), 0);
  // The tip sits right after the icon handle, as in the system's record.
  EXPECT_EQ(offsetof(NotifyIconRecord, szTip), offsetof(NotifyIconRecord, hIcon) + sizeof(void*));
  EXPECT_EQ(sizeof(NotifyIconRecord), sizeof(void*) == 8 ? 72u : 56u);
}

class TrayTest : public ::testing::Test, protected FormRig {
 protected:
  // The user minimizes the window: the system changes its state and reports a resize.
  void Minimize() {
    view.SetWindowState(WindowState::kMinimized);
    Form().Form_Resize();
  }
};

TEST_F(TrayTest, MinimizingHidesTheWindowThenAddsTheIcon) {
  Form().Form_Load();
  view.events.clear();
  Minimize();
  EXPECT_FALSE(view.visible);
  EXPECT_THAT(view.events, ElementsAre("state minimized", "hide"));
  EXPECT_THAT(tray.calls, ElementsAre("add"));
  EXPECT_TRUE(tray.shown);
  EXPECT_EQ(tray.records.back().hWnd, 0x1234u);
  EXPECT_EQ(tray.records.back().hIcon, 0x5678u);
}

TEST_F(TrayTest, OtherResizesDoNothing) {
  Form().Form_Load();
  view.SetWindowState(WindowState::kMaximized);
  Form().Form_Resize();
  view.SetWindowState(WindowState::kNormal);
  Form().Form_Resize();
  EXPECT_TRUE(tray.calls.empty());
  EXPECT_TRUE(view.visible);
}

TEST_F(TrayTest, ButtonReleasesOnTheIconRestoreTheWindowNothingElseDoes) {
  Form().Form_Load();
  Minimize();
  for (int code : {512, 513, 515, 516, 518, 519, 520, 521}) {
    Form().Form_MouseMove(code);
    EXPECT_FALSE(view.visible) << code;
  }
  view.events.clear();
  Form().Form_MouseMove(514);
  EXPECT_THAT(view.events, ElementsAre("state normal", "show"));
  Minimize();
  view.events.clear();
  Form().Form_MouseMove(517);
  EXPECT_THAT(view.events, ElementsAre("state normal", "show"));
}

TEST_F(TrayTest, LaterMinimizesKeepOneIconAndStillHide) {
  Form().Form_Load();
  Minimize();
  Form().Form_MouseMove(514);
  Minimize();
  EXPECT_THAT(tray.calls, ElementsAre("add", "add"));  // the second is refused: it exists
  EXPECT_TRUE(tray.shown);
  EXPECT_FALSE(view.visible);
}

TEST_F(TrayTest, WhenTheFirstAddIsRefusedTheWindowWaitsMinimizedInstead) {
  tray.refuse_all = true;
  Form().Form_Load();
  view.events.clear();
  Minimize();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.state, WindowState::kMinimized);
  EXPECT_THAT(view.events, ElementsAre("state minimized", "hide", "state minimized", "show"));
  EXPECT_EQ(tray.calls.size(), 1u);
}

TEST_F(TrayTest, StartingWithTheTrayOptionEndsHiddenWithTheIcon) {
  settings.Set("Tray", "True");
  Form().Form_Load();
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.state, WindowState::kNormal);
  EXPECT_THAT(tray.calls, ElementsAre("add"));
  EXPECT_EQ(std::count(view.events.begin(), view.events.end(), "show"), 0);
  Form().Form_MouseMove(514);
  EXPECT_TRUE(view.visible);
}

TEST_F(TrayTest, StartingWithTheTrayOptionAndNoNotificationAreaShowsTheWindowMinimized) {
  settings.Set("Tray", "True");
  tray.refuse_all = true;
  Form().Form_Load();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.state, WindowState::kMinimized);
}

TEST_F(TrayTest, ClosingDeletesTheIconWithTheRecordOfTheAdd) {
  Form().Form_Load();
  Minimize();
  Form().Form_MouseMove(517);
  Form().Form_Unload();
  EXPECT_THAT(tray.calls, ElementsAre("add", "delete"));
  EXPECT_EQ(std::memcmp(&tray.records[0], &tray.records[1], sizeof(NotifyIconRecord)), 0);
  EXPECT_FALSE(tray.shown);
}

TEST_F(TrayTest, ClosingWithoutAnIconSendsTheEmptyRecord) {
  Form().Form_Load();
  Form().Form_Unload();
  ASSERT_THAT(tray.calls, ElementsAre("delete"));
  EXPECT_EQ(tray.records[0].cbSize, 0u);
  EXPECT_EQ(tray.records[0].hWnd, 0u);
}

TEST_F(TrayTest, TheTimerPlaysWhileHiddenAndNothingRunsAfterClosing) {
  Form().Form_Load();
  Minimize();
  out.calls.clear();
  keys.down[65] = 1;
  Form().Timer1_Timer();
  EXPECT_EQ(out.Calls("msg").size(), 1u);
  Form().Form_Unload();
  out.calls.clear();
  view.events.clear();
  // After shut-down no handler does anything, whatever the window still reports.
  Form().Timer1_Timer();
  view.devices.SetListIndex(1);
  Form().ComDevies_Click();
  Form().ComSounds_Click();
  Form().Form_MouseMove(514);
  view.state = WindowState::kMinimized;
  Form().Form_Resize();
  EXPECT_TRUE(out.calls.empty());
  EXPECT_TRUE(view.events.empty());
  EXPECT_EQ(tray.calls.back(), "delete");
}

}  // namespace
}  // namespace melodane
