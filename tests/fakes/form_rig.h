// The main window's behaviour with the window and every service kept in memory.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/layout.h"
#include "app/main_form.h"
#include "fakes/memory_registry.h"
#include "fakes/sound_fakes.h"

namespace melodane::testing {

struct MemoryList final : ListControl {
  void Clear() override { items.clear(), index = -1; }
  int AddItem(std::string_view text) override {
    return items.emplace_back(text, 0), ListCount() - 1;
  }
  int ListCount() const override { return static_cast<int>(items.size()); }
  std::optional<std::int32_t> ItemData(int i) const override {
    return i >= 0 && i < ListCount() ? std::optional(items[i].second) : std::nullopt;
  }
  bool SetItemData(int i, std::int32_t data) override {
    return i >= 0 && i < ListCount() && (items[i].second = data, true);
  }
  int ListIndex() const override { return index; }
  bool Select(int i) override { return index = i, true; }
  std::vector<std::pair<std::string, std::int32_t>> items;
  int index = -1;
};

struct MemoryScrollBar final : ScrollBarControl {
  int Value() const override { return value; }
  int Min() const override { return Layout(ControlId::Vol).min; }
  int Max() const override { return Layout(ControlId::Vol).max; }
  bool Assign(int v) override { return value = v, true; }
  int value = 0;
};

struct MemoryCheckBox final : CheckBoxControl {
  bool Checked() const override { return checked; }
  void SetChecked(bool value) override { checked = value; }
  bool checked = false;
};

// A window whose frame is 120 twips wider and 570 twips taller than its client area, on
// a 1920 x 1080 pixel screen at 96 dots per inch. It records what the form does to it,
// and what the form asks of the help services, in one list.
struct MemoryView final : FormView, WebLauncher, VersionTransfer, MessageBoxes {
  ListControl& ComDevies() override { return devices; }
  ListControl& ComSounds() override { return sounds; }
  ListControl& Tones() override { return tones; }
  ScrollBarControl& Vol() override { return vol; }
  CheckBoxControl& chkAutoRun() override { return auto_run; }
  CheckBoxControl& chkTray() override { return tray; }
  void Show() override { visible = true, events.push_back("show"); }
  void Hide() override { visible = false, events.push_back("hide"); }
  WindowState GetWindowState() const override { return state; }
  void SetWindowState(WindowState s) override {
    state = s;
    events.push_back(s == WindowState::kMinimized ? "minimized" : "normal");
  }
  TwipsRect WindowBounds() const override { return bounds; }
  TwipsSize ClientSize() const override { return {bounds.width - 120, bounds.height - 570}; }
  void SetWindowBounds(const TwipsRect& b) override { bounds = b; }
  TwipsSize ScreenSize() const override { return {1920 * 15, 1080 * 15}; }
  void EndProgram() override { ended = true; }
  void EndNow() override { events.push_back("end now"); }
  std::optional<MenuId> PopupHelpMenu() override { return events.push_back("menu"), menu_choice; }
  void SetMousePointer(int code) override { events.push_back("pointer " + std::to_string(code)); }
  void SetEnabled(bool enabled) override { events.push_back(enabled ? "enabled" : "disabled"); }
  void ShowProgress(int left, int top) override {
    events.push_back("progress at " + std::to_string(left) + "," + std::to_string(top));
  }
  void HideProgress() override { events.push_back("progress hidden"); }
  void SetTimBgEnabled(bool enabled) override {
    events.push_back(enabled ? "timBg on" : "timBg off");
  }

  void OpenWebAddress(const std::string& address) override { events.push_back("open " + address); }
  std::string Fetch(const std::string& address, std::chrono::seconds limit) override {
    events.push_back("fetch " + address + " " + std::to_string(limit.count()) + " s");
    return body;
  }
  std::string_view ProxyAdvice() const override { return "Set the proxy."; }
  int MsgBox(std::string_view text, int flags, std::string_view title) override {
    events.push_back("box " + std::to_string(flags) + " " + std::string(title) + ": " +
                     std::string(text));
    return answer;
  }

  MemoryList devices, sounds, tones;
  MemoryScrollBar vol;
  MemoryCheckBox auto_run, tray;
  TwipsRect bounds{0, 0, kFormLayout.client_width + 120, kFormLayout.client_height + 570};
  WindowState state = WindowState::kNormal;
  bool visible = false, ended = false;
  std::optional<MenuId> menu_choice;
  std::string body = "3.0";  // of the version file
  int answer = kIdOk;        // to every message box
  std::vector<std::string> events;
};

// Settings in memory by application, section and key, with the order of the writes.
struct MemorySettings final : SettingsStore {
  std::optional<std::string> Load(std::string_view app, std::string_view section,
                                  std::string_view key) override {
    const auto found = values.find(Path(app, section, key));
    return found == values.end() ? std::nullopt : std::optional(found->second);
  }
  bool Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view text) override {
    writes.push_back(std::string(key) + "=" + std::string(text));
    if (!refuse_writes) values[Path(app, section, key)] = text;
    return !refuse_writes;
  }
  // The form's own section.
  void Set(std::string_view key, std::string_view text) {
    values[Path(kSettingsApp, kSettingsSection, key)] = text;
  }
  static std::string Path(std::string_view app, std::string_view section, std::string_view key) {
    return std::string(app).append("\\").append(section).append("\\").append(key);
  }
  std::map<std::string, std::string> values;
  std::vector<std::string> writes;
  bool refuse_writes = false;
};

// A notification area that shows one icon at a time, as the system's does.
struct RecordingTray final : NotificationArea {
  bool Add(std::string_view tip) override {
    calls.push_back("add " + std::string(tip));
    return !refuse_all && !std::exchange(shown, true);
  }
  bool Delete() override { return calls.push_back("delete"), std::exchange(shown, false); }
  bool refuse_all = false, shown = false;
  std::vector<std::string> calls;
};

struct FormRig {
  FormServices Services(NotificationArea& icon) {
    return {
        port, settings, keys, random, icon, registry, "C:\\Program Files\\Melodane\\melodane.exe",
        view, view,     view, site};
  }
  // Created on first use, so that a test can arrange the services first.
  frmPubMain& Form() {
    if (!form) form.emplace(view, Services(tray));
    return *form;
  }
  // What the controls hold: volume, tone, device, instrument, and the two options.
  std::vector<int> Choices() const {
    return {view.vol.Value(),        view.tones.ListIndex(), view.devices.ListIndex(),
            view.sounds.ListIndex(), view.auto_run.checked,  view.tray.checked};
  }
  RecordingMidiOut out;
  MidiPort port{out};
  MemorySettings settings;
  MemoryView view;
  ScriptedKeys keys;
  ScriptedRandom random;
  RecordingTray tray;
  MemoryRegistry registry;
  SiteConfig site{"https://site.test", "https://fb.test/m", "https://tw.test/m"};
  std::optional<frmPubMain> form;
};

}  // namespace melodane::testing
