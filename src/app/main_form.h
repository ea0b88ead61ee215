// The main window's behaviour: start-up, the device and instrument choices, shut-down.
// It works on the window only through FormView, so the Win32 and the Qt window share it.
#pragma once

#include "app/form_view.h"
#include "app/settings.h"
#include "app/single_instance.h"
#include "sound/midi_port.h"

namespace melodane {

struct FormServices {
  mdlPubSelf& midi;
  SettingsStore& settings;
};

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
  // Shut-down, when the window is closed or the session ends. It runs once.
  void Form_Unload();

  void ComDevies_Click();
  void ComDevies_Change() { ComDevies_Click(); }
  void ComSounds_Click();
  void ComSounds_Change() { ComSounds_Click(); }

 private:
  std::string Read(std::string_view key, std::string_view default_text);
  void Write(std::string_view key, std::string_view text);
  void SizeWindow();
  void PlaceWindow();

  void MinimizeToTray();
  void RemoveTrayIcon();
  void UpdateRunEntry();

  FormView& view_;
  FormServices services_;
  bool unloaded_ = false;
};

}  // namespace melodane
