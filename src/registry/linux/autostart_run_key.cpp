#include "registry/linux/autostart_run_key.h"

#include <unistd.h>

#include <cstdlib>

#include "common/ascii_case.h"
#include "common/linux/whole_file.h"

namespace melodane::on_linux {

namespace {}  // namespace

std::string AutostartRunKey::DefaultEntryFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string base = config && *config ? config : std::string(home ? home : ".") + "/.config";
  return base + "/autostart/melodane.desktop";
}

std::string AutostartRunKey::ExecValue(const std::string& program) {
  // One argument in double quotes, with ", `, $ and \ escaped; then the value's own
  // escapes: a backslash doubled, and a percent sign, a field code otherwise, doubled.
  std::string quoted = "\"";
  for (const char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string value;
  for (const char c : quoted) {
    if (c == '\\' || c == '%') value += c;
    value += c;
  }
  return value;
}

std::int32_t AutostartRunKey::OpenKey(RegKey root, const std::string& path, std::uint32_t,
                                      RegKey& key) {
  if (root != RootKey(kHkeyCurrentUser) ||
      !SameIgnoringAsciiCase(path, "Software\\Microsoft\\Windows\\CurrentVersion\\Run")) {
    return kErrorAccessDenied;
  }
  open_.insert(key = next_++);
  return kErrorSuccess;
}

std::int32_t AutostartRunKey::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                       const std::uint8_t* data, std::uint32_t size) {
  if (!open_.count(key)) return kErrorInvalidHandle;
  if (!SameIgnoringAsciiCase(name, "Melodane") || type != kRegSz) return kErrorAccessDenied;
  std::string command(reinterpret_cast<const char*>(data), size);
  command = command.substr(0, command.find('\0'));
  if (command.size() >= 2 && command.front() == '"' && command.back() == '"') {
    command = command.substr(1, command.size() - 2);
  }
  // A line break cannot stand in an entry's value.
  if (command.empty() || command.find_first_of("\r\n") != std::string::npos) {
    return kErrorAccessDenied;
  }
  const std::string entry =
      "[Desktop Entry]\nType=Application\nName=Melodane\nComment=Plays a note for every key "
      "typed\nExec=" +
      ExecValue(command) + "\nIcon=melodane\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
  const bool written = MakePrivateFolders(entry_file_.substr(0, entry_file_.rfind('/'))) &&
                       ReplaceFileWhole(entry_file_, entry, 0644);
  return written ? kErrorSuccess : kErrorAccessDenied;
}

std::int32_t AutostartRunKey::DeleteValue(RegKey key, const std::string& name) {
  if (!open_.count(key)) return kErrorInvalidHandle;
  if (!SameIgnoringAsciiCase(name, "Melodane")) return kErrorFileNotFound;
  return unlink(entry_file_.c_str()) == 0 ? kErrorSuccess : kErrorFileNotFound;
}

}  // namespace melodane::on_linux
