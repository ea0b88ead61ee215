// What ends the program as closing its window does: SIGTERM, SIGHUP and SIGINT, and the
// end of the desktop session. A session manager's checkpoint, which saves the session
// and goes on, is no end.
#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

#include "common/linux/unique_fd.h"

namespace melodane::on_linux {

class StopRequests final {
 public:
  // `stop` runs on the program's thread. One object per process: it owns the handlers.
  explicit StopRequests(std::function<void()> stop);
  ~StopRequests();
  StopRequests(const StopRequests&) = delete;
  StopRequests& operator=(const StopRequests&) = delete;

  // The pipe the handlers write into, for inspection.
  int ReadEnd() const { return read_end_.get(); }
  int WriteEnd() const { return write_end_.get(); }

 private:
  std::function<void()> stop_;
  UniqueFd read_end_, write_end_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QMetaObject::Connection quit_;
};

}  // namespace melodane::on_linux
