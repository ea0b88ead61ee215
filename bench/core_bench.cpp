// The keystroke tick's own cost, with key states and MIDI output in memory.
#include <benchmark/benchmark.h>

#include <array>

#include "app/layout.h"
#include "app/lists.h"
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

class FixedList final : public ListControl {
 public:
  void Clear() override {}
  int AddItem(std::string_view) override { return 0; }
  int ListCount() const override { return 12; }
  std::optional<std::int32_t> ItemData(int) const override { return 0; }
  bool SetItemData(int, std::int32_t) override { return true; }
  int ListIndex() const override { return 0; }

 protected:
  bool Select(int) override { return true; }
};

class FixedBar final : public ScrollBarControl {
 public:
  int Value() const override { return 100; }
  int Min() const override { return 0; }
  int Max() const override { return 100; }

 protected:
  bool Assign(int) override { return true; }
};

void BM_Tick(benchmark::State& state) {
  ArrayKeys keys;
  for (int i = 0; i < state.range(0); ++i) keys.down[static_cast<std::size_t>(65 + i)] = -32768;
  CountingMidiOut out;
  mdlPubSelf port(out);
  port.OpenMidiOut(0);
  RuntimeRandom random;
  KeystrokePlayer player(keys, random, port);
  FixedList tone;
  FixedBar volume;
  for (auto _ : state) player.Tick(tone, volume);
  state.counters["notes/tick"] =
      benchmark::Counter(static_cast<double>(out.messages) / state.iterations());
}
BENCHMARK(BM_Tick)->Arg(0)->Arg(3)->Arg(10);

}  // namespace
}  // namespace melodane
