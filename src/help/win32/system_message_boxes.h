// Message boxes of the system, owned by the main window.
#pragma once

#include <windows.h>

#include "help/help_services.h"

namespace melodane::win32 {

class SystemMessageBoxes final : public MessageBoxes {
 public:
  // `owner` is disabled while a box is open.
  explicit SystemMessageBoxes(HWND owner) : owner_(owner) {}
  int MsgBox(std::string_view text, int flags, std::string_view title) override;

 private:
  HWND owner_;
};

}  // namespace melodane::win32
