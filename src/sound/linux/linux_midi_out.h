#pragma once

#include <functional>
#include <map>

#include "sound/linux/midi_destination.h"
#include "sound/midi_out.h"

namespace melodane::on_linux {

// The Linux MIDI output in the shape of the Windows calls: the default output (id -1)
// is the built-in synthesizer, then come the ports of each MIDI system in turn, with
// ids 0..n-1.
class LinuxMidiOut final : public MidiOut {
 public:
  static constexpr std::string_view kSynthName = "Melodane Synthesizer";

  using SynthOpener = std::function<std::unique_ptr<MidiSink>()>;
  LinuxMidiOut(SynthOpener open_synth, std::vector<MidiSystem*> systems)
      : open_synth_(std::move(open_synth)), systems_(std::move(systems)) {}

  // Lists the ports anew; DevCaps and Open use that list.
  std::uint32_t NumDevs() override;
  MidiResult DevCaps(std::uint32_t device_id, std::string& name) override;
  MidiResult Open(std::uint32_t device_id, MidiHandle& handle) override;
  MidiResult ShortMsg(MidiHandle handle, std::uint32_t message) override;
  MidiResult Close(MidiHandle handle) override;

 private:
  struct Entry {
    MidiSystem* system;
    MidiDestination destination;
  };

  SynthOpener open_synth_;
  std::vector<MidiSystem*> systems_;
  std::vector<Entry> entries_;
  std::map<MidiHandle, std::unique_ptr<MidiSink>> open_;
  MidiHandle next_handle_ = 1;
};

// A device name as the system's capability record holds it: at most 31 characters.
std::string DeviceName(std::string_view name);

}  // namespace melodane::on_linux
