#include "app/win32/shell_notify_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace melodane::win32 {

namespace {

// The program's record is the head of the system's, field for field.
static_assert(sizeof(void*) != 4 || sizeof(NotifyIconRecord) == 56);
static_assert(sizeof(void*) != 8 || sizeof(NotifyIconRecord) == 72);
static_assert(offsetof(NotifyIconRecord, hWnd) == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(offsetof(NotifyIconRecord, uID) == offsetof(NOTIFYICONDATAA, uID));
static_assert(offsetof(NotifyIconRecord, uFlags) == offsetof(NOTIFYICONDATAA, uFlags));
static_assert(offsetof(NotifyIconRecord, uCallbackMessage) ==
              offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(offsetof(NotifyIconRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(NotifyIconRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));

bool Call(DWORD operation, NotifyIconRecord& record) {
  // The system reads no further than cbSize.
  return Shell_NotifyIconA(operation, reinterpret_cast<NOTIFYICONDATAA*>(&record)) != FALSE;
}

}  // namespace

IconMouse IconMouseAt(int x) {
  if (x == WM_LBUTTONUP) return IconMouse::kLeftButtonUp;
  if (x == WM_RBUTTONUP) return IconMouse::kRightButtonUp;
  return IconMouse::kOther;
}

bool ShellNotifyIcon::Add(std::string_view tip) {
  record_.hWnd = window_;
  // The id is 32 bits wide; a handle's significant bits fit.
  record_.uID = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(icon_));
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = kNotifyCallbackMessage;
  record_.hIcon = icon_;
  // The tip ends at one zero byte; blanks fill the rest of the field.
  const std::size_t length = std::min(tip.size(), sizeof record_.szTip - 1);
  std::memset(record_.szTip, ' ', sizeof record_.szTip);
  std::memcpy(record_.szTip, tip.data(), length);
  record_.szTip[length] = '\0';
  record_.cbSize = sizeof(NotifyIconRecord);
  return Call(NIM_ADD, record_);
}

bool ShellNotifyIcon::Delete() { return Call(NIM_DELETE, record_); }

}  // namespace melodane::win32
