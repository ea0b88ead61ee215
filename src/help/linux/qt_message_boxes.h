// Message boxes as Qt's, over the main window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "help/help_services.h"

namespace melodane::on_linux {

class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}

  // kIdOk for OK, 2 for Cancel; closing a box that has Cancel is Cancel.
  int MsgBox(std::string_view text, int flags, std::string_view title) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace melodane::on_linux
