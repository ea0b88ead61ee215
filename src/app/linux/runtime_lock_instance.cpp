#include "app/linux/runtime_lock_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace melodane::on_linux {

std::string RuntimeLockInstance::DefaultPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/melodane.lock";
  return "/tmp/melodane-" + std::to_string(getuid()) + ".lock";
}

bool RuntimeLockInstance::AnotherInstanceRuns() {
  if (fd_ >= 0) return false;
  fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return false;  // no place for a lock: nothing tells of another copy
  if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return false;
  const bool held = errno == EWOULDBLOCK;
  close(fd_);
  fd_ = -1;
  return held;
}

RuntimeLockInstance::~RuntimeLockInstance() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace melodane::on_linux
