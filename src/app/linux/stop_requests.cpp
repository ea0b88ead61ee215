#include "app/linux/stop_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>

#include <cerrno>
#include <csignal>

namespace melodane::on_linux {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int g_write_end = -1;

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a request.
  [[maybe_unused]] const auto written = write(g_write_end, &byte, 1);
  errno = saved;
}

}  // namespace

StopRequests::StopRequests(std::function<void()> stop) : stop_(std::move(stop)) {
  // The session's end reaches the application as a request to quit.
  quit_ = QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                           [this] { stop_(); });
  int ends[2];
  if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return;
  read_end_.Reset(ends[0]);
  write_end_.Reset(ends[1]);
  g_write_end = ends[1];
  notifier_ = std::make_unique<QSocketNotifier>(ends[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char bytes[16];
    while (read(read_end_.get(), bytes, sizeof bytes) > 0) {
    }
    stop_();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

StopRequests::~StopRequests() {
  QObject::disconnect(quit_);
  if (!write_end_) return;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  g_write_end = -1;
}

}  // namespace melodane::on_linux
