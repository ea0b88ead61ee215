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
  std::ofstream(folder + "hidden.reg") << "mine";
  SetFileAttributesA((folder + "hidden.reg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return {std::make_unique<win32::AdvapiRegistryApi>(), folder, folder + "hidden.reg", wine};
}

}  // namespace melodane::testing
