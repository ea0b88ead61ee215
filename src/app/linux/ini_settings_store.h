#pragma once

#include <string>

#include "app/settings.h"

namespace melodane::on_linux {

// Settings in one INI file per application name, <folder>/<app>.ini, each section a
// group. A save changes or adds one line and keeps every other byte of the file (comments,
// lines it cannot parse); it is written atomically (a temporary file renamed over the old
// one). Names match whatever their ASCII case; the first of a repeated key counts. A file
// that is no settings text (a NUL byte, over a mebibyte) is left as it is: no key reads
// from it, and saves fail.
class IniSettingsStore final : public SettingsStore {
 public:
  explicit IniSettingsStore(std::string folder) : folder_(std::move(folder)) {}
  // $XDG_CONFIG_HOME/melodane, or ~/.config/melodane; made private to the user when missing.
  static std::string DefaultFolder();

  std::optional<std::string> Load(std::string_view app, std::string_view section,
                                  std::string_view key) override;
  bool Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view text) override;

 private:
  std::string PathOf(std::string_view app) const;
  std::string folder_;
};

}  // namespace melodane::on_linux
