#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

#include "app/notify_icon.h"

namespace melodane::on_linux {

// The desktop's notification area through QSystemTrayIcon. A click on the icon is
// reported when its button is released: the left button's as Trigger, the right one's as
// Context.
class QtTrayIcon final : public QObject, public NotificationArea {
  Q_OBJECT

 public:
  QtTrayIcon(QIcon icon, std::function<void(IconMouse)> on_mouse)
      : icon_(std::move(icon)), on_mouse_(std::move(on_mouse)) {}

  // Refused when no notification area runs, or when the icon is shown already.
  bool Add(std::string_view tip) override;
  bool Delete() override;
  bool Shown() const { return tray_ && tray_->isVisible(); }

 private:
  QIcon icon_;
  std::function<void(IconMouse)> on_mouse_;
  std::unique_ptr<QSystemTrayIcon> tray_;
};

}  // namespace melodane::on_linux
