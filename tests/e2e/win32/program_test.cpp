// The real Windows program under Wine, with the test MIDI driver as its devices.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/layout.h"
#include "app/lists.h"
#include "resources/resource_ids.h"
#include "tests/e2e/win32/program_driver.h"

namespace melodane::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WindowsProgram : public ::testing::Test {
 protected:
  void SetUp() override { ClearSettings(); }
  void TearDown() override { ClearSettings(); }

  static void StoreAll(const std::map<std::string, std::string>& values) {
    for (const auto& [key, value] : values) StoreSetting(key, value);
  }
};

TEST_F(WindowsProgram, FirstStartListsTheMapperFirstAndAppliesTheDefaults) {
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  EXPECT_TRUE(IsWindowVisible(program.window()));
  EXPECT_THAT(program.ListItems(ControlId::ComDevies),
              ElementsAre("Test MIDI Mapper", "Test Synth A", "Test Synth B"));
  EXPECT_EQ(program.ListIndex(ControlId::ComDevies), 0);
  EXPECT_EQ(program.ListIndex(ControlId::ComSounds), 0);
  EXPECT_EQ(program.ListIndex(ControlId::diao), 0);
  EXPECT_EQ(program.ScrollValue(), 100);
  EXPECT_TRUE(program.Checked(ControlId::chkAutoRun));
  EXPECT_FALSE(program.Checked(ControlId::chkTray));
  EXPECT_THAT(program.MidiLog(),
              ElementsAre("mapper open", "mapper data 0x000000B0", "mapper data 0x000000C0"));

  ASSERT_TRUE(program.Close());
  EXPECT_EQ(program.ExitCode(), 0u);
  EXPECT_EQ(StoredSetting("Vol"), "100");
  EXPECT_EQ(StoredSetting("Stage"), "0");
  EXPECT_EQ(StoredSetting("Devies"), "0");
  EXPECT_EQ(StoredSetting("Tools"), "0");
  EXPECT_EQ(StoredSetting("AutoRun"), "True");
  EXPECT_EQ(StoredSetting("Tray"), "False");
  EXPECT_EQ(program.MidiLog().back(), "mapper close");
}

TEST_F(WindowsProgram, StoredChoicesOpenTheirDeviceAndSendTheInstrumentAfterTheOpen) {
  StoreAll({{"Vol", "42"},
            {"Stage", "11"},
            {"Devies", "2"},
            {"Tools", "70"},
            {"AutoRun", "False"},
            {"Tray", "False"}});
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  EXPECT_EQ(program.ScrollValue(), 42);
  EXPECT_EQ(program.ListIndex(ControlId::diao), 11);
  EXPECT_EQ(program.ListIndex(ControlId::ComSounds), 70);
  EXPECT_FALSE(program.Checked(ControlId::chkAutoRun));
  // Position 2 of the list is device id 1.
  EXPECT_THAT(program.MidiLog(),
              ElementsAre("dev1 open", "dev1 data 0x000000B0", "dev1 data 0x000046C0"));
  ASSERT_TRUE(program.Close());
  EXPECT_EQ(StoredSetting("Devies"), "2");
  EXPECT_EQ(StoredSetting("Tools"), "70");
  EXPECT_EQ(StoredSetting("AutoRun"), "False");
}

TEST_F(WindowsProgram, BadStoredValuesLeaveTheirControlsAloneAndTheRestStillApply) {
  StoreAll({{"Vol", "loud"},
            {"Stage", "40000"},
            {"Devies", "3"},
            {"Tools", "5"},
            {"AutoRun", "true"},
            {"Tray", "False"}});
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  EXPECT_EQ(program.ScrollValue(), 0);
  EXPECT_EQ(program.ListIndex(ControlId::diao), -1);
  EXPECT_EQ(program.ListIndex(ControlId::ComDevies), -1);
  EXPECT_EQ(program.ListIndex(ControlId::ComSounds), 5);
  EXPECT_FALSE(program.Checked(ControlId::chkAutoRun));
  EXPECT_TRUE(IsWindowVisible(program.window()));
  // No device is selected, so none was opened and the instrument went nowhere.
  EXPECT_THAT(program.MidiLog(), IsEmpty());

  ASSERT_TRUE(program.Close());
  EXPECT_EQ(StoredSetting("Vol"), "0");
  EXPECT_EQ(StoredSetting("Stage"), "-1");
  EXPECT_EQ(StoredSetting("Devies"), "-1");
  EXPECT_EQ(StoredSetting("Tools"), "5");
  EXPECT_EQ(StoredSetting("AutoRun"), "False");
}

TEST_F(WindowsProgram, ADeviceWhoseNameCannotBeReadIsLeftOutAndIdsStayDeviceIds) {
  StoreSetting("Devies", "1");
  Program program = Program::Start({{L"FAKEMIDI_DEVICES", L"!Broken;Test Synth B"}});
  ASSERT_TRUE(program.window());
  EXPECT_THAT(program.ListItems(ControlId::ComDevies),
              ElementsAre("Test MIDI Mapper", "Test Synth B"));
  EXPECT_EQ(program.MidiLog().front(), "dev1 open");
}

TEST_F(WindowsProgram, ChoosingAnotherDeviceClosesThePortFirstAndSendsNoInstrument) {
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  ASSERT_TRUE(program.Activate());
  PressChord({VK_MENU, 'D'});
  ASSERT_TRUE(WaitFor([&] { return program.Focus() == program.Control(ControlId::ComDevies); }));
  PressChord({VK_DOWN});
  ASSERT_TRUE(WaitFor([&] { return program.PortLog().size() == 5; }));
  EXPECT_EQ(program.ListIndex(ControlId::ComDevies), 1);
  EXPECT_THAT(program.PortLog(),
              ElementsAre("mapper open", "mapper data 0x000000B0", "mapper data 0x000000C0",
                          "mapper close", "dev0 open"));
  ASSERT_TRUE(program.Close());
  EXPECT_EQ(StoredSetting("Devies"), "1");
  EXPECT_EQ(program.PortLog().back(), "dev0 close");
}

TEST_F(WindowsProgram, ADeviceThatRefusesToOpenLeavesNoPortOpen) {
  Program program = Program::Start({{L"FAKEMIDI_DEVICES", L"Test Synth A;-Busy Synth"}});
  ASSERT_TRUE(program.window());
  ASSERT_TRUE(program.Activate());
  PressChord({VK_MENU, 'D'});
  ASSERT_TRUE(WaitFor([&] { return program.Focus() == program.Control(ControlId::ComDevies); }));
  PressChord({VK_END});
  ASSERT_TRUE(WaitFor([&] { return program.PortLog().size() == 5; }));
  EXPECT_EQ(program.PortLog()[3], "mapper close");
  EXPECT_EQ(program.PortLog()[4], "dev1 refused");
  ASSERT_TRUE(program.Close());
  // Nothing was open, so closing sent nothing.
  EXPECT_EQ(program.PortLog().size(), 5u);
}

TEST_F(WindowsProgram, AccessKeysMoveTheFocusAndToggleTheOptions) {
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  ASSERT_TRUE(program.Activate());
  const std::pair<WORD, ControlId> moves[] = {{'I', ControlId::ComSounds},
                                              {'V', ControlId::Vol},
                                              {'T', ControlId::diao},
                                              {'D', ControlId::ComDevies}};
  for (const auto& [key, control] : moves) {
    PressChord({VK_MENU, key});
    EXPECT_TRUE(WaitFor([&] { return program.Focus() == program.Control(control); }))
        << static_cast<char>(key);
  }
  PressChord({VK_MENU, 'R'});
  EXPECT_TRUE(WaitFor([&] { return !program.Checked(ControlId::chkAutoRun); }));
  PressChord({VK_MENU, 'M'});
  EXPECT_TRUE(WaitFor([&] { return program.Checked(ControlId::chkTray); }));
  // The volume moves by one per arrow key and stops at its ends.
  PressChord({VK_MENU, 'V'});
  PressChord({VK_LEFT});
  EXPECT_TRUE(WaitFor([&] { return program.ScrollValue() == 99; }));
  PressChord({VK_RIGHT});
  PressChord({VK_RIGHT});
  PressChord({VK_RIGHT});
  EXPECT_TRUE(WaitFor([&] { return program.ScrollValue() == 100; }));
  ASSERT_TRUE(program.Close());
  EXPECT_EQ(StoredSetting("AutoRun"), "False");
  EXPECT_EQ(StoredSetting("Tray"), "True");
}

TEST_F(WindowsProgram, AltF4TheSystemMenuAndTheEndOfTheSessionAllStoreTheSettings) {
  {
    StoreSetting("Vol", "11");
    Program program = Program::Start();
    ASSERT_TRUE(program.Activate());
    // From the volume bar: Wine's combo boxes keep Alt+F4 to themselves.
    PressChord({VK_MENU, 'V'});
    ASSERT_TRUE(WaitFor([&] { return program.Focus() == program.Control(ControlId::Vol); }));
    PressChord({VK_MENU, VK_F4});
    ASSERT_TRUE(program.WaitForExit(10s));
    EXPECT_EQ(StoredSetting("Tray"), "False");
    EXPECT_EQ(StoredSetting("Vol"), "11");
  }
  {
    ClearSettings();
    Program program = Program::Start();
    PostMessageW(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(program.WaitForExit(10s));
    EXPECT_EQ(StoredSetting("Vol"), "100");
  }
  {
    ClearSettings();
    Program program = Program::Start();
    EXPECT_TRUE(SendMessageW(program.window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    SendMessageTimeoutW(program.window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000,
                        nullptr);
    EXPECT_EQ(StoredSetting("AutoRun"), "True");
    EXPECT_EQ(program.PortLog().back(), "mapper close");
  }
}

TEST_F(WindowsProgram, ASecondCopyEndsAtOnceWithoutWindowSettingOrDevice) {
  Program first = Program::Start();
  ASSERT_TRUE(first.window());
  StoreSetting("Vol", "sentinel");
  Program second = Program::Start();
  ASSERT_TRUE(second.WaitForExit(5s));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_EQ(second.window(), nullptr);
  EXPECT_THAT(second.MidiLog(), IsEmpty());
  EXPECT_EQ(StoredSetting("Vol"), "sentinel");
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(WindowsOf(first.pid()).size(), 1u);
}

TEST_F(WindowsProgram, ControlsSitAtTheirDesignedPlacesAtTheWindowsDpi) {
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  const UINT dpi = GetDpiForWindow(program.window());
  RECT client{};
  GetClientRect(program.window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(6840, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(3796, dpi));

  for (const ControlLayout& control : Controls()) {
    const HWND hwnd = program.Control(control.id);
    ASSERT_EQ(hwnd != nullptr, IsWindowed(control.kind)) << control.name;
    if (!hwnd) continue;
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, program.window(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, TwipsToPixels(control.left, dpi)) << control.name;
    EXPECT_EQ(rect.top, TwipsToPixels(control.top, dpi)) << control.name;
    EXPECT_EQ(rect.right - rect.left, TwipsToPixels(control.width, dpi)) << control.name;
    EXPECT_EQ(rect.bottom - rect.top, TwipsToPixels(control.height, dpi)) << control.name;
    EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, control.visible) << control.name;
  }

  // The window sits at 0.382 of the free screen space.
  RECT frame{};
  GetWindowRect(program.window(), &frame);
  const int free_x = GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left);
  const int free_y = GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top);
  EXPECT_NEAR(frame.left, free_x * 0.382, 1.0);
  EXPECT_NEAR(frame.top, free_y * 0.382, 1.0);
  EXPECT_EQ(GetMenu(program.window()), nullptr) << "no menu bar";
}

TEST_F(WindowsProgram, ListsAndRangesAreTheDesignedOnes) {
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  const auto instruments = program.ListItems(ControlId::ComSounds);
  ASSERT_EQ(instruments.size(), 128u);
  EXPECT_EQ(instruments[70], "Basson");
  EXPECT_EQ(instruments[87], "Bass&Lead");
  EXPECT_THAT(program.ListItems(ControlId::diao),
              ElementsAre("C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"));
  for (ControlId list : {ControlId::ComDevies, ControlId::ComSounds, ControlId::diao}) {
    const LONG style = GetWindowLongW(program.Control(list), GWL_STYLE);
    EXPECT_EQ(style & 3, CBS_DROPDOWNLIST) << "no typed text";
  }
  int min = -1, max = -1;
  GetScrollRange(program.Control(ControlId::Vol), SB_CTL, &min, &max);
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 100);
  wchar_t caption[64] = {};
  GetWindowTextW(program.window(), caption, 64);
  EXPECT_STREQ(caption, L"Melodane");
}

TEST_F(WindowsProgram, AtAHigherDpiEveryLengthScalesWithIt) {
  const DWORD dpi = 144;
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                            &dpi, sizeof dpi),
            ERROR_SUCCESS);
  Program program = Program::Start();
  RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
  ASSERT_TRUE(program.window());
  RECT client{};
  GetClientRect(program.window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(6840, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(3796, dpi));
  RECT help{};
  GetWindowRect(program.Control(ControlId::picHelp), &help);
  MapWindowPoints(nullptr, program.window(), reinterpret_cast<POINT*>(&help), 2);
  EXPECT_EQ(help.left, TwipsToPixels(6276, dpi));
  EXPECT_EQ(help.right - help.left, TwipsToPixels(480, dpi));
}

// The images are the program's own, at the designed sizes.
TEST(WindowsProgramImages, IconHasItsFourImagesAndPicturesTheirSizes) {
  HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(exe);
  HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(IDI_MELODANE), RT_GROUP_ICON);
  ASSERT_TRUE(group);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
  ASSERT_TRUE(data);
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  std::vector<std::string> images;
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = data + 6 + 14 * i;  // width, height, colours, reserved, planes, bits...
    const WORD bits = *reinterpret_cast<const WORD*>(entry + 6);
    images.push_back(std::to_string(entry[0]) + "x" + std::to_string(entry[1]) + "x" +
                     std::to_string(bits));
  }
  EXPECT_THAT(images, ElementsAre("32x32x24", "48x48x32", "32x32x32", "16x16x32"));

  for (const auto& [id, size] : {std::pair{IDB_LOGO, 72}, std::pair{IDB_HELP, 32}}) {
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(exe, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(picture) << id;
    BITMAP info{};
    GetObjectW(picture, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, size);
    EXPECT_EQ(info.bmHeight, size);
    EXPECT_EQ(info.bmBitsPixel, 32);
    DeleteObject(picture);
  }
  EXPECT_TRUE(FindResourceW(exe, MAKEINTRESOURCEW(IDC_LOGO), RT_GROUP_CURSOR));
  FreeLibrary(exe);
}

}  // namespace
}  // namespace melodane::e2e
