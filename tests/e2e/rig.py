# The real programs on virtual desktops. On Linux each test has its own (Xvfb with openbox
# and private XDG folders), and on demand a tray host, a PulseAudio server with a null
# sink and a JACK server with its dummy backend. On Windows the tests share the Wine
# test rig (scripts/lib/wine-session), whose MIDI devices are a test driver that logs what
# reaches them.

import configparser
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import zipfile

PROGRAM = os.environ.get("MELODANE_BIN", "melodane")
SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts")
SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\BWSMD"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def read_lines(path):
    # A process id and what that process recorded, a line each; nothing before the file.
    return open(path).read().splitlines() if os.path.exists(path) else []


def started(log):
    # What each process recorded in a log of "<process id> <text>" lines, in the order
    # the processes were started.
    return [line.split(" ", 1)[1] for line in
            sorted(read_lines(log), key=lambda line: int(line.split(" ", 1)[0]))]


def kill(pid_file):
    # As a crash would end it: the process whose id the file holds.
    with open(pid_file) as f:
        os.kill(int(f.read()), signal.SIGKILL)


def wait_for(condition, timeout=10.0, step=0.05):
    # Polls `condition` until it gives something true or `timeout` passes.
    deadline = time.monotonic() + timeout
    while not (value := condition()) and time.monotonic() < deadline:
        time.sleep(step)
    return value


class Desktop:
    # An X display with a window manager from a rig script, its own unless given one to
    # share; what runs on it stops with it.

    def __init__(self, script, session=None):
        self.folder = tempfile.mkdtemp(prefix="melodane-e2e-")
        self.processes = []
        self.rig = [os.path.join(SCRIPTS, "lib", script), session or self.folder + "/rig"]
        self.own_rig = session is None
        subprocess.run([self.rig[0], "start", self.rig[1]], check=True)
        with open(os.path.join(self.rig[1], "env")) as f:
            self.env = dict(os.environ, **dict(re.findall(r"^export (\w+)=(.*)$", f.read(), re.M)))

    def start(self, command, **kwargs):
        self.processes.append(subprocess.Popen(command, **{
            "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL, "env": self.env, **kwargs}))
        return self.processes[-1]

    def run(self, command, check=True, timeout=30):
        result = subprocess.run(command, env=self.env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{command}: {result.stderr}")
        return result.stdout

    def windows(self, name, visible=True):
        return self.run(["xdotool", "search"] + ["--onlyvisible"] * visible + ["--name", name],
                        check=False).split()

    def activate(self, window):
        self.run(["xdotool", "windowactivate", "--sync", window])

    def wm_state(self, window):
        # Normal, Iconic, or Withdrawn (what a window hidden by its program is).
        text = self.run(["xprop", "-id", window, "WM_STATE"], check=False)
        return (re.findall(r"window state: (\w+)", text) or ["Withdrawn"])[0]

    def version_site(self, answer):
        # Test servers for the update check, and the program's site on them.
        import version_server
        version_server.make_certificates(self.folder)
        self.trust(os.path.join(self.folder, "ca.pem"))
        site = version_server.serve(f"{self.folder}/server.pem", f"{self.folder}/server.key")
        self.env["MELODANE_SITE_BASE"] = f"{site}/{answer}"

    def hold(self, key, seconds):
        self.run(["xdotool", "keydown", key])
        time.sleep(seconds)
        self.run(["xdotool", "keyup", key])

    def other_program(self):
        # Another program's window, with the focus.
        self.start(self.other[0])
        window = wait_for(lambda: self.windows(self.other[1]), 20)
        assert window, f"{self.other} showed no window"
        self.activate(window[0])
        return window[0]

    def copy_program(self, folder):
        # A copy of the program in a folder of the test's, and its path.
        os.makedirs(os.path.join(self.folder, folder))
        return shutil.copy2(PROGRAM, os.path.join(self.folder, folder))

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
        if self.own_rig:
            subprocess.run([self.rig[0], "stop", self.rig[1]])
        shutil.rmtree(self.folder, ignore_errors=True)


class LinuxDesktop(Desktop):
    # A desktop of the test's own, and maybe trayer as the notification area.

    def __init__(self, tray=False):
        super().__init__("x-session")
        self.command, self.other = [], (["xterm", "-title", "other"], "^other$")
        self.env["PULSE_SERVER"] = "unix:" + self.env["XDG_RUNTIME_DIR"] + "/pulse/native"
        self.env.pop("MELODANE_AUDIO_DRIVER", None)
        self.settings = os.path.join(self.env["XDG_CONFIG_HOME"], "melodane", "BWSMD.ini")
        if tray:
            self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype",
                        "request", "--height", "32", "--SetDockType", "true"])
            if not wait_for(lambda: self.windows("^panel$", visible=False)):
                self.close()
                raise AssertionError("no tray")

    def store_settings(self, values):
        os.makedirs(os.path.dirname(self.settings), exist_ok=True)
        with open(self.settings, "w") as f:
            f.write("[Value]\n" + "".join(f"{k}={v}\n" for k, v in values.items()))

    def stored_settings(self):
        parser = configparser.ConfigParser()
        parser.optionxform = str
        parser.read(self.settings)
        return dict(parser["Value"]) if parser.has_section("Value") else {}

    def run_entry(self):
        # The autostart entry's command line, once it passes the desktop-entry checks.
        path = os.path.join(self.env["XDG_CONFIG_HOME"], "autostart", "melodane.desktop")
        if not os.path.exists(path):
            return None
        self.run(["desktop-file-validate", path])
        with open(path) as f:
            value = re.search(r"^Exec=(.*)$", f.read(), re.M).group(1)
        # The value's own escapes first, then the arguments' quotes and escapes.
        value = re.sub(r"\\(.)", lambda m: {"s": " ", "n": "\n", "t": "\t", "r": "\r"}.get(
            m[1], m[1]), value).replace("%%", "%")
        return [re.sub(r"\\(.)", r"\1", quoted) if quoted else plain
                for quoted, plain in re.findall(r'"((?:[^"\\]|\\.)*)"|(\S+)', value)]

    def trust(self, authority):
        self.env["SSL_CERT_FILE"] = authority

    def url_handler(self):
        # A stand-in for xdg-open that records the address it was given, or all its
        # arguments when that is not exactly one; what it recorded, a start each.
        log, handler = os.path.join(self.folder, "urls.txt"), os.path.join(self.folder, "open")
        with open(handler, "w") as f:
            f.write("#!/usr/bin/python3\nimport os, sys\nopen(%r, 'a').write(f'{os.getpid()} "
                    "{sys.argv[1] if len(sys.argv) == 2 else sys.argv[1:]}\\n')\n" % log)
        os.chmod(handler, 0o700)
        self.env["MELODANE_URL_HANDLER"] = handler
        return lambda: started(log)

    def remove_run_entry(self):
        path = os.path.join(self.env["XDG_CONFIG_HOME"], "autostart", "melodane.desktop")
        if os.path.exists(path):
            os.remove(path)

    def expected_run_entry(self, program):
        return [program]

    def kill_display(self):
        kill(os.path.join(self.rig[1], "xvfb.pid"))

    def click_icon(self, button):
        # trayer shows the only icon at the top right of the screen.
        self.run(["xdotool", "mousemove", "1264", "16", "click", str(button)])


class WineDesktop(Desktop):
    # The shared Wine rig; each test starts with no settings and its own MIDI log.

    def __init__(self):
        super().__init__("wine-session", os.environ["MELODANE_WINE_SESSION"])
        self.command, self.other = ["wine"], (["wine", "notepad"], "Notepad$")
        self.midi_log = os.path.join(self.folder, "midi.log")
        self.env["FAKEMIDI_LOG"] = "Z:" + self.midi_log.replace("/", "\\")
        self.reg("delete", SETTINGS_KEY, "/f", check=False)
        self.remove_run_entry()

    def copy_program(self, folder):
        # The Windows package unpacked there instead, when there is one (MELODANE_ZIP).
        if not os.environ.get("MELODANE_ZIP"):
            return super().copy_program(folder)
        zipfile.ZipFile(os.environ["MELODANE_ZIP"]).extractall(os.path.join(self.folder, folder))
        return os.path.join(self.folder, folder, "melodane.exe")

    def run_entry(self):
        text = self.reg("query", RUN_KEY, "/v", "Melodane", check=False)
        found = re.search(r"Melodane\s+REG_SZ\s+(.*?)\r?$", text, re.M)
        return found.group(1) if found else None

    def remove_run_entry(self):
        # Wine starts what the Run key names when its session starts: nothing is left.
        self.reg("delete", RUN_KEY, "/v", "Melodane", "/f", check=False)

    def expected_run_entry(self, program):
        return '"' + self.run(["winepath", "-w", program]).strip() + '"'

    def trust(self, authority):
        # Trusted in the prefix for the test only.
        tool = ["wine", os.path.join(os.path.dirname(PROGRAM), "trust_ca.exe")]
        self.run(tool + ["add", "Z:" + authority])
        self.untrust = tool + ["remove", "Z:" + authority]

    def url_handler(self):
        # The rundll32.exe beside the program records its command lines; the addresses
        # of those that are exactly the URL handler's.
        log = os.path.join(self.folder, "urls.txt")
        self.env["MELODANE_URL_LOG"] = "Z:" + log.replace("/", "\\")
        prefix = "rundll32.exe url.dll,FileProtocolHandler "
        return lambda: [line[len(prefix):] if line.startswith(prefix) else line
                        for line in started(log)]

    def close(self):
        if getattr(self, "untrust", None):
            self.run(self.untrust, check=False)
        super().close()
        self.remove_run_entry()

    def reg(self, *arguments, check=True):
        return self.run(["wine", "reg", *arguments], check=check)

    def store_settings(self, values):
        for key, value in values.items():
            self.reg("add", SETTINGS_KEY + r"\Value", "/v", key, "/d", value, "/f")

    def stored_settings(self):
        text = self.reg("query", SETTINGS_KEY + r"\Value", check=False)
        return dict(re.findall(r"^\s+(\w+)\s+REG_SZ\s+(.*?)\r?$", text, re.M))

    def click_icon(self, button):
        # Wine shows the icons in a window of its own while it holds any.
        tray = wait_for(lambda: self.windows("^Wine System Tray$"))
        self.run(["xdotool", "mousemove", "--window", tray[0], "10", "10", "click", str(button)])

    def midi_messages(self):
        # Every message the devices received (not the mapper), as lists of three bytes.
        if not os.path.exists(self.midi_log):
            return []
        with open(self.midi_log) as f:
            values = [int(m, 16) for m in re.findall(r" dev\d data 0x(\w{8})$", f.read(), re.M)]
        return [[v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF] for v in values]


class Melodane:
    # The program under test.

    def __init__(self, desktop, path=PROGRAM, command=None, **kwargs):
        self.desktop = desktop
        self.process = desktop.start(command or desktop.command + [path],
                                     cwd=os.path.dirname(os.path.abspath(path)), **kwargs)

    def window(self):
        found = wait_for(lambda: self.process.poll() is None and
                         self.desktop.windows("^Melodane$"), 20)
        return found[0] if found else None

    def visible(self):
        return bool(self.desktop.windows("^Melodane$"))

    def close_by_window_manager(self):
        self.desktop.activate(self.window())
        self.desktop.run(["xdotool", "key", "--clearmodifiers", "alt+F4"])
        return self.wait()

    def wait(self, timeout=15):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def usage(self):
        # The processor time used so far, in seconds, and the resident memory in KiB.
        with open(f"/proc/{self.process.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return ((int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK"),
                int(fields[21]) * os.sysconf("SC_PAGE_SIZE") // 1024)


class Pulse:
    # A PulseAudio server with one null sink whose monitor records what plays.

    def __init__(self, desktop):
        self.desktop = desktop
        desktop.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "-n",
                     "--load=module-null-sink sink_name=melodane_test",
                     "--load=module-native-protocol-unix"])
        assert wait_for(lambda: desktop.run(["pactl", "info"], check=False)), "no PulseAudio"

    def record(self, path):
        # A short latency, so that little is lost in parecord's buffers when it stops.
        return self.desktop.start(["parecord", "--device=melodane_test.monitor",
                                   "--latency-msec=20", "--file-format=wav", path])

    def playing(self):
        return "Sink Input" in self.desktop.run(["pactl", "list", "sink-inputs"], check=False)

    def kill(self):
        kill(os.path.join(self.desktop.env["XDG_RUNTIME_DIR"], "pulse", "pid"))

    def close(self):
        self.desktop.run(["pulseaudio", "--kill"], check=False)


class Jack:
    # A JACK server of its own name, with its dummy backend, and jack_midi_dump
    # listening. Only what this server made is removed after it.

    def __init__(self, desktop):
        # One name for every run: JACK's registry holds eight servers, and a server that
        # died without cleaning up keeps its place until one of the same name takes it.
        self.desktop, self.name = desktop, "melodane-e2e"
        desktop.env["JACK_DEFAULT_SERVER"] = self.name
        self.start_server()
        self.dump = os.path.join(desktop.folder, "midi-dump.txt")
        # Line by line, so that each message is in the file as soon as it is printed.
        with open(self.dump, "w") as dump:
            desktop.start(["stdbuf", "-oL", "jack_midi_dump"], stdout=dump)
        assert wait_for(lambda: "midi-monitor:input" in desktop.run(["jack_lsp"], check=False))

    def start_server(self):
        self.server = self.desktop.start(["jackd", "-n", self.name, "--no-realtime", "-d",
                                          "dummy", "-r", "48000", "-p", "256"])
        assert wait_for(lambda: self.server.poll() is not None or self.desktop.run(
            ["jack_lsp"], check=False), 15) and self.server.poll() is None

    def midi_messages(self):
        with open(self.dump) as f:
            return [[int(b, 16) for b in m.split()]
                    for m in re.findall(r"^\s*\d+:\s+((?:[0-9a-f]{2}\s?)+)", f.read(), re.M)]

    def close(self):
        if self.server.poll() is not None:
            # A server that was killed left its shared memory behind; the next one of its
            # name takes it over, and frees it when it stops.
            self.start_server()
        self.server.terminate()
        self.server.wait(10)
        for name in os.listdir("/dev/shm"):
            if f"_{self.name}_" in name:
                os.remove(os.path.join("/dev/shm", name))
