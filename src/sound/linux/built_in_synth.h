// The built-in synthesizer: FluidSynth with a General MIDI soundfont, playing to the
// desktop's sound server.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "sound/linux/midi_destination.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace melodane::on_linux {

struct SynthConfig {
  std::string soundfont;
  // One audio driver to use; none: the first of FluidSynth's drivers that opens.
  std::optional<std::string> driver;
  std::string file_name;  // for the "file" driver
  // How long the output stays open after the last voice has ended.
  std::chrono::milliseconds linger{1500};

  // From the environment: MELODANE_SOUNDFONT, MELODANE_AUDIO_DRIVER, MELODANE_AUDIO_FILE.
  static SynthConfig FromEnvironment();
};

// The soundfont to load: `named` when it is a file, else the first General MIDI
// soundfont in the standard places under `data_dirs`, default-GM.sf2 first.
std::optional<std::string> FindSoundFont(const std::optional<std::string>& named,
                                         const std::vector<std::string>& data_dirs,
                                         const std::function<bool(const std::string&)>& exists);

// The XDG data directories, $XDG_DATA_HOME first.
std::vector<std::string> DataDirectories();

class BuiltInSynth final : public MidiSink {
 public:
  // Nothing when the soundfont cannot be loaded or no audio output opens.
  static std::unique_ptr<BuiltInSynth> Open(const SynthConfig& config);
  ~BuiltInSynth() override;

  bool Send(const std::uint8_t* bytes, std::size_t size) override;

  // The audio output is closed while nothing sounds, and opened again by the next note.
  bool Paused() const;
  // The output's buffer, in frames and in milliseconds.
  int BufferFrames() const;
  double BufferMilliseconds() const;
  const std::string& DriverName() const { return driver_name_; }

 private:
  explicit BuiltInSynth(const SynthConfig& config) : config_(config) {}
  bool Load();
  // With mutex_ held: open the audio output; close it and let the instruments' samples
  // go; bring both back.
  bool StartOutput();
  void Pause();
  bool Resume();
  void WatchForSilence();

  struct Selection {
    int channel, soundfont, bank, program;
  };
  std::vector<Selection> paused_selections_;

  // Each FluidSynth object with its owner; declared in the order they are made, so that
  // they go in the reverse one: the driver, then the synthesizer, then the settings.
  struct FluidDelete {
    void operator()(_fluid_hashtable_t* settings) const;
    void operator()(_fluid_synth_t* synth) const;
    void operator()(_fluid_audio_driver_t* driver) const;
  };
  SynthConfig config_;
  std::unique_ptr<_fluid_hashtable_t, FluidDelete> settings_;
  std::unique_ptr<_fluid_synth_t, FluidDelete> synth_;
  std::unique_ptr<_fluid_audio_driver_t, FluidDelete> driver_;
  std::string driver_name_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread watcher_;
};

}  // namespace melodane::on_linux
