#include "app/win32/registry_settings_store.h"

#include <windows.h>

#include <vector>

#include "common/win32/scoped_handles.h"

namespace melodane::win32 {

std::string RegistrySettingsStore::KeyPath(std::string_view app, std::string_view section) {
  std::string path = "Software\\VB and VBA Program Settings\\";
  return path.append(app).append("\\").append(section);
}

std::optional<std::string> RegistrySettingsStore::Load(std::string_view app,
                                                       std::string_view section,
                                                       std::string_view key) {
  ScopedKey handle;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                    handle.Receive()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::string name(key);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(handle.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(handle.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The text ends at its first NUL, whether or not the stored data has one.
  return std::string(data.data());
}

bool RegistrySettingsStore::Save(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view text) {
  ScopedKey handle;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, handle.Receive(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::string name(key);
  const std::string data(text);
  return RegSetValueExA(handle.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace melodane::win32
