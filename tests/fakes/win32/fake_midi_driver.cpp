// A MIDI output driver for Wine that makes what a program sends observable. Wine's
// winmm loads it as its audio driver (winefake.drv, with HKCU\Software\Wine\Drivers
// "Audio" = "fake") or as the MIDI mapper (midimap.dll, with WINEDLLOVERRIDES
// midimap=n). It offers two devices, "Test Synth A" and "Test Synth B", or the mapper
// "Test MIDI Mapper", and adds one line per event to the file named by FAKEMIDI_LOG:
//   <process id> <device> open|close|data 0x<message>
// where <device> is "mapper" or "dev<id>".
#include <windows.h>
#include <mmddk.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace {

#ifdef FAKE_MIDI_MAPPER
constexpr UINT kDevices = 1;  // whatever id winmm passes for it
const wchar_t* const kNames[] = {L"Test MIDI Mapper"};
UINT Index(UINT) { return 0; }
#else
constexpr UINT kDevices = 2;
const wchar_t* const kNames[] = {L"Test Synth A", L"Test Synth B"};
UINT Index(UINT device) { return device; }
#endif

void Log(UINT device, UINT message, DWORD_PTR data) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"FAKEMIDI_LOG", path, MAX_PATH);
  FILE* file = length && length < MAX_PATH ? _wfopen(path, L"a") : nullptr;
  if (!file) return;
  std::fprintf(file, "%lu ", GetCurrentProcessId());
  if (kDevices == 1) std::fprintf(file, "mapper");
  if (kDevices != 1) std::fprintf(file, "dev%u", device);
  if (message == MODM_DATA) std::fprintf(file, " data 0x%08llX\n", 0ull + data);
  if (message != MODM_DATA) std::fprintf(file, message == MODM_OPEN ? " open\n" : " close\n");
  std::fclose(file);
}

}  // namespace

extern "C" {

LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1,
                            LPARAM param2) {
  if (message >= DRV_LOAD && message <= DRV_FREE) return 1;  // load, enable, open...
  return DefDriverProc(id, driver, message, param1, param2);
}

DWORD WINAPI modMessage(UINT id, UINT message, DWORD_PTR, DWORD_PTR param1, DWORD_PTR param2) {
  const UINT device = Index(id);
  if (message >= DRVM_INIT && message <= DRVM_ENABLE) return MMSYSERR_NOERROR;
  if (message == MODM_GETNUMDEVS) return kDevices;
  if (device >= kDevices) return MMSYSERR_BADDEVICEID;
  switch (message) {
    case MODM_GETDEVCAPS: {
      MIDIOUTCAPSW caps{};
      caps.wTechnology = MOD_SYNTH;
      lstrcpynW(caps.szPname, kNames[device], MAXPNAMELEN);
      std::memcpy(reinterpret_cast<void*>(param1), &caps,
                  param2 < sizeof caps ? param2 : sizeof caps);
      return MMSYSERR_NOERROR;
    }
    case MODM_OPEN:
    case MODM_CLOSE:
    case MODM_DATA:
      Log(device, message, param1);
      return MMSYSERR_NOERROR;
    default:
      return MMSYSERR_NOTSUPPORTED;
  }
}

#if !defined(FAKE_MIDI_MAPPER)
// Wine's audio device layer asks these of every audio driver it loads. This one offers
// no audio endpoint; it is there for MIDI only.
int WINAPI GetPriority() { return 3; }
HRESULT WINAPI GetEndpointIDs(int, WCHAR*** ids, GUID** guids, UINT* count, UINT* default_index) {
  *ids = nullptr, *guids = nullptr, *count = *default_index = 0;
  return S_OK;
}
HRESULT WINAPI GetAudioEndpoint(void*, void*, void**) { return E_NOTIMPL; }
HRESULT WINAPI GetAudioSessionManager(void*, void**) { return E_NOTIMPL; }
#endif

}  // extern "C"
