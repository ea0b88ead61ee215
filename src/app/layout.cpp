#include "app/layout.h"

#include <algorithm>
#include <array>
#include <climits>

namespace melodane {

namespace {

constexpr Rgb kBlue{0, 102, 204};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kLightBlue{128, 128, 255};

using K = ControlKind;
using I = ControlId;

// Indexed by ControlId.
// clang-format off
constexpr std::array<ControlLayout, kControlCount> kControls = {{
    {.id = I::Label1, .name = "Label1", .kind = K::kLabel, .text = "&Device",
     .left = 90, .top = 90, .width = 480, .height = 195, .fore_color = kBlue, .tab_index = 0},
    {.id = I::ComDevies, .name = "ComDevies", .kind = K::kComboList,
     .left = 90, .top = 375, .width = 3945, .height = 315, .tab_index = 1, .tab_stop = true},
    {.id = I::Label3, .name = "Label3", .kind = K::kLabel, .text = "&Instrument",
     .left = 4125, .top = 90, .width = 795, .height = 195, .fore_color = kBlue, .tab_index = 2},
    {.id = I::ComSounds, .name = "ComSounds", .kind = K::kComboList,
     .left = 4125, .top = 375, .width = 2625, .height = 315, .tab_index = 3, .tab_stop = true},
    {.id = I::Label4, .name = "Label4", .kind = K::kLabel, .text = "&Volume",
     .left = 90, .top = 780, .width = 510, .height = 195, .fore_color = kBlue, .tab_index = 4},
    {.id = I::Vol, .name = "Vol", .kind = K::kHScrollBar,
     .left = 90, .top = 1065, .width = 3935, .height = 315, .tab_index = 5, .tab_stop = true,
     .min = 0, .max = 100, .small_change = 1, .large_change = 1},
    {.id = I::Label5, .name = "Label5", .kind = K::kLabel, .text = "&Tone",
     .left = 4125, .top = 780, .width = 360, .height = 195, .fore_color = kBlue, .tab_index = 6},
    {.id = I::diao, .name = "diao", .kind = K::kComboList,
     .left = 4125, .top = 1065, .width = 2625, .height = 315, .tab_index = 7, .tab_stop = true},
    {.id = I::chkAutoRun, .name = "chkAutoRun", .kind = K::kCheckBox,
     .text = "&Run it when PC boots.",
     .left = 90, .top = 1470, .width = 2055, .height = 255, .fore_color = kBlue,
     .tab_index = 8, .tab_stop = true},
    {.id = I::chkTray, .name = "chkTray", .kind = K::kCheckBox,
     .text = "&Minimize it to System Tray on startup.",
     .left = 2235, .top = 1470, .width = 3135, .height = 195, .fore_color = kBlue,
     .tab_index = 9, .tab_stop = true},
    {.id = I::Line1, .name = "Line1", .kind = K::kLine,
     .left = -9, .top = 1815, .x2 = 10000, .y2 = 1815, .fore_color = kGrey},
    {.id = I::Label7, .name = "Label7", .kind = K::kLabel,
     .text = "Melodane - Lets your keyboard to sing when typing, just for entertainment.",
     .left = 1170, .top = 1905, .width = 5415, .height = 195, .fore_color = kBlue,
     .tab_index = 13},
    {.id = I::picLogo, .name = "picLogo", .kind = K::kPicture,
     .left = 0, .top = 1920, .width = 1080, .height = 1080, .tab_index = 11, .tab_stop = true,
     .tool_tip = "Visit product homepage."},
    {.id = I::Label8, .name = "Label8", .kind = K::kLabel,
     .text = "Version 3.0 (Build 011), member of Brenwick Desktop Fun",
     .left = 1170, .top = 2190, .width = 5430, .height = 195, .tab_index = 14},
    {.id = I::Label9, .name = "Label9", .kind = K::kLabel,
     .text = "Brenwick Software. All rights reserved.",
     .left = 1170, .top = 2475, .width = 4980, .height = 195, .tab_index = 15},
    {.id = I::Line2_0, .name = "Line2(0)", .kind = K::kLine,
     .left = 1170, .top = 2761, .x2 = 10000, .y2 = 2761, .fore_color = kGrey},
    {.id = I::Line2_1, .name = "Line2(1)", .kind = K::kLine,
     .left = -5, .top = 3136, .x2 = 10000, .y2 = 3136, .fore_color = kGrey},
    {.id = I::picHelp, .name = "picHelp", .kind = K::kPicture,
     .left = 6276, .top = 3226, .width = 480, .height = 480, .tab_index = 10, .tab_stop = true,
     .tool_tip = "Help."},
    {.id = I::cmbProgress, .name = "cmbProgress", .kind = K::kCommandButton,
     .text = "Checking now, please wait...",
     .left = 1200, .top = 3240, .width = 4500, .height = 600, .back_color = kLightBlue,
     .font_points = 14.25, .font_bold = true, .visible = false, .tab_index = 12,
     .tab_stop = true},
    {.id = I::net, .name = "net", .kind = K::kTransfer, .left = 4080, .top = 3240,
     .visible = false},
    {.id = I::Timer1, .name = "Timer1", .kind = K::kTimer, .visible = false, .interval_ms = 50},
    {.id = I::timBg, .name = "timBg", .kind = K::kTimer, .visible = false,
     .interval_ms = 60000},
}};
// clang-format on

constexpr bool IndexedById() {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (static_cast<std::size_t>(kControls[i].id) != i) return false;
  }
  return true;
}
static_assert(IndexedById(), "kControls must be in ControlId order");

constexpr std::array<MenuItemLayout, 9> kHelpMenu = {{
    {MenuId::menph, "menph", "Product Homepage", "F1"},
    {MenuId::mench, "mench", "Company Homepage", ""},
    {MenuId::menrs, "menrs", "Request Support", ""},
    {MenuId::menhsb, "menhsb", "-", ""},
    {MenuId::menrf, "menrf", "Recommend to Friends", ""},
    {MenuId::menclv, "menclv", "Check Latest Version", ""},
    {MenuId::menhsa, "menhsa", "-", ""},
    {MenuId::menfuf, "menfuf", "Find Us on Facebook", ""},
    {MenuId::menfut, "menfut", "Find Us on Twitter", ""},
}};

}  // namespace

const FormLayout kFormLayout = {
    .name = "frmPubMain",
    .caption = "Melodane",
    .client_width = 6915,
    .client_height = 3855,
    .font_face = "Tahoma",
    .font_points = 8.25,
};

std::span<const ControlLayout> Controls() { return kControls; }

const ControlLayout& Layout(ControlId id) { return kControls[static_cast<std::size_t>(id)]; }

std::span<const MenuItemLayout> HelpMenuItems() { return kHelpMenu; }

std::vector<const ControlLayout*> ControlsInCreationOrder() {
  std::vector<const ControlLayout*> order;
  for (const auto& control : kControls) {
    if (IsWindowed(control.kind)) order.push_back(&control);
  }
  const auto rank = [](const ControlLayout* c) {
    return c->tab_index < 0 ? INT_MAX : c->tab_index;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const auto* a, const auto* b) { return rank(a) < rank(b); });
  return order;
}

}  // namespace melodane
