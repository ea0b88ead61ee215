// The start-at-logon entry of a Linux desktop in the shape of the Windows Run key: the
// current user's "Software\Microsoft\Windows\CurrentVersion\Run" holds one value,
// "Melodane", and that value is the freedesktop autostart entry. Writing it (a quoted
// program path) writes the entry, atomically; deleting it removes the entry. Nothing
// else is there: other keys and values are refused.
#pragma once

#include <set>
#include <string>

#include "registry/registry_api.h"

namespace melodane::on_linux {

class AutostartRunKey final : public RefusingRegistryApi {
 public:
  explicit AutostartRunKey(std::string entry_file) : entry_file_(std::move(entry_file)) {}
  // $XDG_CONFIG_HOME/autostart/melodane.desktop, or under ~/.config.
  static std::string DefaultEntryFile();
  // The entry's Exec value for a program's path, quoted as the desktop-entry rules ask.
  static std::string ExecValue(const std::string& program);

  std::int32_t OpenKey(RegKey root, const std::string& path, std::uint32_t access,
                       RegKey& key) override;
  std::int32_t CreateKey(RegKey root, const std::string& path, std::uint32_t access,
                         RegKey& key) override {
    return OpenKey(root, path, access, key);
  }
  std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override;
  std::int32_t DeleteValue(RegKey key, const std::string& name) override;
  std::int32_t CloseKey(RegKey key) override {
    return open_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
  }

 private:
  std::string entry_file_;
  std::set<RegKey> open_;
  RegKey next_ = 1;
};

}  // namespace melodane::on_linux
