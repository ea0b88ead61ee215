#pragma once

#include <string>

#include "app/single_instance.h"

namespace melodane::on_linux {

// An exclusive lock on a file in $XDG_RUNTIME_DIR. The system drops it when the
// process ends, however it ends, so a crash leaves nothing stuck.
class RuntimeLockInstance final : public SingleInstance {
 public:
  explicit RuntimeLockInstance(std::string path) : path_(std::move(path)) {}
  ~RuntimeLockInstance() override;
  // $XDG_RUNTIME_DIR/melodane.lock, or a per-user file in /tmp.
  static std::string DefaultPath();

  bool AnotherInstanceRuns() override;

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace melodane::on_linux
