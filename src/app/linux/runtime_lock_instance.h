#pragma once

#include <string>

#include "app/single_instance.h"
#include "common/linux/unique_fd.h"

namespace melodane::on_linux {

// An exclusive lock on a file in $XDG_RUNTIME_DIR. The system drops it when the
// process ends, however it ends, so a crash leaves nothing stuck. The claim moves with
// its owner and is never shared.
class RuntimeLockInstance final : public SingleInstance {
 public:
  explicit RuntimeLockInstance(std::string path) : path_(std::move(path)) {}
  RuntimeLockInstance(RuntimeLockInstance&&) = default;
  RuntimeLockInstance& operator=(RuntimeLockInstance&&) = default;
  // $XDG_RUNTIME_DIR/melodane.lock, or a per-user file in /tmp.
  static std::string DefaultPath();

  bool AnotherInstanceRuns() override;

 private:
  std::string path_;
  UniqueFd lock_;
};

}  // namespace melodane::on_linux
