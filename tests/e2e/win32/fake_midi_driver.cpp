// A MIDI output driver for Wine that makes what the program sends observable. Wine's
// winmm loads it as its audio driver (winefake.drv, with HKCU\Software\Wine\Drivers
// "Audio" = "fake") or as the MIDI mapper (midimap.dll, with WINEDLLOVERRIDES
// midimap=n). It appends one line per event to the file named by FAKEMIDI_LOG:
//   <process id> <device> open|close|data 0x<message>
// where <device> is "mapper" or "dev<id>". Devices come from FAKEMIDI_DEVICES, names
// separated by ';' (default "Test Synth A;Test Synth B"); the mapper's name from
// FAKEMIDI_MAPPER (default "Test MIDI Mapper"). A name that starts with '!' cannot be
// read (its capabilities fail); one that starts with '-' refuses to open.
#include <windows.h>
#include <mmddk.h>
#include <mmsystem.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Device {
  std::wstring name;
  bool readable = true;
  bool opens = true;
};

std::wstring Env(const wchar_t* name, const wchar_t* fallback) {
  wchar_t value[1024];
  const DWORD size = GetEnvironmentVariableW(name, value, 1024);
  if (size == 0 || size >= 1024) return fallback;
  return value;
}

Device Parse(std::wstring name) {
  Device device;
  while (!name.empty() && (name[0] == L'!' || name[0] == L'-')) {
    if (name[0] == L'!') device.readable = false;
    if (name[0] == L'-') device.opens = false;
    name.erase(0, 1);
  }
  device.name = name;
  return device;
}

[[maybe_unused]] std::vector<Device> Devices() {
  std::vector<Device> devices;
  const std::wstring list = Env(L"FAKEMIDI_DEVICES", L"Test Synth A;Test Synth B");
  std::size_t start = 0;
  while (start <= list.size() && !list.empty()) {
    const std::size_t end = list.find(L';', start);
    devices.push_back(Parse(list.substr(start, end - start)));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return devices;
}

[[maybe_unused]] Device Mapper() { return Parse(Env(L"FAKEMIDI_MAPPER", L"Test MIDI Mapper")); }

void Log(UINT device, const char* event, DWORD_PTR message = 0, bool with_message = false) {
  const std::wstring path = Env(L"FAKEMIDI_LOG", L"");
  if (path.empty()) return;
  char who[32];
#ifdef FAKE_MIDI_MAPPER
  (void)device;
  std::snprintf(who, sizeof who, "mapper");
#else
  std::snprintf(who, sizeof who, "dev%u", device);
#endif
  char line[128];
  if (with_message) {
    std::snprintf(line, sizeof line, "%lu %s %s 0x%08lX\n", GetCurrentProcessId(), who, event,
                  static_cast<unsigned long>(message));
  } else {
    std::snprintf(line, sizeof line, "%lu %s %s\n", GetCurrentProcessId(), who, event);
  }
  // One write per line in append mode, so lines from several processes never mix.
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
  CloseHandle(file);
}

const Device* Find(UINT id) {
#ifdef FAKE_MIDI_MAPPER
  (void)id;
  static const Device mapper = Mapper();
  return &mapper;
#else
  static const std::vector<Device> devices = Devices();
  return id < devices.size() ? &devices[id] : nullptr;
#endif
}

}  // namespace

extern "C" {

LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM param1,
                            LPARAM param2) {
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_ENABLE:
    case DRV_DISABLE:
      return 1;
    case DRV_QUERYCONFIGURE:
      return 0;
    case DRV_CONFIGURE:
      return DRVCNF_OK;
    case DRV_INSTALL:
    case DRV_REMOVE:
      return DRVCNF_RESTART;
    default:
      return DefDriverProc(id, driver, message, param1, param2);
  }
}

DWORD WINAPI modMessage(UINT device_id, UINT message, DWORD_PTR /*user*/, DWORD_PTR param1,
                        DWORD_PTR param2) {
  switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT:
    case DRVM_ENABLE:
    case DRVM_DISABLE:
      return MMSYSERR_NOERROR;
    case MODM_GETNUMDEVS:
#ifdef FAKE_MIDI_MAPPER
      return 1;
#else
      return static_cast<DWORD>(Devices().size());
#endif
    case MODM_GETDEVCAPS: {
      const Device* device = Find(device_id);
      if (!device) return MMSYSERR_BADDEVICEID;
      if (!device->readable) return MMSYSERR_ERROR;
      MIDIOUTCAPSW caps{};
      caps.wMid = 0xFF;
      caps.wPid = 1;
      caps.vDriverVersion = 0x0100;
      lstrcpynW(caps.szPname, device->name.c_str(), MAXPNAMELEN);
      caps.wTechnology = MOD_SYNTH;
      caps.wVoices = 16;
      caps.wNotes = 16;
      caps.wChannelMask = 0xFFFF;
      memcpy(reinterpret_cast<void*>(param1), &caps, param2 < sizeof caps ? param2 : sizeof caps);
      return MMSYSERR_NOERROR;
    }
    case MODM_OPEN: {
      const Device* device = Find(device_id);
      if (!device) return MMSYSERR_BADDEVICEID;
      if (!device->opens) {
        Log(device_id, "refused");
        return MMSYSERR_ALLOCATED;
      }
      Log(device_id, "open");
      return MMSYSERR_NOERROR;
    }
    case MODM_CLOSE:
      Log(device_id, "close");
      return MMSYSERR_NOERROR;
    case MODM_DATA:
      Log(device_id, "data", param1, true);
      return MMSYSERR_NOERROR;
    default:
      return MMSYSERR_NOTSUPPORTED;
  }
}

#ifndef FAKE_MIDI_MAPPER
// Wine's audio device layer asks these of every audio driver it loads. This one offers
// no audio endpoint; it is there for MIDI only.
int WINAPI GetPriority() { return 3; }
HRESULT WINAPI GetEndpointIDs(int /*flow*/, WCHAR*** ids, GUID** guids, UINT* count,
                              UINT* default_index) {
  *ids = nullptr;
  *guids = nullptr;
  *count = 0;
  *default_index = 0;
  return S_OK;
}
HRESULT WINAPI GetAudioEndpoint(void*, void*, void**) { return E_NOTIMPL; }
HRESULT WINAPI GetAudioSessionManager(void*, void**) { return E_NOTIMPL; }
#endif

}  // extern "C"
