// The main window kept in memory: controls, state, geometry in twips, and a record of
// what the form did to it.
#pragma once

#include <string>
#include <vector>

#include "app/form_view.h"
#include "app/layout.h"
#include "fakes/memory_controls.h"

namespace melodane::testing {

class MemoryView final : public FormView {
 public:
  // A window frame 120 twips wider and 570 twips taller than its client area, on a
  // 1920 x 1080 pixel screen at 96 dots per inch.
  static constexpr int kFrameWidth = 120;
  static constexpr int kFrameHeight = 570;

  MemoryView()
      : vol_(Layout(ControlId::Vol).min, Layout(ControlId::Vol).max),
        bounds_{0, 0, kFormLayout.client_width + kFrameWidth,
                kFormLayout.client_height + kFrameHeight} {}

  ListControl& ComDevies() override { return devices; }
  ListControl& ComSounds() override { return sounds; }
  ListControl& diao() override { return tones; }
  ScrollBarControl& Vol() override { return vol_; }
  CheckBoxControl& chkAutoRun() override { return auto_run; }
  CheckBoxControl& chkTray() override { return tray; }

  void Show() override {
    visible = true;
    events.push_back("show");
  }
  void Hide() override {
    visible = false;
    events.push_back("hide");
  }
  WindowState GetWindowState() const override { return state; }
  void SetWindowState(WindowState s) override {
    state = s;
    events.push_back(s == WindowState::kMinimized   ? "state minimized"
                     : s == WindowState::kMaximized ? "state maximized"
                                                    : "state normal");
  }
  TwipsRect WindowBounds() const override { return bounds_; }
  TwipsSize ClientSize() const override {
    return {bounds_.width - kFrameWidth, bounds_.height - kFrameHeight};
  }
  void SetWindowBounds(const TwipsRect& bounds) override { bounds_ = bounds; }
  TwipsSize ScreenSize() const override { return screen; }
  std::uintptr_t NativeWindowHandle() const override { return 0x1234; }
  std::uintptr_t NativeIconHandle() const override { return 0x5678; }
  void EndProgram() override {
    ended = true;
    events.push_back("end");
  }

  MemoryList devices, sounds, tones;
  MemoryCheckBox auto_run, tray;
  ScrollBarControl& vol() { return vol_; }
  TwipsSize screen{1920 * 15, 1080 * 15};
  WindowState state = WindowState::kNormal;
  bool visible = false;
  bool ended = false;
  std::vector<std::string> events;

 private:
  MemoryScrollBar vol_;
  TwipsRect bounds_;
};

}  // namespace melodane::testing
