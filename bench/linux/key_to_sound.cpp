// Key-to-sound latency of the running program: keys pressed through XTest at random
// moments, and each note's first sound found in a recording of the sound server's sink
// monitor, both on the monotonic clock. PulseAudio tells when each recorded sample is
// played by the sink (a monitor's latency is negative: the sample is captured before it
// plays), so the figure ends where a listener would hear the note.
//
//   key_to_sound <sink> [presses] [presses between pauses] [seconds more in each pause]
//
// Before the first press, and every few presses, it waits until the program has closed
// its audio output (no stream plays to the sink), so those presses pay for reopening it.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kRate = 44100;
// The recording's fragments: as short as the program's own stream asks of the sink, so
// that recording never makes the sink run closer to real time than playing does.
constexpr std::uint32_t kFragmentFrames = 512 / 4;
constexpr float kSilence = 1e-3f;  // -60 dBFS

double Seconds(Clock::time_point t) {
  return std::chrono::duration<double>(t.time_since_epoch()).count();
}

// The recording: each frame's loudest channel, and for each fragment when its first
// frame plays.
struct Recording {
  std::mutex mutex;
  std::vector<float> peak;
  struct Stamp {
    std::size_t frame;
    double plays_at;
    double arrived_at;
    std::size_t frames;
  };
  std::vector<Stamp> stamps;

  // When `frame` plays: from the fragments around it, the median of their stamps. The
  // sink's clock drifts from the system's by a few hundred parts per million.
  double PlaysAt(std::size_t frame) const {
    std::vector<double> offsets;
    for (const Stamp& s : stamps) {
      if (s.frame + kRate / 4 > frame && s.frame < frame + kRate / 4) {
        offsets.push_back(s.plays_at - s.frame / kRate);
      }
    }
    if (offsets.empty()) return NAN;
    std::nth_element(offsets.begin(), offsets.begin() + offsets.size() / 2, offsets.end());
    return offsets[offsets.size() / 2] + frame / kRate;
  }
  std::size_t FrameAt(double seconds) const {
    // Two rounds: the offset hardly changes within the window.
    double guess = stamps.empty() ? 0
                                  : (seconds - stamps.back().plays_at) * kRate +
                                        static_cast<double>(stamps.back().frame);
    for (int i = 0; i < 2; ++i) {
      guess += (seconds - PlaysAt(static_cast<std::size_t>(std::max(0.0, guess)))) * kRate;
    }
    return static_cast<std::size_t>(std::max(0.0, guess));
  }
};

// Waits until the recording has run for a second and its stamps agree, over the last
// half second, within a millisecond.
bool WaitForSteadyClock(Recording& r) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::lock_guard lock(r.mutex);
    if (r.peak.size() < kRate || r.stamps.empty()) continue;
    const std::size_t last = r.stamps.back().frame;
    const auto earlier = std::find_if(r.stamps.begin(), r.stamps.end(),
                                      [&](const auto& s) { return s.frame + kRate / 2 >= last; });
    const double drift =
        (r.stamps.back().plays_at - last / kRate) - (earlier->plays_at - earlier->frame / kRate);
    if (std::fabs(drift) < 1e-3) return true;
  }
  return false;
}

struct Pulse {
  pa_threaded_mainloop* loop = nullptr;
  pa_context* context = nullptr;
  pa_stream* record = nullptr;
  Recording recording;
  int streams_playing = -1;
};

void OnRead(pa_stream* stream, std::size_t, void* data) {
  auto* pulse = static_cast<Pulse*>(data);
  const void* bytes = nullptr;
  std::size_t size = 0;
  while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &bytes, &size) == 0 &&
         size > 0) {
    // When the fragment's first frame plays, taken before it is dropped from the buffer.
    pa_usec_t latency = 0;
    int negative = 0;
    const bool timed = pa_stream_get_latency(stream, &latency, &negative) == 0;
    const double now = Seconds(Clock::now());
    std::lock_guard lock(pulse->recording.mutex);
    Recording& r = pulse->recording;
    const std::size_t frames = size / (2 * sizeof(float));
    if (timed) {
      r.stamps.push_back({r.peak.size(),
                          now + (negative ? 1.0 : -1.0) * static_cast<double>(latency) / 1e6, now,
                          frames});
    }
    const auto* samples = static_cast<const float*>(bytes);
    for (std::size_t i = 0; i < frames; ++i) {
      r.peak.push_back(bytes ? std::max(std::fabs(samples[2 * i]), std::fabs(samples[2 * i + 1]))
                             : 0.0f);
    }
    pa_stream_drop(stream);
  }
}

void OnSinkInput(pa_context*, const pa_sink_input_info* info, int eol, void* data) {
  auto* pulse = static_cast<Pulse*>(data);
  if (eol) {
    pa_threaded_mainloop_signal(pulse->loop, 0);
  } else if (info) {
    ++pulse->streams_playing;
  }
}

int StreamsPlaying(Pulse& pulse) {
  pa_threaded_mainloop_lock(pulse.loop);
  pulse.streams_playing = 0;
  pa_operation* op = pa_context_get_sink_input_info_list(pulse.context, OnSinkInput, &pulse);
  while (op && pa_operation_get_state(op) == PA_OPERATION_RUNNING) {
    pa_threaded_mainloop_wait(pulse.loop);
  }
  if (op) pa_operation_unref(op);
  const int count = pulse.streams_playing;
  pa_threaded_mainloop_unlock(pulse.loop);
  return count;
}

bool Connect(Pulse& pulse, const std::string& sink) {
  pulse.loop = pa_threaded_mainloop_new();
  pulse.context = pa_context_new(pa_threaded_mainloop_get_api(pulse.loop), "key_to_sound");
  pa_context_set_state_callback(
      pulse.context,
      [](pa_context*, void* loop) {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
      },
      pulse.loop);
  pa_threaded_mainloop_lock(pulse.loop);
  pa_threaded_mainloop_start(pulse.loop);
  bool ok = pa_context_connect(pulse.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) == 0;
  while (ok && pa_context_get_state(pulse.context) != PA_CONTEXT_READY) {
    ok = PA_CONTEXT_IS_GOOD(pa_context_get_state(pulse.context));
    if (ok) pa_threaded_mainloop_wait(pulse.loop);
  }
  if (ok) {
    const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, static_cast<std::uint32_t>(kRate), 2};
    pulse.record = pa_stream_new(pulse.context, "recording", &format, nullptr);
    pa_stream_set_read_callback(pulse.record, OnRead, &pulse);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.fragsize = kFragmentFrames * 2 * sizeof(float);
    const std::string monitor = sink + ".monitor";
    ok =
        pa_stream_connect_record(
            pulse.record, monitor.c_str(), &attr,
            static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING |
                                           PA_STREAM_AUTO_TIMING_UPDATE)) == 0;
  }
  pa_threaded_mainloop_unlock(pulse.loop);
  return ok;
}

struct Press {
  double at;  // seconds on the monotonic clock
  bool after_pause;
  double latency_ms = NAN;
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(std::lround(p * (values.size() - 1)))];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(
        "usage: key_to_sound <sink> [presses] [presses between pauses] [seconds more in each "
        "pause]\n",
        stderr);
    return 2;
  }
  const int presses = argc > 2 ? std::atoi(argv[2]) : 50;
  const int pause_every = argc > 3 ? std::atoi(argv[3]) : 17;
  const double pause_more = argc > 4 ? std::atof(argv[4]) : 0;

  Display* display = XOpenDisplay(nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
    std::puts("key to sound: no X display with XTest");
    return 1;
  }
  const KeyCode key = XKeysymToKeycode(display, XK_a);

  Pulse pulse;
  if (!Connect(pulse, argv[1])) {
    std::puts("key to sound: no PulseAudio server to record from");
    return 1;
  }
  // An idle null sink runs up to two seconds ahead of the clock; under the recording's
  // latency it comes back within that time, and PulseAudio's timing settles.
  if (!WaitForSteadyClock(pulse.recording)) {
    std::puts("key to sound: the recording's timing did not settle");
    return 1;
  }

  std::mt19937 random{std::random_device{}()};
  std::uniform_real_distribution<double> gap(0.35, 0.85), hold(0.03, 0.09);
  std::vector<Press> log;
  for (int i = 0; i < presses; ++i) {
    bool after_pause = false;
    if (pause_every > 0 && i % pause_every == 0) {
      // Notes fade for many seconds before the output closes.
      const auto deadline = Clock::now() + std::chrono::seconds(60);
      while (!(after_pause = StreamsPlaying(pulse) == 0) && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      // Anywhere in the tick, as every press.
      std::this_thread::sleep_for(std::chrono::duration<double>(pause_more + gap(random) - 0.3));
    }
    // Pressed between two readings of the clock, a round trip apart: the middle.
    const auto before = Clock::now();
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XSync(display, False);
    const auto after = Clock::now();
    log.push_back({(Seconds(before) + Seconds(after)) / 2, after_pause});
    std::this_thread::sleep_for(std::chrono::duration<double>(hold(random)));
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::duration<double>(gap(random)));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  pa_threaded_mainloop_lock(pulse.loop);
  pa_stream_disconnect(pulse.record);
  pa_threaded_mainloop_unlock(pulse.loop);
  pa_threaded_mainloop_stop(pulse.loop);

  // Each note's first sound: the first frame after the press that stands out from what
  // still sounded just before it (the previous note's tail).
  const Recording& r = pulse.recording;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const std::size_t pressed = r.FrameAt(log[i].at);
    const std::size_t end = i + 1 < log.size() ? r.FrameAt(log[i + 1].at) : r.peak.size();
    const std::size_t window = static_cast<std::size_t>(0.02 * kRate);
    float before = 0;
    for (std::size_t f = pressed > window ? pressed - window : 0; f < pressed && f < r.peak.size();
         ++f) {
      before = std::max(before, r.peak[f]);
    }
    const float threshold = std::max(kSilence, 1.5f * before);
    for (std::size_t f = pressed; f < end && f < r.peak.size(); ++f) {
      if (r.peak[f] > threshold) {
        log[i].latency_ms = (r.PlaysAt(f) - log[i].at) * 1000;
        break;
      }
    }
  }

  std::vector<double> all, paused;
  int missed = 0;
  for (const Press& p : log) {
    if (std::isnan(p.latency_ms)) {
      ++missed;
      continue;
    }
    all.push_back(p.latency_ms);
    if (p.after_pause) paused.push_back(p.latency_ms);
  }
  std::printf("key to sound (XTest press to the sink playing it), %d presses:\n", presses);
  if (all.empty()) {
    std::puts("  no note was heard");
    return 1;
  }
  std::printf("  median                           : %7.1f ms [<= 45 ms]\n", Percentile(all, 0.5));
  std::printf("  worst                            : %7.1f ms [<= 75 ms]\n", Percentile(all, 1));
  std::printf("  best                             : %7.1f ms\n", Percentile(all, 0));
  std::string each;
  for (double p : paused) each += (each.empty() ? "" : ", ") + std::to_string(std::lround(p));
  std::printf("  first press after a pause        : %7.1f ms (median of %zu: %s ms)\n",
              paused.empty() ? NAN : Percentile(paused, 0.5), paused.size(), each.c_str());
  // How the recording's timing squares with its arrival: a fragment's last frame plays
  // after it reached the bench, by at most what the sink renders ahead.
  std::vector<double> lead;
  for (const auto& s : r.stamps) {
    if (s.arrived_at >= log.front().at) {
      lead.push_back((s.plays_at + (s.frames - 1) / kRate - s.arrived_at) * 1000);
    }
  }
  if (!lead.empty()) {
    std::printf(
        "  (clock check: a recorded fragment plays %.1f ms after it arrives, 95 %% "
        "within %.1f ms)\n",
        Percentile(lead, 0.5), Percentile(lead, 0.95));
  }
  if (missed) std::printf("  presses with no note found       : %d\n", missed);
  XCloseDisplay(display);
  return 0;
}
