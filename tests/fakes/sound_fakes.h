// The sound engine's services kept in memory: MIDI devices of the test's choosing that
// record every call as text ("open 0xFFFFFFFF", "msg 0x00644190", "close 1"), and key
// states and random numbers set by the test.
#pragma once

#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sound/key_state.h"
#include "sound/midi_out.h"
#include "sound/uniform_random.h"

namespace melodane::testing {

struct RecordingMidiOut final : MidiOut {
  struct Device {
    std::string name;
    bool caps_readable = true, opens = true;
  };
  std::optional<Device> mapper = Device{"Default MIDI Output"};
  std::vector<Device> devices{{"Synth A"}, {"Synth B"}};
  std::uint32_t reported_count = 0;  // used when set; else devices.size()
  MidiResult close_result = 0;
  std::vector<std::string> calls;
  MidiHandle next_handle = 1;

  std::uint32_t NumDevs() override {
    return reported_count ? reported_count : static_cast<std::uint32_t>(devices.size());
  }
  MidiResult DevCaps(std::uint32_t id, std::string& name) override {
    const Device* device = Find(id);
    if (!device || !device->caps_readable) return kMidiBadDeviceId;
    return name = device->name, 0;
  }
  MidiResult Open(std::uint32_t id, MidiHandle& handle) override {
    Record("open 0x%08X", id);
    const Device* device = Find(id);
    if (!device || !device->opens) return kMidiBadDeviceId;
    return handle = next_handle++, 0;
  }
  // Every message goes through; a close gives close_result.
  MidiResult ShortMsg(MidiHandle, std::uint32_t message) override {
    return Record("msg 0x%08X", message), 0;
  }
  MidiResult Close(MidiHandle handle) override {
    return Record("close %u", static_cast<std::uint32_t>(handle)), close_result;
  }
  void Record(const char* format, std::uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    calls.push_back(text);
  }
  const Device* Find(std::uint32_t id) const {
    if (id == kMidiMapperId) return mapper ? &*mapper : nullptr;
    return id < devices.size() ? &devices[id] : nullptr;
  }
};

struct ScriptedKeys final : KeyState {
  void BeginTick() override { ++ticks; }
  std::int16_t Query(std::int32_t key) override {
    queries.push_back(key);
    return down.count(key) ? down[key] : 0;
  }
  std::map<std::int32_t, std::int16_t> down;  // code -> state
  std::vector<std::int32_t> queries;
  int ticks = 0;
};

// 0.5 once the values run out.
struct ScriptedRandom final : UniformRandom {
  double Next() override {
    ++draws;
    if (values.empty()) return 0.5;
    const double value = values.front();
    return values.pop_front(), value;
  }
  std::deque<double> values;
  int draws = 0;
};

}  // namespace melodane::testing
