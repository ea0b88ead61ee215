// A registry held in memory, with the rules of the platform's that the program relies
// on: keys below separate roots, names without regard to case, subkeys listed in name
// order and values in the order they were made, a key with subkeys not deleted, saves
// that refuse an existing file. Saved keys and files live in memory too.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "common/ascii_case.h"
#include "registry/registry_api.h"

namespace melodane::testing {

struct MemoryRegistry final : RegistryApi {
  using Bytes = std::vector<std::uint8_t>;
  struct Value {
    std::string name;
    std::uint32_t type;
    Bytes data;
  };
  struct Key {
    std::string name;
    std::vector<Value> values;
  };
  using Tree = std::map<std::string, Key>;  // by lower-cased path from the root

  // The path of a key below a root or an open key, or nothing for a handle not known.
  std::optional<std::string> Path(RegKey root, const std::string& path) const {
    const auto open = handles.find(root);
    const std::string base = open != handles.end() ? open->second : std::to_string(root);
    if (open == handles.end() && root >= 0) return std::nullopt;
    return path.empty() ? base : base + "\\" + AsciiLowered(path);
  }
  std::vector<Tree::iterator> Children(const std::string& path) {
    std::vector<Tree::iterator> children;
    for (auto it = keys.upper_bound(path + "\\"); it != keys.end(); ++it) {
      if (it->first.rfind(path + "\\", 0) != 0) break;
      if (it->first.find('\\', path.size() + 1) == std::string::npos) children.push_back(it);
    }
    return children;
  }
  Value* Find(RegKey key, const std::string& name) {
    auto& values = keys[handles.at(key)].values;
    const auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) {
      return AsciiLowered(v.name) == AsciiLowered(name);
    });
    return it == values.end() ? nullptr : &*it;
  }
  static std::int32_t CopyName(const std::string& name, char* out, std::uint32_t* size) {
    if (name.size() + 1 > *size) return kErrorMoreData;
    std::memcpy(out, name.c_str(), name.size() + 1);
    *size = static_cast<std::uint32_t>(name.size());
    return kErrorSuccess;
  }

  std::int32_t OpenKey(RegKey root, const std::string& path, std::uint32_t, RegKey& key) override {
    const auto full = Path(root, path);
    if (!full || (full->find('\\') != std::string::npos && !keys.count(*full))) {
      return kErrorFileNotFound;
    }
    handles[key = next_handle++] = *full;
    return kErrorSuccess;
  }
  std::int32_t CreateKey(RegKey root, const std::string& path, std::uint32_t,
                         RegKey& key) override {
    const auto base = Path(root, "");
    if (!base) return kErrorInvalidHandle;
    std::string full = *base;
    for (std::size_t start = 0; !path.empty() && start <= path.size();) {
      const std::size_t end = std::min(path.find('\\', start), path.size());
      const std::string part = path.substr(start, end - start);
      full += "\\" + AsciiLowered(part);
      if (!keys.count(full)) keys[full].name = part;
      start = end + 1;
    }
    handles[key = next_handle++] = full;
    return kErrorSuccess;
  }
  std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override {
    Bytes bytes(data, data + size);
    if (Value* value = Find(key, name)) {
      *value = {value->name, type, bytes};
    } else {
      keys[handles.at(key)].values.push_back({name, type, bytes});
    }
    return kErrorSuccess;
  }
  std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override {
    const Value* value = Find(key, name);
    if (!value) return kErrorFileNotFound;
    if (type) *type = value->type;
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    const bool fits = !data || *size >= needed;
    if (data && fits) std::copy(value->data.begin(), value->data.end(), data);
    *size = needed;
    return fits ? kErrorSuccess : kErrorMoreData;
  }
  std::int32_t EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* size) override {
    const auto children = Children(handles.at(key));
    if (index >= children.size()) return kErrorNoMoreItems;
    return CopyName(children[index]->second.name, name, size);
  }
  std::int32_t EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* size,
                         std::uint32_t* type) override {
    const auto& values = keys[handles.at(key)].values;
    if (index >= values.size()) return kErrorNoMoreItems;
    if (type) *type = values[index].type;
    return CopyName(values[index].name, name, size);
  }
  std::int32_t DeleteKey(RegKey root, const std::string& path) override {
    const auto full = Path(root, path);
    if (!full || !keys.count(*full)) return kErrorFileNotFound;
    if (!Children(*full).empty()) return kErrorAccessDenied;
    keys.erase(*full);
    return kErrorSuccess;
  }
  std::int32_t DeleteValue(RegKey key, const std::string& name) override {
    auto& values = keys[handles.at(key)].values;
    const Value* value = Find(key, name);
    if (!value) return kErrorFileNotFound;
    values.erase(values.begin() + (value - values.data()));
    return kErrorSuccess;
  }
  std::int32_t CloseKey(RegKey key) override {
    return handles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
  }
  // A save holds the key's subtree with paths relative to it.
  std::int32_t SaveKey(RegKey key, const std::string& file) override {
    if (files.count(file)) return kErrorAlreadyExists;
    const std::string path = handles.at(key);
    Tree saved;
    for (auto it = keys.lower_bound(path); it != keys.end() && it->first.rfind(path, 0) == 0;
         ++it) {
      if (it->first.size() == path.size() || it->first[path.size()] == '\\') {
        saved[it->first.substr(path.size())] = it->second;
      }
    }
    files[file] = saved;
    return kErrorSuccess;
  }
  std::int32_t RestoreKey(RegKey key, const std::string& file, std::uint32_t) override {
    const auto found = files.find(file);
    if (found == files.end()) return kErrorFileNotFound;
    const std::string path = handles.at(key);
    const std::string name = keys[path].name;
    std::erase_if(keys, [&](const auto& entry) {
      return entry.first.rfind(path, 0) == 0 &&
             (entry.first.size() == path.size() || entry.first[path.size()] == '\\');
    });
    for (const auto& [relative, saved] : found->second) keys[path + relative] = saved;
    keys[path].name = name;
    return kErrorSuccess;
  }
  std::uint32_t ExpandEnvironment(const std::string& text, char* out, std::uint32_t size) override {
    return CopyName(text, out, &size) == kErrorSuccess ? size + 1 : 0;
  }
  bool OpenProcessToken(std::uint32_t, std::intptr_t& token) override { return token = 1, true; }
  std::uint32_t LastError() override { return last_error; }
  void SetLastErrorCode(std::uint32_t code) override { last_error = code; }
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
  std::uint32_t last_error = 0;
};

}  // namespace melodane::testing
