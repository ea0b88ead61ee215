#include "app/linux/qt_tray_icon.h"

namespace melodane::on_linux {

bool QtTrayIcon::Add(std::string_view tip) {
  if (!QSystemTrayIcon::isSystemTrayAvailable() || Shown()) return false;
  tray_ = std::make_unique<QSystemTrayIcon>(icon_);
  tray_->setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
  connect(tray_.get(), &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            // A double click restores on its first click; its own report does nothing.
            if (reason == QSystemTrayIcon::Trigger) on_mouse_(IconMouse::kLeftButtonUp);
            if (reason == QSystemTrayIcon::Context) on_mouse_(IconMouse::kRightButtonUp);
          });
  tray_->show();
  return true;
}

bool QtTrayIcon::Delete() {
  if (!Shown()) return false;
  tray_->hide();
  tray_.reset();
  return true;
}

}  // namespace melodane::on_linux
