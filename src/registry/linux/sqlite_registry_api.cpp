#include "registry/linux/sqlite_registry_api.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/linux/unique_fd.h"

namespace melodane::on_linux {

void DatabaseTraits::Close(sqlite3* db) { sqlite3_close_v2(db); }

namespace {

constexpr std::int32_t kErrorGenFailure = 31, kErrorInvalidParameter = 87, kErrorBadPathname = 161,
                       kErrorRegistryIoFailed = 1016, kErrorNotRegistryFile = 1017,
                       kErrorKeyDeleted = 1018, kErrorNoSuchPrivilege = 1313;
constexpr std::int32_t kHkeyCurrentConfig = static_cast<std::int32_t>(0x80000005);
constexpr std::uint32_t kKeySetValue = 0x2, kMaximumAllowed = 0x02000000, kGenericAll = 0x10000000,
                        kGenericWrite = 0x40000000;
constexpr std::size_t kMaxKeyName = 255, kMaxValueName = 16383;
constexpr std::int64_t kLastRootId = 6;
// A save file's application id ("MLDR"); the same number is written in kSaveSteps.
constexpr std::int64_t kSaveMark = 0x4D4C4452;

// Keys form one tree under each predefined root; a root's id is its handle's low bits plus
// one. AUTOINCREMENT never gives a deleted key's id again, so a stale handle finds nothing.
constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS keys(id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL COLLATE NOCASE, UNIQUE(parent, name))",
    "CREATE TABLE IF NOT EXISTS vals(key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY(key, name))",
    "INSERT OR IGNORE INTO keys(id, parent, name) VALUES (1, NULL, 'HKEY_CLASSES_ROOT'),"
    " (2, NULL, 'HKEY_CURRENT_USER'), (3, NULL, 'HKEY_LOCAL_MACHINE'), (4, NULL, 'HKEY_USERS'),"
    " (6, NULL, 'HKEY_CURRENT_CONFIG')",
};

// A save holds the key (?1) as its one key without a parent, then its subtree and values,
// each in the order they were made.
constexpr const char* kSaveSteps[] = {
    "CREATE TABLE saved.keys(id INTEGER PRIMARY KEY, parent INTEGER, name TEXT NOT NULL)",
    "CREATE TABLE saved.vals(key INTEGER NOT NULL, name TEXT NOT NULL, type INTEGER NOT NULL,"
    " data BLOB NOT NULL)",
    "PRAGMA saved.application_id = 1296843858",
    "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION SELECT k.id FROM main.keys k JOIN tree"
    " ON k.parent = tree.id) INSERT INTO saved.keys SELECT id,"
    " CASE id WHEN ?1 THEN NULL ELSE parent END, name FROM main.keys WHERE id IN tree ORDER BY id",
    "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION SELECT k.id FROM main.keys k JOIN tree"
    " ON k.parent = tree.id) INSERT INTO saved.vals SELECT key, name, type, data"
    " FROM main.vals WHERE key IN tree ORDER BY rowid",
};

// The key (?2) loses its values and subkeys and takes those below the save's top key (?1);
// the saved keys' ids move by ?3, past every id the database has given.
constexpr const char* kRestoreSteps[] = {
    "DELETE FROM main.keys WHERE parent = ?2",
    "DELETE FROM main.vals WHERE key = ?2",
    "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION SELECT k.id FROM saved.keys k JOIN tree"
    " ON k.parent = tree.id) INSERT INTO main.keys(id, parent, name) SELECT id + ?3,"
    " CASE parent WHEN ?1 THEN ?2 ELSE parent + ?3 END, name FROM saved.keys"
    " WHERE id IN tree AND id <> ?1 ORDER BY id",
    "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION SELECT k.id FROM saved.keys k JOIN tree"
    " ON k.parent = tree.id) INSERT INTO main.vals(key, name, type, data)"
    " SELECT CASE key WHEN ?1 THEN ?2 ELSE key + ?3 END, name, type, data FROM saved.vals"
    " WHERE key IN tree ORDER BY rowid",
};

thread_local std::uint32_t last_error = 0;

std::int32_t Report(std::int32_t code) {
  if (code != kErrorSuccess) last_error = static_cast<std::uint32_t>(code);
  return code;
}

// The Windows code for the errno of a failed file call.
std::int32_t FileError() {
  if (errno == ENOENT || errno == ENOTDIR) return kErrorFileNotFound;
  if (errno == EEXIST) return kErrorAlreadyExists;
  const bool denied = errno == EACCES || errno == EPERM || errno == EISDIR || errno == EROFS;
  return denied ? kErrorAccessDenied : kErrorGenFailure;
}

bool Succeeded(int result) {
  if (result != 0) last_error = static_cast<std::uint32_t>(FileError());
  return result == 0;
}

// What a Windows call sees of a text: it ends at the first NUL.
std::string_view CText(const std::string& text) { return text.c_str(); }

std::optional<std::int64_t> RootId(RegKey key) {
  for (const std::int32_t root :
       {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig}) {
    if (key == RootKey(root)) return root - kHkeyClassesRoot + 1;
  }
  return std::nullopt;
}

struct StatementTraits {
  static sqlite3_stmt* Invalid() { return nullptr; }
  static void Close(sqlite3_stmt* statement) { sqlite3_finalize(statement); }
};

// One prepared statement; one that could not be prepared fails every step.
class Sql {
 public:
  Sql(sqlite3* db, const char* text) {
    if (db) sqlite3_prepare_v2(db, text, -1, statement_.Receive(), nullptr);
  }
  Sql& Bind(int at, std::int64_t number) {
    sqlite3_bind_int64(statement_.get(), at, number);
    return *this;
  }
  Sql& Bind(int at, std::string_view text) {
    sqlite3_bind_text64(statement_.get(), at, text.data(), text.size(), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
    return *this;
  }
  Sql& Bind(int at, const std::uint8_t* data, std::uint32_t size) {
    sqlite3_bind_blob64(statement_.get(), at, data, size, SQLITE_TRANSIENT);
    return *this;
  }
  bool Row() {
    step_ = statement_ ? sqlite3_step(statement_.get()) : SQLITE_ERROR;
    return step_ == SQLITE_ROW;
  }
  bool Run() { return !Row() && step_ == SQLITE_DONE; }
  bool Failed() const { return step_ != SQLITE_ROW && step_ != SQLITE_DONE; }
  std::int64_t Number(int column) { return sqlite3_column_int64(statement_.get(), column); }
  // A text's or a blob's bytes.
  std::string_view Bytes(int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_.get(), column));
    return bytes ? std::string_view(bytes, sqlite3_column_bytes(statement_.get(), column)) : "";
  }

 private:
  Scoped<sqlite3_stmt*, StatementTraits> statement_;
  int step_ = SQLITE_ERROR;
};

std::optional<std::int64_t> Single(sqlite3* db, const char* text) {
  Sql query(db, text);
  return query.Row() ? std::optional(query.Number(0)) : std::nullopt;
}

// Rolled back unless committed. Writers take the write lock at the start, so two programs
// never both wait to turn a read into a write.
class Transaction {
 public:
  explicit Transaction(sqlite3* db, const char* begin = "BEGIN IMMEDIATE")
      : db_(db), open_(Sql(db, begin).Run()) {}
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction() {
    if (open_) Sql(db_, "ROLLBACK").Run();
  }
  bool open() const { return open_; }
  bool Commit() {
    if (!open_ || !Sql(db_, "COMMIT").Run()) return false;
    open_ = false;
    return true;
  }

 private:
  sqlite3* db_;
  bool open_;
};

// A file as "saved", for as long as this lives. A URI, so that no character of the name
// means anything to SQLite, and "ro" never creates the file.
class Attached {
 public:
  Attached(sqlite3* db, const std::string& file, const char* mode) : db_(db) {
    char real[PATH_MAX];
    if (!realpath(file.c_str(), real)) return;
    std::string uri = "file:";
    for (const char c : std::string_view(real))
      uri += c == '%' ? "%25" : c == '?' ? "%3F" : c == '#' ? "%23" : std::string(1, c);
    ok_ = Sql(db, "ATTACH ? AS saved").Bind(1, uri + "?mode=" + mode).Run();
  }
  Attached(const Attached&) = delete;
  Attached& operator=(const Attached&) = delete;
  ~Attached() {
    if (ok_) Sql(db_, "DETACH saved").Run();
  }
  bool ok() const { return ok_; }

 private:
  sqlite3* db_;
  bool ok_ = false;
};

// "a\b\c" into its names. One trailing "\" is allowed, as Windows allows it.
std::int32_t Split(std::string_view path, std::vector<std::string_view>& names) {
  if (path.starts_with('\\')) return kErrorBadPathname;
  if (path.ends_with('\\')) path.remove_suffix(1);
  for (std::size_t start = 0; !path.empty() && start <= path.size();) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view name = path.substr(start, end - start);
    if (name.empty()) return kErrorBadPathname;
    if (name.size() > kMaxKeyName) return kErrorInvalidParameter;
    names.push_back(name);
    start = end + 1;
  }
  return kErrorSuccess;
}

bool MakeSchema(sqlite3* db) {
  if (!Sql(db, "PRAGMA foreign_keys = ON").Run()) return false;
  Transaction setup(db);
  for (const char* step : kSchema) {
    if (!Sql(db, step).Run()) return false;
  }
  return setup.Commit();
}

}  // namespace

SqliteRegistryApi::SqliteRegistryApi(const std::string& path) {
  // Missing folders are private to the user; existing ones stay as they are.
  for (std::size_t end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1))
    mkdir(path.substr(0, end).c_str(), 0700);
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI;
  if (sqlite3_open_v2(path.c_str(), db_.Receive(), flags, nullptr) != SQLITE_OK) {
    db_.Reset();
    return;
  }
  sqlite3_busy_timeout(db_.get(), 5000);
  if (!MakeSchema(db_.get())) db_.Reset();
}

std::string SqliteRegistryApi::DefaultPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return std::string(data) + "/melodane/registry.sqlite3";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : ".") + "/.local/share/melodane/registry.sqlite3";
}

std::int32_t SqliteRegistryApi::Find(RegKey key, Handle& found) {
  if (!db_) return kErrorRegistryIoFailed;
  if (const auto root = RootId(key)) {
    found = {*root, true};
    return kErrorSuccess;
  }
  const auto held = handles_.find(key);
  if (held == handles_.end()) return kErrorInvalidHandle;
  found = held->second;
  Sql exists(db_.get(), "SELECT 1 FROM keys WHERE id = ?");
  if (exists.Bind(1, found.id).Row()) return kErrorSuccess;
  return exists.Failed() ? kErrorRegistryIoFailed : kErrorKeyDeleted;
}

// The key at `path` below `root`; with `create`, the missing ones are made on the way.
std::int32_t SqliteRegistryApi::Walk(RegKey root, const std::string& path, bool create,
                                     std::int64_t& id) {
  Handle from;
  std::vector<std::string_view> names;
  if (const std::int32_t code = Find(root, from)) return code;
  if (const std::int32_t code = Split(CText(path), names)) return code;
  id = from.id;
  for (const std::string_view name : names) {
    Sql child(db_.get(), "SELECT id FROM keys WHERE parent = ? AND name = ?");
    if (child.Bind(1, id).Bind(2, name).Row()) {
      id = child.Number(0);
      continue;
    }
    if (child.Failed()) return kErrorRegistryIoFailed;
    if (!create) return kErrorFileNotFound;
    Sql make(db_.get(), "INSERT INTO keys(parent, name) VALUES(?, ?)");
    if (!make.Bind(1, id).Bind(2, name).Run()) return kErrorRegistryIoFailed;
    id = sqlite3_last_insert_rowid(db_.get());
  }
  return kErrorSuccess;
}

RegKey SqliteRegistryApi::Hand(std::int64_t id, std::uint32_t access) {
  const bool writable =
      (access & (kKeySetValue | kGenericWrite | kGenericAll | kMaximumAllowed)) != 0;
  handles_[next_handle_] = {id, writable};
  return next_handle_++;
}

std::int32_t SqliteRegistryApi::OpenKey(RegKey root, const std::string& path, std::uint32_t access,
                                        RegKey& key) {
  std::int64_t id;
  const std::int32_t code = Walk(root, path, false, id);
  if (code == kErrorSuccess) key = Hand(id, access);
  return Report(code);
}

std::int32_t SqliteRegistryApi::CreateKey(RegKey root, const std::string& path,
                                          std::uint32_t access, RegKey& key) {
  Transaction change(db_.get());
  std::int64_t id;
  std::int32_t code = change.open() ? Walk(root, path, true, id) : kErrorRegistryIoFailed;
  if (code == kErrorSuccess && !change.Commit()) code = kErrorRegistryIoFailed;
  if (code == kErrorSuccess) key = Hand(id, access);
  return Report(code);
}

std::int32_t SqliteRegistryApi::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                         const std::uint8_t* data, std::uint32_t size) {
  return Report([&]() -> std::int32_t {
    Handle held;
    if (const std::int32_t code = Find(key, held)) return code;
    if (!held.writable) return kErrorAccessDenied;
    if (CText(name).size() > kMaxValueName || (!data && size > 0)) return kErrorInvalidParameter;
    static constexpr std::uint8_t kNothing = 0;  // a null pointer would store NULL, not no bytes
    Sql put(db_.get(),
            "INSERT INTO vals(key, name, type, data) VALUES(?, ?, ?, ?) ON CONFLICT(key, name)"
            " DO UPDATE SET type = excluded.type, data = excluded.data");
    put.Bind(1, held.id).Bind(2, CText(name)).Bind(3, type).Bind(4, data ? data : &kNothing, size);
    return put.Run() ? kErrorSuccess : kErrorRegistryIoFailed;
  }());
}

std::int32_t SqliteRegistryApi::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                           std::uint8_t* data, std::uint32_t* size) {
  return Report([&]() -> std::int32_t {
    Handle held;
    if (const std::int32_t code = Find(key, held)) return code;
    if (data && !size) return kErrorInvalidParameter;
    Sql value(db_.get(), "SELECT type, data FROM vals WHERE key = ? AND name = ?");
    if (!value.Bind(1, held.id).Bind(2, CText(name)).Row())
      return value.Failed() ? kErrorRegistryIoFailed : kErrorFileNotFound;
    const std::string_view bytes = value.Bytes(1);
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    const bool fits = !data || *size >= needed;
    if (data && fits && needed > 0) std::memcpy(data, bytes.data(), needed);
    if (type) *type = static_cast<std::uint32_t>(value.Number(0));
    if (size) *size = needed;
    return fits ? kErrorSuccess : kErrorMoreData;
  }());
}

// `query` gives the name (and the type) at index ?2 below key ?1.
std::int32_t SqliteRegistryApi::Enum(RegKey key, const char* query, std::uint32_t index, char* name,
                                     std::uint32_t* name_size, std::uint32_t* type) {
  Handle held;
  if (const std::int32_t code = Find(key, held)) return code;
  if (!name || !name_size) return kErrorInvalidParameter;
  Sql item(db_.get(), query);
  if (!item.Bind(1, held.id).Bind(2, index).Row())
    return item.Failed() ? kErrorRegistryIoFailed : kErrorNoMoreItems;
  const std::string_view found = item.Bytes(0);
  if (found.size() >= *name_size) return kErrorMoreData;
  name[found.copy(name, found.size())] = '\0';
  *name_size = static_cast<std::uint32_t>(found.size());
  if (type) *type = static_cast<std::uint32_t>(item.Number(1));
  return kErrorSuccess;
}

std::int32_t SqliteRegistryApi::EnumKey(RegKey key, std::uint32_t index, char* name,
                                        std::uint32_t* name_size) {
  return Report(Enum(
      key,
      "SELECT name FROM keys WHERE parent = ? ORDER BY name COLLATE NOCASE, id LIMIT 1 OFFSET ?",
      index, name, name_size, nullptr));
}

std::int32_t SqliteRegistryApi::EnumValue(RegKey key, std::uint32_t index, char* name,
                                          std::uint32_t* name_size, std::uint32_t* type) {
  return Report(Enum(key,
                     "SELECT name, type FROM vals WHERE key = ? ORDER BY rowid LIMIT 1 OFFSET ?",
                     index, name, name_size, type));
}

std::int32_t SqliteRegistryApi::DeleteKey(RegKey root, const std::string& path) {
  return Report([&]() -> std::int32_t {
    Transaction change(db_.get());
    std::int64_t id;
    if (!change.open()) return kErrorRegistryIoFailed;
    if (const std::int32_t code = Walk(root, path, false, id)) return code;
    if (id <= kLastRootId) return kErrorAccessDenied;
    Sql child(db_.get(), "SELECT 1 FROM keys WHERE parent = ?");
    if (child.Bind(1, id).Row()) return kErrorAccessDenied;
    if (child.Failed()) return kErrorRegistryIoFailed;
    const bool gone = Sql(db_.get(), "DELETE FROM keys WHERE id = ?").Bind(1, id).Run();
    return gone && change.Commit() ? kErrorSuccess : kErrorRegistryIoFailed;
  }());
}

std::int32_t SqliteRegistryApi::DeleteValue(RegKey key, const std::string& name) {
  return Report([&]() -> std::int32_t {
    Handle held;
    if (const std::int32_t code = Find(key, held)) return code;
    if (!held.writable) return kErrorAccessDenied;
    Sql drop(db_.get(), "DELETE FROM vals WHERE key = ? AND name = ?");
    if (!drop.Bind(1, held.id).Bind(2, CText(name)).Run()) return kErrorRegistryIoFailed;
    return sqlite3_changes(db_.get()) > 0 ? kErrorSuccess : kErrorFileNotFound;
  }());
}

// A predefined root closes as nothing, as on Windows.
std::int32_t SqliteRegistryApi::CloseKey(RegKey key) {
  if (handles_.erase(key) > 0 || RootId(key)) return kErrorSuccess;
  return Report(kErrorInvalidHandle);
}

std::int32_t SqliteRegistryApi::SaveKey(RegKey key, const std::string& file) {
  return Report([&]() -> std::int32_t {
    Handle held;
    if (const std::int32_t code = Find(key, held)) return code;
    UniqueFd made(open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!made) return FileError();
    made.Reset();
    bool saved = false;
    {
      Attached save(db_.get(), file, "rw");
      Transaction copy(db_.get(), "BEGIN");
      saved = save.ok() && copy.open();
      for (const char* step : kSaveSteps)
        saved = saved && Sql(db_.get(), step).Bind(1, held.id).Run();
      saved = saved && copy.Commit();
    }
    if (saved) return kErrorSuccess;
    unlink(file.c_str());
    return kErrorRegistryIoFailed;
  }());
}

// Flags are not looked at: keys below the one restored may be open, as with REG_FORCE_RESTORE.
// A file that is not a save, or whose keys cannot be put in place, changes nothing.
std::int32_t SqliteRegistryApi::RestoreKey(RegKey key, const std::string& file, std::uint32_t) {
  return Report([&]() -> std::int32_t {
    Handle held;
    if (const std::int32_t code = Find(key, held)) return code;
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) return FileError();
    if (!S_ISREG(status.st_mode)) return kErrorNotRegistryFile;
    Attached save(db_.get(), file, "ro");
    if (!save.ok()) return kErrorNotRegistryFile;
    Transaction change(db_.get());
    if (!change.open()) return kErrorRegistryIoFailed;
    const auto top = Single(db_.get(), "SELECT id FROM saved.keys WHERE parent IS NULL");
    const auto shift = Single(db_.get(),
                              "SELECT (SELECT seq FROM main.sqlite_sequence WHERE name = 'keys')"
                              " + 1 - min(id) FROM saved.keys");
    if (Single(db_.get(), "PRAGMA saved.application_id") != kSaveMark || !top || !shift)
      return kErrorNotRegistryFile;
    for (const char* step : kRestoreSteps) {
      if (!Sql(db_.get(), step).Bind(1, *top).Bind(2, held.id).Bind(3, *shift).Run())
        return kErrorNotRegistryFile;
    }
    return change.Commit() ? kErrorSuccess : kErrorRegistryIoFailed;
  }());
}

// As Windows does it: %NAME% becomes the variable's value; an unknown name, an empty one
// and a % without a closing one stay as written.
std::uint32_t SqliteRegistryApi::ExpandEnvironment(const std::string& text, char* out,
                                                   std::uint32_t size) {
  const std::string_view source = CText(text);
  std::string expanded;
  for (std::size_t at = 0; at < source.size();) {
    const std::size_t start = source.find('%', at);
    const std::size_t end = start == std::string_view::npos ? start : source.find('%', start + 1);
    if (end == std::string_view::npos) {
      expanded += source.substr(at);
      break;
    }
    const std::string name(source.substr(start + 1, end - start - 1));
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    expanded += source.substr(at, start - at);
    expanded += value ? std::string_view(value) : source.substr(start, end - start + 1);
    at = end + 1;
  }
  const auto needed = static_cast<std::uint32_t>(expanded.size() + 1);
  if (out && needed <= size) std::memcpy(out, expanded.c_str(), needed);
  return needed;
}

bool SqliteRegistryApi::OpenProcessToken(std::uint32_t, std::intptr_t& token) {
  token = next_handle_++;  // from the handles' numbers, so it is never taken for a key
  return true;
}

std::uint32_t SqliteRegistryApi::LastError() { return last_error; }

void SqliteRegistryApi::SetLastErrorCode(std::uint32_t code) { last_error = code; }

// The local identifiers Windows gives these privileges.
bool SqliteRegistryApi::LookupPrivilege(const std::string& name, std::uint32_t& luid_low,
                                        std::int32_t& luid_high) {
  for (const auto& [known, luid] :
       {std::pair{"SeBackupPrivilege", 17u}, std::pair{"SeRestorePrivilege", 18u}}) {
    if (strcasecmp(name.c_str(), known) == 0) {
      luid_low = luid;
      luid_high = 0;
      return true;
    }
  }
  last_error = kErrorNoSuchPrivilege;
  return false;
}

// Callers learn from the last error that every privilege asked for was granted.
bool SqliteRegistryApi::AdjustPrivileges(std::intptr_t, const TokenPrivileges& state, std::uint32_t,
                                         TokenPrivileges& previous, std::uint32_t& returned) {
  previous = state;
  previous.attributes = 0;  // it was disabled before
  returned = sizeof previous;
  last_error = kErrorSuccess;
  return true;
}

FileSeen SqliteRegistryApi::LookupFile(const std::string& path) {
  struct stat status {};
  if (!Succeeded(stat(path.c_str(), &status))) return FileSeen::kNone;
  const std::string_view name = CText(path);
  const bool dotted = name.substr(name.rfind('/') + 1).starts_with('.');
  return S_ISREG(status.st_mode) && !dotted ? FileSeen::kNormal : FileSeen::kHiddenOrSystem;
}

bool SqliteRegistryApi::RemoveFile(const std::string& path) {
  return Succeeded(unlink(path.c_str()));
}

bool SqliteRegistryApi::MoveFileOver(const std::string& from, const std::string& to) {
  return Succeeded(rename(from.c_str(), to.c_str()));
}

char SqliteRegistryApi::DecimalSeparator() {
  const char* point = std::localeconv()->decimal_point;
  return point && *point ? *point : '.';
}

}  // namespace melodane::on_linux
