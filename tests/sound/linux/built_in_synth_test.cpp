// The built-in synthesizer, for real: FluidSynth with the General MIDI soundfont,
// rendering through its file driver.
#include "sound/linux/built_in_synth.h"

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include <gtest/gtest.h>

namespace melodane::on_linux {
namespace {

using namespace std::chrono_literals;

TEST(FindSoundFont, ANamedFileComesFirstThenDefaultGmInEachDataFolder) {
  const std::set<std::string> files = {"/named.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                       "/home/u/.local/share/sounds/sf2/default-GM.sf2",
                                       "/usr/share/sounds/sf2/default-GM.sf2"};
  const auto exists = [&](const std::string& path) { return files.count(path) > 0; };
  const std::vector<std::string> dirs = {"/home/u/.local/share", "/usr/share"};
  EXPECT_EQ(FindSoundFont("/named.sf2", dirs, exists), "/named.sf2");
  EXPECT_EQ(FindSoundFont("/missing.sf2", dirs, exists),
            "/home/u/.local/share/sounds/sf2/default-GM.sf2");
  EXPECT_EQ(FindSoundFont(std::nullopt, {"/usr/share"}, exists),
            "/usr/share/sounds/sf2/default-GM.sf2");
  const auto no_default = [&](const std::string& path) {
    return path == "/usr/share/sounds/sf2/FluidR3_GM.sf2";
  };
  EXPECT_EQ(FindSoundFont(std::nullopt, dirs, no_default), "/usr/share/sounds/sf2/FluidR3_GM.sf2");
  EXPECT_EQ(FindSoundFont(std::nullopt, dirs, [](const std::string&) { return false; }),
            std::nullopt);
}

// The samples of a 16-bit PCM WAV file, its first channel.
std::vector<double> ReadWave(const std::string& path, int& rate) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<double> samples;
  std::size_t at = 12;
  int channels = 2;
  while (at + 8 <= data.size()) {
    const std::string id(&data[at], 4);
    std::uint32_t size = 0;
    std::memcpy(&size, &data[at + 4], 4);
    if (id == "fmt ") {
      std::uint16_t count = 0;
      std::memcpy(&count, &data[at + 10], 2);
      channels = count;
      std::memcpy(&rate, &data[at + 12], 4);
    } else if (id == "data") {
      for (std::size_t i = at + 8; i + 2 <= at + 8 + size && i + 2 <= data.size();
           i += 2 * static_cast<std::size_t>(channels)) {
        std::int16_t value = 0;
        std::memcpy(&value, &data[i], 2);
        samples.push_back(value);
      }
    }
    at += 8 + size;
  }
  return samples;
}

// The power of one frequency in the signal (Goertzel).
double Power(const std::vector<double>& samples, double frequency, int rate) {
  const double coefficient = 2 * std::cos(2 * M_PI * frequency / rate);
  double s1 = 0, s2 = 0;
  for (double x : samples) {
    const double s0 = x + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

class BuiltInSynthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config_ = SynthConfig::FromEnvironment();
    if (config_.soundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    wave_ = (std::filesystem::temp_directory_path() /
             ("melodane-synth-" + std::to_string(getpid()) + ".wav"))
                .string();
    config_.driver = "file";
    config_.file_name = wave_;
    config_.linger = 300ms;
  }
  void TearDown() override { std::filesystem::remove(wave_); }

  SynthConfig config_;
  std::string wave_;
};

// Renders note 70 and checks the recording's pitch; after a pause first, when asked.
void ExpectNote70At466Hertz(const SynthConfig& config, const std::string& wave, bool pause_first) {
  {
    auto synth = BuiltInSynth::Open(config);
    ASSERT_TRUE(synth);
    const std::uint8_t bassoon[] = {0xC0, 70};
    const std::uint8_t note[] = {0x90, 70, 100};
    ASSERT_TRUE(synth->Send(bassoon, 2));
    if (pause_first) {
      for (int i = 0; i < 40 && !synth->Paused(); ++i) std::this_thread::sleep_for(50ms);
      ASSERT_TRUE(synth->Paused());
    }
    ASSERT_TRUE(synth->Send(note, 3));
    std::this_thread::sleep_for(600ms);
  }
  int rate = 0;
  const auto samples = ReadWave(wave, rate);
  ASSERT_GT(rate, 0);
  ASSERT_GT(samples.size(), static_cast<std::size_t>(rate / 4));
  const double at_note = Power(samples, 466.16, rate);
  for (double other : {392.0, 440.0, 493.9, 523.3}) {
    EXPECT_GT(at_note, 10 * Power(samples, other, rate)) << other << " Hz";
  }
}

TEST_F(BuiltInSynthTest, Note70SoundsAt466Hertz) { ExpectNote70At466Hertz(config_, wave_, false); }

TEST_F(BuiltInSynthTest, TheInstrumentComesBackAfterAPause) {
  // The instrument's samples leave memory during the pause; without them, nothing sounds.
  ExpectNote70At466Hertz(config_, wave_, true);
}

TEST_F(BuiltInSynthTest, TheOutputClosesWhenNothingSoundsAndTheNextNoteReopensIt) {
  auto synth = BuiltInSynth::Open(config_);
  ASSERT_TRUE(synth);
  EXPECT_FALSE(synth->Paused());
  std::this_thread::sleep_for(1s);  // no voice from the start: linger, then close
  EXPECT_TRUE(synth->Paused());
  const std::uint8_t note[] = {0x90, 60, 90};
  EXPECT_TRUE(synth->Send(note, 3));
  EXPECT_FALSE(synth->Paused());
  EXPECT_LE(synth->BufferMilliseconds(), 12.0);
}

TEST_F(BuiltInSynthTest, WithoutSoundfontOrAudioOutputItDoesNotOpen) {
  SynthConfig no_font = config_;
  no_font.soundfont.clear();
  EXPECT_FALSE(BuiltInSynth::Open(no_font));
  SynthConfig no_output = config_;
  no_output.driver = "no-such-driver";
  EXPECT_FALSE(BuiltInSynth::Open(no_output));
}

}  // namespace
}  // namespace melodane::on_linux
