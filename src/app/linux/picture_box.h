#pragma once

#include <QPixmap>
#include <QWidget>

namespace melodane::on_linux {

// A picture that takes the focus and reports clicks, as the window's picture boxes do.
class PictureBox final : public QWidget {
  Q_OBJECT

 public:
  PictureBox(const QPixmap& picture, QWidget* parent);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace melodane::on_linux
