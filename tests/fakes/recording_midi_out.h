// A MIDI output service with devices of the test's choosing that records every call in
// the order it came, as text ("open 0xFFFFFFFF", "msg 0x00644190", "close 1").
#pragma once

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sound/midi_out.h"

namespace melodane::testing {

inline std::string Hex32(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

class RecordingMidiOut final : public MidiOut {
 public:
  static constexpr MidiResult kError = 2;          // bad device id
  static constexpr MidiResult kInvalidHandle = 5;  // as the system answers for handle 0

  struct Device {
    std::string name;
    bool caps_readable = true;
    bool opens = true;
  };

  std::optional<Device> mapper = Device{"Default MIDI Output"};
  std::vector<Device> devices;
  std::uint32_t reported_count = 0;  // used when set; else devices.size()
  MidiResult close_result = 0;

  std::vector<std::string> calls;
  std::map<MidiHandle, std::uint32_t> open_ports;  // handle -> device id

  // Calls of one kind ("open", "msg", "close"), without the others.
  std::vector<std::string> Calls(const std::string& kind) const {
    std::vector<std::string> out;
    for (const auto& call : calls) {
      if (call.rfind(kind + " ", 0) == 0) out.push_back(call);
    }
    return out;
  }

  std::uint32_t NumDevs() override {
    return reported_count ? reported_count : static_cast<std::uint32_t>(devices.size());
  }

  MidiResult DevCaps(std::uint32_t id, std::string& name) override {
    const Device* device = Find(id);
    if (!device || !device->caps_readable) return kError;
    name = device->name;
    return 0;
  }

  MidiResult Open(std::uint32_t id, MidiHandle& handle) override {
    calls.push_back("open " + Hex32(id));
    const Device* device = Find(id);
    if (!device || !device->opens) return kError;
    handle = next_handle_++;
    open_ports[handle] = id;
    return 0;
  }

  MidiResult ShortMsg(MidiHandle handle, std::uint32_t message) override {
    calls.push_back("msg " + Hex32(message));
    return open_ports.count(handle) ? 0 : kInvalidHandle;
  }

  MidiResult Close(MidiHandle handle) override {
    calls.push_back("close " + std::to_string(handle));
    if (!open_ports.erase(handle)) return kInvalidHandle;
    return close_result;
  }

 private:
  const Device* Find(std::uint32_t id) const {
    if (id == kMidiMapperId) return mapper ? &*mapper : nullptr;
    return id < devices.size() ? &devices[id] : nullptr;
  }

  MidiHandle next_handle_ = 1;
};

}  // namespace melodane::testing
