// The Windows program: one window, frmPubMain, for the life of the process.
#include <windows.h>

#include "app/main_form.h"
#include "app/win32/main_window.h"
#include "app/win32/named_mutex_instance.h"
#include "app/win32/registry_settings_store.h"
#include "app/win32/shell_notify_icon.h"
#include "sound/midi_port.h"
#include "sound/uniform_random.h"
#include "sound/win32/async_key_state.h"
#include "sound/win32/winmm_midi_out.h"

using namespace melodane;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  win32::NamedMutexInstance instance_check(L"Local\\Melodane.frmPubMain");
  if (!frmPubMain::Form_Initialize(instance_check)) return 0;

  win32::WinmmMidiOut winmm;
  MidiPort midi(winmm);
  win32::RegistrySettingsStore settings;
  win32::AsyncKeyState keys;
  RuntimeRandom random;

  auto window = win32::MainWindow::Create(instance);
  if (!window) return 1;
  win32::ShellNotifyIcon tray(window->hwnd(), window->Icon());
  frmPubMain form(*window, FormServices{midi, settings, keys, random, tray});
  window->Attach(form);
  form.Form_Load();
  return window->RunMessageLoop();
}
