#!/usr/bin/python3
"""Figures for the Linux program on this machine, in one run: idle CPU and memory with the
built-in synthesizer open and the window hidden, the time from a key going down to its
note sounding, the synthesizer's buffer and the cost of its first note after a pause, and
the start-up time to the window shown.

    bench.py <melodane> <synth_bench> <key_to_sound> [idle seconds]"""

import glob
import os
import re
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "tests", "e2e"))
import rig  # noqa: E402

PROGRAM, SYNTH_BENCH, KEY_TO_SOUND = (os.path.abspath(a) for a in sys.argv[1:4])
IDLE_SECONDS = float(sys.argv[4]) if len(sys.argv) > 4 else 60


def cpu_and_wakeups(pid):
    # Seconds on a CPU, and times a thread went to sleep of its own accord, over all threads.
    seconds = wakeups = 0
    for task in glob.glob(f"/proc/{pid}/task/*"):
        seconds += int(open(f"{task}/schedstat").read().split()[0]) / 1e9
        for line in open(f"{task}/status"):
            if line.startswith("voluntary_ctxt_switches:"):
                wakeups += int(line.split()[1])
    return seconds, wakeups


def rss_megabytes(pid, kind="VmRSS"):
    # VmRSS, or its parts: RssAnon (the heap, stacks), RssFile (mapped files and code).
    for line in open(f"/proc/{pid}/status"):
        if line.startswith(kind + ":"):
            return int(line.split()[1]) / 1024
    return 0


def main():
    desktop = rig.LinuxDesktop(tray=True)
    pulse = rig.Pulse(desktop)
    try:
        print(f"Melodane on Linux, {os.cpu_count()} cores; goals in brackets")
        print(desktop.run([SYNTH_BENCH], check=False, timeout=120).rstrip())

        # Start-up: from the command to the window on the screen, soundfont in the page cache.
        times = []
        for _ in range(5):
            desktop.store_settings({"Tray": "False"})
            start = time.monotonic()
            program = rig.Melodane(desktop, PROGRAM)
            shown = rig.wait_for(lambda: desktop.windows(name="^Melodane$", visible=True), 20,
                                 step=0.005)
            times.append((time.monotonic() - start) * 1000)
            assert shown, "no window"
            program.close_by_window_manager()
        print(f"start-up to the window shown     : {statistics.median(times):7.0f} ms "
              f"(median of 5; first {times[0]:.0f} ms) [<= 250 ms]")

        # Idle: started hidden in the notification area, the synthesizer open, nobody typing.
        desktop.store_settings({"Tray": "True", "Devies": "0"})
        program = rig.Melodane(desktop, PROGRAM)
        pid = program.process.pid
        assert rig.wait_for(lambda: not pulse.playing(), 15), "no pause"
        time.sleep(2)
        # Twice: the soundfont leaves memory during the first stretch, the second is at rest.
        rss = []
        for stretch in ("first", "next"):
            (cpu, wakeups), start = cpu_and_wakeups(pid), time.monotonic()
            while time.monotonic() - start < IDLE_SECONDS:
                time.sleep(1)
                rss.append(rss_megabytes(pid))
            elapsed = time.monotonic() - start
            cpu_after, wakeups_after = cpu_and_wakeups(pid)
            # The same work costs more on a busy machine: its load is part of the figure.
            print(f"{f'idle CPU, {stretch} {IDLE_SECONDS:.0f} s':33}: "
                  f"{(cpu_after - cpu) / elapsed * 100:7.2f} % of a core [<= 0.2 %] "
                  f"({(wakeups_after - wakeups) / elapsed:.0f} wake-ups a second; "
                  f"load average {os.getloadavg()[0]:.1f})")
        print(f"idle memory (RSS)                : {rss[-1]:7.1f} MB [<= 45 MB] "
              f"(most {max(rss):.1f} before the soundfont left; "
              f"heap and stacks {rss_megabytes(pid, 'RssAnon'):.1f}, "
              f"files {rss_megabytes(pid, 'RssFile'):.1f})")

        # Keys typed into another program, the recording taken from the sink's monitor.
        desktop.other_program()
        print(desktop.run([KEY_TO_SOUND, "melodane_test"], check=False, timeout=600).rstrip())
        # Half a minute after the output closed, the soundfont leaves memory as well.
        print("once the soundfont has left memory (31 s without a note):")
        print(desktop.run([KEY_TO_SOUND, "melodane_test", "3", "1", "31"], check=False,
                          timeout=600).rstrip())

        # While notes play: the sound server's view of the stream's buffer.
        desktop.run(["xdotool", "keydown", "a"])
        time.sleep(0.5)
        text = desktop.run(["pactl", "list", "sink-inputs"])
        desktop.run(["xdotool", "keyup", "a"])
        buffer = re.search(r"Buffer Latency: (\d+) usec", text)
        sink = re.search(r"Sink Latency: (\d+) usec", text)
        if buffer:
            print(f"playing: stream buffer           : {int(buffer.group(1)) / 1000:7.1f} ms "
                  f"[<= 12 ms] (sink {int(sink.group(1)) / 1000 if sink else 0:.1f} ms)")
        print(f"playing: memory (RSS)            : {rss_megabytes(pid):7.1f} MB")
        program.process.terminate()
        program.wait()
        print("peers (bucklespring, vmpk): not run here; they play a sound for every key "
              "typed, which this project's clean-room rule keeps off the machine")
    finally:
        pulse.close()
        desktop.close()


if __name__ == "__main__":
    main()
