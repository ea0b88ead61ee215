// The winmm adapter against Wine's winmm, with the test MIDI driver loaded as the
// system's device driver and mapper (the test rig configures the prefix that way).
#include "sound/win32/winmm_midi_out.h"

#include <windows.h>
#include <mmsystem.h>

#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sound/midi_port.h"

namespace melodane::win32 {
namespace {

using ::testing::ElementsAre;

class WinmmMidiOutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    log_ = std::string(temp) + "winmm-adapter-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("FAKEMIDI_LOG", log_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("FAKEMIDI_LOG", nullptr);
    DeleteFileA(log_.c_str());
  }

  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::ifstream file(log_);
    for (std::string line; std::getline(file, line);) {
      lines.push_back(line.substr(line.find(' ') + 1));
    }
    return lines;
  }

  WinmmMidiOut out;
  std::string log_;
};

TEST_F(WinmmMidiOutTest, NamesTheMapperAndEachDevice) {
  ASSERT_EQ(out.NumDevs(), 2u);
  std::string name;
  EXPECT_EQ(out.DevCaps(kMidiMapperId, name), 0u);
  EXPECT_EQ(name, "Test MIDI Mapper");
  EXPECT_EQ(out.DevCaps(1, name), 0u);
  EXPECT_EQ(name, "Test Synth B");
  EXPECT_NE(out.DevCaps(2, name), 0u) << "no third device";
}

TEST_F(WinmmMidiOutTest, OpensSendsAndClosesADevice) {
  MidiHandle handle = 0;
  ASSERT_EQ(out.Open(0, handle), 0u);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(out.ShortMsg(handle, 0x00644190), 0u);
  EXPECT_EQ(out.Close(handle), 0u);
  EXPECT_THAT(Log(), ElementsAre("dev0 open", "dev0 data 0x00644190", "dev0 close"));
}

TEST_F(WinmmMidiOutTest, TheAllOnesIdIsTheMapper) {
  MidiHandle handle = 0;
  ASSERT_EQ(out.Open(kMidiMapperId, handle), 0u);
  EXPECT_EQ(out.Close(handle), 0u);
  EXPECT_THAT(Log(), ElementsAre("mapper open", "mapper close"));
}

TEST_F(WinmmMidiOutTest, NoPortMeansTheSystemRefusesQuietly) {
  EXPECT_EQ(out.ShortMsg(0, 0x00644190), static_cast<MidiResult>(MMSYSERR_INVALHANDLE));
  MidiHandle handle = 0;
  EXPECT_NE(out.Open(7, handle), 0u);
  EXPECT_EQ(handle, 0u) << "a failed open hands out nothing";
  EXPECT_TRUE(Log().empty());
}

TEST_F(WinmmMidiOutTest, ThePortModuleDropsNotesAbove127BeforeTheSystem) {
  mdlPubSelf port(out);
  ASSERT_TRUE(port.OpenMidiOut(1));
  port.PlayMidiNote(0, 128, 100);
  port.PlayMidiNote(0, 127, 100);
  port.SetMidiInstrument(0, 0, 70);
  port.CloseMidiOut();
  port.CloseMidiOut();
  EXPECT_THAT(Log(), ElementsAre("dev1 open", "dev1 data 0x00647F90", "dev1 data 0x000000B0",
                                 "dev1 data 0x000046C0", "dev1 close"));
}

}  // namespace
}  // namespace melodane::win32
