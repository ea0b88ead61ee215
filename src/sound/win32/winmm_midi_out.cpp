#include "sound/win32/winmm_midi_out.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

namespace melodane::win32 {

// The capabilities record the program reads: 52 bytes, the product name at offset 8.
static_assert(sizeof(MIDIOUTCAPSA) == 52);

std::uint32_t WinmmMidiOut::NumDevs() { return midiOutGetNumDevs(); }

MidiResult WinmmMidiOut::DevCaps(std::uint32_t device_id, std::string& name) {
  MIDIOUTCAPSA caps{};
  const MMRESULT result = midiOutGetDevCapsA(device_id, &caps, sizeof caps);
  if (result == MMSYSERR_NOERROR) {
    name.assign(caps.szPname, strnlen(caps.szPname, sizeof caps.szPname));
  }
  return result;
}

MidiResult WinmmMidiOut::Open(std::uint32_t device_id, MidiHandle& handle) {
  HMIDIOUT port = nullptr;
  const MMRESULT result = midiOutOpen(&port, device_id, 0, 0, CALLBACK_NULL);
  if (result == MMSYSERR_NOERROR) handle = reinterpret_cast<MidiHandle>(port);
  return result;
}

MidiResult WinmmMidiOut::ShortMsg(MidiHandle handle, std::uint32_t message) {
  return midiOutShortMsg(reinterpret_cast<HMIDIOUT>(handle), message);
}

MidiResult WinmmMidiOut::Close(MidiHandle handle) {
  return midiOutClose(reinterpret_cast<HMIDIOUT>(handle));
}

}  // namespace melodane::win32
