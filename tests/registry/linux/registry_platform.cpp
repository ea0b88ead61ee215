#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "registry/linux/sqlite_registry_api.h"
#include "registry/registry_platform.h"

namespace melodane::testing {

namespace fs = std::filesystem;

RegistryPlatform MakeRegistryPlatform() {
  const fs::path folder = fs::temp_directory_path() / ("melodane-reg-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return {std::make_unique<on_linux::SqliteRegistryApi>((folder / "registry.sqlite3").string()),
          folder.string() + "/", false, [](const std::string& in) {
            std::ofstream(in + ".hidden.reg") << "mine";
            return in + ".hidden.reg";
          }};
}

}  // namespace melodane::testing
