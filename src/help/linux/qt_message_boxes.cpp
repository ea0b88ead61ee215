#include "help/linux/qt_message_boxes.h"

#include <QMessageBox>

namespace melodane::on_linux {

namespace {

constexpr int kIdCancel = 2, kMbIconMask = 0xF0, kMbIconStop = 16, kMbTypeMask = 0xF;

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon IconFor(int flags) {
  switch (flags & kMbIconMask) {
    case kMbIconStop:
      return QMessageBox::Critical;
    case kMbIconQuestion:
      return QMessageBox::Question;
    case kMbIconExclamation:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int QtMessageBoxes::MsgBox(std::string_view text, int flags, std::string_view title) {
  const bool with_cancel = (flags & kMbTypeMask) == kMbOkCancel;
  QString body = Text(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(IconFor(flags), Text(title), body,
                  with_cancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                  parent_.data());
  // The texts are plain: "<OK>" is no markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  if (with_cancel) box.setEscapeButton(QMessageBox::Cancel);
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Ok) ? kIdOk : kIdCancel;
}

}  // namespace melodane::on_linux
