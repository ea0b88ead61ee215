// Opens an address the way the shell's file-protocol handler does, through rundll32.
#pragma once

#include "help/help_services.h"

namespace melodane::win32 {

class RundllLauncher final : public WebLauncher {
 public:
  // Starts "rundll32.exe url.dll,FileProtocolHandler <address>", found where the system
  // looks for a program (this program's folder first), and does not wait for it.
  void OpenWebAddress(const std::string& address) override;
};

}  // namespace melodane::win32
