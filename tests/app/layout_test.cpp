#include "app/layout.h"

#include <algorithm>
#include <map>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/lists.h"
#include "app/product.h"

namespace melodane {
namespace {

TEST(Lists, InstrumentListIsTheGeneralMidiProgramOrder) {
  ASSERT_EQ(kInstrumentNames.size(), 128u);
  EXPECT_EQ(kInstrumentNames[0], "Piano 1");
  EXPECT_EQ(kInstrumentNames[70], "Basson");
  EXPECT_EQ(kInstrumentNames[87], "Bass&Lead");
  EXPECT_EQ(kInstrumentNames[127], "Gun Shot");
  std::vector<std::string_view> sorted(kInstrumentNames.begin(), kInstrumentNames.end());
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "duplicate name";
}

TEST(Lists, ToneListRunsFromCToB) {
  EXPECT_THAT(kToneNames, ::testing::ElementsAre("C", "C#", "D", "D#", "E", "F", "F#", "G", "G#",
                                                 "A", "A#", "B"));
}

std::vector<std::string_view> FocusOrder() {
  std::vector<std::string_view> names;
  for (const auto* control : ControlsInCreationOrder()) {
    if (control->tab_index >= 0) names.push_back(control->name);
  }
  return names;
}

TEST(Layout, ControlsThatTakeTheFocusFollowTheDesignedOrder) {
  std::vector<std::string_view> stops;
  for (std::string_view name : FocusOrder()) {
    const auto& control = *std::find_if(Controls().begin(), Controls().end(),
                                        [&](const auto& c) { return c.name == name; });
    if (control.tab_stop) stops.push_back(name);
  }
  EXPECT_THAT(stops, ::testing::ElementsAre("ComDevies", "ComSounds", "Vol", "diao", "chkAutoRun",
                                            "chkTray", "picHelp", "picLogo", "cmbProgress"));
}

TEST(Layout, EachAccessKeyLabelComesRightBeforeItsControl) {
  const std::map<std::string_view, std::string_view> label_for = {{"&Device", "ComDevies"},
                                                                  {"&Instrument", "ComSounds"},
                                                                  {"&Volume", "Vol"},
                                                                  {"&Tone", "diao"}};
  const auto order = FocusOrder();
  for (const auto& [text, target] : label_for) {
    const auto& label = *std::find_if(Controls().begin(), Controls().end(),
                                      [&](const auto& c) { return c.text == text; });
    const auto at = std::find(order.begin(), order.end(), label.name);
    ASSERT_NE(at, order.end()) << text;
    ASSERT_NE(at + 1, order.end()) << text;
    EXPECT_EQ(*(at + 1), target) << text;
  }
  const auto indexes = std::count_if(Controls().begin(), Controls().end(),
                                     [](const auto& c) { return c.tab_index >= 0; });
  EXPECT_EQ(static_cast<std::size_t>(indexes), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(std::count(order.begin(), order.end(), order[i]), 1);
  }
}

TEST(Layout, OnlyTheProgressButtonAndTheInvisibleComponentsStartHidden) {
  for (const auto& control : Controls()) {
    const bool invisible_kind =
        control.kind == ControlKind::kTimer || control.kind == ControlKind::kTransfer;
    EXPECT_EQ(control.visible, !invisible_kind && control.id != ControlId::cmbProgress)
        << control.name;
  }
}

TEST(Layout, VersionLabelShowsThisBuildsVersion) {
  const std::string expected = "Version " + std::string(kBuildVersionText) + " (Build 011)";
  EXPECT_EQ(Layout(ControlId::Label8).text.substr(0, expected.size()), expected);
}

TEST(Layout, HelpMenuHasNineItemsWithTwoSeparators) {
  const auto items = HelpMenuItems();
  ASSERT_EQ(items.size(), 9u);
  EXPECT_EQ(items[0].caption, "Product Homepage");
  EXPECT_EQ(items[0].shortcut, "F1");
  EXPECT_TRUE(items[3].separator());
  EXPECT_TRUE(items[6].separator());
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](auto& i) { return i.separator(); }), 2);
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](auto& i) { return !i.shortcut.empty(); }),
            1);
}

TEST(Twips, ConvertAtTheGivenDpi) {
  EXPECT_EQ(TwipsToPixels(1440, 96), 96);
  EXPECT_EQ(TwipsToPixels(15, 96), 1);
  EXPECT_EQ(TwipsToPixels(3796, 96), 253);
  EXPECT_EQ(TwipsToPixels(3796, 144), 380);
  EXPECT_EQ(TwipsToPixels(-9, 96), -1);
  EXPECT_EQ(TwipsToPixels(-5, 96), 0);
  EXPECT_EQ(PixelsToTwips(96, 96), 1440);
  EXPECT_EQ(PixelsToTwips(1, 192), 7);
}

}  // namespace
}  // namespace melodane
