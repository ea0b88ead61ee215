// The owner of a file descriptor.
#pragma once

#include <unistd.h>

#include "common/scoped.h"

namespace melodane::on_linux {

struct FdTraits {
  static int Invalid() { return -1; }
  static void Close(int fd) { close(fd); }
};
using UniqueFd = Scoped<int, FdTraits>;

}  // namespace melodane::on_linux
