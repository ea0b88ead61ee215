#include <windows.h>

#include <fstream>

#include "registry/registry_platform.h"
#include "registry/win32/advapi_registry_api.h"

namespace melodane::testing {

RegistryPlatform MakeRegistryPlatform() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "melodane-reg-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return {std::make_unique<win32::AdvapiRegistryApi>(), folder, wine, [](const std::string& in) {
            const std::string name = in + "hidden.reg";
            std::ofstream(name) << "mine";
            SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
            return name;
          }};
}

}  // namespace melodane::testing
