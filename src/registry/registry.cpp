#include "registry/registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/whole_number.h"

namespace melodane {

namespace {

constexpr char kSubKeyMark[] = "*SK*";
constexpr char kNameDataMark[] = "*NDS*";
constexpr char kItemMark[] = "*IS*";
constexpr std::uint32_t kNameBuffer = 255;
constexpr std::uint32_t kExpansionBuffer = 1000;

// A key this class opened, closed on every path out of the call.
class OpenedKey {
 public:
  explicit OpenedKey(RegistryApi& api) : api_(api) {}
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  ~OpenedKey() {
    if (opened_) api_.CloseKey(key_);
  }
  bool Open(std::int32_t root, const std::string& path, std::uint32_t access) {
    return opened_ = api_.OpenKey(RootKey(root), path, access, key_) == kErrorSuccess;
  }
  bool Create(std::int32_t root, const std::string& path) {
    return opened_ = api_.CreateKey(RootKey(root), path, kKeyWrite, key_) == kErrorSuccess;
  }
  RegKey get() const { return key_; }

 private:
  RegistryApi& api_;
  RegKey key_ = 0;
  bool opened_ = false;
};

// A name as an enumeration gives it: up to the length the platform reports, without
// the blanks around it, then without a final NUL.
std::string Normalised(const char* buffer, std::uint32_t length) {
  std::string name(buffer, length);
  const auto first = name.find_first_not_of(' ');
  name =
      first == std::string::npos ? "" : name.substr(first, name.find_last_not_of(' ') - first + 1);
  if (!name.empty() && name.back() == '\0') name.pop_back();
  return name;
}

// The names of a key's values, in the platform's order, up to the first call that fails.
template <typename Each>
void ForEachValueName(RegistryApi& api, RegKey key, Each each) {
  for (std::uint32_t index = 0;; ++index) {
    char buffer[kNameBuffer] = {};
    std::uint32_t length = kNameBuffer;
    std::uint32_t type = 0;
    if (api.EnumValue(key, index, buffer, &length, &type) != kErrorSuccess) return;
    each(Normalised(buffer, length));
  }
}

void DropLast(std::string& text, std::size_t count) {
  if (!text.empty()) text.erase(text.size() - std::min(count, text.size()));
}

// The user's way of writing a fraction, read as the whole numbers the registry stores.
std::optional<std::int64_t> LocaleWhole(std::string text, char decimal) {
  for (char& c : text) {
    if (c == decimal) {
      c = '.';
    } else if (c == '.') {
      return std::nullopt;  // not this user's separator
    }
  }
  return TextToWhole(text);
}

}  // namespace

std::string Registry::QueryRegKeyValue(RegKey KeyHandle, const std::string& SubKey) {
  std::uint32_t type = 0, size = 0;
  if (api_.QueryValue(KeyHandle, SubKey, &type, nullptr, &size) != kErrorSuccess) return "";
  if (type == kRegSz || type == kRegExpandSz) {
    std::vector<std::uint8_t> data(size, 0);
    if (api_.QueryValue(KeyHandle, SubKey, &type, data.data(), &size) != kErrorSuccess) return "";
    const std::string raw(data.begin(), data.end());
    const auto nul = raw.find('\0');
    const std::string text = nul == std::string::npos ? "" : raw.substr(0, nul);
    if (type == kRegSz) return text;
    // An expansion longer than the buffer is left out rather than cut.
    std::vector<char> expanded(kExpansionBuffer, '\0');
    const std::uint32_t needed = api_.ExpandEnvironment(text, expanded.data(), kExpansionBuffer);
    if (needed == 0 || needed > kExpansionBuffer) return "";
    return std::string(expanded.data(), strnlen(expanded.data(), kExpansionBuffer));
  }
  std::uint8_t bytes[4] = {};
  std::uint32_t four = sizeof bytes;
  if (api_.QueryValue(KeyHandle, SubKey, &type, bytes, &four) != kErrorSuccess) return "";
  const auto number = static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                                static_cast<std::uint32_t>(bytes[3]) << 24);
  return std::to_string(number);
}

std::string Registry::ReadRegKey(std::int32_t KeyRoot, const std::string& KeyPath,
                                 const std::string& SubKey, const std::string& NoKeyFoundValue) {
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyRead)) return NoKeyFoundValue;
  return QueryRegKeyValue(key.get(), SubKey);
}

bool Registry::WriteRegKey(std::int32_t KeyType, std::int32_t KeyRoot, const std::string& KeyPath,
                           const std::string& SubKey, const std::string& SubKeyValue) {
  OpenedKey key(api_);
  if (!key.Create(KeyRoot, KeyPath)) return false;
  std::vector<std::uint8_t> data;
  switch (KeyType) {
    case kRegSz:
    case kRegExpandSz:
      data.assign(SubKeyValue.begin(), SubKeyValue.end());
      data.push_back(0);
      break;
    case kRegBinary:
    case kRegDword: {
      const auto whole = LocaleWhole(SubKeyValue, api_.DecimalSeparator());
      const bool fits = whole && (KeyType == kRegBinary ? *whole >= 0 && *whole <= 255
                                                        : Narrow32(*whole).has_value());
      if (!fits) return true;  // no number: nothing is written
      const auto value = static_cast<std::uint32_t>(*whole);
      data = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
      break;
    }
    default:
      return true;  // a type this class does not write
  }
  return api_.SetValue(key.get(), SubKey, static_cast<std::uint32_t>(KeyType), data.data(),
                       static_cast<std::uint32_t>(data.size())) == kErrorSuccess;
}

std::string Registry::EnumerateRegKeys(std::int32_t KeyRoot, const std::string& KeyPath) {
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyEnumerateSubKeys)) return "";
  std::string list;
  for (std::uint32_t index = 0;; ++index) {
    char buffer[kNameBuffer] = {};
    std::uint32_t length = kNameBuffer;
    if (api_.EnumKey(key.get(), index, buffer, &length) != kErrorSuccess) break;
    list += Normalised(buffer, length) + kSubKeyMark;
  }
  DropLast(list, 4);
  return list;
}

std::string Registry::EnumerateRegKeyValues(std::int32_t KeyRoot, const std::string& KeyPath) {
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyQueryValue)) return "";
  std::string list;
  ForEachValueName(api_, key.get(), [&](const std::string& name) {
    list += name + kNameDataMark + QueryRegKeyValue(key.get(), name) + kItemMark;
  });
  DropLast(list, 4);
  return list;
}

std::string Registry::EnumerateRegKeyItemNames(std::int32_t KeyRoot, const std::string& KeyPath) {
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyQueryValue)) return "";
  std::string list;
  ForEachValueName(api_, key.get(), [&](const std::string& name) { list += name + kItemMark; });
  DropLast(list, 4);
  return list;
}

std::int16_t Registry::GetRegKeyItems(std::int32_t KeyRoot, const std::string& KeyPath) {
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyQueryValue)) return 0;
  std::int64_t count = 0;
  ForEachValueName(api_, key.get(), [&](const std::string&) { ++count; });
  return Narrow16(count).value_or(0);
}

// The whole subtree goes, children before parents, whatever the names are called and
// however many there are: the names come straight from the platform, not from a list.
void Registry::DeleteRegKey(std::int32_t KeyRoot, const std::string& KeyPath) {
  std::vector<std::string> children;
  {
    OpenedKey key(api_);
    if (key.Open(KeyRoot, KeyPath, kKeyEnumerateSubKeys)) {
      for (std::uint32_t index = 0;; ++index) {
        char buffer[kNameBuffer + 1] = {};
        std::uint32_t length = sizeof buffer;
        if (api_.EnumKey(key.get(), index, buffer, &length) != kErrorSuccess) break;
        children.emplace_back(buffer, length);
      }
    }
  }
  for (const std::string& child : children) DeleteRegKey(KeyRoot, KeyPath + "\\" + child);
  api_.DeleteKey(RootKey(KeyRoot), KeyPath);
}

bool Registry::DeleteRegKeyValue(std::int32_t KeyRoot, const std::string& KeyPath,
                                 std::string& SubKey) {
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyAllAccess)) return false;
  if (SubKey.empty()) SubKey = KeyPath;
  return api_.DeleteValue(key.get(), SubKey) == kErrorSuccess;
}

bool Registry::DeleteRegKeyValue(std::int32_t KeyRoot, const std::string& KeyPath) {
  std::string name;
  return DeleteRegKeyValue(KeyRoot, KeyPath, name);
}

bool Registry::EnablePrivilege(const std::string& PrivilegeName) {
  std::intptr_t token = 0;
  api_.SetLastErrorCode(0);  // only the opening's own error counts
  if (!api_.OpenProcessToken(kTokenAdjustPrivileges | kTokenQuery, token)) return false;
  const bool opened_cleanly = api_.LastError() == 0;
  TokenPrivileges wanted{1, 0, 0, kSePrivilegeEnabled}, previous{};
  std::uint32_t returned = 0;
  const bool enabled = opened_cleanly &&
                       api_.LookupPrivilege(PrivilegeName, wanted.luid_low, wanted.luid_high) &&
                       api_.AdjustPrivileges(token, wanted, sizeof wanted, previous, returned);
  api_.CloseToken(token);
  return enabled;
}

// A file of that name is replaced only once the new save is whole; a hidden or system
// file of that name is neither replaced nor deleted.
bool Registry::ExportRegKey(std::int32_t KeyRoot, const std::string& KeyPath,
                            const std::string& FileName) {
  if (!EnablePrivilege("SeBackupPrivilege")) return false;
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyAllAccess)) return false;
  switch (api_.LookupFile(FileName)) {
    case FileSeen::kNone:
      return api_.SaveKey(key.get(), FileName) == kErrorSuccess;
    case FileSeen::kHiddenOrSystem:
      return false;
    case FileSeen::kNormal:
      break;
  }
  const std::string beside = FileName + ".melodane-new";
  if (api_.LookupFile(beside) != FileSeen::kNone) api_.RemoveFile(beside);
  if (api_.SaveKey(key.get(), beside) != kErrorSuccess) {
    api_.RemoveFile(beside);
    return false;
  }
  if (api_.MoveFileOver(beside, FileName)) return true;
  api_.RemoveFile(beside);
  return false;
}

bool Registry::ImportRegKey(std::int32_t KeyRoot, const std::string& KeyPath,
                            const std::string& FileName) {
  if (!EnablePrivilege("SeRestorePrivilege")) return false;
  OpenedKey key(api_);
  if (!key.Open(KeyRoot, KeyPath, kKeyAllAccess)) return false;
  return api_.RestoreKey(key.get(), FileName, kRegForceRestore) == kErrorSuccess;
}

}  // namespace melodane
