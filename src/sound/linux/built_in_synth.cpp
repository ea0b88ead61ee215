#include "sound/linux/built_in_synth.h"

#include <fluidsynth.h>
#include <malloc.h>

#include <cstdlib>
#include <filesystem>

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
  return {512, 2, true};
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

void BuiltInSynth::FluidDelete::operator()(fluid_settings_t* settings) const {
  delete_fluid_settings(settings);
}
void BuiltInSynth::FluidDelete::operator()(fluid_synth_t* synth) const {
  delete_fluid_synth(synth);
}
void BuiltInSynth::FluidDelete::operator()(fluid_audio_driver_t* driver) const {
  delete_fluid_audio_driver(driver);
}

SynthConfig SynthConfig::FromEnvironment() {
  SynthConfig config;
  config.soundfont =
      FindSoundFont(Environment("MELODANE_SOUNDFONT"), DataDirectories(), [](const std::string& p) {
        std::error_code error;
        return std::filesystem::is_regular_file(p, error);
      }).value_or("");
  config.driver = Environment("MELODANE_AUDIO_DRIVER");
  config.file_name = Environment("MELODANE_AUDIO_FILE").value_or("melodane.wav");
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

std::unique_ptr<BuiltInSynth> BuiltInSynth::Open(const SynthConfig& config) {
  std::unique_ptr<BuiltInSynth> synth(new BuiltInSynth(config));
  if (!synth->Load()) return nullptr;
  {
    std::lock_guard lock(synth->mutex_);
    if (!synth->StartOutput()) return nullptr;
  }
  synth->watcher_ = std::thread([raw = synth.get()] { raw->WatchForSilence(); });
  return synth;
}

bool BuiltInSynth::Load() {
  static std::once_flag quiet;
  std::call_once(quiet, QuietLibrary);
  if (config_.soundfont.empty()) return false;

  settings_.reset(new_fluid_settings());
  if (!settings_) return false;
  fluid_settings_t* settings = settings_.get();
  // Samples are read when an instrument is chosen, not all at once.
  fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
  fluid_settings_setnum(settings, "synth.gain", 0.4);
  // One channel, one instrument: a quarter of the default voices is plenty, and the
  // oldest, faintest voice gives way when they run out.
  fluid_settings_setint(settings, "synth.polyphony", 64);
  fluid_settings_setstr(settings, "audio.file.name", config_.file_name.c_str());
  synth_.reset(new_fluid_synth(settings));
  fluid_synth_t* synth = synth_.get();
  if (!synth || fluid_synth_sfload(synth, config_.soundfont.c_str(), 1) == FLUID_FAILED) {
    return false;
  }
  // Only channel 0 plays; the others need no instrument in memory.
  for (int channel = 1; channel < fluid_synth_count_midi_channels(synth); ++channel) {
    fluid_synth_unset_program(synth, channel);
  }
  malloc_trim(0);  // the samples of the other channels' instruments were loaded, then freed
  return true;
}

bool BuiltInSynth::StartOutput() {
  std::vector<std::string> drivers;
  if (config_.driver) {
    drivers.push_back(*config_.driver);
  } else if (!driver_name_.empty()) {
    drivers.push_back(driver_name_);  // the one that worked before
  } else {
    drivers.assign(std::begin(kDriverOrder), std::end(kDriverOrder));
  }
  for (const std::string& name : drivers) {
    const Buffering buffering = BufferingFor(name);
    fluid_settings_setstr(settings_.get(), "audio.driver", name.c_str());
    fluid_settings_setint(settings_.get(), "audio.period-size", buffering.period_size);
    fluid_settings_setint(settings_.get(), "audio.periods", buffering.periods);
    driver_.reset(new_fluid_audio_driver(settings_.get(), synth_.get()));
    if (driver_) {
      driver_name_ = name;
      return true;
    }
  }
  return false;
}

void BuiltInSynth::WatchForSilence() {
  std::unique_lock lock(mutex_);
  bool silent = false;
  Clock::time_point silent_since;
  while (!stopping_) {
    if (!driver_) {
      // Paused: sleep until a note opens the output again.
      wake_.wait(lock, [this] { return stopping_ || driver_; });
      silent = false;
      continue;
    }
    wake_.wait_for(lock, std::chrono::milliseconds(250), [this] { return stopping_; });
    if (stopping_) break;
    if (fluid_synth_get_active_voice_count(synth_.get()) > 0) {
      silent = false;
    } else if (!silent) {
      silent = true;
      silent_since = Clock::now();
    } else if (Clock::now() - silent_since >= config_.linger) {
      // Long enough for the reverb to fade; rendering silence costs a core's fifth.
      Pause();
    }
  }
}

void BuiltInSynth::Pause() {
  driver_.reset();
  // The samples of the chosen instruments leave memory too; choosing them again at the
  // next note reads them back from the (cached) soundfont in a few milliseconds.
  fluid_synth_t* synth = synth_.get();
  for (int channel = 0; channel < fluid_synth_count_midi_channels(synth); ++channel) {
    int soundfont = 0, bank = 0, program = 0;
    if (fluid_synth_get_program(synth, channel, &soundfont, &bank, &program) == FLUID_OK &&
        soundfont != 0) {
      paused_selections_.push_back({channel, soundfont, bank, program});
      fluid_synth_unset_program(synth, channel);
    }
  }
  malloc_trim(0);
}

bool BuiltInSynth::Resume() {
  for (const Selection& s : paused_selections_) {
    fluid_synth_program_select(synth_.get(), s.channel, s.soundfont, s.bank, s.program);
  }
  paused_selections_.clear();
  return StartOutput();
}

bool BuiltInSynth::Send(const std::uint8_t* bytes, std::size_t size) {
  std::lock_guard lock(mutex_);
  if (!driver_ && !Resume()) return false;
  wake_.notify_all();
  fluid_synth_t* synth = synth_.get();

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
  std::lock_guard lock(mutex_);
  return driver_ == nullptr;
}

int BuiltInSynth::BufferFrames() const {
  const Buffering buffering = BufferingFor(driver_name_);
  return buffering.one_period_buffer ? buffering.period_size
                                     : buffering.period_size * buffering.periods;
}

double BuiltInSynth::BufferMilliseconds() const {
  double rate = 44100;
  fluid_settings_getnum(settings_.get(), "synth.sample-rate", &rate);
  return BufferFrames() * 1000.0 / rate;
}

BuiltInSynth::~BuiltInSynth() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (watcher_.joinable()) watcher_.join();
}

}  // namespace melodane::on_linux
