#pragma once

#include <string>

#include "app/single_instance.h"
#include "common/linux/unique_fd.h"

namespace melodane::on_linux {

// An exclusive lock on a file in $XDG_RUNTIME_DIR. The system drops it when the
// process ends, however it ends, so a crash leaves nothing stuck. The claim moves with
// its owner and is never shared. A lock file that is not the user's own regular file is
// not used: the program then runs without the check and says so on stderr.
class RuntimeLockInstance final : public SingleInstance {
 public:
  explicit RuntimeLockInstance(std::string path) : path_(std::move(path)) {}
  RuntimeLockInstance(RuntimeLockInstance&&) = default;
  RuntimeLockInstance& operator=(RuntimeLockInstance&&) = default;
  // $XDG_RUNTIME_DIR/melodane.lock, or, when that names no folder the user can write in,
  // FallbackPath(fallback_base), which it then names on stderr.
  static std::string DefaultPath(const std::string& fallback_base = "/tmp");
  // <base>/melodane-<uid>/melodane.lock in a folder made private to the user; empty when
  // what is there is not the user's own private folder.
  static std::string FallbackPath(const std::string& base);

  bool AnotherInstanceRuns() override;

 private:
  std::string path_;  // empty: running without the check
  UniqueFd lock_;
};

}  // namespace melodane::on_linux
