#pragma once

#include "sound/linux/midi_destination.h"

namespace melodane::on_linux {

// The ALSA sequencer's ports that accept writes. Without a sequencer (no sound
// hardware, no snd-seq module) it lists nothing, silently.
class AlsaSequencer final : public MidiSystem {
 public:
  std::vector<MidiDestination> Destinations() override;
  std::unique_ptr<MidiSink> Open(const MidiDestination& destination) override;
};

}  // namespace melodane::on_linux
