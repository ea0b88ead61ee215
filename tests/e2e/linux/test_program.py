"""The real Linux program on a virtual desktop: keys typed into another window play,
the window waits in the notification area, settings survive a restart."""

import os
import signal
import sys
import time
import unittest
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import rig  # noqa: E402

ARTIFACTS = os.environ.get("MELODANE_ARTIFACTS", os.getcwd())


class BuiltInSynthesizer(unittest.TestCase):
    """Typing into an xterm makes the built-in synthesizer sound, at the note's pitch."""

    def setUp(self):
        self.desktop = rig.Desktop()
        self.addCleanup(self.desktop.close)
        self.pulse = rig.Pulse(self.desktop)
        self.addCleanup(self.pulse.close)
        self.desktop.store_settings({"Stage": "0", "Vol": "100", "Devies": "0", "Tools": "0"})
        self.program = rig.Melodane(self.desktop)
        self.addCleanup(self.program.stop)
        self.assertTrue(self.program.window(), "no window")

    def test_the_a_key_sounds_at_466_hertz(self):
        import numpy

        self.desktop.other_window()
        path = os.path.join(self.desktop.folder, "recording.wav")
        recorder = self.pulse.record(path)
        time.sleep(0.5)
        self.desktop.hold("a", 1.5)
        time.sleep(1.0)
        recorder.send_signal(signal.SIGINT)
        recorder.wait(5)
        with wave.open(path) as w:
            rate, channels = w.getframerate(), w.getnchannels()
            data = numpy.frombuffer(w.readframes(w.getnframes()), dtype=numpy.int16)
        samples = data.reshape(-1, channels)[:, 0].astype(float)
        self.assertGreater(len(samples), rate, "less than a second was recorded")
        self.assertGreater(numpy.sqrt((samples ** 2).mean()), 100, "silence was recorded")
        spectrum = numpy.abs(numpy.fft.rfft(samples * numpy.hanning(len(samples))))
        frequencies = numpy.fft.rfftfreq(len(samples), 1 / rate)
        audible = (frequencies > 100) & (frequencies < 2000)
        peak = frequencies[audible][numpy.argmax(spectrum[audible])]
        # A third of a semitone either way: the neighbouring notes are 27 Hz away.
        self.assertAlmostEqual(peak, 466.16, delta=9, msg=f"peak at {peak:.1f} Hz")

    def test_the_output_closes_while_nothing_sounds(self):
        # No key typed: the synthesizer is open but sends the sound server nothing.
        self.assertTrue(rig.wait_for(lambda: "Sink Input" not in self.pulse.sink_inputs(), 10))
        self.desktop.other_window()
        self.desktop.tap("a")
        self.assertTrue(rig.wait_for(lambda: "Sink Input" in self.pulse.sink_inputs(), 5))


class JackMidiPort(unittest.TestCase):
    """With a JACK MIDI port chosen, the notes reach it: jack_midi_dump shows them."""

    def setUp(self):
        self.desktop = rig.Desktop()
        self.addCleanup(self.desktop.close)
        self.jack = rig.Jack(self.desktop)
        # The built-in synthesizer is entry 0; no ALSA sequencer here; then JACK's ports.
        self.desktop.store_settings({"Stage": "0", "Vol": "100", "Devies": "1", "Tools": "0"})
        self.program = rig.Melodane(self.desktop)
        self.addCleanup(self.program.stop)
        self.assertTrue(self.program.window(), "no window")
        self.assertTrue(rig.wait_for(lambda: len(self.jack.messages()) >= 2), "no instrument")
        self.desktop.other_window()
        self.before = len(self.jack.messages())

    def notes(self):
        time.sleep(0.3)
        return [m for m in self.jack.messages()[self.before:] if m[0] == 0x90]

    def test_start_up_sends_the_instrument(self):
        self.assertEqual(self.jack.messages()[:2], [[0xB0, 0, 0], [0xC0, 0]])

    def test_a_held_key_plays_about_twenty_times_a_second(self):
        self.desktop.hold("a", 1.0)
        notes = self.notes()
        self.assertTrue(16 <= len(notes) <= 24, f"{len(notes)} notes in one second")
        for note in notes:
            self.assertEqual(note[1], 70)
            self.assertTrue(100 <= note[2] <= 109, note)

    def test_a_tap_between_ticks_plays_once(self):
        self.desktop.tap("a")
        self.assertEqual([n[1] for n in self.notes()], [70])

    def test_a_and_b_together_play_in_code_order(self):
        self.desktop.run(["xdotool", "keydown", "a", "keydown", "b"])
        time.sleep(0.5)
        self.desktop.run(["xdotool", "keyup", "a", "keyup", "b"])
        notes = self.notes()
        pairs = [(notes[i], notes[i + 1]) for i in range(len(notes) - 1)
                 if notes[i][1] == 70 and notes[i + 1][1] == 71]
        self.assertGreaterEqual(len(pairs), 6)
        for first, second in pairs:
            self.assertEqual(first[2], second[2], "one velocity per tick")

    def test_shift_plays_its_generic_code_and_semicolon_nothing(self):
        self.desktop.hold("Shift_R", 0.3)
        self.desktop.hold("semicolon", 0.3)
        notes = self.notes()
        self.assertTrue(notes)
        self.assertEqual({n[1] for n in notes}, {71})


class NotificationArea(unittest.TestCase):

    def start(self, tray, settings=None):
        self.desktop = rig.Desktop(tray=tray)
        self.addCleanup(self.desktop.close)
        if settings:
            self.desktop.store_settings(settings)
        self.program = rig.Melodane(self.desktop)
        self.addCleanup(self.program.stop)

    def test_minimize_hides_to_the_icon_and_a_click_restores(self):
        self.start(tray=True)
        window = self.program.window()
        self.assertTrue(window)
        self.desktop.run(["xdotool", "windowminimize", window])
        self.assertTrue(rig.wait_for(lambda: not self.program.visible()))
        self.assertEqual(self.program.wm_state(window), "Withdrawn", "hidden, not minimized")
        # The icon sits in trayer, at the top right of the screen.
        self.desktop.run(["xdotool", "mousemove", "1264", "16", "click", "1"])
        self.assertTrue(rig.wait_for(self.program.visible), "the click did not restore it")
        self.assertEqual(self.program.close_by_window_manager(), 0)

    def test_starting_with_the_tray_option_ends_hidden(self):
        self.start(tray=True, settings={"Tray": "True"})
        window = self.program.window(visible=False)
        self.assertTrue(window)
        time.sleep(1)
        self.assertFalse(self.program.visible())
        self.desktop.run(["xdotool", "mousemove", "1264", "16", "click", "3"])
        self.assertTrue(rig.wait_for(self.program.visible), "the right click did not restore it")

    def test_without_a_notification_area_minimize_keeps_the_window_reachable(self):
        self.start(tray=False)
        window = self.program.window()
        self.desktop.run(["xdotool", "windowminimize", window])
        self.assertTrue(rig.wait_for(lambda: self.program.wm_state(window) == "Iconic"),
                        self.program.wm_state(window))
        self.desktop.run(["xdotool", "windowactivate", "--sync", window])
        self.assertTrue(rig.wait_for(self.program.visible))


class Lifecycle(unittest.TestCase):

    def setUp(self):
        self.desktop = rig.Desktop()
        self.addCleanup(self.desktop.close)

    def start(self):
        program = rig.Melodane(self.desktop)
        self.addCleanup(program.stop)
        return program

    def test_closing_stores_the_choices_and_the_next_start_restores_them(self):
        program = self.start()
        window = program.window()
        self.desktop.run(["xdotool", "windowactivate", "--sync", window])
        # Alt+V, then the volume down by three; Alt+R clears the start-at-logon option.
        self.desktop.run(["xdotool", "key", "alt+v", "Left", "Left", "Left", "alt+r"])
        time.sleep(0.5)
        self.assertEqual(program.close_by_window_manager(), 0)
        self.assertEqual(self.desktop.stored_settings(),
                         {"Vol": "97", "Stage": "0", "Devies": "0", "Tools": "0",
                          "AutoRun": "False", "Tray": "False"})
        again = self.start()
        self.assertTrue(again.window())
        self.assertEqual(again.close_by_window_manager(), 0)
        self.assertEqual(self.desktop.stored_settings()["Vol"], "97")
        self.assertEqual(self.desktop.stored_settings()["AutoRun"], "False")

    def test_bad_stored_values_leave_their_controls_and_the_rest_apply(self):
        self.desktop.store_settings({"Vol": "loud", "Stage": "40000", "Devies": "9",
                                     "Tools": "70", "AutoRun": "true", "Tray": "False"})
        program = self.start()
        self.assertTrue(program.window())
        self.assertEqual(program.close_by_window_manager(), 0)
        self.assertEqual(self.desktop.stored_settings(),
                         {"Vol": "0", "Stage": "-1", "Devies": "-1", "Tools": "70",
                          "AutoRun": "False", "Tray": "False"})

    def test_a_second_copy_ends_at_once(self):
        first = self.start()
        self.assertTrue(first.window())
        second = self.start()
        self.assertEqual(second.wait(5), 0, "the second copy did not end at once")
        self.assertEqual(self.desktop.run(["xdotool", "search", "--pid", str(second.process.pid)],
                                          check=False), "", "the second copy made a window")
        self.assertIsNone(first.process.poll())
        self.assertTrue(first.visible())

    def test_the_end_of_the_session_stores_the_settings(self):
        program = self.start()
        self.assertTrue(program.window())
        program.process.terminate()
        self.assertEqual(program.wait(), 0)
        self.assertEqual(self.desktop.stored_settings()["AutoRun"], "True")

    def test_picture_of_the_window(self):
        program = self.start()
        window = program.window()
        time.sleep(1)
        path = os.path.join(ARTIFACTS, "linux-main-window.png")
        os.makedirs(ARTIFACTS, exist_ok=True)
        self.desktop.run(["import", "-frame", "-window", window, path])
        geometry = self.desktop.run(["xdotool", "getwindowgeometry", window])
        self.assertIn("Geometry: 456x253", geometry)
        self.assertTrue(os.path.getsize(path) > 1000)


if __name__ == "__main__":
    unittest.main()
