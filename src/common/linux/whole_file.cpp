#include "common/linux/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "common/linux/unique_fd.h"

namespace melodane::on_linux {

namespace {

bool WriteAll(int file, std::string_view text) {
  while (!text.empty()) {
    const ssize_t put = write(file, text.data(), text.size());
    if (put < 0 && errno != EINTR) return false;
    if (put > 0) text.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

// Gives an unnamed file a free name beside `path`; empty when it could not.
std::string NameBeside(int file, const std::string& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(file);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = path + "." + std::to_string(getpid()) + "-" + std::to_string(attempt);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return name;
    if (errno != EEXIST) break;
  }
  return {};
}

}  // namespace

bool ReplaceFileWhole(const std::string& path, std::string_view text, mode_t mode) {
  // Written unnamed where the file system allows it and named once whole, so a process
  // killed while writing leaves no part of a file behind.
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  UniqueFd file(open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  const bool unnamed = static_cast<bool>(file);
  std::string temporary;
  if (!unnamed) {
    temporary = path + ".XXXXXX";
    file.Reset(mkostemp(temporary.data(), O_CLOEXEC));
    if (!file) return false;
  }
  bool whole =
      fchmod(file.get(), mode) == 0 && WriteAll(file.get(), text) && fsync(file.get()) == 0;
  if (whole && unnamed) whole = !(temporary = NameBeside(file.get(), path)).empty();
  file.Reset();
  if (whole && rename(temporary.c_str(), path.c_str()) == 0) return true;
  if (!temporary.empty()) unlink(temporary.c_str());
  return false;
}

bool MakePrivateFolders(const std::string& folder) {
  struct stat status {};
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string prefix = folder.substr(0, end);
    if (stat(prefix.c_str(), &status) != 0 && mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
      return false;
    }
    if (end == std::string::npos) break;
  }
  return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace melodane::on_linux
