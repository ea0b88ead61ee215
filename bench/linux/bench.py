#!/usr/bin/python3
"""Figures for the Linux program on this machine, in one run: idle CPU and memory with the
built-in synthesizer open and the window hidden, the synthesizer's buffer and the cost of
its first note after a pause, and the start-up time to the window shown.

    bench.py <melodane> <synth_bench> [idle seconds]"""

import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "tests", "e2e"))
import rig  # noqa: E402

PROGRAM, SYNTH_BENCH = sys.argv[1], sys.argv[2]
IDLE_SECONDS = float(sys.argv[3]) if len(sys.argv) > 3 else 60
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")
rig.PROGRAM = PROGRAM


def cpu_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND


def rss_megabytes(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmRSS:"):
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
            program = desktop.program()
            shown = rig.wait_for(lambda: desktop.windows(name="^Melodane$", visible=True), 20,
                                 step=0.005)
            times.append((time.monotonic() - start) * 1000)
            assert shown, "no window"
            program.close_by_window_manager()
        print(f"start-up to the window shown     : {statistics.median(times):7.0f} ms "
              f"(median of 5; first {times[0]:.0f} ms) [<= 250 ms]")

        # Idle: started hidden in the notification area, the synthesizer open, nobody typing.
        desktop.store_settings({"Tray": "True", "Devies": "0"})
        program = desktop.program()
        pid = program.process.pid
        assert rig.wait_for(lambda: not pulse.playing(), 15), "no pause"
        time.sleep(2)
        before, start = cpu_seconds(pid), time.monotonic()
        time.sleep(IDLE_SECONDS)
        idle = (cpu_seconds(pid) - before) / (time.monotonic() - start) * 100
        print(f"idle CPU over {IDLE_SECONDS:.0f} s                 : {idle:7.2f} % of a core [<= 0.5 %]")
        print(f"idle memory (RSS)                : {rss_megabytes(pid):7.1f} MB [<= 50 MB]")

        # While notes play: the sound server's view of the stream's buffer.
        desktop.other_program()
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
