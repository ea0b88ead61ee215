#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "registry/linux/sqlite_registry_api.h"
#include "registry/registry_platform.h"

namespace melodane::testing {

RegistryPlatform MakeRegistryPlatform() {
  const auto folder =
      std::filesystem::temp_directory_path() / ("melodane-reg-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::ofstream(folder / ".hidden.reg") << "mine";
  return {std::make_unique<on_linux::SqliteRegistryApi>((folder / "registry.sqlite3").string()),
          folder.string() + "/", (folder / ".hidden.reg").string()};
}

}  // namespace melodane::testing
