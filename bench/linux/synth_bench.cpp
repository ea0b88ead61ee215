// The built-in synthesizer on this machine's sound server: how long the soundfont takes
// to load, what the first note after a pause costs (the audio output opens again), and
// the output's buffer.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "sound/linux/built_in_synth.h"

using namespace melodane::on_linux;
using Clock = std::chrono::steady_clock;

namespace {

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

bool WaitForPause(const BuiltInSynth& synth) {
  for (int i = 0; i < 100 && !synth.Paused(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return synth.Paused();
}

}  // namespace

int main() {
  SynthConfig config = SynthConfig::FromEnvironment();
  if (config.soundfont.empty()) {
    std::puts("synth: no General MIDI soundfont installed");
    return 1;
  }
  const auto start = Clock::now();
  auto synth = BuiltInSynth::Open(config);
  const auto opened = Clock::now();
  if (!synth) {
    std::puts("synth: no audio output could be opened");
    return 1;
  }
  std::printf("synth: %s, driver %s\n", config.soundfont.c_str(), synth->DriverName().c_str());
  std::printf("  open (soundfont and output)       : %7.1f ms\n", Milliseconds(opened - start));
  std::printf("  output buffer                     : %7.1f ms (%d frames)\n",
              synth->BufferMilliseconds(), synth->BufferFrames());

  // A note-on of velocity 0 opens the output as any note does, and adds no voice, so the
  // output pauses again soon after.
  const std::uint8_t silent_note[] = {0x90, 60, 0};
  std::vector<double> reopen;
  for (int i = 0; i < 5; ++i) {
    if (!WaitForPause(*synth)) {
      std::puts("synth: the output did not pause");
      return 1;
    }
    const auto before = Clock::now();
    synth->Send(silent_note, 3);
    while (synth->Paused()) std::this_thread::sleep_for(std::chrono::microseconds(100));
    reopen.push_back(Milliseconds(Clock::now() - before));
  }
  std::sort(reopen.begin(), reopen.end());
  std::printf("  first note after a pause          : %7.1f ms to reopen the output (median of 5)\n",
              reopen[reopen.size() / 2]);

  const std::uint8_t note[] = {0x90, 70, 100};
  const auto send_start = Clock::now();
  for (int i = 0; i < 1000; ++i) synth->Send(note, 3);
  std::printf("  a note while the output is open   : %7.1f us\n",
              Milliseconds(Clock::now() - send_start));
  return 0;
}
