// The built-in synthesizer recording into a file, whose output pauses and opens again
// as a sound server's does.
#include "sound/linux/built_in_synth.h"

#include <malloc.h>
#include <unistd.h>

#include <QTest>

#include <filesystem>

#include <gtest/gtest.h>

namespace melodane::on_linux {
namespace {

TEST(BuiltInSynthTest, LongSilentTheSoundfontLeavesMemoryAndTheNextNoteLoadsItAgain) {
  SynthConfig config = SynthConfig::FromEnvironment();
  config.driver = "file";
  config.file_name.clear();
  EXPECT_EQ(BuiltInSynth::Open(config), nullptr) << "a recording only into a file the user named";
  config.file_name = std::filesystem::temp_directory_path() /
                     ("melodane-synth-" + std::to_string(getpid()) + ".raw");
  config.linger = std::chrono::milliseconds(100);
  config.unload_after = std::chrono::milliseconds(200);
  const std::uint8_t on[3] = {0x90, 70, 100}, off[3] = {0x80, 70, 0};
  const std::unique_ptr<BuiltInSynth> synth = BuiltInSynth::Open(config);
  ASSERT_TRUE(synth && synth->Send(on, 3) && synth->Send(off, 3));
  ASSERT_TRUE(QTest::qWaitFor([&] { return synth->Paused(); }, 5000));
  const auto loaded = mallinfo2().uordblks;
  [[maybe_unused]] const bool freed =
      QTest::qWaitFor([&] { return mallinfo2().uordblks + (4 << 20) < loaded; }, 3000);
#ifndef __SANITIZE_ADDRESS__  // whose allocator malloc's figures do not see
  EXPECT_TRUE(freed);
#endif
  EXPECT_TRUE(synth->Send(on, 3)) << "a note needs its instrument";
  EXPECT_TRUE(QTest::qWaitFor([&] { return !synth->Paused(); }, 2000));
  std::filesystem::remove(config.file_name);
}

}  // namespace
}  // namespace melodane::on_linux
