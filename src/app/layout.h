// The main window as designed: every control with its kind, text, place and size in
// twips (1/1440 inch), colours, focus order, the Help menu and the two timers. Both
// windows are built from this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace melodane {

inline constexpr int kTwipsPerInch = 1440;

// Converts a length in twips to pixels at `dpi` dots per inch, rounded to nearest.
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                                      : -((-scaled + kTwipsPerInch / 2) / kTwipsPerInch));
}
constexpr int PixelsToTwips(int pixels, int dpi) {
  return static_cast<int>(static_cast<long long>(pixels) * kTwipsPerInch / dpi);
}

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

enum class ControlKind {
  kLabel,
  kComboList,  // drop-down list that takes no typed text
  kHScrollBar,
  kCheckBox,
  kLine,
  kPicture,
  kCommandButton,
  kTransfer,  // the web transfer component: a place on the form, nothing drawn
  kTimer,
};

enum class ControlId {
  Label1,
  ComDevies,
  Label3,
  ComSounds,
  Label4,
  Vol,
  Label5,
  diao,
  chkAutoRun,
  chkTray,
  Line1,
  Label7,
  picLogo,
  Label8,
  Label9,
  Line2_0,
  Line2_1,
  picHelp,
  cmbProgress,
  net,
  Timer1,
  timBg,
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::timBg) + 1;

struct ControlLayout {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  std::string_view text;
  // A line runs from (left, top) to (x2, y2); every other control is a box.
  int left = 0, top = 0, width = 0, height = 0;
  int x2 = 0, y2 = 0;
  std::optional<Rgb> fore_color;  // text or line colour; none: the system's
  std::optional<Rgb> back_color;
  double font_points = 0;  // 0: the window's font
  bool font_bold = false;
  bool visible = true;
  // Place in the focus order. Labels have one too: a label's access key moves the focus
  // to the next control after it that can take the focus. -1: outside the order.
  int tab_index = -1;
  bool tab_stop = false;
  std::string_view tool_tip;
  int min = 0, max = 0, small_change = 0, large_change = 0;  // scroll bar
  int interval_ms = 0;                                       // timer, enabled from creation
};

struct FormLayout {
  std::string_view name;
  std::string_view caption;
  int client_width, client_height;  // at design; start-up fits the window to its controls
  std::string_view font_face;
  double font_points;
};

enum class MenuId {
  menph,
  mench,
  menrs,
  menhsb,
  menrf,
  menclv,
  menhsa,
  menfuf,
  menfut,
};

struct MenuItemLayout {
  MenuId id;
  std::string_view name;
  std::string_view caption;  // "-" for a separator
  std::string_view shortcut;
  bool separator() const { return caption == "-"; }
};

extern const FormLayout kFormLayout;

// Every control, in the order of the table above; Layout(id) finds one.
std::span<const ControlLayout> Controls();
const ControlLayout& Layout(ControlId id);

// Whether a control is a window of its own; lines are painted on the form, timers and
// the transfer component are not seen.
constexpr bool IsWindowed(ControlKind kind) {
  return kind != ControlKind::kLine && kind != ControlKind::kTimer &&
         kind != ControlKind::kTransfer;
}

// The windowed controls in the order to create them: the focus order first, labels
// included, so that a label's access key can reach the control after it; then the rest.
std::vector<const ControlLayout*> ControlsInCreationOrder();

// The hidden top-level menu shown as a pop-up.
inline constexpr std::string_view kHelpMenuName = "menh";
inline constexpr std::string_view kHelpMenuCaption = "Help";
std::span<const MenuItemLayout> HelpMenuItems();

}  // namespace melodane
