#pragma once

#include "app/notify_icon.h"

namespace melodane::win32 {

// The shell's notification area, through Shell_NotifyIconA.
class ShellNotifyIcon final : public NotificationArea {
 public:
  bool Add(const NotifyIconRecord& record) override;
  bool Delete(const NotifyIconRecord& record) override;
};

}  // namespace melodane::win32
