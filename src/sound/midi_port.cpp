#include "sound/midi_port.h"

#include <string>

#include "common/whole_number.h"

namespace melodane {

namespace {

constexpr std::int16_t kNoteOn = 0x90;
constexpr std::int16_t kControlChange = 0xB0;
constexpr std::int16_t kProgramChange = 0xC0;
constexpr std::int16_t kBankSelect = 0;

}  // namespace

void MidiPort::Report(MidiResult code) {
  // Result codes are 16-bit values; one that is not cannot be reported.
  if (const auto narrow = Narrow16(code)) ReportMidiError(*narrow);
}

std::vector<MidiDevice> MidiPort::ListMidiOutDevices() {
  std::vector<MidiDevice> devices;
  std::string name;
  if (out_.DevCaps(kMidiMapperId, name) == 0) devices.push_back({name, -1});

  // The device count is a 16-bit value; a count that does not fit lists no device.
  const std::int16_t count = Narrow16(out_.NumDevs()).value_or(0);
  for (std::int16_t id = 0; id < count; ++id) {
    if (out_.DevCaps(static_cast<std::uint32_t>(id), name) == 0) devices.push_back({name, id});
  }
  return devices;
}

bool MidiPort::OpenMidiOut(std::int16_t device_id) {
  CloseMidiOut();
  // Widened with its sign: -1 becomes 0xFFFFFFFF, the default output's id.
  const auto system_id = static_cast<std::uint32_t>(static_cast<std::int32_t>(device_id));
  MidiHandle handle = 0;
  const MidiResult result = out_.Open(system_id, handle);
  if (result == 0) {
    hMidiOut_ = handle;
  } else {
    Report(result);
  }
  return hMidiOut_ != 0;
}

void MidiPort::CloseMidiOut() {
  if (hMidiOut_ == 0) return;
  const MidiResult result = out_.Close(hMidiOut_);
  if (result != 0) Report(result);
  hMidiOut_ = 0;
}

void MidiPort::SendMidiMsg(std::int16_t status, std::int16_t data1, std::int16_t data2) {
  // data1 * 256 is a 16-bit product. From 128 up (or below -128) it overflows, and the
  // message is dropped without a report: this is how a note above 127 stays silent.
  const auto shifted = Mul16(data1, 256);
  if (!shifted) return;
  const auto message = Narrow32(std::int64_t{data2} * 65536 + *shifted + status);
  if (!message) return;

  // Sent even on a closed port; the system refuses it and the refusal stays silent.
  const MidiResult result = out_.ShortMsg(hMidiOut_, static_cast<std::uint32_t>(*message));
  if (result != 0) Report(result);
}

void MidiPort::PlayMidiNote(std::int16_t channel, std::int16_t note, std::int16_t velocity) {
  if (const auto status = Add16(kNoteOn, channel)) SendMidiMsg(*status, note, velocity);
}

void MidiPort::SendMidiControl(std::int16_t channel, std::int16_t controller, std::int16_t value) {
  if (const auto status = Add16(kControlChange, channel)) SendMidiMsg(*status, controller, value);
}

void MidiPort::SetMidiInstrument(std::int16_t channel, std::int16_t bank, std::int16_t program) {
  SendMidiControl(channel, kBankSelect, bank);
  if (const auto status = Add16(kProgramChange, channel)) SendMidiMsg(*status, program, 0);
}

}  // namespace melodane
