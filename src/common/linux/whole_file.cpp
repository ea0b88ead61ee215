#include "common/linux/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

}  // namespace

bool ReplaceFileWhole(const std::string& path, std::string_view text, mode_t mode) {
  std::string temporary = path + ".XXXXXX";
  UniqueFd file(mkostemp(temporary.data(), O_CLOEXEC));
  if (!file) return false;
  const bool whole =
      fchmod(file.get(), mode) == 0 && WriteAll(file.get(), text) && fsync(file.get()) == 0;
  file.Reset();
  if (whole && rename(temporary.c_str(), path.c_str()) == 0) return true;
  unlink(temporary.c_str());
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
