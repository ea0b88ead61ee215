#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "common/scoped.h"
#include "registry/registry_api.h"

struct sqlite3;

namespace melodane::on_linux {

struct DatabaseTraits {
  static sqlite3* Invalid() { return nullptr; }
  static void Close(sqlite3* db);
};

// The registry kept in one SQLite file: each predefined root is a tree of keys, each key
// holds values (type and bytes as given). Names match whatever their ASCII case and keep
// the case they were created with. Keys and values are listed in the order they were
// created. Every call that writes is one transaction, so several programs may share the
// file. Handles are small positive numbers, valid until closed or until their key is
// deleted (ERROR_KEY_DELETED then). A handle needs KEY_SET_VALUE (or a generic write or
// all right) to set or delete values; other rights are not checked. A path that starts
// with "\" or has an empty name in it is ERROR_BAD_PATHNAME. A database that cannot be
// opened makes every registry call fail with ERROR_REGISTRY_IO_FAILED.
class SqliteRegistryApi final : public RegistryApi {
 public:
  explicit SqliteRegistryApi(const std::string& path);
  // $XDG_DATA_HOME/melodane/registry.sqlite3, or ~/.local/share/melodane/registry.sqlite3.
  static std::string DefaultPath();

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
  // The save is an SQLite file of its own: the key, its values and its whole subtree.
  std::int32_t SaveKey(RegKey key, const std::string& file) override;
  std::int32_t RestoreKey(RegKey key, const std::string& file, std::uint32_t flags) override;
  std::uint32_t ExpandEnvironment(const std::string& text, char* out, std::uint32_t size) override;

  // One user owns the database: every privilege is granted.
  bool OpenProcessToken(std::uint32_t access, std::intptr_t& token) override;
  std::uint32_t LastError() override;
  void SetLastErrorCode(std::uint32_t code) override;
  bool LookupPrivilege(const std::string& name, std::uint32_t& luid_low,
                       std::int32_t& luid_high) override;
  bool AdjustPrivileges(std::intptr_t token, const TokenPrivileges& state, std::uint32_t length,
                        TokenPrivileges& previous, std::uint32_t& returned) override;
  void CloseToken(std::intptr_t) override {}

  FileSeen LookupFile(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool MoveFileOver(const std::string& from, const std::string& to) override;
  char DecimalSeparator() override;

 private:
  struct Handle {
    std::int64_t id;
    bool writable;
  };
  std::int32_t Find(RegKey key, Handle& found);
  std::int32_t Walk(RegKey root, const std::string& path, bool create, std::int64_t& id);
  std::int32_t Enum(RegKey key, const char* query, std::uint32_t index, char* name,
                    std::uint32_t* name_size, std::uint32_t* type);
  RegKey Hand(std::int64_t id, std::uint32_t access);

  Scoped<sqlite3*, DatabaseTraits> db_;
  std::map<RegKey, Handle> handles_;
  RegKey next_handle_ = 1;
};

}  // namespace melodane::on_linux
