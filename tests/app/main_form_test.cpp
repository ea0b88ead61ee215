#include "app/main_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/form_rig.h"

namespace melodane {
namespace {

using ::testing::ElementsAre;
using testing::FormRig;

class MainFormTest : public ::testing::Test, protected FormRig {
 protected:
  void Load() { Form().Form_Load(); }
  // The user minimizes the window: the system changes its state and reports a resize.
  void Minimize() {
    view.SetWindowState(WindowState::kMinimized);
    Form().Form_Resize();
  }
};

TEST_F(MainFormTest, FirstStartListsTheDevicesAppliesTheDefaultsOpensEntryZeroSendsPianoAndPlaces) {
  out.devices[0].caps_readable = false;
  Form();  // created: the fixed lists are filled, nothing is chosen yet
  EXPECT_EQ(view.sounds.items.at(70).first, "Basson");
  EXPECT_EQ(view.tones.items.at(11).first, "B");
  EXPECT_THAT(Choices(), ElementsAre(0, -1, -1, -1, false, false));
  Load();
  EXPECT_THAT(view.devices.items,
              ElementsAre(std::pair("Default MIDI Output", -1), std::pair("Synth B", 1)));
  EXPECT_THAT(Choices(), ElementsAre(100, 0, 0, 0, true, false));
  EXPECT_EQ(view.sounds.ListCount() + view.tones.ListCount(), 128 + 12);
  EXPECT_TRUE(view.visible);
  EXPECT_TRUE(settings.writes.empty()) << "start-up writes nothing";
  EXPECT_THAT(out.calls, ElementsAre("open 0xFFFFFFFF", "msg 0x000000B0", "msg 0x000000C0"));
  // The window fits its controls, at 0.382 of the screen's free space: of 28800 - 6960
  // twips across, 16200 - 4366 down.
  EXPECT_EQ(view.ClientSize(), (TwipsSize{6840, 3796}));
  EXPECT_EQ(std::pair(TwipsToPixels(6840, 144), TwipsToPixels(3796, 144)), std::pair(684, 380));
  EXPECT_EQ(view.bounds, (TwipsRect{8343, 4521, 6960, 4366}));
}

TEST_F(MainFormTest, StoredChoicesComeBackAndTheInstrumentFollowsTheOpen) {
  for (auto [key, text] : {std::pair{"Vol", " 37 "},
                           {"Stage", "9.5"},
                           {"Devies", "2"},
                           {"Tools", "+70"},
                           {"AutoRun", "False"},
                           {"Tray", "False"}}) {
    settings.Set(key, text);
  }
  Load();
  EXPECT_THAT(Choices(), ElementsAre(37, 10, 2, 70, false, false));  // halves go to even
  // Place 2 in the list is device id 1.
  EXPECT_THAT(out.calls, ElementsAre("open 0x00000001", "msg 0x000000B0", "msg 0x000046C0"));
}

TEST_F(MainFormTest, AValueThatDoesNotConvertOrIsRefusedLeavesItsControlAndTheRestApply) {
  std::vector<std::pair<std::string, const char*>> cases = {
      {"Vol", "loud"}, {"Vol", "101"},  {"Vol", "-1"},   {"Vol", "40000"}, {"Stage", "12"},
      {"Stage", "-2"}, {"Stage", "-1"}, {"Devies", "3"}, {"Tools", "128"}, {"Tools", "-32768"}};
  // Only the exact text "True" checks an option.
  for (const char* text : {"true", "TRUE", "1", "", " True", "Yes"}) {
    cases.insert(cases.end(), {{"AutoRun", text}, {"Tray", text}});
  }
  for (const auto& [key, text] : cases) {
    FormRig rig;
    rig.settings.Set("Tray", "True");  // the step after the others still runs
    rig.settings.Set(key, text);
    rig.Form().Form_Load();
    // As created: a volume of 0, a list with nothing chosen, a box cleared.
    EXPECT_THAT(rig.Choices(), ElementsAre(key == "Vol" ? 0 : 100, key == "Stage" ? -1 : 0,
                                           key == "Devies" ? -1 : 0, key == "Tools" ? -1 : 0,
                                           key != "AutoRun", key != "Tray"))
        << key << "=" << text;
    // With no device chosen nothing opens, and the instrument goes nowhere.
    EXPECT_EQ(rig.out.calls.size(), key == "Devies" ? 2u : 3u) << key << "=" << text;
  }
}

TEST_F(MainFormTest, ClosingStoresTheSixSettingsInOrderRemovesTheIconClosesThePortEndsAndRunsOnce) {
  settings.Set("AutoRun", "true");
  Load();
  view.vol.SetValue(64);
  view.tones.SetListIndex(-1);
  view.tray.SetChecked(true);
  settings.refuse_writes = true;  // a refused write does not stop the steps after it
  out.calls.clear();
  Form().Form_Unload();
  EXPECT_THAT(settings.writes, ElementsAre("Devies=0", "Tools=0", "Vol=64", "Stage=-1",
                                           "AutoRun=False", "Tray=True"));
  EXPECT_THAT(tray.calls, ElementsAre("delete"));
  EXPECT_THAT(out.calls, ElementsAre("close 1"));
  EXPECT_TRUE(view.ended);
  // After it no handler does anything.
  settings.writes.clear(), out.calls.clear(), tray.calls.clear(), view.events.clear();
  keys.down[65] = 1;
  view.state = WindowState::kMinimized;
  Form().Form_Unload();
  Form().Timer1_Timer();
  Form().ComDevies_Click();
  Form().ComSounds_Click();
  Form().Form_MouseMove(IconMouse::kLeftButtonUp);
  Form().Form_Resize();
  EXPECT_TRUE(settings.writes.empty() && out.calls.empty() && tray.calls.empty() &&
              view.events.empty());
}

TEST_F(MainFormTest, ClosingWritesTheRunEntryQuotedWhenTheBoxIsCheckedAndRemovesItWhenNot) {
  Load();  // checked when nothing is stored
  Form().Form_Unload();
  const std::string run = testing::MemoryRegistry::Path(
      kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(registry.keys[run]["melodane"],
            std::string("\"C:\\Program Files\\Melodane\\melodane.exe\"") + '\0');
  FormRig cleared;
  cleared.registry = registry;
  cleared.settings.Set("AutoRun", "False");
  cleared.Form().Form_Load();
  cleared.Form().Form_Unload();
  EXPECT_TRUE(cleared.registry.keys[run].empty());
  EXPECT_EQ(ProgramFile("C:\\", "melodane"), "C:\\melodane.exe") << "a drive's root folder";
  EXPECT_EQ(ProgramFile("C:\\M", "melodane"), "C:\\M\\melodane.exe");
}

TEST_F(MainFormTest, EachHelpItemOpensItsAddressTheLogoAsProductHomepageSeparatorsNothing) {
  Load();
  view.events.clear();
  for (const MenuItemLayout& item : HelpMenuItems()) {
    if (item.id != MenuId::menclv) Form().RunMenuItem(item.id);
  }
  Form().picLogo_Click();
  view.menu_choice = MenuId::menrs;
  Form().picHelp_Click();
  view.menu_choice.reset();
  Form().picHelp_Click();
  EXPECT_THAT(view.events, ElementsAre("open https://site.test/melodane.htm",
                                       "open https://site.test/?source=md-ui",
                                       "open https://site.test/contact.htm",
                                       "open https://site.test/melodane.htm?selectedTab=recommend",
                                       "open https://fb.test/m", "open https://tw.test/m",
                                       "open https://site.test/melodane.htm", "menu",
                                       "open https://site.test/contact.htm", "menu"));
}

TEST_F(MainFormTest, TheManualCheckRestoresTheWindowBeforeItsVerdictOnTheWholeText) {
  const std::string kFailure =
      "box 48 Melodane: Cannot connect to Brenwick server to check the new version, please "
      "check the Internet connection and try again.\r\n\r\nSet the proxy.";
  const std::string kNew =
      "box 33 Melodane: New version found, please click <OK> to exit "
      "Melodane, view the update and download the latest version, to "
      "abandon upgrading, please click <Cancel>.";
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"3.0", {"box 64 Melodane: No available new version for upgrading."}},
      {"3.0\r\n",
       {kNew, "open https://site.test/melodane.htm?selectedTab=updates",
        "open https://site.test/files/melodane.zip", "end now"}},
      {"2.9", {kNew}},  // answered with Cancel
      {"123456789", {kNew}},
      {"12", {kFailure}},
      {"1234567890", {kFailure}},
      {"", {kFailure}}};
  const std::vector<std::string> checking = {
      "pointer 11", "disabled", "progress at 1230,1883", "fetch https://site.test/vers/md.txt 9 s",
      "pointer 0",  "enabled",  "progress hidden"};
  Load();
  for (const auto& [body, verdict] : cases) {
    view.events.clear();
    view.body = body;
    view.answer = body == "3.0\r\n" ? kIdOk : 2;
    Form().menclv_Click();
    std::vector<std::string> expected = checking;
    expected.insert(expected.end(), verdict.begin(), verdict.end());
    EXPECT_EQ(view.events, expected) << body;
  }
  EXPECT_TRUE(settings.writes.empty() && tray.calls.empty()) << "no closing step";
}

TEST_F(MainFormTest, TheBackgroundCheckRunsOnceSaysNothingWhenUpToDateAndSkipsAPlaceholderSite) {
  Load();
  view.events.clear();
  Form().timBg_Timer();
  view.body = "";
  Form().timBg_Timer();
  EXPECT_THAT(view.events, ElementsAre("timBg off", "fetch https://site.test/vers/md.txt 9 s",
                                       "timBg off", "fetch https://site.test/vers/md.txt 9 s",
                                       ::testing::StartsWith("box 48 Melodane: Cannot connect")));
  FormRig placeholder;
  placeholder.site.site_base = "https://www.melodane.example";
  placeholder.Form().timBg_Timer();
  EXPECT_THAT(placeholder.view.events, ElementsAre("timBg off"));
}

TEST_F(MainFormTest, TheTrayOptionAtStartOrAMinimizeHidesToTheIconAndOnlyAReleaseRestores) {
  settings.Set("Tray", "True");
  Load();
  EXPECT_THAT(view.events, ElementsAre("hide"));
  EXPECT_TRUE(tray.shown && !view.visible && view.state == WindowState::kNormal);
  view.events.clear();
  view.SetWindowState(WindowState::kNormal);
  Form().Form_Resize();  // any other resize does nothing
  Form().Form_MouseMove(IconMouse::kOther);
  for (IconMouse release : {IconMouse::kLeftButtonUp, IconMouse::kRightButtonUp}) {
    Form().Form_MouseMove(release);
    Minimize();
  }
  EXPECT_THAT(view.events, ElementsAre("normal", "normal", "show", "minimized", "hide", "normal",
                                       "show", "minimized", "hide"));
  // Later adds are refused, the icon being there already; the window hides all the same.
  EXPECT_THAT(tray.calls, ElementsAre("add Melodane", "add Melodane", "add Melodane"));
  EXPECT_TRUE(tray.shown && !view.visible);
}

TEST_F(MainFormTest, WithoutAnIconTheWindowWaitsMinimizedWhereItCanBeFound) {
  tray.refuse_all = true;
  settings.Set("Tray", "True");
  Load();
  Form().Form_MouseMove(IconMouse::kLeftButtonUp);
  Minimize();
  EXPECT_THAT(view.events, ElementsAre("hide", "minimized", "show", "normal", "show", "minimized",
                                       "hide", "minimized", "show"));
}

}  // namespace
}  // namespace melodane
