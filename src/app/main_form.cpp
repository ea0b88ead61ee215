#include "app/main_form.h"

#include <cmath>
#include <string>

#include "app/layout.h"
#include "app/lists.h"
#include "app/product.h"
#include "common/whole_number.h"
#include "registry/registry.h"

namespace melodane {

namespace {

// The client area ends this far right of the tone list and below the Help picture.
constexpr int kMarginTwips = 90;
// The window sits at the golden section of the free screen space, left of and above
// the centre.
constexpr double kPlacement = 1 - 0.618;

void Fill(ListControl& list, std::span<const std::string_view> names) {
  for (std::string_view name : names) list.AddItem(name);
}

// A stored number that is no number, does not fit 16 bits or is refused by the control
// leaves the control as it was.
void ApplyIndex(ListControl& list, std::string_view text) {
  if (const auto index = TextToInt16(text)) list.SetListIndex(*index);
}

void ApplyValue(ScrollBarControl& bar, std::string_view text) {
  if (const auto value = TextToInt16(text)) bar.SetValue(*value);
}

std::string BoolText(bool value) { return value ? "True" : "False"; }

}  // namespace

frmPubMain::frmPubMain(FormView& view, FormServices services)
    : view_(view), services_(services), player_(services.keys, services.random, services.midi) {
  Fill(view_.ComSounds(), kInstrumentNames);
  Fill(view_.Tones(), kToneNames);
}

bool frmPubMain::Form_Initialize(SingleInstance& instance) {
  return !instance.AnotherInstanceRuns();
}

std::string frmPubMain::Read(std::string_view key, std::string_view default_text) {
  return ReadSetting(services_.settings, kSettingsApp, kSettingsSection, key, default_text);
}

void frmPubMain::Write(std::string_view key, std::string_view text) {
  WriteSetting(services_.settings, kSettingsApp, kSettingsSection, key, text);
}

void frmPubMain::FillDeviceList() {
  ListControl& list = view_.ComDevies();
  list.Clear();
  for (const MidiDevice& device : services_.midi.ListMidiOutDevices()) {
    list.SetItemData(list.AddItem(device.name), device.item_data);
  }
}

void frmPubMain::Form_Load() {
  FillDeviceList();
  ApplyValue(view_.Vol(), Read("Vol", "100"));
  ApplyIndex(view_.Tones(), Read("Stage", "0"));
  ApplyIndex(view_.ComDevies(), Read("Devies", "0"));
  ApplyIndex(view_.ComSounds(), Read("Tools", "0"));
  // Only the exact text "True" checks an option.
  view_.chkAutoRun().SetChecked(Read("AutoRun", "True") == "True");
  view_.chkTray().SetChecked(Read("Tray", "False") == "True");
  ComDevies_Click();
  ComSounds_Click();
  SizeWindow();
  PlaceWindow();
  if (view_.chkTray().Checked()) {
    MinimizeToTray();
  } else {
    view_.Show();
  }
}

void frmPubMain::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Write("Devies", std::to_string(view_.ComDevies().ListIndex()));
  Write("Tools", std::to_string(view_.ComSounds().ListIndex()));
  Write("Vol", std::to_string(view_.Vol().Value()));
  Write("Stage", std::to_string(view_.Tones().ListIndex()));
  Write("AutoRun", BoolText(view_.chkAutoRun().Checked()));
  Write("Tray", BoolText(view_.chkTray().Checked()));
  UpdateRunEntry();
  RemoveTrayIcon();
  services_.midi.CloseMidiOut();
  view_.EndProgram();
}

void frmPubMain::ComDevies_Click() {
  if (unloaded_) return;
  // With nothing selected there is no item data, and no port is opened or closed.
  ListControl& list = view_.ComDevies();
  const auto data = list.ItemData(list.ListIndex());
  if (!data) return;
  const auto device_id = Narrow16(*data);
  if (!device_id) return;
  services_.midi.OpenMidiOut(*device_id);
}

void frmPubMain::ComSounds_Click() {
  if (unloaded_) return;
  // The list is in General MIDI program order; no selection sends program -1.
  const auto program = Narrow16(view_.ComSounds().ListIndex());
  if (!program) return;
  services_.midi.SetMidiInstrument(0, 0, *program);
}

void frmPubMain::SizeWindow() {
  const TwipsRect outer = view_.WindowBounds();
  const TwipsSize client = view_.ClientSize();
  const ControlLayout& help = Layout(ControlId::picHelp);
  const ControlLayout& tone = Layout(ControlId::diao);
  TwipsRect sized = outer;
  sized.height = (outer.height - client.height) + help.top + help.height + kMarginTwips;
  sized.width = (outer.width - client.width) + tone.left + tone.width + kMarginTwips;
  view_.SetWindowBounds(sized);
}

void frmPubMain::PlaceWindow() {
  const TwipsSize screen = view_.ScreenSize();
  TwipsRect placed = view_.WindowBounds();
  placed.left = static_cast<int>(std::lround((screen.width - placed.width) * kPlacement));
  placed.top = static_cast<int>(std::lround((screen.height - placed.height) * kPlacement));
  view_.SetWindowBounds(placed);
}

void frmPubMain::Timer1_Timer() {
  if (unloaded_) return;
  // Read once per tick: nothing changes them while the tick runs. Both always fit 16
  // bits (twelve tones, a volume of 0 to 100); a tick that cannot read them plays nothing.
  const auto tone = Narrow16(view_.Tones().ListIndex());
  const auto volume = Narrow16(view_.Vol().Value());
  if (tone && volume) player_.Tick(*tone, *volume);
}

void frmPubMain::Form_Resize() {
  if (!unloaded_ && view_.GetWindowState() == WindowState::kMinimized) MinimizeToTray();
}

void frmPubMain::Form_MouseMove(IconMouse event) {
  if (unloaded_) return;
  if (event == IconMouse::kLeftButtonUp || event == IconMouse::kRightButtonUp) {
    view_.SetWindowState(WindowState::kNormal);
    view_.Show();
  }
}

void frmPubMain::MinimizeToTray() {
  // Showing the window minimized below resizes it again.
  if (minimizing_) return;
  minimizing_ = true;
  view_.Hide();
  if (services_.tray.Add(kProductName)) {
    icon_added_ = true;
  } else if (!icon_added_) {
    // With no icon, a hidden window could never be brought back: it waits minimized.
    view_.SetWindowState(WindowState::kMinimized);
    view_.Show();
  }
  // A refused add while the icon exists leaves the window hidden, the icon as it was.
  minimizing_ = false;
}

void frmPubMain::RemoveTrayIcon() {
  // Refused, to no effect, when the icon was never added.
  services_.tray.Delete();
}

// The start-at-logon entry follows the box at every shut-down, so it also follows the
// program's file when that moves. The path is quoted: with a blank in it, the system
// would otherwise try the part before the blank as a program first.
void frmPubMain::UpdateRunEntry() {
  static constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  Registry registry(services_.registry);
  std::string name = "Melodane";
  if (view_.chkAutoRun().Checked()) {
    registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kRunKey, name,
                         "\"" + services_.program_file + "\"");
  } else {
    registry.DeleteRegKeyValue(kHkeyCurrentUser, kRunKey, name);
  }
}

std::string ProgramFile(std::string_view folder, std::string_view name) {
  std::string file(folder);
  if (file.empty() || file.back() != '\\') file += '\\';
  return file.append(name).append(".exe");
}

}  // namespace melodane

namespace melodane {

namespace {

constexpr std::chrono::seconds kFetchLimit{9};

constexpr std::string_view kNoConnection =
    "Cannot connect to Brenwick server to check the new version, please check the Internet "
    "connection and try again.\r\n\r\n";

std::string NewVersionFound() {
  return "New version found, please click <OK> to exit " + std::string(kProductName) +
         ", view the update and download the latest version, to abandon upgrading, please "
         "click <Cancel>.";
}

}  // namespace

void frmPubMain::OpenWebAddress(const std::string& address) {
  services_.web.OpenWebAddress(address);
}

void frmPubMain::picHelp_Click() {
  if (unloaded_) return;
  if (const auto item = view_.PopupHelpMenu()) RunMenuItem(*item);
}

void frmPubMain::RunMenuItem(MenuId item) {
  switch (item) {
    case MenuId::menph:
      return menph_Click();
    case MenuId::mench:
      return mench_Click();
    case MenuId::menrs:
      return menrs_Click();
    case MenuId::menrf:
      return menrf_Click();
    case MenuId::menclv:
      return menclv_Click();
    case MenuId::menfuf:
      return menfuf_Click();
    case MenuId::menfut:
      return menfut_Click();
    case MenuId::menhsb:
    case MenuId::menhsa:
      return;
  }
}

void frmPubMain::menph_Click() { OpenWebAddress(services_.site.ProductPage()); }
void frmPubMain::mench_Click() { OpenWebAddress(services_.site.CompanyHomePage()); }
void frmPubMain::menrs_Click() { OpenWebAddress(services_.site.SupportPage()); }
void frmPubMain::menrf_Click() {
  OpenWebAddress(services_.site.ProductPage() + "?selectedTab=recommend");
}
void frmPubMain::menfuf_Click() { OpenWebAddress(services_.site.facebook_page); }
void frmPubMain::menfut_Click() { OpenWebAddress(services_.site.twitter_page); }

std::string frmPubMain::FetchVersionText() {
  return services_.transfer.Fetch(services_.site.VersionFileAddress(), kFetchLimit);
}

// The published text is compared whole with this build's: any difference is a new
// version. A text of under 3 or over 9 characters is no version at all.
void frmPubMain::JudgeVersion(const std::string& text, bool say_up_to_date) {
  if (text.size() < 3 || text.size() > 9) {
    services_.boxes.MsgBox(std::string(kNoConnection).append(services_.transfer.ProxyAdvice()),
                           kMbIconExclamation, kProductName);
  } else if (text != kBuildVersionText) {
    if (services_.boxes.MsgBox(NewVersionFound(), kMbOkCancel | kMbIconQuestion, kProductName) ==
        kIdOk) {
      OpenWebAddress(services_.site.ProductPage() + "?selectedTab=updates");
      OpenWebAddress(services_.site.DownloadAddress());
      view_.EndNow();
    }
  } else if (say_up_to_date) {
    services_.boxes.MsgBox("No available new version for upgrading.", kMbIconInformation,
                           kProductName);
  }
}

void frmPubMain::menclv_Click() {
  if (unloaded_) return;
  view_.SetMousePointer(kHourglassPointer);
  view_.SetEnabled(false);
  const TwipsRect window = view_.WindowBounds();
  const ControlLayout& progress = Layout(ControlId::cmbProgress);
  view_.ShowProgress((window.width - progress.width) / 2, (window.height - progress.height) / 2);
  const std::string text = FetchVersionText();
  view_.SetMousePointer(kDefaultPointer);
  view_.SetEnabled(true);
  view_.HideProgress();
  JudgeVersion(text, true);
}

// Once per run. A build that still names the placeholder site skips the fetch: it could
// only ever fail.
void frmPubMain::timBg_Timer() {
  view_.SetTimBgEnabled(false);
  if (unloaded_ || services_.site.IsPlaceholder()) return;
  JudgeVersion(FetchVersionText(), false);
}

}  // namespace melodane
