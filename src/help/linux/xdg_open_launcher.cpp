#include "help/linux/xdg_open_launcher.h"

#include <QProcess>

#include <cstdlib>

namespace melodane::on_linux {

XdgOpenLauncher::XdgOpenLauncher() : program_(QStringLiteral("xdg-open")) {
  const char* handler = std::getenv("MELODANE_URL_HANDLER");
  if (handler && *handler) program_ = QString::fromLocal8Bit(handler);
}

void XdgOpenLauncher::OpenWebAddress(const std::string& address) {
  QProcess process;
  process.setProgram(program_);
  process.setArguments({QString::fromStdString(address)});
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.startDetached();
}

}  // namespace melodane::on_linux
