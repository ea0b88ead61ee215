// Per-user settings: text values addressed by application name, section and key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace melodane {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or nothing when the application, section or key is missing.
  virtual std::optional<std::string> Load(std::string_view app, std::string_view section,
                                          std::string_view key) = 0;
  // Stores the text, creating application and section as needed. False when the store
  // refused; the earlier value then stays.
  virtual bool Save(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view text) = 0;
};

// The stored text, or `default_text` when there is none. A missing entry is no error.
std::string ReadSetting(SettingsStore& store, std::string_view app, std::string_view section,
                        std::string_view key, std::string_view default_text);
bool WriteSetting(SettingsStore& store, std::string_view app, std::string_view section,
                  std::string_view key, std::string_view text);

// Where the main window keeps its choices.
inline constexpr std::string_view kSettingsApp = "BWSMD";
inline constexpr std::string_view kSettingsSection = "Value";

}  // namespace melodane
