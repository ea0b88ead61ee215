// Text the program takes from outside, made up: the first byte picks whose rules it is
// held to (stored numbers, stored settings on the window, the settings file, the fetched
// version text); the sanitizers watch the rest.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/linux/ini_settings_store.h"
#include "common/whole_number.h"
#include "fakes/form_rig.h"

using namespace melodane;

namespace {

void Check(bool kept, const char* rule) {
  if (kept) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

// Only blanks, a sign, digits and a point make a number; a number in 16 bits is the
// 16-bit reading, and a number's own decimal text reads as the same number (near the
// 64-bit limit it may be refused).
void StoredNumber(FuzzedDataProvider& input) {
  const std::string text = input.ConsumeRemainingBytesAsString();
  const auto whole = TextToWhole(text);
  Check(TextToInt16(text) == (whole ? Narrow16(*whole) : std::nullopt), "16 bits or nothing");
  if (!whole) return;
  Check(text.find_first_not_of(" \t+-.0123456789") == std::string::npos, "no decimal, no number");
  Check(std::abs(*whole) > 100'000'000'000'000'000 || TextToWhole(std::to_string(*whole)) == whole,
        "a number reads as itself");
}

// Whatever the settings hold, the window starts with each choice in its control's range,
// and what it saves loads as the same choices.
void StoredSettings(FuzzedDataProvider& input) {
  testing::FormRig rig;
  for (const char* key : {"Vol", "Stage", "Devies", "Tools", "AutoRun", "Tray"}) {
    if (input.ConsumeBool()) rig.settings.Set(key, input.ConsumeRandomLengthString(12));
  }
  rig.Form().Form_Load();
  const testing::MemoryView& view = rig.view;
  Check(view.vol.Value() >= view.vol.Min() && view.vol.Value() <= view.vol.Max(), "volume");
  for (const auto* list : {&view.tones, &view.devices, &view.sounds}) {
    Check(list->ListIndex() >= -1 && list->ListIndex() < list->ListCount(), "list index");
  }
  rig.Form().Form_Unload();
  testing::FormRig again;
  again.settings.values = rig.settings.values;
  again.Form().Form_Load();
  Check(again.Choices() == rig.Choices(), "saved choices load as they were");
}

// Whatever the file holds, every key in it reads safely; a save reads back as saved and
// changes one line or adds lines, keeping every other byte; a refused save changes nothing.
void SettingsFile(FuzzedDataProvider& input) {
  // On a memory file system; scripts/test names one and removes it afterwards.
  static const char* const named = std::getenv("MELODANE_FUZZ_FOLDER");
  static const std::filesystem::path folder =
      std::filesystem::path(named ? named : "/dev/shm/melodane-fuzz") / "settings";
  static const std::filesystem::path file = folder / "B.ini";
  static on_linux::IniSettingsStore store(folder.string());
  std::filesystem::create_directories(folder);
  const std::string section = input.PickValueInArray({"Value", "value", "Other"});
  const std::string key = input.PickValueInArray({"Vol", "vol", "Tray", "New"});
  const std::string value = input.ConsumeRandomLengthString(16);
  const std::string before = input.ConsumeRemainingBytesAsString();
  std::ofstream(file, std::ios::binary | std::ios::trunc) << before;
  std::string_view in_section;
  for (size_t at = 0, end, loads = 0; at < before.size() && loads < 32; at = end + 1) {
    end = std::min(before.find('\n', at), before.size());
    const std::string_view line = std::string_view(before).substr(at, end - at);
    if (line.starts_with('[')) in_section = line.substr(1, line.find(']') - 1);
    if (line.find('=') != std::string_view::npos) {
      store.Load("B", in_section, line.substr(0, line.find('='))), ++loads;
    }
  }
  const bool saved = store.Save("B", section, key, value);
  const std::string after(std::istreambuf_iterator<char>(std::ifstream(file).rdbuf()), {});
  Check(saved == ((before + value).find('\0') == std::string::npos),
        "a save fails only on what could not be read back");
  if (!saved) return Check(after == before, "a refused save changes nothing");
  Check(store.Load("B", section, key) == value, "a saved value reads back");
  const auto [gone, put] = std::mismatch(before.begin(), before.end(), after.begin(), after.end());
  const auto [gone_end, put_end] = std::mismatch(before.rbegin(), std::make_reverse_iterator(gone),
                                                 after.rbegin(), std::make_reverse_iterator(put));
  Check(std::find(gone, gone_end.base(), '\n') == gone_end.base() &&
            (gone == gone_end.base() || std::find(put, put_end.base(), '\n') == put_end.base()),
        "a save changes one line or adds lines");
}

// The fetched text is compared whole with "3.0": another text of three to nine characters
// offers the update; every check ends in at most one message.
void VersionText(FuzzedDataProvider& input) {
  testing::FormRig rig;
  const bool asked = input.ConsumeBool();
  rig.view.answer = kIdOk + 1;  // Cancel: the program goes on
  rig.view.body = input.ConsumeRemainingBytesAsString();
  asked ? rig.Form().menclv_Click() : rig.Form().timBg_Timer();
  const std::string offer = "box " + std::to_string(kMbOkCancel | kMbIconQuestion) + " ";
  const auto boxes = std::ranges::count_if(
      rig.view.events, [](const std::string& e) { return e.starts_with("box "); });
  const bool offered = std::ranges::any_of(
      rig.view.events, [&](const std::string& e) { return e.starts_with(offer); });
  const size_t size = rig.view.body.size();
  Check(boxes <= 1 && offered == (size >= 3 && size <= 9 && rig.view.body != "3.0"),
        "the verdict follows the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  FuzzedDataProvider input(data + 1, size - 1);
  static void (*const kTargets[])(FuzzedDataProvider&) = {StoredNumber, StoredSettings,
                                                          SettingsFile, VersionText};
  kTargets[data[0] % 4](input);
  return 0;
}
