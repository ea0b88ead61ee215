// Text the program takes from outside, made up: the first byte picks whose rules it is
// held to (stored numbers, stored settings on the window, the settings file, the fetched
// version text); the sanitizers watch the rest.
#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
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

bool AllDigits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Only a signed decimal with blanks around it is a number, and it reads as the nearest
// whole number, halves to even. Near the 64-bit limit it may be refused.
void StoredNumber(FuzzedDataProvider& input) {
  const std::string text = input.ConsumeRemainingBytesAsString();
  const auto whole = TextToWhole(text);
  Check(TextToInt16(text) == (whole ? Narrow16(*whole) : std::nullopt), "16 bits or nothing");
  std::string_view number = text;
  number.remove_prefix(std::min(number.find_first_not_of(" \t"), number.size()));
  number.remove_suffix(number.size() - (number.find_last_not_of(" \t") + 1));
  const bool negative = number.starts_with('-');
  if (negative || number.starts_with('+')) number.remove_prefix(1);
  const size_t point = std::min(number.find('.'), number.size());
  const std::string_view digits = number.substr(0, point),
                         fraction = number.substr(std::min(point + 1, number.size()));
  const bool decimal = !number.empty() && number != "." && AllDigits(digits) && AllDigits(fraction);
  Check(decimal || !whole, "no decimal, no number");
  std::int64_t integer = 0;
  const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), integer);
  if (!decimal || (!digits.empty() && read.ec != std::errc()) || integer > 100'000'000'000'000'000)
    return;
  Check(whole.has_value(), "a decimal is a number");
  const std::string_view half = fraction.substr(0, fraction.find_last_not_of('0') + 1);
  const int up = half > "5" ? 1 : half < "5" ? 0 : integer % 2;
  Check(*whole == (negative ? -(integer + up) : integer + up), "nearest, halves to even");
}

// Whatever the settings hold, the window starts with each choice in its control's range,
// an option checked only by "True", and what it saves loads as the same choices.
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
  const auto stored = [&](const char* key, const char* otherwise) {
    return rig.settings.Load(kSettingsApp, kSettingsSection, key).value_or(otherwise) == "True";
  };
  Check(view.auto_run.checked == stored("AutoRun", "True") &&
            view.tray.checked == stored("Tray", "False"),
        "only True checks");
  const auto choices = [](const testing::MemoryView& v) {
    return std::vector{v.vol.Value(),        v.tones.ListIndex(),     v.devices.ListIndex(),
                       v.sounds.ListIndex(), int{v.auto_run.checked}, int{v.tray.checked}};
  };
  rig.Form().Form_Unload();
  testing::FormRig again;
  again.settings.values = rig.settings.values;
  again.Form().Form_Load();
  Check(choices(again.view) == choices(view), "saved choices load as they were");
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
// offers the update, "3.0" itself is news only when asked for, anything else is no answer.
void VersionText(FuzzedDataProvider& input) {
  testing::FormRig rig;
  const bool asked = input.ConsumeBool(), accepted = input.ConsumeBool();
  rig.view.answer = accepted ? kIdOk : kIdOk + 1;
  rig.view.body = input.ConsumeRemainingBytesAsString();
  asked ? rig.Form().menclv_Click() : rig.Form().timBg_Timer();
  std::string got;  // each box's flags, then what the answer set off
  for (const std::string& event : rig.view.events) {
    if (event.starts_with("box ")) got += event.substr(4, event.find(' ', 4) - 4) + ";";
    if (event.starts_with("open ") || event == "end now") got += event.substr(0, 4) + ";";
  }
  const size_t size = rig.view.body.size();
  const bool answer = size >= 3 && size <= 9, news = answer && rig.view.body != "3.0";
  const int flags = !answer ? kMbIconExclamation
                    : news  ? kMbOkCancel | kMbIconQuestion
                            : kMbIconInformation;
  Check(got == (!answer || news || asked ? std::to_string(flags) + ";" : "") +
                   (news && accepted ? "open;open;end ;" : ""),
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
