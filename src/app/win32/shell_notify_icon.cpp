#include "app/win32/shell_notify_icon.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

namespace melodane::win32 {

namespace {

// The program's record is the head of the system's, field for field.
static_assert(offsetof(NotifyIconRecord, hWnd) == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(offsetof(NotifyIconRecord, uID) == offsetof(NOTIFYICONDATAA, uID));
static_assert(offsetof(NotifyIconRecord, uFlags) == offsetof(NOTIFYICONDATAA, uFlags));
static_assert(offsetof(NotifyIconRecord, uCallbackMessage) ==
              offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(offsetof(NotifyIconRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(NotifyIconRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));

bool Call(DWORD operation, const NotifyIconRecord& record) {
  // The system reads no further than cbSize.
  auto* data = reinterpret_cast<NOTIFYICONDATAA*>(const_cast<NotifyIconRecord*>(&record));
  return Shell_NotifyIconA(operation, data) != FALSE;
}

}  // namespace

bool ShellNotifyIcon::Add(const NotifyIconRecord& record) { return Call(NIM_ADD, record); }

bool ShellNotifyIcon::Delete(const NotifyIconRecord& record) { return Call(NIM_DELETE, record); }

}  // namespace melodane::win32
