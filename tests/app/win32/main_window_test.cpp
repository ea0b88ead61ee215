// The Win32 window in this process, with the window's behaviour attached and the
// program's resources linked in.
#include "app/win32/main_window.h"

#include <shellapi.h>

#include <cstring>

#include "app/win32/shell_notify_icon.h"
#include "app/window_contract.h"

namespace melodane::win32 {
namespace {

struct Win32Probe {
  explicit Win32Probe(testing::FormRig& rig)
      : window(MainWindow::Create(GetModuleHandleW(nullptr))),
        tray(window->hwnd(), window->Icon()) {
    form.emplace(*window, rig.Services(tray));
    window->Attach(*form);
    form->Form_Load();
  }
  int Dpi() const { return static_cast<int>(GetDpiForWindow(window->hwnd())); }
  std::pair<int, int> ClientSize() const {
    RECT client{};
    GetClientRect(window->hwnd(), &client);
    return {client.right, client.bottom};
  }
  std::optional<testing::Box> Box(ControlId id) const {
    RECT box{};
    if (!GetWindowRect(window->Control(id), &box)) return std::nullopt;
    MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&box), 2);
    return testing::Box{box.left, box.top, box.right - box.left, box.bottom - box.top};
  }
  bool Visible(ControlId id) const { return IsWindowVisible(window->Control(id)); }
  bool TakesTypedText(ControlId id) const {
    return (GetWindowLongW(window->Control(id), GWL_STYLE) & 3) != CBS_DROPDOWNLIST;
  }
  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(window->hwnd(), message, wparam, lparam);
  }

  std::unique_ptr<MainWindow> window;
  ShellNotifyIcon tray;
  std::optional<frmPubMain> form;
};

TEST(MainWindow, MinimizingAddsTheIconWithItsRecordAndTheSessionsEndRemovesIt) {
  testing::FormRig rig;
  Win32Probe probe(rig);
  probe.Send(WM_SYSCOMMAND, SC_MINIMIZE);
  NotifyIconRecord record = probe.tray.Record();
  EXPECT_EQ(record.cbSize, sizeof(void*) == 8 ? 72u : 56u);
  EXPECT_EQ(record.hWnd, probe.window->hwnd());
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(record.hIcon) & 0xFFFFFFFF, record.uID);
  EXPECT_EQ(record.hIcon, probe.window->Icon());
  EXPECT_EQ(std::tuple(record.uFlags, record.uCallbackMessage), std::tuple(7u, 512u));
  EXPECT_EQ(std::memcmp(record.szTip, "Melodane\0                       ", 32), 0);
  // The end of the session closes the window as its close box does: the icon goes.
  EXPECT_TRUE(probe.Send(WM_QUERYENDSESSION));
  probe.Send(WM_ENDSESSION, TRUE);
  EXPECT_EQ(rig.settings.writes.size(), 6u);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<NOTIFYICONDATAA*>(&record)));
}

}  // namespace
}  // namespace melodane::win32

namespace melodane::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowContract, win32::Win32Probe);
}  // namespace melodane::testing
