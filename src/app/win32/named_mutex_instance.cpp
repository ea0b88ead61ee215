#include "app/win32/named_mutex_instance.h"

namespace melodane::win32 {

bool NamedMutexInstance::AnotherInstanceRuns() {
  if (!mutex_) {
    mutex_.Reset(CreateMutexW(nullptr, FALSE, name_.c_str()));
    if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
      mutex_.Reset();
      return true;
    }
  }
  return false;
}

}  // namespace melodane::win32
