# The real program on a virtual desktop, on Linux or under Wine (MELODANE_PLATFORM): keys
# typed into another program play, the window waits in the notification area, the
# choices survive a restart, a second copy ends at once.
#   test_program.py --list <linux|win32>   names the tests of that platform
#   test_program.py -v <Class.test>        runs one

import os
import signal
import sys
import time
import unittest
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import rig  # noqa: E402

WINDOWS = os.environ.get("MELODANE_PLATFORM") == "win32"
# Stopped from outside (a time-out), a test still runs its clean-ups: no server outlives it.
signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))


class Rig(unittest.TestCase):
    # A desktop for the test, and the program started on it.

    def desktop(self, tray=False, jack=False):
        self.rig = rig.WineDesktop() if WINDOWS else rig.LinuxDesktop(tray=tray)
        self.addCleanup(self.rig.close)
        self.midi = rig.Jack(self.rig) if jack and not WINDOWS else self.rig
        if self.midi is not self.rig:
            self.addCleanup(self.midi.close)

    def start(self, settings=None, **kwargs):
        if settings:
            self.rig.store_settings(settings)
        program = rig.Melodane(self.rig, **kwargs)
        self.assertTrue(program.window(), "no window")
        return program


class Program(Rig):
    # What every platform's program shows.

    def test_keys_typed_in_another_program_play_about_twenty_times_a_second(self):
        # Entry 1: the first JACK port, or the first Windows device.
        self.desktop(jack=True)
        self.start({"Stage": "0", "Vol": "100", "Devies": "1", "Tools": "0"})
        self.assertTrue(rig.wait_for(lambda: len(self.midi.midi_messages()) >= 2), "no instrument")
        self.rig.other_program()
        before = len(self.midi.midi_messages())
        self.rig.hold("a", 1.0)
        time.sleep(0.2)  # four ticks more, to see that a released key plays no more
        notes = [m for m in self.midi.midi_messages()[before:] if m[0] == 0x90]
        self.assertTrue(16 <= len(notes) <= 24, f"{len(notes)} notes in one second")
        for note in notes:
            self.assertTrue(note[1] == 70 and 100 <= note[2] <= 109, note)

    def test_a_second_copy_ends_at_once_and_minimizing_hides_to_the_icon_a_click_restores(self):
        self.desktop(tray=True)
        program = self.start({"Vol": "sentinel"})
        window = program.window()
        self.assertEqual(rig.Melodane(self.rig).wait(10), 0, "the second copy did not end at once")
        self.assertEqual(self.rig.windows("^Melodane$"), [window])
        self.assertEqual(self.rig.stored_settings()["Vol"], "sentinel", "touched by the second")
        for button in (1, 3):
            self.rig.run(["xdotool", "windowminimize", window])
            # Withdrawn: hidden by the program, not just minimized.
            self.assertTrue(rig.wait_for(lambda: self.rig.wm_state(window) == "Withdrawn"))
            self.rig.click_icon(button)
            self.assertTrue(rig.wait_for(program.visible), f"button {button} did not restore it")
        self.assertEqual(program.close_by_window_manager(), 0)

    def test_the_choices_made_survive_a_restart(self):
        self.desktop(jack=True)
        program = self.start()
        window = program.window()
        # Through the access keys: the start-at-logon option off, the next device (the
        # first JACK port, or the first Windows device), tone and instrument, the volume
        # down by three. At a typist's pace: a check box's access key clicks it a moment
        # later.
        self.rig.activate(window)
        self.rig.run(["xdotool", "key", "--delay", "150", "alt+r", "alt+d", "Down", "alt+t",
                      "Down", "alt+i", "Down", "alt+v", "Left", "Left", "Left"])
        # The device chosen is opened, and takes the instrument chosen after it (and the
        # notes of the keys typed since, the program's own included).
        def instruments():
            return [m[:2] for m in self.midi.midi_messages() if m[0] != 0x90]
        self.assertTrue(rig.wait_for(lambda: instruments() == [[0xB0, 0], [0xC0, 1]]),
                        instruments())
        # A picture of the window: 6840 x 3796 twips at 96 dots per inch.
        artifacts = os.environ.get("MELODANE_ARTIFACTS", self.rig.folder)
        os.makedirs(artifacts, exist_ok=True)
        self.rig.run(["import", "-frame", "-window", window, os.path.join(
            artifacts, ("win32" if WINDOWS else "linux") + "-main-window.png")])
        self.assertIn("Geometry: 456x253", self.rig.run(["xdotool", "getwindowgeometry", window]))
        self.assertEqual(program.close_by_window_manager(), 0)
        expected = {"Vol": "97", "Stage": "1", "Devies": "1", "Tools": "1", "AutoRun": "False",
                    "Tray": "False"}
        self.assertEqual(self.rig.stored_settings(), expected)
        program = self.start()
        if WINDOWS:
            self.assertEqual(program.close_by_window_manager(), 0)
        else:  # the end of the session closes the window as the user would
            program.process.terminate()
            self.assertEqual(program.wait(), 0)
        self.assertEqual(self.rig.stored_settings(), expected)
        self.assertEqual(len(instruments()), 4, "the instrument at the second start")

    def test_closing_writes_the_start_at_logon_entry_that_follows_the_program_and_the_box(self):
        self.desktop()
        self.rig.remove_run_entry()
        self.assertEqual(self.start().close_by_window_manager(), 0)  # a first start
        self.assertEqual(self.rig.run_entry(), self.rig.expected_run_entry(rig.PROGRAM))
        # Removed by hand, and the program moved to a folder with a blank in its name.
        self.rig.remove_run_entry()
        moved = self.rig.copy_program("my $apps")
        program = rig.Melodane(self.rig, moved)
        self.assertTrue(program.window())
        self.assertEqual(program.close_by_window_manager(), 0)
        self.assertEqual(self.rig.run_entry(), self.rig.expected_run_entry(moved))
        if not WINDOWS:  # the entry's command line starts the program
            program = rig.Melodane(self.rig, command=self.rig.run_entry())
            self.assertTrue(program.window())
            self.assertEqual(program.close_by_window_manager(), 0)
        for _ in range(2):  # cleared: gone, whether it was there or not
            self.assertEqual(self.start({"AutoRun": "False"}).close_by_window_manager(), 0)
            self.assertIsNone(self.rig.run_entry())

    def test_a_new_version_accepted_opens_the_update_then_the_download_and_ends_at_once(self):
        self.desktop()
        opened = self.rig.url_handler()
        self.rig.version_site("older")
        program = self.start()
        window = program.window()
        # The Help picture, then "Check Latest Version", the fifth item; OK on the question.
        self.rig.run(["xdotool", "mousemove", "--window", window, "434", "231", "click", "1"])
        self.rig.run(["xdotool", "key", "--delay", "150", *["Down"] * 5, "Return"])
        box = rig.wait_for(lambda: [w for w in self.rig.windows("^Melodane$") if w != window], 15)
        self.assertTrue(box, "no question")
        self.rig.activate(box[0])
        self.rig.run(["xdotool", "key", "Return"])
        self.assertEqual(program.wait(), 0)
        site = self.rig.env["MELODANE_SITE_BASE"]
        rig.wait_for(lambda: len(opened()) == 2)
        self.assertEqual(opened(), [f"{site}/melodane.htm?selectedTab=updates",
                                    f"{site}/files/melodane.zip"])
        self.assertEqual(self.rig.stored_settings(), {}, "the closing steps ran")
        self.assertIsNone(self.rig.run_entry())

@unittest.skipIf(WINDOWS, "Linux only")
class LinuxProgram(Rig):

    def sounding(self, jack=False):
        # A PulseAudio server of the test's, and the program playing to the built-in
        # synthesizer or, with `jack`, to the first JACK port; its stderr in self.errors.
        self.desktop(jack=jack)
        pulse = rig.Pulse(self.rig)
        self.addCleanup(pulse.close)
        self.errors = os.path.join(self.rig.folder, "stderr.txt")
        with open(self.errors, "w") as errors:
            program = self.start({"Stage": "0", "Vol": "100", "Devies": str(int(jack)),
                                  "Tools": "0"}, stderr=errors)
        return pulse, program

    def recorded(self, pulse, action):
        # What the null sink played while `action` ran: one channel's samples, and the rate.
        import numpy

        path = os.path.join(self.rig.folder, "recording.wav")
        recorder = pulse.record(path)
        self.assertTrue(rig.wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 44))
        action()
        recorder.send_signal(signal.SIGINT)
        recorder.wait(5)
        with wave.open(path) as w:
            samples = numpy.frombuffer(w.readframes(w.getnframes()), numpy.int16)
            return samples[::w.getnchannels()], w.getframerate()

    def type_storm(self, program, seconds):
        # A thousand keys a second, in bursts of fifty: the rate reached, and the share of
        # a core the program used meanwhile.
        burst, sent, cpu, start = list("qwertyuiop") * 5, 0, program.usage()[0], time.monotonic()
        while time.monotonic() - start < seconds:
            self.rig.run(["xdotool", "key", "--delay", "0", *burst])
            sent += len(burst)
            time.sleep(max(0.0, start + sent / 1000 - time.monotonic()))
        took = time.monotonic() - start
        return sent / took, (program.usage()[0] - cpu) / took

    def test_the_built_in_synthesizer_plays_the_a_key_at_466_hertz(self):
        import numpy

        pulse = self.sounding()[0]
        # Open, but silent: nothing goes to the sound server until a note sounds.
        self.assertTrue(rig.wait_for(lambda: not pulse.playing()))
        self.rig.other_program()

        def play():
            self.rig.hold("a", 1.5)
            self.assertTrue(pulse.playing())
            time.sleep(1.0)  # a second more of the notes sounding on
        samples, rate = self.recorded(pulse, play)
        self.assertGreater(len(samples), rate, "less than a second was recorded")
        # A#4, not a neighbour a semitone away.
        times = numpy.arange(len(samples)) / rate
        power = {f: abs(numpy.dot(samples, numpy.exp(-2j * numpy.pi * f * times)))
                 for f in (440.0, 466.16, 493.88)}
        self.assertGreater(power[466.16], 5 * max(power[440.0], power[493.88]), power)

    def test_a_minute_of_a_thousand_keys_a_second_costs_under_half_a_core_and_no_memory(self):
        pulse, program = self.sounding()
        self.rig.other_program()
        self.type_storm(program, 5)  # a warm-up
        memory = program.usage()[1]
        rate, share = self.type_storm(program, 55)
        print(f"{rate:.0f} keys a second: {share:.1%} of a core, {memory} KiB resident, then "
              f"{program.usage()[1]} KiB", file=sys.stderr)
        self.assertTrue(pulse.playing(), "the keys played")
        self.assertLess(share, 0.5)
        self.assertLess(program.usage()[1] - memory, 4096, "KiB more")
        self.assertEqual(program.close_by_window_manager(), 0)

    def test_notes_to_servers_that_died_are_dropped_quietly_and_play_once_one_is_back(self):
        pulse, program = self.sounding(jack=True)
        other = self.rig.other_program()
        self.rig.hold("a", 0.3)
        self.assertTrue(self.midi.midi_messages(), "the port played")
        self.midi.server.kill()
        share = self.type_storm(program, 3)[1]
        self.assertLess(share, 0.1)
        # The window takes another device: the synthesizer, whose sound server dies too.
        self.rig.activate(program.window())
        self.rig.run(["xdotool", "key", "--delay", "150", "alt+d", "Up"])
        self.rig.activate(other)
        self.rig.hold("a", 0.3)
        self.assertTrue(rig.wait_for(pulse.playing))
        pulse.kill()
        share = self.type_storm(program, 3)[1]
        self.assertLess(share, 0.1)
        samples = self.recorded(rig.Pulse(self.rig), lambda: self.rig.hold("a", 1.5))[0]
        self.assertGreater(abs(samples).max(), 1000, "silence once the server is back")
        self.assertEqual(program.close_by_window_manager(), 0)
        self.assertEqual(rig.read_lines(self.errors), [])

    def test_when_the_x_server_dies_the_program_ends_at_once_with_its_settings_whole(self):
        program = self.sounding()[1]
        stored = self.rig.stored_settings()
        self.rig.other_program()
        self.rig.start(["xdotool", "key", "--delay", "1", *list("qwertyuiop") * 100])
        time.sleep(0.3)  # notes sounding
        self.rig.kill_display()
        code = program.wait(1.0)
        # Without its display the program cannot go on; ended by a signal, it crashed.
        self.assertIsNotNone(code)
        self.assertGreaterEqual(code, 0)
        self.assertIn(self.rig.stored_settings(),
                      (stored, dict(stored, AutoRun="True", Tray="False")))


if __name__ == "__main__":
    if sys.argv[1:2] == ["--list"]:
        tests = [Program] + [LinuxProgram] * (sys.argv[2] == "linux")
        loader = unittest.TestLoader()
        print("\n".join(f"{c.__name__}.{t}" for c in tests for t in loader.getTestCaseNames(c)))
    else:
        unittest.main()
