#include "app/linux/ini_settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "common/ascii_case.h"
#include "common/linux/unique_fd.h"
#include "common/linux/whole_file.h"

namespace melodane::on_linux {

namespace {

std::string_view Trim(std::string_view text, std::string_view blanks = " \t") {
  text.remove_prefix(std::min(text.find_first_not_of(blanks), text.size()));
  text.remove_suffix(text.size() - std::min(text.find_last_not_of(blanks) + 1, text.size()));
  return text;
}

// Where a key sits in the file's text: the span of its value (to the end of its line),
// and the end of the last line with content in the section's last block.
struct Place {
  std::optional<std::pair<size_t, size_t>> value;
  std::optional<size_t> section_end;
};

// Lines that are neither a header, a comment nor `key=value` are passed over.
Place Find(std::string_view text, std::string_view section, std::string_view key) {
  Place place;
  bool inside = false;
  for (size_t at = 0, next; at < text.size(); at = next) {
    next = std::min(text.find('\n', at), text.size() - 1) + 1;
    const std::string_view line = Trim(text.substr(at, next - at), " \t\r\n");
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    const size_t close = line.find(']');
    if (line[0] == '[' && close != std::string_view::npos) {
      inside = SameIgnoringAsciiCase(Trim(line.substr(1, close - 1)), section);
    } else if (inside) {
      const size_t equals = line.find('=');
      if (!place.value && equals != std::string_view::npos &&
          SameIgnoringAsciiCase(Trim(line.substr(0, equals)), key)) {
        const std::string_view value = Trim(line.substr(equals + 1));
        place.value.emplace(value.data() - text.data(), line.data() + line.size() - text.data());
      }
    }
    if (inside) place.section_end = next;
  }
  return place;
}

// Quoted parts keep their blanks, commas and semicolons; outside quotes a semicolon starts
// a comment. Backslash escapes are read as the files of the earlier versions wrote them.
std::string Decode(std::string_view raw) {
  std::string text;
  bool quoted = false;
  size_t kept = 0;  // trailing blanks up to here were quoted
  for (size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == ';' && !quoted) break;
    if (c == '"') {
      quoted = !quoted;
      kept = text.size();
      continue;
    }
    if (c == '\\' && i + 1 < raw.size()) {
      static constexpr std::string_view kFrom = "\"\\nrt", kTo = "\"\\\n\r\t";
      const size_t escape = kFrom.find(raw[++i]);
      if (escape == std::string_view::npos) text += c;  // not an escape: kept as typed
      c = escape == std::string_view::npos ? raw[i] : kTo[escape];
      kept = text.size() + 1;
    }
    text += c;
    if (quoted) kept = text.size();
  }
  text.resize(std::max(kept, text.find_last_not_of(" \t") + 1));
  if (text.starts_with("@@")) text.erase(0, 1);  // earlier versions doubled a leading @
  return text;
}

std::string Encode(std::string_view text) {
  const bool raw = text.find_first_of("\"\\,;=#\n\r") == std::string_view::npos &&
                   Trim(text).size() == text.size();
  const std::string at = text.starts_with('@') ? "@" : "";
  if (raw) return at + std::string(text);
  std::string quoted = "\"" + at;
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
  }
  return quoted + '"';
}

// A settings file is a few hundred bytes of text. One with a NUL byte or past a mebibyte is
// something else (binary, another program's, damaged): it is neither read nor replaced.
constexpr size_t kLargestFile = 1 << 20;

bool IsSettingsText(std::string_view text) {
  return text.size() <= kLargestFile && text.find('\0') == std::string_view::npos;
}

// The text of a regular file with its permission bits; a missing file is empty text.
// Anything else (a FIFO would block the first read) is nothing, as is a file that is no
// settings text.
std::optional<std::string> ReadFile(const std::string& path, mode_t& mode) {
  mode = 0600;
  UniqueFd file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!file) return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
  struct stat status {};
  if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  mode = status.st_mode & 07777;
  std::string text;
  char chunk[4096];
  for (ssize_t got; text.size() <= kLargestFile && (got = read(file.get(), chunk, sizeof chunk));) {
    if (got < 0 && errno != EINTR) return std::nullopt;
    if (got > 0) text.append(chunk, static_cast<size_t>(got));
  }
  return IsSettingsText(text) ? std::optional(std::move(text)) : std::nullopt;
}

// A link to the file (a dotfile manager's) stays a link: the file it names is replaced.
std::optional<std::string> Target(const std::string& path) {
  char real[PATH_MAX];
  if (realpath(path.c_str(), real)) return std::string(real);
  struct stat status {};
  if (errno == ENOENT && lstat(path.c_str(), &status) != 0) return path;
  return std::nullopt;
}

}  // namespace

std::string IniSettingsStore::DefaultFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return std::string(config) + "/melodane";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : ".") + "/.config/melodane";
}

std::string IniSettingsStore::PathOf(std::string_view app) const {
  return folder_ + "/" + std::string(app) + ".ini";
}

std::optional<std::string> IniSettingsStore::Load(std::string_view app, std::string_view section,
                                                  std::string_view key) {
  mode_t mode;
  const std::optional<std::string> text = ReadFile(PathOf(app), mode);
  if (!text) return std::nullopt;
  const auto value = Find(*text, section, key).value;
  if (!value) return std::nullopt;
  return Decode(std::string_view(*text).substr(value->first, value->second - value->first));
}

// Only the key's own line changes, or one line is added; every other byte stays.
bool IniSettingsStore::Save(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view text) {
  if (!MakePrivateFolders(folder_)) return false;
  const std::optional<std::string> path = Target(PathOf(app));
  mode_t mode;
  const std::optional<std::string> old = path ? ReadFile(*path, mode) : std::nullopt;
  if (!old) return false;
  const std::string eol = old->find("\r\n") != std::string::npos ? "\r\n" : "\n";
  const Place place = Find(*old, section, key);
  std::string next = *old;
  if (place.value) {
    next.replace(place.value->first, place.value->second - place.value->first, Encode(text));
  } else {
    std::string line = std::string(key) + "=" + Encode(text) + eol;
    const size_t at = place.section_end.value_or(old->size());
    if (!place.section_end)
      line = (at > 0 ? eol : "") + "[" + std::string(section) + "]" + eol + line;
    if (at > 0 && (*old)[at - 1] != '\n') line = eol + line;
    next.insert(at, line);
  }
  // Never written: what could not be read back.
  return next == *old || (IsSettingsText(next) && ReplaceFileWhole(*path, next, mode));
}

}  // namespace melodane::on_linux
