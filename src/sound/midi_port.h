// The program's one MIDI output port: listing devices, opening and closing the port,
// and the short messages it sends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/midi_out.h"

namespace melodane {

// An entry of the device list: the name the user sees, and the device id as item data
// (-1 for the default output).
struct MidiDevice {
  std::string name;
  std::int32_t item_data;
  friend bool operator==(const MidiDevice&, const MidiDevice&) = default;
};

class MidiPort {
 public:
  explicit MidiPort(MidiOut& out) : out_(out) {}
  // The port is closed when its owner goes, however the program ends.
  ~MidiPort() { CloseMidiOut(); }
  MidiPort(const MidiPort&) = delete;
  MidiPort& operator=(const MidiPort&) = delete;

  // The open port, 0 when closed.
  MidiHandle hMidiOut() const { return hMidiOut_; }

  // The default output first (item data -1), then every device whose name can be read
  // (item data its device id), in the order of their ids.
  std::vector<MidiDevice> ListMidiOutDevices();
  // Closes the port, then opens `device_id` (-1 is the default output). True when a
  // port is open afterwards.
  bool OpenMidiOut(std::int16_t device_id);
  void CloseMidiOut();

  void SendMidiMsg(std::int16_t status, std::int16_t data1, std::int16_t data2);
  void PlayMidiNote(std::int16_t channel, std::int16_t note, std::int16_t velocity);
  void SendMidiControl(std::int16_t channel, std::int16_t controller, std::int16_t value);
  // Bank select, then program change.
  void SetMidiInstrument(std::int16_t channel, std::int16_t bank, std::int16_t program);

  // MIDI failures never reach the user: a port that cannot be opened or a message that
  // cannot be sent simply makes no sound.
  static void ReportMidiError(std::int16_t /*code*/) {}

 private:
  void Report(MidiResult code);

  MidiOut& out_;
  MidiHandle hMidiOut_ = 0;
};

}  // namespace melodane
