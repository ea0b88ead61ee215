// The built-in synthesizer: FluidSynth with a General MIDI soundfont, playing to the
// desktop's sound server.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sound/linux/midi_destination.h"

namespace melodane::on_linux {

struct SynthConfig {
  std::string soundfont;
  // One audio driver to use; none: the first of FluidSynth's drivers that opens.
  std::optional<std::string> driver;
  // Where the "file" driver writes; it opens only when a file is named.
  std::string file_name;
  // How long the output stays open after the last voice has ended.
  std::chrono::milliseconds linger{1500};
  // How long the soundfont stays in memory after the output closed.
  std::chrono::milliseconds unload_after{30000};
  // How long an output may go without asking for sound before it counts as dead, and
  // how long after a failed opening the next note may try again.
  std::chrono::milliseconds stall_limit{1000};
  std::chrono::milliseconds retry_after{1000};

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

// The audio output belongs to a watcher thread: it opens the output when a note asks for
// sound, closes it once everything has faded, and closes it as well when the output stops
// asking for sound (the sound server went away), so that the next note opens it again.
// The program's thread never waits for a sound server.
class BuiltInSynth final : public MidiSink {
 public:
  // Nothing when the soundfont cannot be loaded or no audio output opens.
  static std::unique_ptr<BuiltInSynth> Open(const SynthConfig& config);
  // Waits a moment for the watcher to close the output, and no longer.
  ~BuiltInSynth() override;

  // False when the output is down and may not be tried again yet: the note is dropped.
  bool Send(const std::uint8_t* bytes, std::size_t size) override;

  // The audio output is closed while nothing sounds, and opened again by the next note.
  bool Paused() const;
  // The output's buffer, in frames and in milliseconds.
  int BufferFrames() const;
  double BufferMilliseconds() const;
  std::string DriverName() const;

  struct State;  // shared with the watcher, which may outlive this object

 private:
  explicit BuiltInSynth(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::shared_ptr<State> state_;
};

}  // namespace melodane::on_linux
