#include "app/linux/runtime_lock_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace melodane::on_linux {

namespace {

// In a shared folder another user may have put a link or a file of theirs in the way.
void RunWithoutLock(const std::string& where) {
  std::fprintf(stderr,
               "melodane: no safe place for the single-instance lock (%s); running without it\n",
               where.c_str());
}

}  // namespace

std::string RuntimeLockInstance::DefaultPath(const std::string& fallback_base) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat status {};
  if (runtime && *runtime && stat(runtime, &status) == 0 && S_ISDIR(status.st_mode) &&
      access(runtime, W_OK | X_OK) == 0) {
    return std::string(runtime) + "/melodane.lock";
  }
  std::string fallback = FallbackPath(fallback_base);
  if (!fallback.empty()) {
    std::fprintf(stderr,
                 "melodane: XDG_RUNTIME_DIR names no folder this user can write in; the "
                 "single-instance lock is %s\n",
                 fallback.c_str());
  }
  return fallback;
}

std::string RuntimeLockInstance::FallbackPath(const std::string& base) {
  const std::string folder = base + "/melodane-" + std::to_string(getuid());
  struct stat status {};
  if ((mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) &&
      lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == getuid() &&
      (status.st_mode & 077) == 0) {
    return folder + "/melodane.lock";
  }
  RunWithoutLock(folder);
  return {};
}

bool RuntimeLockInstance::AnotherInstanceRuns() {
  if (lock_ || path_.empty()) return false;
  UniqueFd file(open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600));
  struct stat status {};
  if (!file || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_uid != getuid()) {
    RunWithoutLock(path_);
    path_.clear();  // asked again: still no lock, and nothing more to say
    return false;
  }
  if (flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
    lock_ = std::move(file);
    return false;
  }
  return errno == EWOULDBLOCK;
}

}  // namespace melodane::on_linux
