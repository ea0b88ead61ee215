#include "app/settings.h"

namespace melodane {

std::string ReadSetting(SettingsStore& store, std::string_view app, std::string_view section,
                        std::string_view key, std::string_view default_text) {
  if (auto stored = store.Load(app, section, key)) return std::move(*stored);
  return std::string(default_text);
}

bool WriteSetting(SettingsStore& store, std::string_view app, std::string_view section,
                  std::string_view key, std::string_view text) {
  return store.Save(app, section, key, text);
}

}  // namespace melodane
