// Drives the real Windows program from another process under Wine: starts it, reads
// its controls, types into it, closes it, and reads what the test MIDI driver logged and
// what the program stored.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/layout.h"

namespace melodane::e2e {

using namespace std::chrono_literals;

// Polls `condition` until it holds or `timeout` passes; gives its last answer.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The program's file, next to this test's.
std::wstring ProgramPath();

// The settings the program keeps under HKEY_CURRENT_USER.
void ClearSettings();
void StoreSetting(const std::string& key, const std::string& value);
std::optional<std::string> StoredSetting(const std::string& key);

// Keys typed through the system's input queue, as a user would.
void PressChord(std::initializer_list<WORD> keys);
// Presses `keys` together, holds them for `duration`, and releases them.
void HoldKeys(std::initializer_list<WORD> keys, std::chrono::milliseconds duration);
// Presses and releases `key` at once, quicker than any timer.
void TapKey(WORD key);

// A window of another program that takes the focus while the test types.
class OtherWindow {
 public:
  OtherWindow();
  ~OtherWindow();
  HWND hwnd() const { return hwnd_; }
  bool Activate() const;

 private:
  HWND hwnd_ = nullptr;
};

// The notification area Wine shows while it holds an icon (in the rig, only the
// program's), and the mouse on the icon in `slot`, counted from the left from 0.
HWND TrayWindow();
enum class Mouse { kLeftClick, kRightClick, kDoubleClick, kHover, kLeftPress, kLeftRelease };
void OnTrayIcon(Mouse action, int slot = 0);

// A note-on the driver logged, decoded from "dev0 data 0x00vvnn90".
struct Note {
  int note;
  int velocity;
};
std::vector<Note> NotesIn(const std::vector<std::string>& log);

class Program {
 public:
  // Starts melodane.exe from this test's folder with `environment` added to this
  // process's own, and waits until start-up is over and the program waits for input.
  static Program Start(const std::map<std::wstring, std::wstring>& environment = {});
  Program(Program&& other) noexcept;
  Program& operator=(Program&&) = delete;
  ~Program();

  DWORD pid() const { return process_.dwProcessId; }
  // The main window, or null when the program shows none.
  HWND window() const { return window_; }
  HWND Control(ControlId id) const;

  // Asks the window to close as its close box does, and waits for the process to end.
  bool Close();
  // Waits for the process to end by itself; gives whether it did within `timeout`.
  bool WaitForExit(std::chrono::milliseconds timeout);
  std::optional<DWORD> ExitCode() const;
  bool Running() const;

  // What the MIDI driver received from this process, in order, without the process id:
  // "mapper open", "dev1 data 0x000046C0", "dev0 close".
  std::vector<std::string> MidiLog() const;
  // The same without the notes: the port's opening, closing and instruments.
  std::vector<std::string> PortLog() const;

  std::vector<std::string> ListItems(ControlId list) const;
  int ListIndex(ControlId list) const;
  int ScrollValue() const;
  bool Checked(ControlId box) const;
  HWND Focus() const;
  // Brings the window to the front so that typed keys reach it.
  bool Activate() const;
  bool Visible() const { return IsWindowVisible(window_) != FALSE; }
  bool Minimize() const;

 private:
  Program() = default;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::wstring log_;
};

// Every top-level window of the program's class that belongs to `pid`.
std::vector<HWND> WindowsOf(DWORD pid);

}  // namespace melodane::e2e
