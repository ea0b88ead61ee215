// A registry held in memory, as far as the program's own entries go: keys made below a
// root, and their values' bytes by name, case aside. What the program never does to them
// (listing, deleting keys, saves, privileges) fails.
#pragma once

#include <map>
#include <string>

#include "common/ascii_case.h"
#include "registry/registry_api.h"

namespace melodane::testing {

struct MemoryRegistry final : RefusingRegistryApi {
  static std::string Path(RegKey root, const std::string& path) {
    return std::to_string(root) + "\\" + AsciiLowered(path);
  }

  std::int32_t OpenKey(RegKey root, const std::string& path, std::uint32_t, RegKey& key) override {
    if (!keys.count(Path(root, path))) return kErrorFileNotFound;
    return handles[key = next_handle++] = Path(root, path), kErrorSuccess;
  }
  std::int32_t CreateKey(RegKey root, const std::string& path, std::uint32_t access,
                         RegKey& key) override {
    keys[Path(root, path)];
    return OpenKey(root, path, access, key);
  }
  std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t,
                        const std::uint8_t* data, std::uint32_t size) override {
    keys[handles.at(key)][AsciiLowered(name)].assign(data, data + size);
    return kErrorSuccess;
  }
  std::int32_t DeleteValue(RegKey key, const std::string& name) override {
    return keys[handles.at(key)].erase(AsciiLowered(name)) ? kErrorSuccess : kErrorFileNotFound;
  }
  std::int32_t CloseKey(RegKey key) override {
    return handles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
  }

  std::map<std::string, std::map<std::string, std::string>> keys;  // by Path(), then by name
  std::map<RegKey, std::string> handles;
  RegKey next_handle = 1;
};

}  // namespace melodane::testing
