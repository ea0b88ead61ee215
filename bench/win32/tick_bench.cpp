// One keystroke tick through the real key-state adapter (GetAsyncKeyState) and the note
// path (winmm, to the test rig's MIDI driver), with a few keys held down.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "sound/keystroke_player.h"
#include "sound/win32/async_key_state.h"
#include "sound/win32/winmm_midi_out.h"

using namespace melodane;

namespace {

void Keys(bool up) {
  std::vector<INPUT> inputs;
  for (WORD key : {'A', 'S', 'D'}) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

double Microseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

struct Figures {
  double median, p10, p90;
};

Figures Summarize(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const auto at = [&](double q) {
    return samples[static_cast<std::size_t>(q * (samples.size() - 1))];
  };
  return {at(0.5), at(0.1), at(0.9)};
}

}  // namespace

int main() {
  SetEnvironmentVariableA("FAKEMIDI_LOG", nullptr);  // the driver records nothing
  win32::WinmmMidiOut out;
  MidiPort port(out);
  if (!port.OpenMidiOut(0)) {
    std::printf("no MIDI device: run this in the test rig\n");
    return 1;
  }
  win32::AsyncKeyState keys;
  RuntimeRandom random;
  KeystrokePlayer player(keys, random, port);
  constexpr std::int16_t kToneC = 0, kVolume = 100;

  Keys(false);
  Sleep(100);
  const bool held = keys.Query('A') != 0 && keys.Query('D') != 0;

  // Back to back, as fast as the machine goes.
  std::vector<double> tight;
  for (int batch = 0; batch < 200; ++batch) {
    const LONGLONG start = Now();
    for (int i = 0; i < 100; ++i) player.Tick(kToneC, kVolume);
    tight.push_back(Microseconds(Now() - start) / 100);
  }
  // As the program runs them: one every 50 ms, each timed alone.
  std::vector<double> paced;
  for (int tick = 0; tick < 100; ++tick) {
    Sleep(50);
    const LONGLONG start = Now();
    player.Tick(kToneC, kVolume);
    paced.push_back(Microseconds(Now() - start));
  }
  // Where the time goes, still with the keys down: the 125 queries alone, then the
  // three notes alone.
  std::vector<double> queries, notes;
  for (int tick = 0; tick < 100; ++tick) {
    Sleep(50);
    LONGLONG start = Now();
    int down = 0;
    for (std::int32_t key = kFirstPlayedKey; key <= kLastPlayedKey; ++key) {
      down += keys.Query(key) != 0;
    }
    queries.push_back(Microseconds(Now() - start));
    start = Now();
    for (int i = 0; i < down; ++i) port.PlayMidiNote(0, 70, 100);
    notes.push_back(Microseconds(Now() - start));
  }
  Keys(true);
  Sleep(100);
  std::vector<double> idle;
  for (int tick = 0; tick < 100; ++tick) {
    Sleep(50);
    const LONGLONG start = Now();
    player.Tick(kToneC, kVolume);
    idle.push_back(Microseconds(Now() - start));
  }
  port.CloseMidiOut();

  const Figures a = Summarize(tight), b = Summarize(paced);
  std::printf("keystroke tick: 125 key-state queries, %s\n",
              held ? "3 keys down, 3 notes sent" : "keys NOT seen down (no display?)");
  std::printf("  back to back : median %6.2f us  (p10 %6.2f, p90 %6.2f)\n", a.median, a.p10, a.p90);
  std::printf("  every 50 ms  : median %6.2f us  (p10 %6.2f, p90 %6.2f)\n", b.median, b.p10, b.p90);
  const Figures q = Summarize(queries), n = Summarize(notes), i = Summarize(idle);
  std::printf("    of which the 125 queries %6.2f us, the 3 notes %6.2f us (medians)\n", q.median,
              n.median);
  std::printf("  no key down  : median %6.2f us  (p10 %6.2f, p90 %6.2f)\n", i.median, i.p10, i.p90);
  std::printf("  budget 20 us per tick: %s\n", b.median <= 20 ? "met" : "exceeded");
  return 0;
}
