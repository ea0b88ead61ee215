// The registry as the platform offers it, in the shape of advapi32's ANSI functions: the
// Windows build calls them, the Linux build stands in for them. Texts are bytes in the
// system's ANSI code page (UTF-8 on Linux). Calls give 0 for success and a Windows error
// code otherwise, unless said.
#pragma once

#include <cstdint>
#include <string>

namespace melodane {

// A key handle. A predefined root is its 32-bit value sign-extended, so 0x80000001 is
// HKEY_CURRENT_USER on every word size.
using RegKey = std::intptr_t;
inline RegKey RootKey(std::int32_t value) { return static_cast<RegKey>(value); }
inline constexpr std::int32_t kHkeyClassesRoot = static_cast<std::int32_t>(0x80000000);
inline constexpr std::int32_t kHkeyCurrentUser = static_cast<std::int32_t>(0x80000001);
inline constexpr std::int32_t kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002);
inline constexpr std::int32_t kHkeyUsers = static_cast<std::int32_t>(0x80000003);

inline constexpr std::uint32_t kRegNone = 0, kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3,
                               kRegDword = 4, kRegMultiSz = 7, kRegQword = 11;
inline constexpr std::uint32_t kKeyQueryValue = 0x1, kKeyEnumerateSubKeys = 0x8, kKeyRead = 0x20019,
                               kKeyWrite = 0x20006, kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kRegForceRestore = 8;
inline constexpr std::uint32_t kTokenAdjustPrivileges = 0x20, kTokenQuery = 0x8;
inline constexpr std::uint32_t kSePrivilegeEnabled = 2;
inline constexpr std::int32_t kErrorSuccess = 0, kErrorFileNotFound = 2, kErrorAccessDenied = 5,
                              kErrorInvalidHandle = 6, kErrorAlreadyExists = 183,
                              kErrorMoreData = 234, kErrorNoMoreItems = 259,
                              kErrorKeyHasChildren = 1020;

// TOKEN_PRIVILEGES with one entry: 16 bytes, laid out as the platform's.
struct TokenPrivileges {
  std::uint32_t count;
  std::uint32_t luid_low;
  std::int32_t luid_high;
  std::uint32_t attributes;
};
static_assert(sizeof(TokenPrivileges) == 16);

// How a file name looks to a lookup with normal attributes.
enum class FileSeen { kNone, kNormal, kHiddenOrSystem };

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  // RegOpenKeyExA (options 0) and RegCreateKeyExA (non-volatile, default security,
  // every missing key on the path created).
  virtual std::int32_t OpenKey(RegKey root, const std::string& path, std::uint32_t access,
                               RegKey& key) = 0;
  virtual std::int32_t CreateKey(RegKey root, const std::string& path, std::uint32_t access,
                                 RegKey& key) = 0;
  virtual std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) = 0;
  // RegQueryValueExA: with no data buffer, the type and the size only; with one, `size`
  // is the buffer's size going in and the data's coming out (ERROR_MORE_DATA when it
  // does not fit).
  virtual std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) = 0;
  // RegEnumKeyExA and RegEnumValueA (no data asked for): the name at an index into a
  // buffer of `name_size` bytes; `name_size` comes back as the name's length, without
  // its NUL. ERROR_NO_MORE_ITEMS past the last, ERROR_MORE_DATA when it does not fit.
  virtual std::int32_t EnumKey(RegKey key, std::uint32_t index, char* name,
                               std::uint32_t* name_size) = 0;
  virtual std::int32_t EnumValue(RegKey key, std::uint32_t index, char* name,
                                 std::uint32_t* name_size, std::uint32_t* type) = 0;
  // RegDeleteKeyA: only a key without subkeys.
  virtual std::int32_t DeleteKey(RegKey root, const std::string& path) = 0;
  virtual std::int32_t DeleteValue(RegKey key, const std::string& name) = 0;
  virtual std::int32_t CloseKey(RegKey key) = 0;
  // RegSaveKeyA (fails when the file exists) and RegRestoreKeyA.
  virtual std::int32_t SaveKey(RegKey key, const std::string& file) = 0;
  virtual std::int32_t RestoreKey(RegKey key, const std::string& file, std::uint32_t flags) = 0;
  // ExpandEnvironmentStringsA: the size the expansion needs, with its NUL; 0 on failure.
  virtual std::uint32_t ExpandEnvironment(const std::string& text, char* out,
                                          std::uint32_t size) = 0;

  // The current process's access token (OpenProcessToken: true on success), the thread's
  // last-error code, and the privilege calls (LookupPrivilegeValueA on the local system,
  // AdjustTokenPrivileges with disable-all false).
  virtual bool OpenProcessToken(std::uint32_t access, std::intptr_t& token) = 0;
  virtual std::uint32_t LastError() = 0;
  virtual void SetLastErrorCode(std::uint32_t code) = 0;
  virtual bool LookupPrivilege(const std::string& name, std::uint32_t& luid_low,
                               std::int32_t& luid_high) = 0;
  virtual bool AdjustPrivileges(std::intptr_t token, const TokenPrivileges& state,
                                std::uint32_t length, TokenPrivileges& previous,
                                std::uint32_t& returned) = 0;
  virtual void CloseToken(std::intptr_t token) = 0;

  // Files, for saving a key beside an existing file and then putting it in its place.
  virtual FileSeen LookupFile(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool MoveFileOver(const std::string& from, const std::string& to) = 0;

  // The user's decimal separator, for the numbers WriteRegKey stores.
  virtual char DecimalSeparator() = 0;
};

// A registry that holds nothing and grants nothing: every call fails as it does where
// the key is missing or access is denied. Stand-ins that keep only some keys take the
// rest from here.
class RefusingRegistryApi : public RegistryApi {
 public:
  std::int32_t OpenKey(RegKey, const std::string&, std::uint32_t, RegKey&) override {
    return kErrorFileNotFound;
  }
  std::int32_t CreateKey(RegKey, const std::string&, std::uint32_t, RegKey&) override {
    return kErrorAccessDenied;
  }
  std::int32_t SetValue(RegKey, const std::string&, std::uint32_t, const std::uint8_t*,
                        std::uint32_t) override {
    return kErrorAccessDenied;
  }
  std::int32_t QueryValue(RegKey, const std::string&, std::uint32_t*, std::uint8_t*,
                          std::uint32_t*) override {
    return kErrorFileNotFound;
  }
  std::int32_t EnumKey(RegKey, std::uint32_t, char*, std::uint32_t*) override {
    return kErrorNoMoreItems;
  }
  std::int32_t EnumValue(RegKey, std::uint32_t, char*, std::uint32_t*, std::uint32_t*) override {
    return kErrorNoMoreItems;
  }
  std::int32_t DeleteKey(RegKey, const std::string&) override { return kErrorAccessDenied; }
  std::int32_t DeleteValue(RegKey, const std::string&) override { return kErrorFileNotFound; }
  std::int32_t CloseKey(RegKey) override { return kErrorInvalidHandle; }
  std::int32_t SaveKey(RegKey, const std::string&) override { return kErrorAccessDenied; }
  std::int32_t RestoreKey(RegKey, const std::string&, std::uint32_t) override {
    return kErrorAccessDenied;
  }
  std::uint32_t ExpandEnvironment(const std::string&, char*, std::uint32_t) override { return 0; }
  bool OpenProcessToken(std::uint32_t, std::intptr_t&) override { return false; }
  std::uint32_t LastError() override { return kErrorAccessDenied; }
  void SetLastErrorCode(std::uint32_t) override {}
  bool LookupPrivilege(const std::string&, std::uint32_t&, std::int32_t&) override { return false; }
  bool AdjustPrivileges(std::intptr_t, const TokenPrivileges&, std::uint32_t, TokenPrivileges&,
                        std::uint32_t&) override {
    return false;
  }
  void CloseToken(std::intptr_t) override {}
  FileSeen LookupFile(const std::string&) override { return FileSeen::kNone; }
  bool RemoveFile(const std::string&) override { return false; }
  bool MoveFileOver(const std::string&, const std::string&) override { return false; }
  char DecimalSeparator() override { return '.'; }
};

}  // namespace melodane
