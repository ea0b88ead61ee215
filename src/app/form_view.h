// The main window as the program's behaviour sees it: its controls, and the window
// operations it needs, with every length in twips.
#pragma once

#include <optional>

#include "app/controls.h"
#include "app/layout.h"

namespace melodane {

enum class WindowState { kNormal, kMinimized, kMaximized };

inline constexpr int kDefaultPointer = 0, kHourglassPointer = 11;

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
  // Ends the program at once, with no closing step: settings, the start-at-logon entry,
  // the icon and the MIDI port stay as they are.
  virtual void EndNow() = 0;

  // The Help menu as a pop-up at the mouse pointer, returning once it closes: the item
  // chosen, or nothing.
  virtual std::optional<MenuId> PopupHelpMenu() = 0;
  // The application's mouse pointer: kDefaultPointer or kHourglassPointer.
  virtual void SetMousePointer(int code) = 0;
  // Whether the window takes input.
  virtual void SetEnabled(bool enabled) = 0;
  // cmbProgress shown with its top-left corner there, in the window, and on top of the
  // other controls; or hidden.
  virtual void ShowProgress(int left, int top) = 0;
  virtual void HideProgress() = 0;
  virtual void SetTimBgEnabled(bool enabled) = 0;
};

}  // namespace melodane
