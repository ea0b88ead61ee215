// The pieces the Linux MIDI output is made of: places that take MIDI messages, and the
// systems that list and open them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace melodane::on_linux {

// An open output.
class MidiSink {
 public:
  virtual ~MidiSink() = default;
  // One complete channel message: status, then its one or two data bytes.
  virtual bool Send(const std::uint8_t* bytes, std::size_t size) = 0;
};

struct MidiDestination {
  std::string name;     // as the user sees it
  std::string address;  // as its system finds it
};

// A MIDI system with ports that take messages: the ALSA sequencer, JACK.
class MidiSystem {
 public:
  virtual ~MidiSystem() = default;
  // The ports that accept messages now; none when the system is not there.
  virtual std::vector<MidiDestination> Destinations() = 0;
  virtual std::unique_ptr<MidiSink> Open(const MidiDestination& destination) = 0;
};

}  // namespace melodane::on_linux
