// What each window must do with the layout table, written once: a typed test suite that
// each window's tests instantiate with a probe of their own. A probe builds its window
// over a rig's services and loads the form; then it answers Dpi(), ClientSize() and
// Box(id), in pixels (the box in the client area, or nothing for a control that is not
// a window of its own), Visible(id) and TakesTypedText(id).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/form_rig.h"

namespace melodane::testing {

struct Box {
  int left, top, width, height;
};

template <typename Probe>
struct WindowContract : ::testing::Test {
  FormRig rig;
  Probe probe{rig};
};
TYPED_TEST_SUITE_P(WindowContract);

TYPED_TEST_P(WindowContract, EveryControlSitsAtItsTwipsAndNoListTakesTypedText) {
  auto& probe = this->probe;
  const auto px = [dpi = probe.Dpi()](int twips) { return TwipsToPixels(twips, dpi); };
  EXPECT_EQ(probe.ClientSize(), std::pair(px(6840), px(3796)));
  for (const ControlLayout& control : Controls()) {
    const std::optional<Box> box = probe.Box(control.id);
    ASSERT_EQ(box.has_value(), IsWindowed(control.kind)) << control.name;
    if (!box) continue;
    // A label may outgrow its box rather than lose its last letter.
    const int width =
        control.kind == ControlKind::kLabel ? std::min(box->width, px(control.width)) : box->width;
    EXPECT_EQ(std::tuple(box->left, box->top, width, box->height),
              std::tuple(px(control.left), px(control.top), px(control.width), px(control.height)))
        << control.name;
    EXPECT_EQ(probe.Visible(control.id), control.visible) << control.name;
    if (control.kind == ControlKind::kComboList) {
      EXPECT_FALSE(probe.TakesTypedText(control.id)) << control.name;
    }
  }
}

REGISTER_TYPED_TEST_SUITE_P(WindowContract, EveryControlSitsAtItsTwipsAndNoListTakesTypedText);

}  // namespace melodane::testing
