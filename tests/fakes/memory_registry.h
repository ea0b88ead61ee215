// A registry held in memory, as far as the program's own entries go: keys made and opened
// below a root, values named without regard to case and listed in the order they were
// made. What the program never does to them (listing subkeys, deleting keys, saves,
// privileges) fails.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "common/ascii_case.h"
#include "registry/registry_api.h"

namespace melodane::testing {

struct MemoryRegistry final : RefusingRegistryApi {
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };

  static std::string Path(RegKey root, const std::string& path) {
    return std::to_string(root) + "\\" + AsciiLowered(path);
  }
  std::vector<Value>& Values(RegKey key) { return keys[handles.at(key)]; }
  static auto Named(const std::string& name) {
    return
        [lowered = AsciiLowered(name)](const Value& v) { return AsciiLowered(v.name) == lowered; };
  }

  std::int32_t OpenKey(RegKey root, const std::string& path, std::uint32_t, RegKey& key) override {
    if (!path.empty() && !keys.count(Path(root, path))) return kErrorFileNotFound;
    return handles[key = next_handle++] = Path(root, path), kErrorSuccess;
  }
  std::int32_t CreateKey(RegKey root, const std::string& path, std::uint32_t access,
                         RegKey& key) override {
    keys[Path(root, path)];
    return OpenKey(root, path, access, key);
  }
  std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override {
    auto& values = Values(key);
    const auto found = std::ranges::find_if(values, Named(name));
    if (found == values.end())
      return values.push_back({name, type, {data, data + size}}), kErrorSuccess;
    return found->type = type, found->data.assign(data, data + size), kErrorSuccess;
  }
  std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override {
    const auto& values = Values(key);
    const auto found = std::ranges::find_if(values, Named(name));
    if (found == values.end()) return kErrorFileNotFound;
    if (type) *type = found->type;
    const auto needed = static_cast<std::uint32_t>(found->data.size());
    const bool fits = !data || *size >= needed;
    if (data && fits) std::ranges::copy(found->data, data);
    *size = needed;
    return fits ? kErrorSuccess : kErrorMoreData;
  }
  std::int32_t EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* size,
                         std::uint32_t* type) override {
    const auto& values = Values(key);
    if (index >= values.size()) return kErrorNoMoreItems;
    if (type) *type = values[index].type;
    if (values[index].name.size() + 1 > *size) return kErrorMoreData;
    std::memcpy(name, values[index].name.c_str(), values[index].name.size() + 1);
    *size = static_cast<std::uint32_t>(values[index].name.size());
    return kErrorSuccess;
  }
  std::int32_t DeleteValue(RegKey key, const std::string& name) override {
    return std::erase_if(Values(key), Named(name)) ? kErrorSuccess : kErrorFileNotFound;
  }
  std::int32_t CloseKey(RegKey key) override {
    return handles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
  }

  std::map<std::string, std::vector<Value>> keys;  // by root and lower-cased path
  std::map<RegKey, std::string> handles;
  RegKey next_handle = 1;
};

}  // namespace melodane::testing
