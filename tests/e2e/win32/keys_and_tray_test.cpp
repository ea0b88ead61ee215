// Keys typed into another program play notes; the window waits in the notification area.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/e2e/win32/program_driver.h"

namespace melodane::e2e {
namespace {

using ::testing::AllOf;
using ::testing::Each;
using ::testing::Field;
using ::testing::Ge;
using ::testing::IsEmpty;
using ::testing::Le;

constexpr WORD kA = 'A', kB = 'B', kZ = 'Z';

class KeysPlayNotes : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    StoreSetting("Vol", "100");
    StoreSetting("Stage", "0");   // "C"
    StoreSetting("Devies", "1");  // Test Synth A, device 0
    StoreSetting("Tray", "False");
  }
  void TearDown() override { ClearSettings(); }

  // Starts the program, then gives the focus to another program and types there.
  std::vector<Note> Type(const std::function<void()>& typing) {
    Program program = Program::Start();
    EXPECT_TRUE(program.Running());
    OtherWindow other;
    EXPECT_TRUE(other.Activate());
    const std::size_t before = program.MidiLog().size();
    typing();
    std::this_thread::sleep_for(200ms);  // a few more ticks: nothing may follow the release
    auto log = program.MidiLog();
    log.erase(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(before));
    return NotesIn(log);
  }
};

MATCHER_P2(IsNote, note, velocity_range, "") {
  return arg.note == note && arg.velocity >= velocity_range.first &&
         arg.velocity <= velocity_range.second;
}

TEST_F(KeysPlayNotes, HoldingAForASecondPlaysNote70AboutTwentyTimes) {
  const auto notes = Type([] { HoldKeys({kA}, 1000ms); });
  EXPECT_THAT(notes.size(), AllOf(Ge(16u), Le(24u)));
  EXPECT_THAT(notes, Each(IsNote(70, std::pair{100, 109})));
}

TEST_F(KeysPlayNotes, TheSameWhileTheWindowWaitsInTheNotificationArea) {
  StoreSetting("Tray", "True");
  Program program = Program::Start();
  ASSERT_FALSE(program.Visible());
  ASSERT_TRUE(WaitFor([] { return TrayWindow() != nullptr; }));
  OtherWindow other;
  ASSERT_TRUE(other.Activate());
  const std::size_t before = program.MidiLog().size();
  HoldKeys({kA}, 1000ms);
  std::this_thread::sleep_for(200ms);
  auto log = program.MidiLog();
  log.erase(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(before));
  const auto notes = NotesIn(log);
  EXPECT_THAT(notes.size(), AllOf(Ge(16u), Le(24u)));
  EXPECT_THAT(notes, Each(IsNote(70, std::pair{100, 109})));
}

TEST_F(KeysPlayNotes, TwoKeysPlayInCodeOrderInTheSameTickWithOneVelocity) {
  const auto notes = Type([] { HoldKeys({kB, kA}, 500ms); });
  ASSERT_GE(notes.size(), 6u);
  // Pairs, A's note first; a pair may be cut at the start or the end of the hold.
  std::size_t pairs = 0;
  for (std::size_t i = 0; i + 1 < notes.size(); ++i) {
    if (notes[i].note == 70 && notes[i + 1].note == 71) {
      EXPECT_EQ(notes[i].velocity, notes[i + 1].velocity);
      ++pairs;
      ++i;
    }
  }
  EXPECT_GE(pairs, notes.size() / 2 - 1);
}

TEST_F(KeysPlayNotes, EitherShiftKeyPlaysOnceATickThroughTheGenericCode) {
  for (WORD shift : {static_cast<WORD>(VK_LSHIFT), static_cast<WORD>(VK_RSHIFT)}) {
    const auto notes = Type([&] { HoldKeys({shift}, 500ms); });
    EXPECT_THAT(notes.size(), AllOf(Ge(7u), Le(13u))) << shift;
    EXPECT_THAT(notes, Each(Field(&Note::note, 71))) << shift;
  }
}

TEST_F(KeysPlayNotes, TheSemicolonKeyNeverPlays) {
  EXPECT_THAT(Type([] { HoldKeys({VK_OEM_1}, 500ms); }), IsEmpty());
}

TEST_F(KeysPlayNotes, ATapShorterThanATickStillPlaysOnce) {
  const auto notes = Type([] { TapKey(kA); });
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].note, 70);
}

TEST_F(KeysPlayNotes, ToneBPlays125ForAAndNothingForZ) {
  StoreSetting("Stage", "11");
  const auto notes = Type([] { HoldKeys({kA, kZ}, 500ms); });
  ASSERT_FALSE(notes.empty());
  EXPECT_THAT(notes, Each(Field(&Note::note, 125)));
}

TEST_F(KeysPlayNotes, NoToneSelectedPlaysTheBaseNote) {
  StoreSetting("Stage", "-1");
  const auto notes = Type([] { HoldKeys({kA}, 300ms); });
  ASSERT_FALSE(notes.empty());
  EXPECT_THAT(notes, Each(Field(&Note::note, 65)));
}

TEST_F(KeysPlayNotes, VolumeZeroNeverGoesAboveNine) {
  StoreSetting("Vol", "0");
  const auto notes = Type([] { HoldKeys({kA}, 1000ms); });
  ASSERT_GE(notes.size(), 10u);
  EXPECT_THAT(notes, Each(Field(&Note::velocity, Le(9))));
}

class NotificationIcon : public ::testing::Test {
 protected:
  void SetUp() override { ClearSettings(); }
  void TearDown() override { ClearSettings(); }
};

TEST_F(NotificationIcon, MinimizeHidesToOneIconThatLeftAndRightReleasesBringBack) {
  Program program = Program::Start();
  ASSERT_TRUE(program.Visible());
  EXPECT_EQ(TrayWindow(), nullptr) << "no icon before the first minimize";

  ASSERT_TRUE(program.Minimize());
  ASSERT_TRUE(WaitFor([&] { return TrayWindow() != nullptr; }));

  OnTrayIcon(Mouse::kHover);
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(program.Visible()) << "hovering does nothing";

  OnTrayIcon(Mouse::kLeftPress);
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(program.Visible()) << "a press alone does nothing";
  OnTrayIcon(Mouse::kLeftRelease);
  ASSERT_TRUE(WaitFor([&] { return program.Visible(); }));
  EXPECT_FALSE(IsIconic(program.window()));
  EXPECT_TRUE(TrayWindow()) << "restoring keeps the icon";

  ASSERT_TRUE(program.Minimize());
  // Still one icon: nothing sits in a second place.
  OnTrayIcon(Mouse::kLeftClick, 1);
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(program.Visible()) << "a second icon answered";

  OnTrayIcon(Mouse::kRightClick);
  ASSERT_TRUE(WaitFor([&] { return program.Visible(); }));
  EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr) << "no menu opens";

  ASSERT_TRUE(program.Minimize());
  OnTrayIcon(Mouse::kDoubleClick);
  ASSERT_TRUE(WaitFor([&] { return program.Visible(); }));
  EXPECT_FALSE(IsIconic(program.window()));

  ASSERT_TRUE(program.Close());
  EXPECT_TRUE(WaitFor([] { return TrayWindow() == nullptr; })) << "the icon goes with the program";
}

TEST_F(NotificationIcon, StartingWithTheTrayOptionEndsHiddenAndClosingRemovesTheIcon) {
  StoreSetting("Tray", "True");
  Program program = Program::Start();
  ASSERT_TRUE(program.window());
  EXPECT_FALSE(program.Visible());
  ASSERT_TRUE(WaitFor([] { return TrayWindow() != nullptr; }));

  OnTrayIcon(Mouse::kLeftClick);
  ASSERT_TRUE(WaitFor([&] { return program.Visible(); }));
  RECT frame{};
  GetWindowRect(program.window(), &frame);
  const int free_x = GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left);
  EXPECT_NEAR(frame.left, free_x * 0.382, 1.0) << "shown where start-up placed it";

  ASSERT_TRUE(program.Close());
  EXPECT_TRUE(WaitFor([] { return TrayWindow() == nullptr; }));
  EXPECT_EQ(StoredSetting("Tray"), "True");
}

}  // namespace
}  // namespace melodane::e2e
