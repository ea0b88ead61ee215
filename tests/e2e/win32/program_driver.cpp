#include "tests/e2e/win32/program_driver.h"

#include <fstream>
#include <sstream>
#include <thread>

#include <shellapi.h>

#include "app/win32/main_window.h"

namespace melodane::e2e {

namespace {

constexpr char kSettingsKey[] = "Software\\VB and VBA Program Settings\\BWSMD\\Value";
constexpr char kSettingsRoot[] = "Software\\VB and VBA Program Settings\\BWSMD";

std::wstring ThisFolder() {
  wchar_t path[MAX_PATH];
  const DWORD size = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, size);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring NewLogPath() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"melodane-midi-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter) + L".log";
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// Sets environment variables for the next child, and puts the old values back after.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::map<std::wstring, std::wstring>& values) {
    for (const auto& [name, value] : values) {
      wchar_t old[4096];
      const DWORD size = GetEnvironmentVariableW(name.c_str(), old, 4096);
      saved_[name] = size ? std::optional<std::wstring>(old) : std::nullopt;
      SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    }
  }

 private:
  std::map<std::wstring, std::optional<std::wstring>> saved_;
};

}  // namespace

std::wstring ProgramPath() { return ThisFolder() + L"melodane.exe"; }

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return condition();
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

void ClearSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRoot); }

void StoreSetting(const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(handle, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
}

std::optional<std::string> StoredSetting(const std::string& key) {
  char data[256];
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, key.c_str(), RRF_RT_REG_SZ, nullptr, data,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(data);
}

namespace {

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInput(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

}  // namespace

void HoldKeys(std::initializer_list<WORD> keys, std::chrono::milliseconds duration) {
  std::vector<INPUT> down, up;
  for (WORD key : keys) {
    down.push_back(KeyInput(key, false));
    up.push_back(KeyInput(key, true));
  }
  Send(down);
  std::this_thread::sleep_for(duration);
  Send(up);
}

void TapKey(WORD key) { Send({KeyInput(key, false), KeyInput(key, true)}); }

void PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, false));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    inputs.push_back(KeyInput(*key, true));
  }
  Send(inputs);
}

OtherWindow::OtherWindow() {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"MelodaneTestOtherProgram";
  RegisterClassW(&window_class);
  hwnd_ = CreateWindowExW(0, window_class.lpszClassName, L"Another program",
                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 600, 300, 200, nullptr, nullptr,
                          window_class.hInstance, nullptr);
}

OtherWindow::~OtherWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

namespace {

// Wine takes the keyboard's state from the X server when a window gets the focus, and
// forgets keys typed through the input queue just before; let that pass.
void LetTheFocusSettle() {
  const auto until = std::chrono::steady_clock::now() + 300ms;
  while (std::chrono::steady_clock::now() < until) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    std::this_thread::sleep_for(10ms);
  }
}

}  // namespace

bool OtherWindow::Activate() const {
  SetForegroundWindow(hwnd_);
  const bool active = WaitFor(
      [&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        return GetForegroundWindow() == hwnd_;
      },
      5s);
  LetTheFocusSettle();
  return active;
}

HWND TrayWindow() {
  HWND tray = FindWindowW(nullptr, L"Wine System Tray");
  return tray && IsWindowVisible(tray) ? tray : nullptr;
}

void OnTrayIcon(Mouse action, int slot) {
  HWND tray = TrayWindow();
  if (!tray) return;
  // Icons sit in a row from the left, each the small icon size and a border of 2 wide.
  const int pitch = GetSystemMetrics(SM_CXSMICON) + 4;
  POINT point{slot * pitch + pitch / 2, GetSystemMetrics(SM_CYSMICON) / 2 + 2};
  ClientToScreen(tray, &point);
  // Come from elsewhere, so that the tray sees the pointer arrive.
  SetCursorPos(point.x + 200, point.y + 200);
  Send({MouseInput(MOUSEEVENTF_MOVE)});
  std::this_thread::sleep_for(50ms);
  SetCursorPos(point.x, point.y);
  Send({MouseInput(MOUSEEVENTF_MOVE)});
  std::this_thread::sleep_for(50ms);
  switch (action) {
    case Mouse::kLeftClick:
      Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
      break;
    case Mouse::kRightClick:
      Send({MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)});
      break;
    case Mouse::kDoubleClick:
      Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP),
            MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
      break;
    case Mouse::kLeftPress:
      Send({MouseInput(MOUSEEVENTF_LEFTDOWN)});
      break;
    case Mouse::kLeftRelease:
      Send({MouseInput(MOUSEEVENTF_LEFTUP)});
      break;
    case Mouse::kHover:
      break;
  }
}

std::vector<Note> NotesIn(const std::vector<std::string>& log) {
  std::vector<Note> notes;
  for (const std::string& line : log) {
    const auto at = line.find(" data 0x");
    if (at == std::string::npos) continue;
    const unsigned long message = std::stoul(line.substr(at + 8), nullptr, 16);
    if ((message & 0xF0) != 0x90) continue;
    notes.push_back(
        {static_cast<int>((message >> 8) & 0xFF), static_cast<int>((message >> 16) & 0xFF)});
  }
  return notes;
}

std::vector<HWND> WindowsOf(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[64];
        if (owner == s->pid && GetClassNameW(hwnd, name, 64) &&
            wcscmp(name, win32::MainWindow::kClassName) == 0) {
          s->found.push_back(hwnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Program Program::Start(const std::map<std::wstring, std::wstring>& environment) {
  Program program;
  program.log_ = NewLogPath();
  DeleteFileW(program.log_.c_str());
  auto values = environment;
  values[L"FAKEMIDI_LOG"] = program.log_;
  ScopedEnvironment scoped(values);

  std::wstring command = L"\"" + ProgramPath() + L"\"";
  STARTUPINFOW startup{sizeof startup};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      ThisFolder().c_str(), &startup, &program.process_)) {
    return program;
  }
  WaitForInputIdle(program.process_.hProcess, 15000);
  WaitFor([&] {
    const auto windows = WindowsOf(program.pid());
    program.window_ = windows.empty() ? nullptr : windows.front();
    return program.window_ != nullptr || !program.Running();
  });
  // The window answers a sent message only once start-up is over and its message loop
  // runs.
  if (program.window_) {
    SendMessageTimeoutW(program.window_, WM_NULL, 0, 0, SMTO_NORMAL, 15000, nullptr);
  }
  return program;
}

Program::Program(Program&& other) noexcept
    : process_(std::exchange(other.process_, {})),
      window_(std::exchange(other.window_, nullptr)),
      log_(std::move(other.log_)) {}

Program::~Program() {
  if (!process_.hProcess) return;
  if (Running()) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  DeleteFileW(log_.c_str());
}

HWND Program::Control(ControlId id) const {
  return GetDlgItem(window_, win32::MainWindow::DialogId(id));
}

bool Program::Close() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  return WaitForExit(10s);
}

bool Program::WaitForExit(std::chrono::milliseconds timeout) {
  return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) ==
         WAIT_OBJECT_0;
}

std::optional<DWORD> Program::ExitCode() const {
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.hProcess, &code) || code == STILL_ACTIVE) return std::nullopt;
  return code;
}

bool Program::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<std::string> Program::MidiLog() const {
  std::vector<std::string> lines;
  std::ifstream file(Narrow(log_));
  const std::string prefix = std::to_string(pid()) + " ";
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
  }
  return lines;
}

std::vector<std::string> Program::PortLog() const {
  auto log = MidiLog();
  std::erase_if(log, [](const std::string& line) { return !NotesIn({line}).empty(); });
  return log;
}

std::vector<std::string> Program::ListItems(ControlId list) const {
  std::vector<std::string> items;
  const HWND combo = Control(list);
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    if (length < 0 || length >= 256) continue;
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(Narrow(text));
  }
  return items;
}

int Program::ListIndex(ControlId list) const {
  return static_cast<int>(SendMessageW(Control(list), CB_GETCURSEL, 0, 0));
}

int Program::ScrollValue() const { return GetScrollPos(Control(ControlId::Vol), SB_CTL); }

bool Program::Checked(ControlId box) const {
  return SendMessageW(Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND Program::Focus() const {
  GUITHREADINFO info{sizeof info};
  if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

bool Program::Minimize() const {
  PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  return WaitFor([&] { return !Visible(); }, 5s);
}

bool Program::Activate() const {
  SetForegroundWindow(window_);
  const bool active = WaitFor([&] { return GetForegroundWindow() == window_; }, 5s);
  LetTheFocusSettle();
  return active;
}

}  // namespace melodane::e2e
