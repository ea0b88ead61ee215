// The keystroke tick's own cost, with key states and MIDI output in memory.
#include <benchmark/benchmark.h>

#include <array>

#include "sound/keystroke_player.h"

namespace melodane {
namespace {

class ArrayKeys final : public KeyState {
 public:
  std::int16_t Query(std::int32_t key) override { return down[static_cast<std::size_t>(key)]; }
  std::array<std::int16_t, 256> down{};
};

class CountingMidiOut final : public MidiOut {
 public:
  std::uint32_t NumDevs() override { return 1; }
  MidiResult DevCaps(std::uint32_t, std::string& name) override {
    name = "memory";
    return 0;
  }
  MidiResult Open(std::uint32_t, MidiHandle& handle) override {
    handle = 1;
    return 0;
  }
  MidiResult ShortMsg(MidiHandle, std::uint32_t) override {
    ++messages;
    return 0;
  }
  MidiResult Close(MidiHandle) override { return 0; }
  long messages = 0;
};

void BM_Tick(benchmark::State& state) {
  ArrayKeys keys;
  for (int i = 0; i < state.range(0); ++i) keys.down[static_cast<std::size_t>(65 + i)] = -32768;
  CountingMidiOut out;
  MidiPort port(out);
  port.OpenMidiOut(0);
  RuntimeRandom random;
  KeystrokePlayer player(keys, random, port);
  for (auto _ : state) player.Tick(0, 100);
  state.counters["notes/tick"] =
      benchmark::Counter(static_cast<double>(out.messages) / state.iterations());
}
BENCHMARK(BM_Tick)->Arg(0)->Arg(3)->Arg(10);

}  // namespace
}  // namespace melodane
