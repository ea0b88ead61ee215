// The winmm adapter against Wine's winmm, with the test MIDI driver loaded as the
// system's device driver and mapper (the test rig configures the prefix that way).
#include "sound/win32/winmm_midi_out.h"

#include <windows.h>
#include <mmsystem.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace melodane::win32 {
namespace {

TEST(WinmmMidiOut, NamesOpensSendsToAndClosesTheMapperAndEachDeviceAndRefusesTheRest) {
  const std::string log = "winmm-" + std::to_string(GetCurrentProcessId()) + ".log";
  SetEnvironmentVariableA("FAKEMIDI_LOG", log.c_str());
  WinmmMidiOut out;
  std::string mapper, second;
  EXPECT_EQ(out.NumDevs(), 2u);
  EXPECT_EQ(out.DevCaps(kMidiMapperId, mapper) + out.DevCaps(1, second), 0u);
  EXPECT_EQ(mapper + ", " + second, "Test MIDI Mapper, Test Synth B");
  EXPECT_NE(out.DevCaps(2, second), 0u) << "no third device";
  MidiHandle device = 0, none = 0;
  ASSERT_EQ(out.Open(kMidiMapperId, device), 0u);
  EXPECT_EQ(out.ShortMsg(device, 0x00644190) + out.Close(device), 0u);
  EXPECT_NE(out.Open(7, none), 0u);
  EXPECT_EQ(none, 0u);
  EXPECT_EQ(out.ShortMsg(0, 0x00644190), static_cast<MidiResult>(MMSYSERR_INVALHANDLE));
  std::stringstream text;
  text << std::ifstream(log).rdbuf();
  DeleteFileA(log.c_str());
  const std::string id = std::to_string(GetCurrentProcessId());
  EXPECT_EQ(text.str(),
            id + " mapper open\n" + id + " mapper data 0x00644190\n" + id + " mapper close\n");
}

}  // namespace
}  // namespace melodane::win32
