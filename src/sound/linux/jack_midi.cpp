#include "sound/linux/jack_midi.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace melodane::on_linux {

namespace {

void Ignore(const char*) {}

jack_client_t* Connect(const char* name) {
  static std::once_flag quiet;
  std::call_once(quiet, [] {
    jack_set_error_function(Ignore);
    jack_set_info_function(Ignore);
  });
  jack_status_t status{};
  return jack_client_open(name, JackNoStartServer, &status);
}

struct ClientCloser {
  void operator()(jack_client_t* client) const { jack_client_close(client); }
};
using Client = std::unique_ptr<jack_client_t, ClientCloser>;

// Messages cross from the program's thread to JACK's process thread through a
// lock-free ring: a length byte, then the message.
class JackSink final : public MidiSink {
 public:
  static std::unique_ptr<JackSink> Open(const std::string& target) {
    std::unique_ptr<JackSink> sink(new JackSink);
    sink->client_.reset(Connect("Melodane"));
    if (!sink->client_) return nullptr;
    sink->port_ =
        jack_port_register(sink->client_.get(), "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    sink->ring_ = jack_ringbuffer_create(4096);
    if (!sink->port_ || !sink->ring_ ||
        jack_set_process_callback(sink->client_.get(), &JackSink::Process, sink.get()) != 0) {
      return nullptr;
    }
    jack_on_shutdown(sink->client_.get(), &JackSink::OnShutdown, sink.get());
    if (jack_activate(sink->client_.get()) != 0) {
      return nullptr;
    }
    sink->active_ = true;
    if (jack_connect(sink->client_.get(), jack_port_name(sink->port_), target.c_str()) != 0) {
      return nullptr;
    }
    return sink;
  }

  ~JackSink() override {
    if (active_) jack_deactivate(client_.get());
    client_.reset();
    if (ring_) jack_ringbuffer_free(ring_);
  }

  // False once the server has gone: the port is closed for good, and choosing the
  // device again opens a new one.
  bool Send(const std::uint8_t* bytes, std::size_t size) override {
    if (size < 1 || size > kMaxMessage || server_gone_.load()) return false;
    if (jack_ringbuffer_write_space(ring_) < size + 1) return false;
    const auto length = static_cast<char>(size);
    jack_ringbuffer_write(ring_, &length, 1);
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(bytes), size);
    return true;
  }

 private:
  JackSink() = default;

  static constexpr std::size_t kMaxMessage = 3;

  static void OnShutdown(void* arg) { static_cast<JackSink*>(arg)->server_gone_.store(true); }

  static int Process(jack_nframes_t frames, void* arg) {
    auto* sink = static_cast<JackSink*>(arg);
    void* buffer = jack_port_get_buffer(sink->port_, frames);
    jack_midi_clear_buffer(buffer);
    unsigned char length = 0;
    while (jack_ringbuffer_peek(sink->ring_, reinterpret_cast<char*>(&length), 1) == 1 &&
           jack_ringbuffer_read_space(sink->ring_) >= std::size_t{length} + 1) {
      jack_ringbuffer_read_advance(sink->ring_, 1);
      jack_midi_data_t message[kMaxMessage] = {};
      jack_ringbuffer_read(sink->ring_, reinterpret_cast<char*>(message), length);
      jack_midi_event_write(buffer, 0, message, length);
    }
    return 0;
  }

  Client client_;
  jack_port_t* port_ = nullptr;
  jack_ringbuffer_t* ring_ = nullptr;
  bool active_ = false;
  std::atomic<bool> server_gone_{false};
};

}  // namespace

std::vector<MidiDestination> JackMidi::Destinations() {
  std::vector<MidiDestination> destinations;
  Client client(Connect("Melodane list"));
  if (!client) return destinations;
  const char** ports =
      jack_get_ports(client.get(), nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
  if (!ports) return destinations;
  for (const char** port = ports; *port; ++port) {
    destinations.push_back({*port, *port});
  }
  jack_free(ports);
  return destinations;
}

std::unique_ptr<MidiSink> JackMidi::Open(const MidiDestination& destination) {
  return JackSink::Open(destination.address);
}

}  // namespace melodane::on_linux
