// A registry held in memory, with the rules of the platform's that the program relies
// on: keys below separate roots, names without regard to case, subkeys listed in name
// order and values in the order they were made, a key with subkeys not deleted, saves
// that refuse an existing file. Saved keys and files live in memory too. Keys are opened
// and made below a root only, as the program does.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "common/ascii_case.h"
#include "registry/registry_api.h"

namespace melodane::testing {

struct MemoryRegistry final : RegistryApi {
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  struct Key {
    std::string name;
    std::vector<Value> values;
  };
  using Tree = std::map<std::string, Key>;  // by lower-cased path from the root

  static std::string Path(RegKey root, const std::string& path) {
    return std::to_string(root) + (path.empty() ? "" : "\\" + AsciiLowered(path));
  }
  // Whether `path` is `top` or a key below it.
  static bool Within(const std::string& path, const std::string& top) {
    return path.starts_with(top) && (path.size() == top.size() || path[top.size()] == '\\');
  }
  std::vector<std::string> Children(const std::string& path) const {
    std::vector<std::string> names;
    for (auto it = keys.upper_bound(path + "\\"); it != keys.end() && Within(it->first, path);
         ++it) {
      if (it->first.find('\\', path.size() + 1) == std::string::npos) {
        names.push_back(it->second.name);
      }
    }
    return names;
  }
  std::vector<Value>& Values(RegKey key) { return keys[handles.at(key)].values; }
  static auto Named(const std::string& name) {
    return
        [lowered = AsciiLowered(name)](const Value& v) { return AsciiLowered(v.name) == lowered; };
  }
  static std::int32_t CopyName(const std::string& name, char* out, std::uint32_t* size) {
    if (name.size() + 1 > *size) return kErrorMoreData;
    std::memcpy(out, name.c_str(), name.size() + 1);
    *size = static_cast<std::uint32_t>(name.size());
    return kErrorSuccess;
  }

  std::int32_t OpenKey(RegKey root, const std::string& path, std::uint32_t, RegKey& key) override {
    if (!path.empty() && !keys.count(Path(root, path))) return kErrorFileNotFound;
    return handles[key = next_handle++] = Path(root, path), kErrorSuccess;
  }
  std::int32_t CreateKey(RegKey root, const std::string& path, std::uint32_t,
                         RegKey& key) override {
    std::string full = Path(root, "");
    for (std::size_t start = 0; !path.empty() && start <= path.size();) {
      const std::size_t end = std::min(path.find('\\', start), path.size());
      const std::string part = path.substr(start, end - start);
      keys.try_emplace(full += "\\" + AsciiLowered(part), Key{part, {}});
      start = end + 1;
    }
    return handles[key = next_handle++] = full, kErrorSuccess;
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
  std::int32_t EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) override {
    const auto children = Children(handles.at(key));
    return index < children.size() ? CopyName(children[index], name, size) : kErrorNoMoreItems;
  }
  std::int32_t EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* size,
                         std::uint32_t* type) override {
    const auto& values = Values(key);
    if (index >= values.size()) return kErrorNoMoreItems;
    if (type) *type = values[index].type;
    return CopyName(values[index].name, name, size);
  }
  std::int32_t DeleteKey(RegKey root, const std::string& path) override {
    const std::string full = Path(root, path);
    if (!keys.count(full)) return kErrorFileNotFound;
    if (!Children(full).empty()) return kErrorAccessDenied;
    return keys.erase(full), kErrorSuccess;
  }
  std::int32_t DeleteValue(RegKey key, const std::string& name) override {
    return std::erase_if(Values(key), Named(name)) ? kErrorSuccess : kErrorFileNotFound;
  }
  std::int32_t CloseKey(RegKey key) override {
    return handles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
  }
  // A save holds the key's subtree with paths relative to it.
  std::int32_t SaveKey(RegKey key, const std::string& file) override {
    if (files.count(file)) return kErrorAlreadyExists;
    const std::string& top = handles.at(key);
    Tree& saved = files[file];
    for (const auto& [path, below] : keys) {
      if (Within(path, top)) saved[path.substr(top.size())] = below;
    }
    return kErrorSuccess;
  }
  std::int32_t RestoreKey(RegKey key, const std::string& file, std::uint32_t) override {
    const auto found = files.find(file);
    if (found == files.end()) return kErrorFileNotFound;
    const std::string top = handles.at(key), name = keys[top].name;
    std::erase_if(keys, [&](const auto& entry) { return Within(entry.first, top); });
    for (const auto& [relative, saved] : found->second) keys[top + relative] = saved;
    keys[top].name = name;
    return kErrorSuccess;
  }
  std::uint32_t ExpandEnvironment(const std::string& text, char* out, std::uint32_t size) override {
    return CopyName(text, out, &size) == kErrorSuccess ? size + 1 : 0;
  }
  // The privileges a save or restore asks for are always granted.
  bool OpenProcessToken(std::uint32_t, std::intptr_t& token) override { return token = 1, true; }
  std::uint32_t LastError() override { return 0; }
  void SetLastErrorCode(std::uint32_t) override {}
  bool LookupPrivilege(const std::string&, std::uint32_t&, std::int32_t&) override { return true; }
  bool AdjustPrivileges(std::intptr_t, const TokenPrivileges&, std::uint32_t, TokenPrivileges&,
                        std::uint32_t&) override {
    return true;
  }
  void CloseToken(std::intptr_t) override {}
  FileSeen LookupFile(const std::string& path) override {
    return files.count(path) ? FileSeen::kNormal : FileSeen::kNone;
  }
  bool RemoveFile(const std::string& path) override { return files.erase(path) > 0; }
  bool MoveFileOver(const std::string& from, const std::string& to) override {
    if (!files.count(from)) return false;
    files[to] = files[from];
    return files.erase(from), true;
  }
  char DecimalSeparator() override { return '.'; }

  Tree keys;
  std::map<RegKey, std::string> handles;
  std::map<std::string, Tree> files;
  RegKey next_handle = 1;
};

}  // namespace melodane::testing
