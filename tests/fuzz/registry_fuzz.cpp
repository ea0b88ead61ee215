// Random sequences of the Registry's operations on the SQLite stand-in, each result
// checked against the same operation on a registry held in memory.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fakes/memory_registry.h"
#include "registry/linux/sqlite_registry_api.h"
#include "registry/registry.h"

using namespace melodane;

namespace {

template <typename T>
void Same(const T& got, const T& expected, const char* operation) {
  if (got == expected) return;
  std::fprintf(stderr, "%s differs from the model\n", operation);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // On a memory file system, where the database's syncs cost nothing; scripts/test names
  // one and removes it afterwards.
  static const std::filesystem::path folder =
      std::getenv("MELODANE_FUZZ_FOLDER")
          ? std::filesystem::path(std::getenv("MELODANE_FUZZ_FOLDER"))
          : std::filesystem::path("/dev/shm") / ("melodane-fuzz-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  on_linux::SqliteRegistryApi stand_in((folder / "registry.sqlite3").string());
  testing::MemoryRegistry model;
  Registry real(stand_in), expected(model);
  FuzzedDataProvider input(data, size);
  static const char* const kPaths[] = {"M", "M\\a", "M\\A\\b", "m\\a\\B\\c", "M\\*SK*"};
  static const char* const kNames[] = {"", "v", "V", " w ", "M", "x*IS*"};
  for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
    const std::string path = input.PickValueInArray(kPaths);
    std::string name = input.PickValueInArray(kNames), copy = name;
    std::string text = input.ConsumeRandomLengthString(12);
    std::replace(text.begin(), text.end(), '%', '_');  // the model expands nothing
    const std::string file = (folder / input.PickValueInArray({"a.reg", "b.reg"})).string();
    switch (input.ConsumeIntegralInRange(0, 9)) {
      case 0:
        Same(real.ReadRegKey(kHkeyCurrentUser, path, name, "none"),
             expected.ReadRegKey(kHkeyCurrentUser, path, name, "none"), "ReadRegKey");
        break;
      case 1: {
        const auto type = input.ConsumeIntegralInRange(0, 5);
        Same(real.WriteRegKey(type, kHkeyCurrentUser, path, name, text),
             expected.WriteRegKey(type, kHkeyCurrentUser, path, name, text), "WriteRegKey");
        break;
      }
      case 2:
        Same(real.EnumerateRegKeys(kHkeyCurrentUser, path),
             expected.EnumerateRegKeys(kHkeyCurrentUser, path), "EnumerateRegKeys");
        break;
      case 3:
        Same(real.EnumerateRegKeyValues(kHkeyCurrentUser, path),
             expected.EnumerateRegKeyValues(kHkeyCurrentUser, path), "EnumerateRegKeyValues");
        break;
      case 4:
        real.DeleteRegKey(kHkeyCurrentUser, path);
        expected.DeleteRegKey(kHkeyCurrentUser, path);
        break;
      case 5:
        Same(real.DeleteRegKeyValue(kHkeyCurrentUser, path, name),
             expected.DeleteRegKeyValue(kHkeyCurrentUser, path, copy), "DeleteRegKeyValue");
        break;
      case 6:
        Same(real.GetRegKeyItems(kHkeyCurrentUser, path),
             expected.GetRegKeyItems(kHkeyCurrentUser, path), "GetRegKeyItems");
        break;
      case 7:
        Same(real.EnumerateRegKeyItemNames(kHkeyCurrentUser, path),
             expected.EnumerateRegKeyItemNames(kHkeyCurrentUser, path), "EnumerateRegKeyItemNames");
        break;
      case 8:
        Same(real.ExportRegKey(kHkeyCurrentUser, path, file),
             expected.ExportRegKey(kHkeyCurrentUser, path, file), "ExportRegKey");
        break;
      case 9:
        Same(real.ImportRegKey(kHkeyCurrentUser, path, file),
             expected.ImportRegKey(kHkeyCurrentUser, path, file), "ImportRegKey");
        break;
    }
  }
  return 0;
}
