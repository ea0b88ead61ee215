#pragma once

#include <string>

#include "app/single_instance.h"
#include "common/win32/scoped_handles.h"

namespace melodane::win32 {

// A named mutex in the user's session: the first process creates it and holds it until
// it ends; the system releases it however the process ends.
class NamedMutexInstance final : public SingleInstance {
 public:
  explicit NamedMutexInstance(std::wstring name) : name_(std::move(name)) {}
  bool AnotherInstanceRuns() override;

 private:
  std::wstring name_;
  ScopedHandle mutex_;
};

}  // namespace melodane::win32
