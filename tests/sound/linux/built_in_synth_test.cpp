#include "sound/linux/built_in_synth.h"

#include <filesystem>
#include <future>

#include <gtest/gtest.h>

#include "sound/linux/private_jack_server.h"

namespace melodane::on_linux {
namespace {

namespace fs = std::filesystem;

struct BuiltInSynthTest : ::testing::Test {
  void SetUp() override {
    config.driver = "jack";
    config.stall_limit = std::chrono::milliseconds(300);
    if (config.soundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  }
  PrivateJackServer jack;
  SynthConfig config = SynthConfig::FromEnvironment();
  const std::uint8_t note[3] = {0x90, 70, 100};
};

TEST_F(BuiltInSynthTest, ADeadOutputClosesIsTriedOnceASecondAndOpensOnceTheServerIsBack) {
  auto synth = BuiltInSynth::Open(config);
  ASSERT_TRUE(synth);
  ASSERT_TRUE(synth->Send(note, 3));
  jack.Kill();
  ASSERT_TRUE(Eventually([&] { return synth->Paused(); })) << "a note sounds into nothing";

  const int openings = synth->OutputOpenings();
  int dropped = 0;
  for (int i = 0; i < 50; ++i) {
    dropped += !synth->Send(note, 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
  }
  EXPECT_EQ(synth->OutputOpenings(), openings + 1);
  EXPECT_GT(dropped, 40) << "notes while the server is away go nowhere";

  ASSERT_TRUE(jack.Start());
  EXPECT_TRUE(Eventually([&] { return synth->Send(note, 3) && !synth->Paused(); }));
  std::this_thread::sleep_for(config.stall_limit * 2);
  EXPECT_FALSE(synth->Paused()) << "the reopened output plays";
}

TEST_F(BuiltInSynthTest, AServerThatHangsHoldsNeitherNotesNorClosing) {
  auto synth = BuiltInSynth::Open(config);
  ASSERT_TRUE(synth);
  synth->Send(note, 3);
  jack.Signal(SIGSTOP);
  EXPECT_TRUE(Eventually([&] { return synth->Paused(); }));
  auto closing = std::async(std::launch::async, [&] {
    synth->Send(note, 3);
    synth.reset();
  });
  EXPECT_EQ(closing.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  jack.Signal(SIGCONT);
}

TEST_F(BuiltInSynthTest, TheFileDriverRecordsOnlyIntoAFileTheUserNamed) {
  const fs::path folder = fs::temp_directory_path() / ("melodane-rec-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path old_folder = fs::current_path();
  fs::current_path(folder);
  setenv("MELODANE_AUDIO_DRIVER", "file", 1);
  unsetenv("MELODANE_AUDIO_FILE");
  EXPECT_EQ(BuiltInSynth::Open(SynthConfig::FromEnvironment()), nullptr);
  setenv("MELODANE_AUDIO_FILE", "named.wav", 1);
  EXPECT_NE(BuiltInSynth::Open(SynthConfig::FromEnvironment()), nullptr);
  unsetenv("MELODANE_AUDIO_DRIVER");
  unsetenv("MELODANE_AUDIO_FILE");
  fs::current_path(old_folder);
  EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "named.wav");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace melodane::on_linux
