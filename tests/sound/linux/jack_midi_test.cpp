#include "sound/linux/jack_midi.h"

#include <gtest/gtest.h>

#include "sound/linux/private_jack_server.h"

namespace melodane::on_linux {
namespace {

TEST(JackMidiTest, APortWhoseServerDiedReportsItselfClosedAndTakesOnlyWholeMessages) {
  PrivateJackServer jack;
  jack_client_t* listener = jack_client_open("listener", JackNoStartServer, nullptr);
  ASSERT_TRUE(listener);
  jack_port_register(listener, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  ASSERT_EQ(jack_activate(listener), 0);
  JackMidi system;
  auto port = system.Open({"listener:in", "listener:in"});
  ASSERT_TRUE(port);
  const std::uint8_t message[4] = {0x90, 70, 100, 0};
  EXPECT_TRUE(port->Send(message, 3));
  EXPECT_FALSE(port->Send(message, 0));
  EXPECT_FALSE(port->Send(message, 4));
  jack.Kill();
  EXPECT_TRUE(Eventually([&] { return !port->Send(message, 3); }));
  port.reset();
  jack_client_close(listener);
}

}  // namespace
}  // namespace melodane::on_linux
