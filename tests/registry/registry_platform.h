// What the registry conformance tests need of each platform: its registry, a folder for
// saved keys, and the known ways Wine's registry differs from Windows'.
#pragma once

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "registry/registry_api.h"

namespace melodane::testing {

struct RegistryPlatform {
  std::unique_ptr<RegistryApi> api;
  std::string folder;  // ends with the platform's separator
  bool wine = false;   // RegRestoreKeyA is a stub there
  // A file of that name made hidden (a system's hidden file, or a dot-file on Linux).
  std::string (*make_hidden_file)(const std::string& folder);
};

// A file's whole content, or nothing when there is no such file.
inline std::optional<std::string> FileContent(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

RegistryPlatform MakeRegistryPlatform();

}  // namespace melodane::testing
