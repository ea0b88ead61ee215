// The shell's notification area, through Shell_NotifyIconA, with the one record the
// window keeps for its whole life.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/notify_icon.h"

namespace melodane::win32 {

// The head of the system's notification-icon record, with a 32-byte tip. On a 32-bit
// system it is the 56-byte record; on a 64-bit one the handles are 64 bits wide and the
// same fields take 72 bytes.
struct NotifyIconRecord {
  std::uint32_t cbSize = 0;
  HWND hWnd = nullptr;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  HICON hIcon = nullptr;
  char szTip[32] = {};
};

// The icon reports its mouse events as the window's own mouse move, with the mouse
// message's code as the pointer's x.
inline constexpr UINT kNotifyCallbackMessage = WM_MOUSEMOVE;
// What such an x means. A genuine pointer move at those columns means the same.
IconMouse IconMouseAt(int x);

class ShellNotifyIcon final : public NotificationArea {
 public:
  // The icon of `window`, with `icon` as its picture and its id.
  ShellNotifyIcon(HWND window, HICON icon) : window_(window), icon_(icon) {}

  // Fills the record field by field in the system's order, then adds the icon.
  bool Add(std::string_view tip) override;
  // Deletes with the record of the last add, all zero (and refused) when there was none.
  bool Delete() override;
  const NotifyIconRecord& Record() const { return record_; }

 private:
  HWND window_;
  HICON icon_;
  NotifyIconRecord record_{};
};

}  // namespace melodane::win32
