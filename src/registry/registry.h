// A general-purpose class over the registry: it reads, writes and deletes single values,
// deletes whole keys, lists a key's subkeys and values as marker-separated text, counts
// a key's values, and saves a key to a file or restores it from one. It keeps no state:
// every call opens what it needs and closes it before it returns.
#pragma once

#include <cstdint>
#include <string>

#include "registry/registry_api.h"

namespace melodane {

class Registry {
 public:
  explicit Registry(RegistryApi& api) : api_(api) {}

  bool ExportRegKey(std::int32_t KeyRoot, const std::string& KeyPath, const std::string& FileName);
  bool ImportRegKey(std::int32_t KeyRoot, const std::string& KeyPath, const std::string& FileName);
  std::string ReadRegKey(std::int32_t KeyRoot, const std::string& KeyPath,
                         const std::string& SubKey, const std::string& NoKeyFoundValue = "");
  bool WriteRegKey(std::int32_t KeyType, std::int32_t KeyRoot, const std::string& KeyPath,
                   const std::string& SubKey, const std::string& SubKeyValue);
  std::string EnumerateRegKeys(std::int32_t KeyRoot, const std::string& KeyPath);
  std::string EnumerateRegKeyValues(std::int32_t KeyRoot, const std::string& KeyPath);
  void DeleteRegKey(std::int32_t KeyRoot, const std::string& KeyPath);
  // An empty `SubKey` names the value called like the key's path, and receives it.
  bool DeleteRegKeyValue(std::int32_t KeyRoot, const std::string& KeyPath, std::string& SubKey);
  bool DeleteRegKeyValue(std::int32_t KeyRoot, const std::string& KeyPath);
  std::int16_t GetRegKeyItems(std::int32_t KeyRoot, const std::string& KeyPath);
  std::string EnumerateRegKeyItemNames(std::int32_t KeyRoot, const std::string& KeyPath);

 private:
  std::string QueryRegKeyValue(RegKey KeyHandle, const std::string& SubKey);
  bool EnablePrivilege(const std::string& PrivilegeName);

  RegistryApi& api_;
};

}  // namespace melodane
