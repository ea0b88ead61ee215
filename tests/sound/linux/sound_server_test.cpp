// The built-in synthesizer's output against a JACK server of the test's own (dummy
// backend), which the test stops and hangs.
#include <jack/jack.h>
#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>

#include <QTest>

#include <filesystem>
#include <future>

#include <gtest/gtest.h>

#include "sound/linux/built_in_synth.h"

namespace melodane::on_linux {
namespace {

bool ServerAnswers() {
  jack_client_t* client = jack_client_open("probe", JackNoStartServer, nullptr);
  return client && jack_client_close(client) == 0;
}

struct SoundServerTest : ::testing::Test {
  void SetUp() override {
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    ASSERT_TRUE(StartServer());
  }
  void OpenSynth() {
    config.driver = "jack";
    config.stall_limit = std::chrono::milliseconds(300);
    ASSERT_TRUE((synth = BuiltInSynth::Open(config)) && synth->Send(note, 3));
  }
  void TearDown() override {
    StopServer();
    for (const auto& file : std::filesystem::directory_iterator("/dev/shm")) {
      if (file.path().string().find("_" + name + "_") != std::string::npos) remove(file.path());
    }
  }
  bool StartServer() {
    if ((server = fork()) == 0) {
      execlp("jackd", "jackd", "-n", name.c_str(), "--no-realtime", "-d", "dummy", nullptr);
      _exit(127);
    }
    return QTest::qWaitFor(ServerAnswers, 15000);
  }
  // As a crash does for its clients. A server killed outright would keep its slot in
  // JACK's registry of servers, which has eight.
  void StopServer() {
    if (Signal(SIGTERM) && Signal(SIGCONT)) waitpid(server, nullptr, 0);
    server = -1;
  }
  bool Signal(int signal) const { return server > 0 && kill(server, signal) == 0; }
  bool SynthPauses() {
    return QTest::qWaitFor([this] { return synth->Paused(); }, 5000);
  }

  // One name for every run: a server that died without cleaning up leaves a place in
  // JACK's registry of eight that only a server of the same name takes back.
  std::string name = "melodane-unit";
  pid_t server = -1;
  SynthConfig config = SynthConfig::FromEnvironment();
  std::unique_ptr<BuiltInSynth> synth;
  const std::uint8_t note[4] = {0x90, 70, 100, 0};
};

TEST_F(SoundServerTest, LongSilentTheSoundfontLeavesMemoryAndTheNextNoteLoadsItAgain) {
  config.linger = std::chrono::milliseconds(100);
  config.unload_after = std::chrono::milliseconds(200);
  OpenSynth();
  const std::uint8_t off[3] = {0x80, 70, 0};
  synth->Send(off, 3);
  ASSERT_TRUE(SynthPauses());
  const auto loaded = mallinfo2().uordblks;
  [[maybe_unused]] const bool freed =
      QTest::qWaitFor([&] { return mallinfo2().uordblks + (4 << 20) < loaded; }, 3000);
#ifndef __SANITIZE_ADDRESS__  // whose allocator malloc's figures do not see
  EXPECT_TRUE(freed);
#endif
  EXPECT_TRUE(synth->Send(note, 3)) << "a note needs its instrument";
  EXPECT_TRUE(QTest::qWaitFor([&] { return !synth->Paused(); }, 2000));
}

TEST_F(SoundServerTest, AServerThatHangsHoldsNeitherTheSynthsNotesNorItsClosing) {
  OpenSynth();
  Signal(SIGSTOP);
  EXPECT_TRUE(SynthPauses());
  auto closing = std::async(std::launch::async, [&] { synth->Send(note, 3), synth.reset(); });
  EXPECT_EQ(closing.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  Signal(SIGCONT);
}

TEST(BuiltInSynthTest, TheFileDriverRecordsOnlyIntoAFileTheUserNamed) {
  setenv("MELODANE_AUDIO_DRIVER", "file", 1);
  unsetenv("MELODANE_AUDIO_FILE");
  EXPECT_EQ(BuiltInSynth::Open(SynthConfig::FromEnvironment()), nullptr);
  unsetenv("MELODANE_AUDIO_DRIVER");
}

}  // namespace
}  // namespace melodane::on_linux
