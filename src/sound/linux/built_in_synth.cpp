#include "sound/linux/built_in_synth.h"

#include <fluidsynth.h>
#include <malloc.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>

namespace melodane::on_linux {

namespace {

using Clock = std::chrono::steady_clock;

// Tried in turn when no driver is named: the desktop's sound server first.
constexpr const char* kDriverOrder[] = {"pulseaudio", "jack", "alsa", "sdl2", "oss"};

// Frames per period, and periods, for each driver: under 12 ms of buffer at 44.1 kHz.
// The PulseAudio and SDL drivers ask the server for one period of buffer.
struct Buffering {
  int period_size;
  int periods;
  bool one_period_buffer;
};
Buffering BufferingFor(const std::string& driver) {
  if (driver == "alsa" || driver == "oss") return {128, 4, false};
  // 5.8 ms periods: a key's note reaches the speaker within a tick and a half. Smaller
  // ones cost more processor time while notes sound than they save.
  return {256, 2, true};
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

void QuietLibrary() {
  // The program writes no log: FluidSynth's own messages go nowhere.
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
    fluid_set_log_function(level, nullptr, nullptr);
  }
}

}  // namespace

SynthConfig SynthConfig::FromEnvironment() {
  SynthConfig config;
  config.soundfont =
      FindSoundFont(Environment("MELODANE_SOUNDFONT"), DataDirectories(), [](const std::string& p) {
        std::error_code error;
        return std::filesystem::is_regular_file(p, error);
      }).value_or("");
  config.driver = Environment("MELODANE_AUDIO_DRIVER");
  config.file_name = Environment("MELODANE_AUDIO_FILE").value_or("");
  return config;
}

std::vector<std::string> DataDirectories() {
  std::vector<std::string> dirs;
  if (auto home = Environment("XDG_DATA_HOME")) {
    dirs.push_back(*home);
  } else if (auto user = Environment("HOME")) {
    dirs.push_back(*user + "/.local/share");
  }
  const std::string system = Environment("XDG_DATA_DIRS").value_or("/usr/local/share:/usr/share");
  std::size_t start = 0;
  while (start <= system.size()) {
    const std::size_t end = system.find(':', start);
    const std::string dir = system.substr(start, end - start);
    if (!dir.empty()) dirs.push_back(dir);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return dirs;
}

std::optional<std::string> FindSoundFont(const std::optional<std::string>& named,
                                         const std::vector<std::string>& data_dirs,
                                         const std::function<bool(const std::string&)>& exists) {
  if (named && exists(*named)) return named;
  // The system's chosen General MIDI soundfont first, then the usual ones by name.
  static const char* const kNames[] = {
      "sounds/sf2/default-GM.sf2", "soundfonts/default.sf2",  "sounds/sf2/FluidR3_GM.sf2",
      "soundfonts/FluidR3_GM.sf2", "sounds/sf2/TimGM6mb.sf2", "soundfonts/TimGM6mb.sf2",
  };
  for (const char* name : kNames) {
    for (const std::string& dir : data_dirs) {
      const std::string path = dir + "/" + name;
      if (exists(path)) return path;
    }
  }
  return std::nullopt;
}

struct FluidDelete {
  void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
  void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
  void operator()(fluid_audio_driver_t* driver) const { delete_fluid_audio_driver(driver); }
};
using Driver = std::unique_ptr<fluid_audio_driver_t, FluidDelete>;

// An open audio output. While one closes, the next may already play: only the newest
// renders, and never two at once.
struct Output {
  BuiltInSynth::State* state;
  std::uint64_t generation;
  Driver driver;  // last: it goes first, before what its callback reads
};
using OutputPtr = std::unique_ptr<Output>;

// Everything the program's thread and the watcher share. The watcher holds it too, so a
// watcher stuck in a hanging sound server never touches freed memory.
struct BuiltInSynth::State : std::enable_shared_from_this<BuiltInSynth::State> {
  explicit State(const SynthConfig& config) : config(config) {}
  bool Load();
  // Tries each driver in turn; called without the mutex held.
  OutputPtr OpenOutput();
  // With `lock` holding the mutex: let the instruments' samples go, silencing what still
  // sounds if asked, and later the soundfont's tables as well. Bringing them back takes
  // no lock: whoever does marks it as restoring, and nothing is let go meanwhile.
  void ReleaseInstruments(std::unique_lock<std::mutex>& lock, bool silence);
  void UnloadSoundFont(std::unique_lock<std::mutex>& lock);
  struct Selection {
    int channel, bank, program;
  };
  // Loads the soundfont first when `soundfont` is none.
  bool RestoreInstruments(int& soundfont, const std::vector<Selection>& selections);
  void Watch(OutputPtr output);

  const SynthConfig config;
  // Declared in the order they are made, so that they go in the reverse one.
  std::unique_ptr<fluid_settings_t, FluidDelete> settings;
  std::unique_ptr<fluid_synth_t, FluidDelete> synth;
  std::atomic<Clock::rep> rendered_at{0};  // when the output last asked for sound
  bool renders_through_us = false;         // whether rendered_at tells anything
  std::mutex render_mutex;
  std::uint64_t generation = 0;  // of the newest output; guarded by render_mutex

  mutable std::mutex mutex;
  std::condition_variable wake;
  // Guarded by mutex.
  std::string driver_name;
  bool output_open = false;
  bool sound_wanted = false;  // a note waits for the output to open
  Clock::time_point next_try{};
  bool stopping = false;
  bool watcher_done = false;
  int closing = 0;                  // outputs still being closed
  int soundfont_id = FLUID_FAILED;  // none while unloaded
  bool restoring = false;
  std::vector<Selection> released;
};

namespace {

int Render(void* data, int frames, int fx_count, float* fx[], int out_count, float* out[]) {
  const auto* output = static_cast<Output*>(data);
  BuiltInSynth::State* state = output->state;
  std::lock_guard lock(state->render_mutex);
  if (output->generation != state->generation) return FLUID_OK;  // closing: silence
  state->rendered_at.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
  if (fx_count == 0) {
    // The effects go into the dry output.
    float* mixed[] = {out[0], out[1], out[0], out[1]};
    return fluid_synth_process(state->synth.get(), frames, 4, mixed, out_count, out);
  }
  return fluid_synth_process(state->synth.get(), frames, fx_count, fx, out_count, out);
}

}  // namespace

std::unique_ptr<BuiltInSynth> BuiltInSynth::Open(const SynthConfig& config) {
  auto state = std::make_shared<State>(config);
  if (!state->Load()) return nullptr;
  // The first opening is on the caller's thread, so that a synthesizer without sound is
  // no device at all.
  OutputPtr output = state->OpenOutput();
  if (!output) return nullptr;
  state->output_open = true;
  std::thread([state, first = std::move(output)]() mutable {
    state->Watch(std::move(first));
  }).detach();
  return std::unique_ptr<BuiltInSynth>(new BuiltInSynth(std::move(state)));
}

bool BuiltInSynth::State::Load() {
  static std::once_flag quiet;
  std::call_once(quiet, QuietLibrary);
  if (config.soundfont.empty()) return false;

  settings.reset(new_fluid_settings());
  if (!settings) return false;
  // Samples are read when an instrument is chosen, not all at once.
  fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
  fluid_settings_setnum(settings.get(), "synth.gain", 0.4);
  // One channel, one instrument: a quarter of the default voices is plenty, and the
  // oldest, faintest voice gives way when they run out.
  fluid_settings_setint(settings.get(), "synth.polyphony", 64);
  fluid_settings_setstr(settings.get(), "audio.file.name", config.file_name.c_str());
  synth.reset(new_fluid_synth(settings.get()));
  // Only channel 0 plays; the others need no instrument in memory.
  return synth && RestoreInstruments(soundfont_id, {{0, 0, 0}});
}

OutputPtr BuiltInSynth::State::OpenOutput() {
  std::vector<std::string> drivers;
  if (config.driver) {
    drivers.push_back(*config.driver);
  } else if (std::lock_guard lock(mutex); !driver_name.empty()) {
    drivers.push_back(driver_name);  // the one that worked before
  } else {
    drivers.assign(std::begin(kDriverOrder), std::end(kDriverOrder));
  }
  for (const std::string& name : drivers) {
    // A recording is made only into a file the user named.
    if (name == "file" && config.file_name.empty()) continue;
    const Buffering buffering = BufferingFor(name);
    fluid_settings_setstr(settings.get(), "audio.driver", name.c_str());
    fluid_settings_setint(settings.get(), "audio.period-size", buffering.period_size);
    fluid_settings_setint(settings.get(), "audio.periods", buffering.periods);
    // The file driver renders by itself, and never stalls.
    renders_through_us = name != "file";
    rendered_at.store(Clock::now().time_since_epoch().count());
    auto output = std::make_unique<Output>(Output{this, 0, nullptr});
    {
      std::lock_guard lock(render_mutex);
      output->generation = ++generation;
    }
    output->driver.reset(renders_through_us
                             ? new_fluid_audio_driver2(settings.get(), Render, output.get())
                             : new_fluid_audio_driver(settings.get(), synth.get()));
    if (output->driver) {
      std::lock_guard lock(mutex);
      driver_name = name;
      return output;
    }
  }
  return nullptr;
}

void BuiltInSynth::State::ReleaseInstruments(std::unique_lock<std::mutex>& lock, bool silence) {
  wake.wait(lock, [this] { return !restoring; });
  if (silence) fluid_synth_all_sounds_off(synth.get(), -1);
  // The samples of the chosen instruments leave memory; choosing them again at the next
  // note reads them back from the (cached) soundfont in a few milliseconds.
  for (int channel = 0; channel < fluid_synth_count_midi_channels(synth.get()); ++channel) {
    int soundfont = 0, bank = 0, program = 0;
    if (fluid_synth_get_program(synth.get(), channel, &soundfont, &bank, &program) == FLUID_OK &&
        soundfont == soundfont_id) {
      released.push_back({channel, bank, program});
      fluid_synth_unset_program(synth.get(), channel);
    }
  }
}

void BuiltInSynth::State::UnloadSoundFont(std::unique_lock<std::mutex>& lock) {
  // The soundfont's tables are a fifth of the program's memory; reading them back costs
  // the next note some 20 ms, once the user has long stopped typing.
  ReleaseInstruments(lock, false);
  if (soundfont_id == FLUID_FAILED) return;
  fluid_synth_sfunload(synth.get(), soundfont_id, 0);
  soundfont_id = FLUID_FAILED;
  lock.unlock();
  malloc_trim(0);
  lock.lock();
}

bool BuiltInSynth::State::RestoreInstruments(int& soundfont,
                                             const std::vector<Selection>& selections) {
  if (soundfont == FLUID_FAILED) {
    soundfont = fluid_synth_sfload(synth.get(), config.soundfont.c_str(), 0);
    if (soundfont == FLUID_FAILED) return false;
  }
  for (const Selection& s : selections) {
    fluid_synth_program_select(synth.get(), s.channel, soundfont, s.bank, s.program);
  }
  return true;
}

void BuiltInSynth::State::Watch(OutputPtr driver) {
  std::unique_lock lock(mutex);
  bool silent = false;
  Clock::time_point silent_since;
  while (!stopping) {
    if (!driver) {
      // Closed: sleep until a note asks for sound.
      const auto asked = [this] { return stopping || sound_wanted; };
      if (soundfont_id == FLUID_FAILED) {
        wake.wait(lock, asked);
      } else if (!wake.wait_for(lock, config.unload_after, asked)) {
        UnloadSoundFont(lock);
        continue;
      }
      if (stopping) break;
      lock.unlock();
      driver = OpenOutput();
      lock.lock();
      sound_wanted = false;
      output_open = driver != nullptr;
      silent = false;
      if (!driver) {
        // The notes that asked for sound would only come late, all at once.
        ReleaseInstruments(lock, true);
        next_try = Clock::now() + config.retry_after;
      }
      continue;
    }
    wake.wait_for(lock, std::chrono::milliseconds(250), [this] { return stopping; });
    if (stopping) break;
    const auto now = Clock::now();
    const bool stalled =
        renders_through_us &&
        now - Clock::time_point(Clock::duration(rendered_at.load())) > config.stall_limit;
    if (fluid_synth_get_active_voice_count(synth.get()) > 0) {
      silent = false;
    } else if (!silent) {
      silent = true;
      silent_since = now;
    }
    // Long enough for the reverb to fade; rendering silence costs a core's fifth.
    if (stalled || (silent && now - silent_since >= config.linger)) {
      output_open = false;
      ReleaseInstruments(lock, stalled);
      // A sound server may take a second to close a stream, or hang: never while holding
      // the mutex, and the next note need not wait for it.
      ++closing;
      std::thread([state = shared_from_this(), old = std::move(driver)]() mutable {
        old.reset();
        std::lock_guard lock(state->mutex);
        --state->closing;
        state->wake.notify_all();
      }).detach();
      lock.unlock();
      malloc_trim(0);
      lock.lock();
    }
  }
  lock.unlock();
  driver.reset();
  lock.lock();
  watcher_done = true;
  wake.notify_all();
}

bool BuiltInSynth::Send(const std::uint8_t* bytes, std::size_t size) {
  State& state = *state_;
  std::unique_lock lock(state.mutex);
  if (!state.output_open) {
    if (Clock::now() < state.next_try) return false;
    if (!state.sound_wanted) {
      state.sound_wanted = true;
      state.wake.notify_all();
    }
  }
  if (state.soundfont_id == FLUID_FAILED || !state.released.empty()) {
    // The watcher opens the output meanwhile.
    const std::vector<State::Selection> selections = std::exchange(state.released, {});
    int soundfont = state.soundfont_id;
    state.restoring = true;
    lock.unlock();
    const bool restored = state.RestoreInstruments(soundfont, selections);
    lock.lock();
    state.restoring = false;
    state.soundfont_id = soundfont;
    state.wake.notify_all();
    if (!restored) {
      state.released = selections;  // the next note tries again
      return false;
    }
  }
  fluid_synth_t* synth = state.synth.get();

  const int channel = bytes[0] & 0x0F;
  const int data1 = size > 1 ? bytes[1] : 0;
  const int data2 = size > 2 ? bytes[2] : 0;
  int result = FLUID_FAILED;
  switch (bytes[0] & 0xF0) {
    case 0x80:
      result = fluid_synth_noteoff(synth, channel, data1);
      break;
    case 0x90:
      result = fluid_synth_noteon(synth, channel, data1, data2);
      break;
    case 0xA0:
      result = fluid_synth_key_pressure(synth, channel, data1, data2);
      break;
    case 0xB0:
      result = fluid_synth_cc(synth, channel, data1, data2);
      break;
    case 0xC0:
      result = fluid_synth_program_change(synth, channel, data1);
      break;
    case 0xD0:
      result = fluid_synth_channel_pressure(synth, channel, data1);
      break;
    case 0xE0:
      result = fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
      break;
    default:
      break;
  }
  // A note-off for a key that does not sound is no failure.
  return result == FLUID_OK || (bytes[0] & 0xF0) == 0x80 ||
         ((bytes[0] & 0xF0) == 0x90 && data2 == 0);
}

bool BuiltInSynth::Paused() const {
  std::lock_guard lock(state_->mutex);
  return !state_->output_open;
}

std::string BuiltInSynth::DriverName() const {
  std::lock_guard lock(state_->mutex);
  return state_->driver_name;
}

int BuiltInSynth::BufferFrames() const {
  const Buffering buffering = BufferingFor(DriverName());
  return buffering.one_period_buffer ? buffering.period_size
                                     : buffering.period_size * buffering.periods;
}

double BuiltInSynth::BufferMilliseconds() const {
  double rate = 44100;
  fluid_settings_getnum(state_->settings.get(), "synth.sample-rate", &rate);
  return BufferFrames() * 1000.0 / rate;
}

BuiltInSynth::~BuiltInSynth() {
  std::unique_lock lock(state_->mutex);
  state_->stopping = true;
  state_->wake.notify_all();
  // A sound server that hangs keeps the watcher, not the program.
  state_->wake.wait_for(lock, std::chrono::seconds(2),
                        [this] { return state_->watcher_done && state_->closing == 0; });
}

}  // namespace melodane::on_linux
