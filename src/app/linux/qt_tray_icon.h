#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

#include "app/notify_icon.h"

namespace melodane::on_linux {

// The desktop's notification area through QSystemTrayIcon. Button releases on the icon
// come back as the mouse codes the window's behaviour expects: 514 for the left button,
// 517 for the right one.
class QtTrayIcon final : public QObject, public NotificationArea {
  Q_OBJECT

 public:
  QtTrayIcon(QIcon icon, std::function<void(int)> on_mouse)
      : icon_(std::move(icon)), on_mouse_(std::move(on_mouse)) {}

  // Refused when no notification area runs, or when the icon is shown already.
  bool Add(const NotifyIconRecord& record) override;
  bool Delete(const NotifyIconRecord& record) override;
  bool Shown() const { return tray_ && tray_->isVisible(); }

 private:
  QIcon icon_;
  std::function<void(int)> on_mouse_;
  std::unique_ptr<QSystemTrayIcon> tray_;
};

}  // namespace melodane::on_linux
