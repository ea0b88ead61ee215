#include "sound/linux/linux_midi_out.h"

namespace melodane::on_linux {

namespace {

constexpr std::size_t kMaxNameCharacters = 31;

// The length of a channel message with this status, or 0 for anything else.
std::size_t MessageLength(std::uint8_t status) {
  switch (status & 0xF0) {
    case 0x80:
    case 0x90:
    case 0xA0:
    case 0xB0:
    case 0xE0:
      return 3;
    case 0xC0:
    case 0xD0:
      return 2;
    default:
      return 0;
  }
}

}  // namespace

std::string DeviceName(std::string_view name) {
  // Counts characters, not bytes, and never cuts one in two.
  std::size_t characters = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if ((byte & 0xC0) != 0x80 && ++characters > kMaxNameCharacters) {
      return std::string(name.substr(0, i));
    }
  }
  return std::string(name);
}

std::uint32_t LinuxMidiOut::NumDevs() {
  entries_.clear();
  for (MidiSystem* system : systems_) {
    for (auto& destination : system->Destinations()) {
      entries_.push_back({system, std::move(destination)});
    }
  }
  return static_cast<std::uint32_t>(entries_.size());
}

MidiResult LinuxMidiOut::DevCaps(std::uint32_t device_id, std::string& name) {
  if (device_id == kMidiMapperId) {
    name = DeviceName(kSynthName);
    return 0;
  }
  if (device_id >= entries_.size()) return kMidiBadDeviceId;
  name = DeviceName(entries_[device_id].destination.name);
  return 0;
}

MidiResult LinuxMidiOut::Open(std::uint32_t device_id, MidiHandle& handle) {
  std::unique_ptr<MidiSink> sink;
  if (device_id == kMidiMapperId) {
    sink = open_synth_();
  } else if (device_id < entries_.size()) {
    const Entry& entry = entries_[device_id];
    sink = entry.system->Open(entry.destination);
  } else {
    return kMidiBadDeviceId;
  }
  if (!sink) return kMidiAllocated;
  handle = next_handle_++;
  open_[handle] = std::move(sink);
  return 0;
}

MidiResult LinuxMidiOut::ShortMsg(MidiHandle handle, std::uint32_t message) {
  const auto found = open_.find(handle);
  if (found == open_.end()) return kMidiInvalidHandle;
  const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(message),
                                 static_cast<std::uint8_t>(message >> 8),
                                 static_cast<std::uint8_t>(message >> 16)};
  const std::size_t length = MessageLength(bytes[0]);
  // A data byte of 128 or more is no MIDI: it goes to no device.
  if (length == 0 || bytes[1] > 0x7F || (length == 3 && bytes[2] > 0x7F)) {
    return kMidiInvalidParam;
  }
  return found->second->Send(bytes, length) ? 0 : kMidiError;
}

MidiResult LinuxMidiOut::Close(MidiHandle handle) {
  return open_.erase(handle) ? 0 : kMidiInvalidHandle;
}

}  // namespace melodane::on_linux
