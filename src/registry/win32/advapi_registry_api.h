// The registry functions as advapi32 offers them: each method is the matching ANSI call.
#pragma once

#include <cstdint>
#include <string>

#include "registry/registry_api.h"

namespace melodane::win32 {

class AdvapiRegistryApi final : public RegistryApi {
 public:
  std::int32_t OpenKey(RegKey root, const std::string& path, std::uint32_t access,
                       RegKey& key) override;
  std::int32_t CreateKey(RegKey root, const std::string& path, std::uint32_t access,
                         RegKey& key) override;
  std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override;
  std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override;
  std::int32_t EnumKey(RegKey key, std::uint32_t index, char* name,
                       std::uint32_t* name_size) override;
  std::int32_t EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                         std::uint32_t* type) override;
  std::int32_t DeleteKey(RegKey root, const std::string& path) override;
  std::int32_t DeleteValue(RegKey key, const std::string& name) override;
  std::int32_t CloseKey(RegKey key) override;
  std::int32_t SaveKey(RegKey key, const std::string& file) override;
  std::int32_t RestoreKey(RegKey key, const std::string& file, std::uint32_t flags) override;
  std::uint32_t ExpandEnvironment(const std::string& text, char* out, std::uint32_t size) override;

  bool OpenProcessToken(std::uint32_t access, std::intptr_t& token) override;
  std::uint32_t LastError() override;
  void SetLastErrorCode(std::uint32_t code) override;
  bool LookupPrivilege(const std::string& name, std::uint32_t& luid_low,
                       std::int32_t& luid_high) override;
  bool AdjustPrivileges(std::intptr_t token, const TokenPrivileges& state, std::uint32_t length,
                        TokenPrivileges& previous, std::uint32_t& returned) override;
  void CloseToken(std::intptr_t token) override;

  FileSeen LookupFile(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool MoveFileOver(const std::string& from, const std::string& to) override;
  char DecimalSeparator() override;
};

}  // namespace melodane::win32
