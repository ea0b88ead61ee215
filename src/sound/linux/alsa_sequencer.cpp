#include "sound/linux/alsa_sequencer.h"

#include <alsa/asoundlib.h>

#include <cstdio>
#include <mutex>

namespace melodane::on_linux {

namespace {

void IgnoreError(const char*, int, const char*, int, const char*, ...) {}

snd_seq_t* OpenSequencer() {
  // alsa-lib reports to stderr by default; the program keeps quiet.
  static std::once_flag quiet;
  std::call_once(quiet, [] { snd_lib_error_set_handler(IgnoreError); });
  snd_seq_t* seq = nullptr;
  if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) return nullptr;
  snd_seq_set_client_name(seq, "Melodane");
  return seq;
}

struct SeqCloser {
  void operator()(snd_seq_t* seq) const { snd_seq_close(seq); }
};
using Sequencer = std::unique_ptr<snd_seq_t, SeqCloser>;

class AlsaSink final : public MidiSink {
 public:
  AlsaSink(Sequencer seq, int port, int dest_client, int dest_port)
      : seq_(std::move(seq)), port_(port), dest_client_(dest_client), dest_port_(dest_port) {
    snd_midi_event_new(16, &encoder_);
  }
  ~AlsaSink() override {
    if (encoder_) snd_midi_event_free(encoder_);
  }

  bool Send(const std::uint8_t* bytes, std::size_t size) override {
    if (!encoder_) return false;
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_midi_event_reset_encode(encoder_);
    if (snd_midi_event_encode(encoder_, bytes, static_cast<long>(size), &event) <= 0 ||
        event.type == SND_SEQ_EVENT_NONE) {
      return false;
    }
    snd_seq_ev_set_source(&event, port_);
    snd_seq_ev_set_dest(&event, dest_client_, dest_port_);
    snd_seq_ev_set_direct(&event);
    return snd_seq_event_output_direct(seq_.get(), &event) >= 0;
  }

 private:
  Sequencer seq_;
  int port_, dest_client_, dest_port_;
  snd_midi_event_t* encoder_ = nullptr;
};

}  // namespace

std::vector<MidiDestination> AlsaSequencer::Destinations() {
  std::vector<MidiDestination> destinations;
  Sequencer seq(OpenSequencer());
  if (!seq) return destinations;
  const int self = snd_seq_client_id(seq.get());

  snd_seq_client_info_t* client;
  snd_seq_port_info_t* port;
  snd_seq_client_info_alloca(&client);
  snd_seq_port_info_alloca(&port);
  snd_seq_client_info_set_client(client, -1);
  while (snd_seq_query_next_client(seq.get(), client) >= 0) {
    const int id = snd_seq_client_info_get_client(client);
    if (id == SND_SEQ_CLIENT_SYSTEM || id == self) continue;
    snd_seq_port_info_set_client(port, id);
    snd_seq_port_info_set_port(port, -1);
    while (snd_seq_query_next_port(seq.get(), port) >= 0) {
      constexpr unsigned kWritable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
      const unsigned caps = snd_seq_port_info_get_capability(port);
      if ((caps & kWritable) != kWritable || (caps & SND_SEQ_PORT_CAP_NO_EXPORT)) continue;
      char address[32];
      std::snprintf(address, sizeof address, "%d:%d", id, snd_seq_port_info_get_port(port));
      destinations.push_back({snd_seq_port_info_get_name(port), address});
    }
  }
  return destinations;
}

std::unique_ptr<MidiSink> AlsaSequencer::Open(const MidiDestination& destination) {
  int dest_client = 0, dest_port = 0;
  if (std::sscanf(destination.address.c_str(), "%d:%d", &dest_client, &dest_port) != 2) {
    return nullptr;
  }
  Sequencer seq(OpenSequencer());
  if (!seq) return nullptr;
  const int port = snd_seq_create_simple_port(
      seq.get(), "out", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (port < 0 || snd_seq_connect_to(seq.get(), port, dest_client, dest_port) < 0) {
    return nullptr;
  }
  return std::make_unique<AlsaSink>(std::move(seq), port, dest_client, dest_port);
}

}  // namespace melodane::on_linux
