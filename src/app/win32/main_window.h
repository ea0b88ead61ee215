// frmPubMain as a raw Win32 window: every control of the layout table at its place in
// twips, converted at the window's own DPI.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "app/form_view.h"
#include "app/layout.h"
#include "app/win32/win32_controls.h"
#include "common/win32/scoped_handles.h"

namespace melodane {
class frmPubMain;
}

namespace melodane::win32 {

class MainWindow final : public FormView {
 public:
  static constexpr wchar_t kClassName[] = L"Melodane.frmPubMain";
  // Each control's dialog id, as GetDlgItem finds it.
  static constexpr int DialogId(ControlId id) { return 100 + static_cast<int>(id); }

  // The window and all its controls, hidden, with both timers running.
  static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
  ~MainWindow() override;

  // From now on the window's events go to the form.
  void Attach(frmPubMain& form) { form_ = &form; }
  HWND hwnd() const { return hwnd_; }
  HWND Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
  // The window's icon, also the notification area's.
  HICON Icon() const { return icon_big_.get(); }
  // Runs until the program ends; gives the exit code.
  int RunMessageLoop();

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

 private:
  explicit MainWindow(HINSTANCE instance);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  bool CreateWindowAndControls();
  void CreateFonts();
  void PlaceControls();
  void OnCommand(int id, int code);
  void OnHorizontalScroll(HWND bar, int request);
  void OnPaint();
  LRESULT OnControlColor(HDC dc, HWND control);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  int Px(int twips) const { return TwipsToPixels(twips, dpi_); }
  int Twips(int pixels) const { return PixelsToTwips(pixels, dpi_); }

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the window was left
  UINT dpi_ = 96;
  frmPubMain* form_ = nullptr;
  bool ended_ = false;
  bool hourglass_ = false;  // the whole window shows the wait pointer

  std::array<HWND, kControlCount> controls_{};
  ComboListControl devices_, sounds_, tones_;
  ScrollBarCtl vol_;
  CheckBoxCtl auto_run_, tray_;

  ScopedFont font_, progress_font_;
  ScopedBrush face_brush_, progress_brush_;
  ScopedPen line_pen_;
  ScopedMenu help_menu_;
  ScopedBitmap logo_, help_;
  ScopedIcon icon_big_, icon_small_;
  HCURSOR logo_cursor_ = nullptr;
};

}  // namespace melodane::win32
