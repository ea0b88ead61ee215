// frmPubMain as a Qt window: every control of the layout table at its place in twips,
// converted at the screen's logical DPI.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>

#include "app/form_view.h"
#include "app/layout.h"
#include "app/linux/qt_controls.h"

namespace melodane {
class frmPubMain;
}

namespace melodane::on_linux {

class QtMainWindow final : public QWidget, public FormView {
  Q_OBJECT

 public:
  // The window and all its controls, hidden, with both timers running.
  QtMainWindow();
  ~QtMainWindow() override;

  // From now on the window's events go to the form.
  void Attach(frmPubMain& form) { form_ = &form; }
  QWidget* Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
  QMenu& HelpMenu() { return help_menu_; }
  const QIcon& Icon() const { return icon_; }
  int Dpi() const { return dpi_; }

  ListControl& ComDevies() override { return devices_; }
  ListControl& ComSounds() override { return sounds_; }
  ListControl& Tones() override { return tones_; }
  ScrollBarControl& Vol() override { return vol_; }
  CheckBoxControl& chkAutoRun() override { return auto_run_; }
  CheckBoxControl& chkTray() override { return tray_; }

  void Show() override;
  void Hide() override;
  WindowState GetWindowState() const override;
  void SetWindowState(WindowState state) override;
  TwipsRect WindowBounds() const override;
  TwipsSize ClientSize() const override;
  void SetWindowBounds(const TwipsRect& bounds) override;
  TwipsSize ScreenSize() const override;
  void EndProgram() override;
  void EndNow() override;
  std::optional<MenuId> PopupHelpMenu() override;
  void SetMousePointer(int code) override;
  void SetEnabled(bool enabled) override;
  void ShowProgress(int left, int top) override;
  void HideProgress() override;
  void SetTimBgEnabled(bool enabled) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ApplyVisibility();
  int Px(int twips) const { return TwipsToPixels(twips, dpi_); }
  int Twips(int pixels) const { return PixelsToTwips(pixels, dpi_); }

  frmPubMain* form_ = nullptr;
  bool ended_ = false;
  // Whether the hourglass is the application's pointer, set by SetMousePointer.
  bool hourglass_ = false;
  // Shown or hidden as asked last, once the event at hand is handled (see Show).
  bool wanted_visible_ = false;
  bool visibility_pending_ = false;
  int dpi_ = 96;
  QIcon icon_;
  std::array<QWidget*, kControlCount> controls_{};
  QtComboList devices_, sounds_, tones_;
  QtScrollBar vol_;
  QtCheckBox auto_run_, tray_;
  QTimer timer1_, tim_bg_;
  QMenu help_menu_;
};

}  // namespace melodane::on_linux
