// The main window's behaviour: start-up, the device and instrument choices, shut-down.
// It works on the window only through FormView, so the Win32 and the Qt window share it.
#pragma once

#include "app/form_view.h"
#include "app/notify_icon.h"
#include "app/settings.h"
#include "app/single_instance.h"
#include "help/help_services.h"
#include "registry/registry_api.h"
#include "sound/keystroke_player.h"
#include "sound/midi_port.h"

namespace melodane {

struct FormServices {
  MidiPort& midi;
  SettingsStore& settings;
  KeyState& keys;
  UniformRandom& random;
  NotificationArea& tray;
  RegistryApi& registry;
  // The running program's file, as the start-at-logon entry names it.
  std::string program_file;
  WebLauncher& web;
  VersionTransfer& transfer;
  MessageBoxes& boxes;
  SiteConfig site;
};

// A Windows program's file from its folder and its name without the extension: the
// folder of a drive's root already ends with the separator.
std::string ProgramFile(std::string_view folder, std::string_view name);

class frmPubMain {
 public:
  // The window's creation: its controls exist and hold their designed values; the fixed
  // lists are filled here.
  frmPubMain(FormView& view, FormServices services);
  frmPubMain(const frmPubMain&) = delete;
  frmPubMain& operator=(const frmPubMain&) = delete;

  // Before anything is created: false when another copy runs, and this process must end
  // without touching a window, a setting or a device.
  static bool Form_Initialize(SingleInstance& instance);

  // Start-up, before the window is first shown.
  void Form_Load();
  // Shut-down, when the window is closed or the session ends. It runs once; after it no
  // handler of the window does anything.
  void Form_Unload();

  void ComDevies_Click();
  void ComDevies_Change() { ComDevies_Click(); }
  void ComSounds_Click();
  void ComSounds_Change() { ComSounds_Click(); }

  // Every 50 ms while the window exists, shown or hidden.
  void Timer1_Timer();
  // After every change of the window's size or state.
  void Form_Resize();
  // The mouse over the window's notification icon: a released button brings the window
  // back.
  void Form_MouseMove(IconMouse event);

  // The Help picture pops up the Help menu; the logo does what "Product Homepage" does.
  void picHelp_Click();
  void picLogo_Click() { menph_Click(); }
  void menph_Click();
  void mench_Click();
  void menrs_Click();
  void menrf_Click();
  void menclv_Click();
  void menfuf_Click();
  void menfut_Click();
  // The chosen item's handler; a separator has none.
  void RunMenuItem(MenuId item);
  // A minute after start-up, once: the update check in the background.
  void timBg_Timer();

 private:
  std::string Read(std::string_view key, std::string_view default_text);
  void Write(std::string_view key, std::string_view text);
  void FillDeviceList();
  void SizeWindow();
  void PlaceWindow();

  void MinimizeToTray();
  void RemoveTrayIcon();
  void UpdateRunEntry();

  std::string FetchVersionText();
  void JudgeVersion(const std::string& text, bool say_up_to_date);
  void OpenWebAddress(const std::string& address);

  FormView& view_;
  FormServices services_;
  KeystrokePlayer player_;
  bool icon_added_ = false;
  bool minimizing_ = false;
  bool unloaded_ = false;
};

}  // namespace melodane
