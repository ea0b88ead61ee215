// The Windows program: one window, frmPubMain, for the life of the process.
#include <windows.h>

#include "app/main_form.h"
#include "app/win32/main_window.h"
#include "app/win32/named_mutex_instance.h"
#include "app/win32/registry_settings_store.h"
#include "app/win32/shell_notify_icon.h"
#include "help/win32/rundll_launcher.h"
#include "help/win32/system_message_boxes.h"
#include "help/win32/wininet_transfer.h"
#include "registry/win32/advapi_registry_api.h"
#include "sound/midi_port.h"
#include "sound/uniform_random.h"
#include "sound/win32/async_key_state.h"
#include "sound/win32/winmm_midi_out.h"

using namespace melodane;

namespace {

// The program's file as the folder that holds it and its name without the extension.
std::string RunningProgramFile() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string file(path, length);
  const std::size_t slash = file.rfind('\\');
  const std::string name = file.substr(slash + 1);
  // The folder keeps its separator only where it is a drive's root ("C:\").
  const std::string folder = file.substr(0, slash == 2 ? slash + 1 : slash);
  return ProgramFile(folder, name.substr(0, name.rfind('.')));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  win32::NamedMutexInstance instance_check(L"Local\\Melodane.frmPubMain");
  if (!frmPubMain::Form_Initialize(instance_check)) return 0;

  win32::WinmmMidiOut winmm;
  MidiPort midi(winmm);
  win32::RegistrySettingsStore settings;
  win32::AsyncKeyState keys;
  RuntimeRandom random;
  win32::AdvapiRegistryApi registry;

  auto window = win32::MainWindow::Create(instance);
  if (!window) return 1;
  win32::ShellNotifyIcon tray(window->hwnd(), window->Icon());
  win32::RundllLauncher web;
  win32::WininetTransfer transfer;
  win32::SystemMessageBoxes boxes(window->hwnd());
  frmPubMain form(
      *window, FormServices{midi, settings, keys, random, tray, registry, RunningProgramFile(), web,
                            transfer, boxes, SiteConfig::FromBuildAndEnvironment()});
  window->Attach(form);
  form.Form_Load();
  return window->RunMessageLoop();
}
