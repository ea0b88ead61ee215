// The Linux program: one window, frmPubMain, for the life of the process.
#include <QApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/linux/ini_settings_store.h"
#include "app/linux/qt_main_window.h"
#include "app/linux/qt_tray_icon.h"
#include "app/linux/runtime_lock_instance.h"
#include "app/linux/stop_requests.h"
#include "app/main_form.h"
#include "help/linux/qt_message_boxes.h"
#include "help/linux/qt_network_transfer.h"
#include "help/linux/xdg_open_launcher.h"
#include "registry/linux/autostart_run_key.h"
#include "sound/linux/alsa_sequencer.h"
#include "sound/linux/built_in_synth.h"
#include "sound/linux/jack_midi.h"
#include "sound/linux/linux_midi_out.h"
#include "sound/linux/x11_key_state.h"
#include "sound/midi_port.h"
#include "sound/uniform_random.h"

using namespace melodane;

namespace {

std::string RunningProgramFile() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

}  // namespace

int main(int argc, char** argv) {
  on_linux::RuntimeLockInstance instance_check(on_linux::RuntimeLockInstance::DefaultPath());
  if (!frmPubMain::Form_Initialize(instance_check)) return 0;

  // The global key state comes from X11: under Wayland, run through XWayland.
  if (std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  // Listing JACK ports must never start a JACK server.
  setenv("JACK_NO_START_SERVER", "1", 1);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Melodane"));
  QApplication::setDesktopFileName(QStringLiteral("melodane"));
  QApplication::setQuitOnLastWindowClosed(false);

  const on_linux::SynthConfig synth_config = on_linux::SynthConfig::FromEnvironment();
  on_linux::AlsaSequencer alsa;
  on_linux::JackMidi jack;
  on_linux::LinuxMidiOut midi_out(
      [&synth_config] { return on_linux::BuiltInSynth::Open(synth_config); }, {&alsa, &jack});
  MidiPort midi(midi_out);
  on_linux::IniSettingsStore settings(on_linux::IniSettingsStore::DefaultFolder());
  on_linux::X11KeyState keys;
  std::optional<QSocketNotifier> key_events;  // read as they come: idle ticks ask X nothing
  if (keys.Connected()) {
    key_events.emplace(keys.ConnectionFd(), QSocketNotifier::Read);
    QObject::connect(&*key_events, &QSocketNotifier::activated,
                     [&keys] { keys.ReadArrivedEvents(); });
  }
  RuntimeRandom random;
  on_linux::AutostartRunKey run_key(on_linux::AutostartRunKey::DefaultEntryFile());

  on_linux::QtMainWindow window;
  frmPubMain* form_pointer = nullptr;
  on_linux::QtTrayIcon tray(window.Icon(), [&form_pointer](IconMouse event) {
    if (form_pointer) form_pointer->Form_MouseMove(event);
  });
  on_linux::XdgOpenLauncher web;
  on_linux::QtNetworkTransfer transfer;
  on_linux::QtMessageBoxes boxes(&window);
  frmPubMain form(
      window, FormServices{midi, settings, keys, random, tray, run_key, RunningProgramFile(), web,
                           transfer, boxes, SiteConfig::FromBuildAndEnvironment()});
  form_pointer = &form;
  window.Attach(form);

  // The end of the session, or a request to stop, closes the window as the user would.
  on_linux::StopRequests stop_requests([&form] { form.Form_Unload(); });

  form.Form_Load();
  return QApplication::exec();
}
