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

// Result codes, numbered as the Windows multimedia calls number them.
inline constexpr MidiResult kMidiError = 1;
inline constexpr MidiResult kMidiBadDeviceId = 2;
inline constexpr MidiResult kMidiAllocated = 4;
inline constexpr MidiResult kMidiInvalidHandle = 5;
inline constexpr MidiResult kMidiInvalidParam = 11;

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
