#pragma once

#include "sound/midi_out.h"

namespace melodane::win32 {

// MIDI output through the Windows multimedia calls; device id 0xFFFFFFFF is the MIDI
// mapper.
class WinmmMidiOut final : public MidiOut {
 public:
  std::uint32_t NumDevs() override;
  MidiResult DevCaps(std::uint32_t device_id, std::string& name) override;
  MidiResult Open(std::uint32_t device_id, MidiHandle& handle) override;
  MidiResult ShortMsg(MidiHandle handle, std::uint32_t message) override;
  MidiResult Close(MidiHandle handle) override;
};

}  // namespace melodane::win32
