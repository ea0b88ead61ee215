// The main window as the program's behaviour sees it: its controls, and the window
// operations it needs, with every length in twips.
#pragma once

#include "app/controls.h"

namespace melodane {

enum class WindowState { kNormal, kMinimized, kMaximized };

struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
  friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct TwipsSize {
  int width = 0, height = 0;
  friend constexpr bool operator==(const TwipsSize&, const TwipsSize&) = default;
};

class FormView {
 public:
  virtual ~FormView() = default;

  virtual ListControl& ComDevies() = 0;
  virtual ListControl& ComSounds() = 0;
  // The tone list, diao in the layout.
  virtual ListControl& Tones() = 0;
  virtual ScrollBarControl& Vol() = 0;
  virtual CheckBoxControl& chkAutoRun() = 0;
  virtual CheckBoxControl& chkTray() = 0;

  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual WindowState GetWindowState() const = 0;
  virtual void SetWindowState(WindowState state) = 0;

  // The outer rectangle (frame and title bar included) and the client area.
  virtual TwipsRect WindowBounds() const = 0;
  virtual TwipsSize ClientSize() const = 0;
  virtual void SetWindowBounds(const TwipsRect& bounds) = 0;
  // The primary screen.
  virtual TwipsSize ScreenSize() const = 0;

  // Ends the program once the current handler returns; no further event of the window
  // runs after this.
  virtual void EndProgram() = 0;
};

}  // namespace melodane
