#include "app/main_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/layout.h"
#include "fakes/form_rig.h"

namespace melodane {
namespace {

using ::testing::ElementsAre;
using testing::FormRig;
using ::testing::IsEmpty;
using testing::MemoryView;
using testing::RecordingMidiOut;

class FakeInstance final : public SingleInstance {
 public:
  explicit FakeInstance(bool other) : other_(other) {}
  bool AnotherInstanceRuns() override { return other_; }

 private:
  bool other_;
};

class MainFormTest : public ::testing::Test, protected FormRig {
 protected:
  void Load() { Form().Form_Load(); }
};

TEST_F(MainFormTest, AnotherRunningCopyStopsThisOneBeforeAnythingElse) {
  FakeInstance other(true), alone(false);
  EXPECT_FALSE(frmPubMain::Form_Initialize(other));
  EXPECT_TRUE(frmPubMain::Form_Initialize(alone));
}

TEST_F(MainFormTest, CreationFillsTheFixedListsWithNothingSelected) {
  Form();
  EXPECT_EQ(view.sounds.ListCount(), 128);
  EXPECT_EQ(view.sounds.Text(70), "Basson");
  EXPECT_EQ(view.tones.ListCount(), 12);
  EXPECT_EQ(view.sounds.ListIndex(), -1);
  EXPECT_EQ(view.tones.ListIndex(), -1);
  EXPECT_EQ(view.devices.ListCount(), 0);
}

TEST_F(MainFormTest, FirstStartWithAnEmptyStoreAppliesTheDefaults) {
  Load();
  EXPECT_EQ(view.vol().Value(), 100);
  EXPECT_EQ(view.tones.ListIndex(), 0);
  EXPECT_EQ(view.devices.ListIndex(), 0);
  EXPECT_EQ(view.sounds.ListIndex(), 0);
  EXPECT_TRUE(view.auto_run.Checked());
  EXPECT_FALSE(view.tray.Checked());
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.state, WindowState::kNormal);
  EXPECT_TRUE(settings.writes.empty()) << "start-up writes nothing";
  // Entry 0 is the default output; then piano on it.
  EXPECT_THAT(out.calls, ElementsAre("open 0xFFFFFFFF", "msg 0x000000B0", "msg 0x000000C0"));
}

TEST_F(MainFormTest, StoredChoicesComeBack) {
  settings.Set("Vol", "37");
  settings.Set("Stage", "11");
  settings.Set("Devies", "2");
  settings.Set("Tools", "70");
  settings.Set("AutoRun", "False");
  settings.Set("Tray", "False");
  Load();
  EXPECT_EQ(view.vol().Value(), 37);
  EXPECT_EQ(view.tones.ListIndex(), 11);
  EXPECT_EQ(view.devices.ListIndex(), 2);
  EXPECT_EQ(view.sounds.ListIndex(), 70);
  EXPECT_FALSE(view.auto_run.Checked());
  // Position 2 is device id 1; the instrument follows the open.
  EXPECT_THAT(out.calls, ElementsAre("open 0x00000001", "msg 0x000000B0", "msg 0x000046C0"));
}

TEST_F(MainFormTest, BadStoredNumbersLeaveTheirControlAloneAndTheRestStillApply) {
  settings.Set("Vol", "loud");
  settings.Set("Stage", "40000");
  settings.Set("Devies", "3");  // past the end of mapper + two devices
  settings.Set("Tools", "128");
  settings.Set("AutoRun", "False");
  settings.Set("Tray", "False");
  Load();
  EXPECT_EQ(view.vol().Value(), 0);
  EXPECT_EQ(view.tones.ListIndex(), -1);
  EXPECT_EQ(view.devices.ListIndex(), -1);
  EXPECT_EQ(view.sounds.ListIndex(), -1);
  EXPECT_FALSE(view.auto_run.Checked());
  EXPECT_TRUE(view.visible);
  // No device is selected: nothing opens; the instrument goes to the closed port.
  EXPECT_THAT(out.Calls("open"), IsEmpty());
  EXPECT_THAT(out.calls, ElementsAre("msg 0x000000B0", "msg 0xFFFFFFC0"));
}

TEST_F(MainFormTest, ValuesOutsideTheControlsRangeAreRefused) {
  struct Case {
    const char* key;
    const char* text;
  };
  for (const Case& c : {Case{"Vol", "101"}, Case{"Vol", "-1"}, Case{"Vol", "32768"},
                        Case{"Stage", "12"}, Case{"Stage", "-2"}, Case{"Tools", "-32768"}}) {
    FormRig fresh;
    fresh.settings.Set(c.key, c.text);
    fresh.Form().Form_Load();
    if (std::string(c.key) == "Vol") {
      EXPECT_EQ(fresh.view.vol().Value(), 0) << c.text;
    } else if (std::string(c.key) == "Stage") {
      EXPECT_EQ(fresh.view.tones.ListIndex(), -1) << c.text;
    } else {
      EXPECT_EQ(fresh.view.sounds.ListIndex(), -1) << c.text;
    }
  }
}

TEST_F(MainFormTest, NumbersAreReadLeniently) {
  settings.Set("Vol", " 50 ");
  settings.Set("Stage", "2.5");  // halves go to the even neighbour
  settings.Set("Tools", "+3");
  Load();
  EXPECT_EQ(view.vol().Value(), 50);
  EXPECT_EQ(view.tones.ListIndex(), 2);
  EXPECT_EQ(view.sounds.ListIndex(), 3);
}

TEST_F(MainFormTest, MinusOneMeansNoSelection) {
  settings.Set("Stage", "-1");
  settings.Set("Devies", "-1");
  Load();
  EXPECT_EQ(view.tones.ListIndex(), -1);
  EXPECT_EQ(view.devices.ListIndex(), -1);
  EXPECT_THAT(out.Calls("open"), IsEmpty());
}

TEST_F(MainFormTest, OptionsAreOnlyCheckedByTheExactTextTrue) {
  for (const char* text : {"true", "TRUE", "1", "", " True", "Yes"}) {
    FormRig fresh;
    fresh.settings.Set("AutoRun", text);
    fresh.settings.Set("Tray", text);
    fresh.Form().Form_Load();
    EXPECT_FALSE(fresh.view.auto_run.Checked()) << '"' << text << '"';
    EXPECT_FALSE(fresh.view.tray.Checked()) << '"' << text << '"';
  }
}

TEST_F(MainFormTest, NoMidiDeviceAtAll) {
  out.mapper.reset();
  out.devices.clear();
  Load();
  EXPECT_EQ(view.devices.ListCount(), 0);
  EXPECT_EQ(view.devices.ListIndex(), -1);
  EXPECT_THAT(out.Calls("open"), IsEmpty());
  EXPECT_TRUE(view.visible);
}

TEST_F(MainFormTest, TheWindowFitsItsControlsAndSitsAtTheGoldenSection) {
  Load();
  EXPECT_EQ(view.ClientSize(), (TwipsSize{6840, 3796}));
  const TwipsRect bounds = view.WindowBounds();
  EXPECT_EQ(bounds.width, 6840 + MemoryView::kFrameWidth);
  EXPECT_EQ(bounds.height, 3796 + MemoryView::kFrameHeight);
  EXPECT_EQ(bounds.left, std::lround((view.screen.width - bounds.width) * 0.382));
  EXPECT_EQ(bounds.top, std::lround((view.screen.height - bounds.height) * 0.382));
  EXPECT_LT(bounds.left, (view.screen.width - bounds.width) / 2);
}

TEST_F(MainFormTest, ChoosingAnotherDeviceReopensWithoutSendingTheInstrument) {
  Load();
  out.calls.clear();
  view.devices.SetListIndex(1);
  Form().ComDevies_Click();
  EXPECT_THAT(out.calls, ElementsAre("close 1", "open 0x00000000"));
  view.devices.SetListIndex(2);
  Form().ComDevies_Change();
  EXPECT_THAT(out.Calls("open").back(), "open 0x00000001");
  EXPECT_THAT(out.Calls("msg"), IsEmpty());
}

TEST_F(MainFormTest, ChoosingADeviceThatFailsToOpenLeavesNoPort) {
  out.devices[1].opens = false;
  Load();
  view.devices.SetListIndex(2);
  Form().ComDevies_Click();
  EXPECT_EQ(port.hMidiOut(), 0u);
  EXPECT_TRUE(out.open_ports.empty());
}

TEST_F(MainFormTest, ChoosingAnInstrumentSendsItOnTheOpenPort) {
  Load();
  out.calls.clear();
  view.sounds.SetListIndex(127);
  Form().ComSounds_Click();
  Form().ComSounds_Change();
  EXPECT_THAT(out.calls,
              ElementsAre("msg 0x000000B0", "msg 0x00007FC0", "msg 0x000000B0", "msg 0x00007FC0"));
}

TEST_F(MainFormTest, ClosingStoresTheSixSettingsInOrderThenClosesThePortAndEnds) {
  Load();
  view.vol().SetValue(64);
  view.tones.SetListIndex(-1);
  view.tray.SetChecked(true);
  out.calls.clear();
  Form().Form_Unload();
  EXPECT_THAT(settings.writes, ElementsAre("Devies=0", "Tools=0", "Vol=64", "Stage=-1",
                                           "AutoRun=True", "Tray=True"));
  EXPECT_THAT(out.calls, ElementsAre("close 1"));
  EXPECT_TRUE(view.ended);
}

TEST_F(MainFormTest, ClosingRunsOnceEvenWhenAskedTwice) {
  Load();
  Form().Form_Unload();
  Form().Form_Unload();
  EXPECT_EQ(settings.writes.size(), 6u);
  EXPECT_EQ(out.Calls("close").size(), 1u);
}

TEST_F(MainFormTest, ClosingWithNoPortOpenMakesNoCloseCall) {
  settings.Set("Devies", "-1");
  Load();
  Form().Form_Unload();
  EXPECT_THAT(out.Calls("close"), IsEmpty());
  EXPECT_TRUE(view.ended);
}

TEST_F(MainFormTest, RefusedWritesDoNotStopTheShutDown) {
  Load();
  settings.refuse_writes = true;
  Form().Form_Unload();
  EXPECT_EQ(settings.writes.size(), 6u);
  EXPECT_TRUE(out.open_ports.empty());
  EXPECT_TRUE(view.ended);
}

TEST_F(MainFormTest, NoSelectionSurvivesARestart) {
  settings.Set("Devies", "9");
  settings.Set("Tools", "-7");
  Load();
  Form().Form_Unload();
  EXPECT_EQ(settings.Get("Devies"), "-1");
  EXPECT_EQ(settings.Get("Tools"), "-1");

  FormRig next;
  next.settings = settings;
  next.Form().Form_Load();
  EXPECT_EQ(next.view.devices.ListIndex(), -1);
  EXPECT_EQ(next.view.sounds.ListIndex(), -1);
}

TEST_F(MainFormTest, LowerCaseTrueIsStoredBackAsFalse) {
  settings.Set("AutoRun", "true");
  Load();
  Form().Form_Unload();
  EXPECT_EQ(settings.Get("AutoRun"), "False");
}

}  // namespace
}  // namespace melodane
