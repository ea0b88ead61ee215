#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/settings.h"

namespace melodane::testing {

// Settings kept in memory, with the order of the writes.
class MemorySettings final : public SettingsStore {
 public:
  std::optional<std::string> Load(std::string_view app, std::string_view section,
                                  std::string_view key) override {
    const auto found = values.find(Key(app, section, key));
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
  bool Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view text) override {
    writes.push_back(std::string(key) + "=" + std::string(text));
    if (refuse_writes) return false;
    values[Key(app, section, key)] = std::string(text);
    return true;
  }

  // The form's own section.
  void Set(std::string_view key, std::string_view text) {
    values[Key(kSettingsApp, kSettingsSection, key)] = std::string(text);
  }
  std::optional<std::string> Get(std::string_view key) {
    return Load(kSettingsApp, kSettingsSection, key);
  }

  using Address = std::tuple<std::string, std::string, std::string>;
  static Address Key(std::string_view app, std::string_view section, std::string_view key) {
    return {std::string(app), std::string(section), std::string(key)};
  }

  std::map<Address, std::string> values;
  std::vector<std::string> writes;
  bool refuse_writes = false;
};

}  // namespace melodane::testing
