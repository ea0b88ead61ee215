// The notification-area icon: the record the window keeps for its whole life, and the
// service that adds and deletes the icon.
#pragma once

#include <cstdint>

namespace melodane {

// The system's notification-icon record, its first fields with a 32-byte tip. On a
// 32-bit system it is the 56-byte record; on a 64-bit one the handles are 64 bits wide
// and the same fields take 72 bytes.
struct NotifyIconRecord {
  std::uint32_t cbSize = 0;
  std::uintptr_t hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uintptr_t hIcon = 0;
  char szTip[32] = {};
};
static_assert(sizeof(void*) != 4 || sizeof(NotifyIconRecord) == 56);
static_assert(sizeof(void*) != 8 || sizeof(NotifyIconRecord) == 72);

// The icon reports its mouse events as this message, the window's own mouse move, with
// the mouse message's code as the pointer's x.
inline constexpr std::uint32_t kNotifyCallbackMessage = 512;
inline constexpr int kLeftButtonUp = 514;
inline constexpr int kRightButtonUp = 517;

// Fills `record` for an add, field by field in the system's order: window, id (the
// icon's handle), flags message + icon + tip, callback message, icon, the tip "Melodane"
// ended by one zero byte and padded with blanks, and last the record's size.
void FillNotifyIconRecord(NotifyIconRecord& record, std::uintptr_t window, std::uintptr_t icon);

class NotificationArea {
 public:
  virtual ~NotificationArea() = default;
  // False when the system refuses, for instance because the icon exists already.
  virtual bool Add(const NotifyIconRecord& record) = 0;
  virtual bool Delete(const NotifyIconRecord& record) = 0;
};

}  // namespace melodane
