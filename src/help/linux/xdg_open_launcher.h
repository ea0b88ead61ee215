// Opens a web address with the desktop's handler, xdg-open.
#pragma once

#include <QString>

#include "help/help_services.h"

namespace melodane::on_linux {

class XdgOpenLauncher final : public WebLauncher {
 public:
  // The handler is xdg-open, or the program MELODANE_URL_HANDLER names.
  XdgOpenLauncher();

  // Started detached, with no shell between; its output goes nowhere.
  void OpenWebAddress(const std::string& address) override;

 private:
  QString program_;
};

}  // namespace melodane::on_linux
