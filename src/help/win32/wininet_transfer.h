// The update check's HTTPS fetch, through WinINet with the system's proxy settings.
#pragma once

#include "help/help_services.h"

namespace melodane::win32 {

class WininetTransfer final : public VersionTransfer {
 public:
  // The fetch runs on a thread of its own and is given up at `limit`, whatever WinINet's
  // own time-outs do (Wine's ignore them). Paint messages are handled while it waits.
  std::string Fetch(const std::string& address, std::chrono::seconds limit) override;
  // WinINet takes the proxy of the system's Internet settings.
  std::string_view ProxyAdvice() const override {
    return "Please note that if you get the Internet connection through a proxy server, you "
           "must set the proxy in Microsoft Web Browser.";
  }
};

}  // namespace melodane::win32
