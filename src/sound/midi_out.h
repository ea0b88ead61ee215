// The system's MIDI output service, in the shape of the Windows multimedia calls:
// every call answers with a result code, 0 for success.
#pragma once

#include <cstdint>
#include <string>

namespace melodane {

using MidiHandle = std::uintptr_t;  // 0 means no port
using MidiResult = std::uint32_t;   // 0 means success

// Device id of the default output (the MIDI mapper on Windows).
inline constexpr std::uint32_t kMidiMapperId = 0xFFFFFFFFu;

class MidiOut {
 public:
  virtual ~MidiOut() = default;

  virtual std::uint32_t NumDevs() = 0;
  // On success, `name` receives the device's product name.
  virtual MidiResult DevCaps(std::uint32_t device_id, std::string& name) = 0;
  // On success, `handle` receives the open port; on failure it is left alone.
  virtual MidiResult Open(std::uint32_t device_id, MidiHandle& handle) = 0;
  virtual MidiResult ShortMsg(MidiHandle handle, std::uint32_t message) = 0;
  virtual MidiResult Close(MidiHandle handle) = 0;
};

}  // namespace melodane
