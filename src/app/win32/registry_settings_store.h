#pragma once

#include <string>

#include "app/settings.h"

namespace melodane::win32 {

// Settings in the current user's registry, one text value per key under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>, where the
// earlier releases of the program kept them.
class RegistrySettingsStore final : public SettingsStore {
 public:
  std::optional<std::string> Load(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  bool Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view text) override;

 private:
  static std::string KeyPath(std::string_view app, std::string_view section);
};

}  // namespace melodane::win32
