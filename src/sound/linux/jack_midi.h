#pragma once

#include "sound/linux/midi_destination.h"

namespace melodane::on_linux {

// The MIDI input ports of a running JACK server. Without a server it lists nothing and
// starts none.
class JackMidi final : public MidiSystem {
 public:
  std::vector<MidiDestination> Destinations() override;
  std::unique_ptr<MidiSink> Open(const MidiDestination& destination) override;
};

}  // namespace melodane::on_linux
