#include "registry/win32/advapi_registry_api.h"

#include <windows.h>

#include <cstddef>

namespace melodane::win32 {
namespace {

// A RegKey holds the handle's bits; a predefined root arrives sign-extended, as windows.h
// spells HKEY_CURRENT_USER and the others.
static_assert(sizeof(RegKey) == sizeof(HKEY));
HKEY Hkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

static_assert(sizeof(TOKEN_PRIVILEGES) == sizeof(TokenPrivileges));
static_assert(offsetof(TOKEN_PRIVILEGES, PrivilegeCount) == offsetof(TokenPrivileges, count));
static_assert(offsetof(TOKEN_PRIVILEGES, Privileges[0].Luid.LowPart) ==
              offsetof(TokenPrivileges, luid_low));
static_assert(offsetof(TOKEN_PRIVILEGES, Privileges[0].Luid.HighPart) ==
              offsetof(TokenPrivileges, luid_high));
static_assert(offsetof(TOKEN_PRIVILEGES, Privileges[0].Attributes) ==
              offsetof(TokenPrivileges, attributes));

// DWORD is unsigned long here, so the callers' 32-bit counts go through a DWORD and back.
class Dword {
 public:
  explicit Dword(std::uint32_t* value) : value_(value), dword_(value ? *value : 0) {}
  Dword(const Dword&) = delete;
  Dword& operator=(const Dword&) = delete;
  ~Dword() {
    if (value_) *value_ = dword_;
  }
  DWORD* get() { return value_ ? &dword_ : nullptr; }

 private:
  std::uint32_t* value_;
  DWORD dword_;
};

}  // namespace

std::int32_t AdvapiRegistryApi::OpenKey(RegKey root, const std::string& path, std::uint32_t access,
                                        RegKey& key) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExA(Hkey(root), path.c_str(), 0, access, &opened);
  key = reinterpret_cast<RegKey>(opened);
  return result;
}

std::int32_t AdvapiRegistryApi::CreateKey(RegKey root, const std::string& path,
                                          std::uint32_t access, RegKey& key) {
  char no_class[] = "";
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HKEY created = nullptr;
  DWORD disposition = 0;
  const LONG result =
      RegCreateKeyExA(Hkey(root), path.c_str(), 0, no_class, REG_OPTION_NON_VOLATILE, access,
                      &security, &created, &disposition);
  key = reinterpret_cast<RegKey>(created);
  return result;
}

std::int32_t AdvapiRegistryApi::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                         const std::uint8_t* data, std::uint32_t size) {
  return RegSetValueExA(Hkey(key), name.c_str(), 0, type, data, size);
}

std::int32_t AdvapiRegistryApi::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                           std::uint8_t* data, std::uint32_t* size) {
  Dword type_out(type), size_inout(size);
  return RegQueryValueExA(Hkey(key), name.c_str(), nullptr, type_out.get(), data, size_inout.get());
}

std::int32_t AdvapiRegistryApi::EnumKey(RegKey key, std::uint32_t index, char* name,
                                        std::uint32_t* name_size) {
  Dword size(name_size);
  return RegEnumKeyExA(Hkey(key), index, name, size.get(), nullptr, nullptr, nullptr, nullptr);
}

std::int32_t AdvapiRegistryApi::EnumValue(RegKey key, std::uint32_t index, char* name,
                                          std::uint32_t* name_size, std::uint32_t* type) {
  Dword size(name_size), type_out(type);
  return RegEnumValueA(Hkey(key), index, name, size.get(), nullptr, type_out.get(), nullptr,
                       nullptr);
}

std::int32_t AdvapiRegistryApi::DeleteKey(RegKey root, const std::string& path) {
  return RegDeleteKeyA(Hkey(root), path.c_str());
}

std::int32_t AdvapiRegistryApi::DeleteValue(RegKey key, const std::string& name) {
  return RegDeleteValueA(Hkey(key), name.c_str());
}

std::int32_t AdvapiRegistryApi::CloseKey(RegKey key) { return RegCloseKey(Hkey(key)); }

std::int32_t AdvapiRegistryApi::SaveKey(RegKey key, const std::string& file) {
  return RegSaveKeyA(Hkey(key), file.c_str(), nullptr);
}

std::int32_t AdvapiRegistryApi::RestoreKey(RegKey key, const std::string& file,
                                           std::uint32_t flags) {
  return RegRestoreKeyA(Hkey(key), file.c_str(), flags);
}

std::uint32_t AdvapiRegistryApi::ExpandEnvironment(const std::string& text, char* out,
                                                   std::uint32_t size) {
  return ExpandEnvironmentStringsA(text.c_str(), out, size);
}

bool AdvapiRegistryApi::OpenProcessToken(std::uint32_t access, std::intptr_t& token) {
  HANDLE opened = nullptr;
  const BOOL ok = ::OpenProcessToken(GetCurrentProcess(), access, &opened);
  token = reinterpret_cast<std::intptr_t>(opened);
  return ok != FALSE;
}

std::uint32_t AdvapiRegistryApi::LastError() { return GetLastError(); }

void AdvapiRegistryApi::SetLastErrorCode(std::uint32_t code) { SetLastError(code); }

bool AdvapiRegistryApi::LookupPrivilege(const std::string& name, std::uint32_t& luid_low,
                                        std::int32_t& luid_high) {
  LUID luid{};
  const BOOL ok = LookupPrivilegeValueA(nullptr, name.c_str(), &luid);
  luid_low = luid.LowPart;
  luid_high = luid.HighPart;
  return ok != FALSE;
}

bool AdvapiRegistryApi::AdjustPrivileges(std::intptr_t token, const TokenPrivileges& state,
                                         std::uint32_t length, TokenPrivileges& previous,
                                         std::uint32_t& returned) {
  Dword returned_out(&returned);
  return AdjustTokenPrivileges(
             Handle(token), FALSE,
             reinterpret_cast<TOKEN_PRIVILEGES*>(const_cast<TokenPrivileges*>(&state)), length,
             reinterpret_cast<TOKEN_PRIVILEGES*>(&previous), returned_out.get()) != FALSE;
}

void AdvapiRegistryApi::CloseToken(std::intptr_t token) { CloseHandle(Handle(token)); }

FileSeen AdvapiRegistryApi::LookupFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileSeen::kNone;
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  return (attributes & kNotNormal) ? FileSeen::kHiddenOrSystem : FileSeen::kNormal;
}

bool AdvapiRegistryApi::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool AdvapiRegistryApi::MoveFileOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

char AdvapiRegistryApi::DecimalSeparator() {
  char separator[16] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator)) > 0 &&
      separator[0] != '\0') {
    return separator[0];
  }
  return '.';
}

}  // namespace melodane::win32
