#include "help/win32/rundll_launcher.h"

#include <windows.h>

#include "common/win32/scoped_handles.h"

namespace melodane::win32 {

void RundllLauncher::OpenWebAddress(const std::string& address) {
  std::string command = "rundll32.exe url.dll,FileProtocolHandler " + address;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return;
  }
  const ScopedHandle process(started.hProcess), thread(started.hThread);
}

}  // namespace melodane::win32
