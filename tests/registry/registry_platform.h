// What the registry conformance tests need of each platform: its registry, a folder for
// saved keys, and the known ways Wine's registry differs from Windows'.
#pragma once

#include <memory>
#include <string>

#include "registry/registry_api.h"

namespace melodane::testing {

struct RegistryPlatform {
  std::unique_ptr<RegistryApi> api;
  std::string folder;  // ends with the platform's separator
  // A file in the folder that holds "mine" and that the platform counts hidden (a system's
  // hidden file, or a dot-file on Linux).
  std::string hidden_file;
  bool wine = false;  // RegRestoreKeyA is a stub there
};

RegistryPlatform MakeRegistryPlatform();

}  // namespace melodane::testing
