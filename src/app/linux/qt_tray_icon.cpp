#include "app/linux/qt_tray_icon.h"

#include <cstring>

namespace melodane::on_linux {

bool QtTrayIcon::Add(const NotifyIconRecord& record) {
  if (!QSystemTrayIcon::isSystemTrayAvailable() || Shown()) return false;
  tray_ = std::make_unique<QSystemTrayIcon>(icon_);
  // The tip ends at its zero byte.
  tray_->setToolTip(QString::fromUtf8(
      record.szTip, static_cast<qsizetype>(strnlen(record.szTip, sizeof record.szTip))));
  connect(tray_.get(), &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            // A click is reported when its button is released; a double click restores
            // on its first click, so its own report does nothing.
            if (reason == QSystemTrayIcon::Trigger) on_mouse_(kLeftButtonUp);
            if (reason == QSystemTrayIcon::Context) on_mouse_(kRightButtonUp);
          });
  tray_->show();
  return true;
}

bool QtTrayIcon::Delete(const NotifyIconRecord&) {
  if (!Shown()) return false;
  tray_->hide();
  tray_.reset();
  return true;
}

}  // namespace melodane::on_linux
