"""The Linux program on a virtual desktop: Xvfb with openbox, and on demand a tray host,
a PulseAudio server with a null sink, a JACK server with its dummy backend, and an
xterm to type into. Each rig has private XDG folders, so tests never touch the
user's own settings."""

import configparser
import os
import random
import re
import shutil
import signal
import subprocess
import tempfile
import time

PROGRAM = os.environ.get("MELODANE_BIN", "melodane")


def wait_for(condition, timeout=10.0, step=0.05):
    """Polls `condition` until it gives something true or `timeout` passes."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(step)


class Desktop:
    def __init__(self, tray=False):
        self.folder = tempfile.mkdtemp(prefix="melodane-e2e-")
        self.processes = []
        try:
            self._start(tray)
        except BaseException:
            self.close()
            raise

    def _start(self, tray):
        runtime = os.path.join(self.folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        os.makedirs(os.path.join(self.folder, "config"))
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime,
                        XDG_CONFIG_HOME=os.path.join(self.folder, "config"),
                        QT_QPA_PLATFORM="xcb", PULSE_SERVER="unix:" + runtime + "/pulse/native")
        self._start_x_server()
        self.env.pop("MELODANE_AUDIO_DRIVER", None)
        for _ in range(3):
            openbox = self.start(["openbox"])
            if wait_for(lambda: openbox.poll() is not None or "window id" in self.run(
                    ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False), 10) \
                    and openbox.poll() is None:
                break
        else:
            raise AssertionError("no window manager")

        if tray:
            self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                        "--height", "32", "--SetDockType", "true"])
            assert wait_for(lambda: self.windows(class_name="trayer")), "trayer did not start"

    def _start_x_server(self):
        """Xvfb on a display number that no other server uses (no lock file, no socket)."""
        for _ in range(5):
            number = next(n for n in (random.randrange(100, 1000) for _ in range(100))
                          if not os.path.exists(f"/tmp/.X{n}-lock")
                          and not os.path.exists(f"/tmp/.X11-unix/X{n}"))
            self.env["DISPLAY"] = f":{number}"
            xvfb = subprocess.Popen(["Xvfb", self.env["DISPLAY"], "-screen", "0",
                                     "1280x1024x24", "-nolisten", "tcp"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if wait_for(lambda: xvfb.poll() is not None or subprocess.run(
                    ["xdpyinfo"], env=self.env, capture_output=True).returncode == 0) \
                    and xvfb.poll() is None:
                self.processes.append(xvfb)
                return
            xvfb.kill()
            xvfb.wait()
        raise AssertionError("Xvfb did not start")

    def start(self, command, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(command, env=self.env, **kwargs)
        self.processes.append(process)
        return process

    def run(self, command, check=True, timeout=30):
        result = subprocess.run(command, env=self.env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{command}: {result.stderr}")
        return result.stdout

    def windows(self, name=None, class_name=None, visible=False):
        command = ["xdotool", "search"]
        if visible:
            command.append("--onlyvisible")
        command += ["--class", class_name] if class_name else ["--name", name]
        return self.run(command, check=False).split()

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

    # --- the settings file -------------------------------------------------------
    @property
    def settings_file(self):
        return os.path.join(self.env["XDG_CONFIG_HOME"], "melodane", "BWSMD.ini")

    def store_settings(self, values):
        os.makedirs(os.path.dirname(self.settings_file), exist_ok=True)
        with open(self.settings_file, "w") as f:
            f.write("[Value]\n")
            for key, value in values.items():
                f.write(f"{key}={value}\n")

    def stored_settings(self):
        parser = configparser.ConfigParser()
        parser.optionxform = str
        parser.read(self.settings_file)
        return dict(parser["Value"]) if parser.has_section("Value") else {}

    # --- typing somewhere else ---------------------------------------------------
    def other_window(self):
        """An xterm that has the focus."""
        self.start(["xterm", "-geometry", "60x10+700+600", "-title", "other"])
        window = wait_for(lambda: self.windows(class_name="xterm", visible=True))
        assert window, "xterm did not start"
        self.run(["xdotool", "windowactivate", "--sync", window[0]])
        time.sleep(0.2)
        return window[0]

    def hold(self, key, seconds):
        self.run(["xdotool", "keydown", key])
        time.sleep(seconds)
        self.run(["xdotool", "keyup", key])

    def tap(self, key):
        # Pressed and released at once: `xdotool key` waits between the two, long enough
        # at times for a tick to see the key down.
        self.run(["xdotool", "keydown", key, "keyup", key])


class Melodane:
    """The program under test."""

    def __init__(self, desktop, extra_env=None):
        self.desktop = desktop
        env = dict(desktop.env, **(extra_env or {}))
        self.log = open(os.path.join(desktop.folder, "melodane.log"), "w")
        self.process = subprocess.Popen([PROGRAM], env=env, stdout=self.log,
                                        stderr=subprocess.STDOUT)

    def window(self, visible=True, timeout=15):
        found = wait_for(lambda: self.process.poll() is None and
                         self.desktop.windows(name="^Melodane$", visible=visible), timeout)
        return found[0] if found else None

    def visible(self):
        return bool(self.desktop.windows(name="^Melodane$", visible=True))

    def wm_state(self, window):
        """Normal, Iconic, or Withdrawn (what a window hidden by its program is)."""
        text = self.desktop.run(["xprop", "-id", window, "WM_STATE"], check=False)
        match = re.search(r"window state: (\w+)", text)
        return match.group(1) if match else "Withdrawn"

    def close_by_window_manager(self):
        window = self.window()
        self.desktop.run(["xdotool", "windowactivate", "--sync", window])
        self.desktop.run(["xdotool", "key", "--clearmodifiers", "alt+F4"])
        return self.wait()

    def wait(self, timeout=15):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        # As the session's end would: the program closes its ports and servers see it go.
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


class Pulse:
    """A PulseAudio server with one null sink whose monitor records what plays."""

    def __init__(self, desktop):
        self.desktop = desktop
        desktop.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "-n",
                     "--load=module-null-sink sink_name=melodane_test",
                     "--load=module-native-protocol-unix"])
        if not wait_for(lambda: subprocess.run(["pactl", "info"], env=desktop.env,
                                               capture_output=True).returncode == 0):
            self.close()
            raise AssertionError("PulseAudio did not start")

    def record(self, path):
        # A short latency, so that little is lost in parecord's buffers when it stops.
        return self.desktop.start(["parecord", "--device=melodane_test.monitor",
                                   "--latency-msec=20", "--file-format=wav", path])

    def sink_inputs(self):
        return self.desktop.run(["pactl", "list", "sink-inputs"], check=False)

    def close(self):
        subprocess.run(["pulseaudio", "--kill"], env=self.desktop.env, capture_output=True)


class Jack:
    """A JACK server with its dummy backend, and jack_midi_dump listening."""

    def __init__(self, desktop):
        self.desktop = desktop
        # One server per user: one still closing from an earlier test must be gone first.
        assert wait_for(lambda: not self.running(), 10), "another JACK server runs"
        log = os.path.join(desktop.folder, "jackd.log")
        for _ in range(3):
            server = desktop.start(["jackd", "--no-realtime", "-d", "dummy", "-r", "48000",
                                    "-p", "256"], stdout=open(log, "a"), stderr=subprocess.STDOUT)
            if wait_for(lambda: server.poll() is not None or self.running(), 15) \
                    and server.poll() is None:
                break
            # A server killed before it could clean up leaves its shared memory behind.
            server.kill()
            server.wait()
            for name in os.listdir("/dev/shm"):
                if name.startswith(("jack_default", "jack-", "jack_sem")):
                    shutil.rmtree(os.path.join("/dev/shm", name), ignore_errors=True)
                    if os.path.exists(os.path.join("/dev/shm", name)):
                        os.remove(os.path.join("/dev/shm", name))
        else:
            raise AssertionError("the JACK server did not start: " + open(log).read()[-500:])
        self.dump_path = os.path.join(desktop.folder, "midi-dump.txt")
        self.dump_file = open(self.dump_path, "w")
        # Line by line, so that each message is in the file as soon as it is printed.
        desktop.start(["stdbuf", "-oL", "jack_midi_dump"], stdout=self.dump_file)
        assert wait_for(lambda: "midi-monitor:input" in desktop.run(["jack_lsp"], check=False))

    def running(self):
        return subprocess.run(["jack_lsp"], env=self.desktop.env,
                              capture_output=True).returncode == 0

    def midi_input_ports(self):
        return [line for line in self.desktop.run(["jack_lsp", "-t"]).splitlines()]

    def messages(self):
        """Every message jack_midi_dump printed, as lists of byte values."""
        self.dump_file.flush()
        messages = []
        with open(self.dump_path) as f:
            for line in f:
                match = re.match(r"\s*\d+:\s+((?:[0-9a-f]{2}\s?)+)", line)
                if match:
                    messages.append([int(b, 16) for b in match.group(1).split()])
        return messages
