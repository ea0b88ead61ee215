#include "app/linux/runtime_lock_instance.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdlib>

namespace melodane::on_linux {

std::string RuntimeLockInstance::DefaultPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/melodane.lock";
  return "/tmp/melodane-" + std::to_string(getuid()) + ".lock";
}

bool RuntimeLockInstance::AnotherInstanceRuns() {
  if (lock_) return false;
  UniqueFd file(open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!file) return false;  // no place for a lock: nothing tells of another copy
  if (flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
    lock_ = std::move(file);
    return false;
  }
  return errno == EWOULDBLOCK;
}

}  // namespace melodane::on_linux
