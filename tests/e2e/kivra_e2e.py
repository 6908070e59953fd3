"""End-to-end harness: runs the real Kivra.exe under Wine against the WinLIRC stand-in.

One Wine prefix serves every run (build/win32/e2e-prefix, made once with `wineboot -i`); each
test file starts its own `wineserver -p` and stops it at the end. Wine's output always goes to
files, never to pipes: Wine's service processes keep inherited pipes open and a reader waiting
for end-of-file would hang. Without a display the harness starts Xvfb on a free display number.

Each test gets a fresh directory inside the prefix with its own copy of Kivra.exe (the binding
files live beside the executable), its own settings file (Kivra.ini in the Windows directory,
written by the test and removed afterwards), a stand-in on a free port, and, when it asks, the
key sink and the Light Alloy window. A failing test leaves a screenshot in
build/win32/screenshots/.

Test files are plain unittest modules: `python3 tests/e2e/test_x.py`, which ctest runs. A test
file calls require_real_kivra() from setUpModule, derives from KivraTestCase and ends with
`kivra_e2e.main()`. The usual course of a test:

    self.write_bindings({17: "POWER"}, {30: "F5"})   # LIRCAC.LST / LIRCHT.LST beside the exe
    self.write_settings(KeyboardDelay=250)           # Kivra.ini, port of self.server filled in
    self.start_kivra(); self.wait_connected()
    self.start_key_sink(); self.warm_up()
    self.press("POWER")                              # returns when Kivra has handled the line
    self.assertEqual([e.short for e in self.settled_keys()], [(91, "down"), ...])

Windows are driven through WinControl (win_control, click, set_check, select_cell, status,
panel, tray_click, key, dialogs...); KIVRA_EXE=path runs the tests against another build.
"""

import atexit
import collections
import fcntl
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import time
import unittest

SOURCE_DIR = os.path.abspath(os.environ.get("KIVRA_SOURCE") or os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD_DIR = os.path.abspath(os.environ.get("KIVRA_BUILD") or os.path.join(SOURCE_DIR, "build", "win32"))
sys.path.insert(0, os.path.join(SOURCE_DIR, "tools"))

from winlirc_standin import WinLircStandIn  # noqa: E402

MAIN_TITLE = "Kivra 0.91 beta"
LAST_COMMAND = "Последняя команда: "
CONNECTED = "WinLIRC подключён"
DISCONNECTED = "WinLIRC отключён"
REFUSED = "Ошибка 10061"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
CATEGORY_ROWS = (2, 6, 11, 15)
ACTIVE, INACTIVE = "Активен", "Не активен"
SETUP_MODE = "Режим настройки"
SAVE_BINDINGS = "Сохранить настройки"
LIGHT_ALLOY_GATE = "Не обрабатывать команды при запущенном Light Alloy"
RETRY_OPTION = "При потере сервера пытаться соединиться с периодом"

# The settings every test starts from unless it says otherwise: not in setup mode, retrying
# every 5 s, skins off so that screenshots of different runs compare, and the port of the
# test's own stand-in (filled in by the test case).
BASE_SETTINGS = collections.OrderedDict([
    ("SleepIfLightAlloy", "1"), ("StartInTray", "0"), ("isMode", "0"), ("StartWinLIRC", "0"),
    ("WinLIRCPath", ""), ("WinLIRCPort", ""), ("TryConnect", "1"), ("TryPeriod", "5"),
    ("AutoStart", "0"), ("isActive", "1"), ("SignalTimeOut", "100"), ("KeyboardDelay", "100"),
    ("isSkinned", "0"), ("MenuPath", "Kivra.mnu"),
])


# The gap counts from the end of a signal's handling, which includes the key delay after each
# typed key: with the usual 100 ms of each, presses this far apart are always dispatched.
PRESS_SPACING = 0.4


class KivraDidNotStart(AssertionError):
    pass


def wait_until(predicate, timeout, interval=0.1, message="condition"):
    """Polls predicate until it returns a true value, which is returned; fails after timeout s."""
    deadline = time.monotonic() + timeout
    value = None
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError("timed out after %.1f s waiting for %s (last value: %r)" % (timeout, message, value))
        time.sleep(interval)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


KeyEvent = collections.namedtuple("KeyEvent", "vk scan flags time")
KeyEvent.down = property(lambda e: not (e.flags & 0x80))
KeyEvent.extended = property(lambda e: bool(e.flags & 0x01))
KeyEvent.short = property(lambda e: (e.vk, "down" if e.down else "up"))


def crlf_lines(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp1251")


# ---- the Wine session ---------------------------------------------------------------------------
class WineSession:
    """Display, prefix and wineserver for one test file; made on first use, ended at exit."""

    def __init__(self):
        self.prefix = os.path.join(BUILD_DIR, "e2e-prefix")
        self.logs = os.path.join(BUILD_DIR, "e2e-logs")
        self.screenshots = os.path.join(BUILD_DIR, "screenshots")
        self.tools = os.path.join(BUILD_DIR, "tools")
        # KIVRA_EXE runs the tests against another build of the program.
        self.kivra_exe = os.path.abspath(os.environ.get("KIVRA_EXE") or os.path.join(BUILD_DIR, "Kivra.exe"))
        self.xvfb = None
        self.processes = []
        self.env = None
        self._scratch = 0

    # life cycle
    def start(self):
        os.makedirs(self.logs, exist_ok=True)
        os.makedirs(self.screenshots, exist_ok=True)
        env = dict(os.environ)
        # A UTF-8 locale lets Wine read the UTF-8 command lines of WinControl; its ANSI code page
        # is then 1252, not the Russian 1251, which is how the program must cope too.
        env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                   LANG="C.UTF-8", LC_ALL="C.UTF-8")
        env.pop("WINEARCH", None)
        self.env = env
        self._ensure_display()
        self._ensure_prefix()
        # Whatever an aborted run left in the prefix goes first; then a server of our own.
        self.run(["wineserver", "-k"], log="wineserver", timeout=30, check=False)
        self.run(["wineserver", "-p"], log="wineserver", timeout=30)
        atexit.register(self.stop)
        return self

    def stop(self):
        for process in reversed(self.processes):
            self.kill(process)
        self.processes = []
        if self.env is not None:
            self.run(["wineserver", "-k"], log="wineserver-stop", timeout=30, check=False)
            self.env = None
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
            self.xvfb = None

    def _ensure_display(self):
        display = os.environ.get("DISPLAY")
        if display and os.path.exists("/tmp/.X11-unix/X" + display.lstrip(":").split(".")[0]):
            self.env["DISPLAY"] = display
            return
        number = 90
        while True:
            while os.path.exists("/tmp/.X11-unix/X%d" % number) or os.path.exists("/tmp/.X%d-lock" % number):
                number += 1
            log = open(os.path.join(self.logs, "xvfb.log"), "ab")
            self.xvfb = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                         stdout=log, stderr=log, stdin=subprocess.DEVNULL)
            log.close()
            try:
                wait_until(lambda: os.path.exists("/tmp/.X11-unix/X%d" % number) or self.xvfb.poll() is not None,
                           10, message="Xvfb")
            except AssertionError:
                pass
            if self.xvfb.poll() is None and os.path.exists("/tmp/.X11-unix/X%d" % number):
                self.env["DISPLAY"] = ":%d" % number
                return
            # Someone took the number at the same moment; try the next one.
            self.xvfb = None
            number += 1

    def _ensure_prefix(self):
        os.makedirs(BUILD_DIR, exist_ok=True)
        with open(os.path.join(BUILD_DIR, "e2e-prefix.lock"), "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not os.path.exists(os.path.join(self.prefix, "system.reg")):
                shutil.rmtree(self.prefix, ignore_errors=True)
                env = dict(self.env, WINEARCH="win32")
                self.run(["wineboot", "-i"], log="wineboot", timeout=300, env=env)
                self.run(["wineserver", "-w"], log="wineboot-wait", timeout=300, env=env)
        os.makedirs(os.path.join(self.prefix, "drive_c", "e2e"), exist_ok=True)

    # processes
    def run(self, args, log, timeout=60, check=True, env=None, cwd=None):
        """Runs a command to its end, its output into a log file. Returns the exit status."""
        path = os.path.join(self.logs, log + ".log")
        with open(path, "ab") as out:
            process = subprocess.Popen(args, stdout=out, stderr=out, stdin=subprocess.DEVNULL,
                                       env=env or self.env, cwd=cwd, start_new_session=True)
            try:
                status = process.wait(timeout)
            except subprocess.TimeoutExpired:
                self.kill(process)
                raise AssertionError("%s did not end within %d s" % (" ".join(args), timeout))
        if check and status != 0:
            raise AssertionError("%s failed with status %d (see %s)" % (" ".join(args), status, path))
        return status

    def spawn(self, args, log_path, cwd=None, extra_env=None):
        """Starts a long-running Wine program; it is killed at the end of the session at the latest."""
        out = open(log_path, "ab")
        process = subprocess.Popen(args, stdout=out, stderr=out, stdin=subprocess.DEVNULL,
                                   env=dict(self.env, **(extra_env or {})), cwd=cwd, start_new_session=True)
        out.close()
        self.processes.append(process)
        return process

    def kill(self, process):
        if process.poll() is None:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except OSError:
                process.kill()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                pass
        if process in self.processes:
            self.processes.remove(process)

    # paths
    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def windows_path(self, path):
        """The Windows name of a path: C:\\... inside the prefix's drive C, Z:\\... elsewhere."""
        path = os.path.abspath(path)
        root = self.drive_c()
        if path == root or path.startswith(root + os.sep):
            return "C:" + path[len(root):].replace("/", "\\") or "C:\\"
        return "Z:" + path.replace("/", "\\")

    def windows_dir(self, *parts):
        return self.drive_c("windows", *parts)

    # tools
    def win_control(self, *args, timeout=30):
        """Runs WinControl.exe with one command; returns (exit status, answer text)."""
        self._scratch += 1
        out = os.path.join(self.logs, "wincontrol-%d.txt" % os.getpid())
        if os.path.exists(out):
            os.remove(out)
        status = self.run(["wine", os.path.join(self.tools, "WinControl.exe"), "--out", self.windows_path(out)]
                          + [str(a) for a in args], log="wincontrol", timeout=timeout, check=False)
        text = ""
        if os.path.exists(out):
            with open(out, "rb") as answer:
                text = answer.read().decode("utf-8", "replace")
        return status, text

    def reg_query(self, key, value):
        """The data of a registry value as text, or None when it does not exist."""
        out = os.path.join(self.logs, "reg-%d.txt" % os.getpid())
        with open(out, "wb") as sink:
            process = subprocess.Popen(["wine", "reg", "query", key, "/v", value], stdout=sink, stderr=sink,
                                       stdin=subprocess.DEVNULL, env=self.env, start_new_session=True)
            status = process.wait(60)
        with open(out, "rb") as answer:
            text = answer.read().decode("utf-8", "replace")
        if status != 0:
            return None
        for line in text.splitlines():
            match = re.match(r"^\s+(.*?)\s{2,}(REG_\w+)\s{2,}(.*)$", line)
            if match and match.group(1).lower() == value.lower():
                return match.group(3).rstrip("\r")
            match = re.match(r"^\s+(.*?)\s{2,}(REG_\w+)\s*$", line)
            if match and match.group(1).lower() == value.lower():
                return ""
        return None

    def reg_delete(self, key, value):
        self.run(["wine", "reg", "delete", key, "/v", value, "/f"], log="reg", check=False)

    def screenshot(self, name, rect=None):
        """Saves the screen (or the given window rectangle) as build/win32/screenshots/NAME.png."""
        path = os.path.join(self.screenshots, re.sub(r"[^\w.-]+", "_", name) + ".png")
        args = ["import", "-display", self.env["DISPLAY"], "-window", "root"]
        if rect:
            left, top, right, bottom = rect
            left, top = max(left, 0), max(top, 0)
            args += ["-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage"]
        self.run(args + [path], log="screenshot", check=False, timeout=60)
        return path


_session = None


def session():
    global _session
    if _session is None:
        _session = WineSession().start()
    return _session


# ---- the test case ------------------------------------------------------------------------------
class KivraTestCase(unittest.TestCase):
    """A test of the real program. Subclasses set `settings` (Kivra.ini overrides) and call
    start_kivra(); the stand-in (self.server) is started in setUp unless `server_at_start` is
    False, but Kivra is started by the test so that it can first place files."""

    settings = {}
    server_at_start = True

    def setUp(self):
        self.wine = session()
        self.dir = self.wine.drive_c("e2e", self.id().split(".", 1)[-1].replace(".", "-"))
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        shutil.copy(self.wine.kivra_exe, os.path.join(self.dir, "Kivra.exe"))
        self.key_log = os.path.join(self.dir, "keys.log")
        self.kivra = None
        self.key_sink = None
        self.light_alloy = None
        self._remote_serial = 0
        self._last_press = 0.0
        self._clean_windows_dir()
        self.server = WinLircStandIn(free_port())
        if self.server_at_start:
            self.server.start()
        self.addCleanup(self._clean_windows_dir)
        self.addCleanup(self.server.stop)

    def _failed(self):
        """Whether this test (or one of its subtests) has failed so far."""
        result = getattr(getattr(self, "_outcome", None), "result", None)
        if result is None:
            return False
        return any(test is self or getattr(test, "test_case", None) is self
                   for test, _ in list(result.failures) + list(result.errors))

    def tearDown(self):
        if self._failed():
            print("screenshot: " + self.wine.screenshot("FAILED-" + self.id().split(".", 1)[-1]), file=sys.stderr)
        for process in (self.light_alloy, self.key_sink):
            if process is not None:
                self.wine.kill(process)
        if self.kivra is not None and self.kivra.poll() is None:
            self.stop_kivra()

    def forget_registry_value(self, key, value):
        """Deletes a registry value now and again when the test ends, whatever it wrote there."""
        self.wine.reg_delete(key, value)
        self.addCleanup(self.wine.reg_delete, key, value)

    def _clean_windows_dir(self):
        for name in ("Kivra.ini", "Kivra.mnu"):
            path = self.wine.windows_dir(name)
            if os.path.exists(path):
                os.remove(path)

    # files
    def write_settings(self, interface=None, **overrides):
        """Kivra.ini in the Windows directory: BASE_SETTINGS, the class's `settings`, then the
        keyword overrides, all in section Common; `interface` gives SkinPath and Skin."""
        values = collections.OrderedDict(BASE_SETTINGS)
        values["WinLIRCPort"] = str(self.server.port)
        values.update({k: str(v) for k, v in self.settings.items()})
        values.update({k: str(v) for k, v in overrides.items()})
        skin = collections.OrderedDict([("SkinPath", ""), ("Skin", "")])
        skin.update(interface or {})
        text = "[Common]\r\n" + "".join("%s=%s\r\n" % item for item in values.items())
        text += "[Interface]\r\n" + "".join("%s=%s\r\n" % item for item in skin.items())
        with open(self.wine.windows_dir("Kivra.ini"), "wb") as ini:
            ini.write(text.encode("cp1252"))

    def read_settings(self, encoding="cp1252"):
        """Kivra.ini as {section: OrderedDict(key: value)} in the file's order, or None."""
        path = self.wine.windows_dir("Kivra.ini")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as ini:
            data = ini.read()
        text = data[3:].decode("utf-8") if data.startswith(b"\xef\xbb\xbf") else data.decode(encoding)
        sections, current = collections.OrderedDict(), None
        for line in text.splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], collections.OrderedDict())
            elif current is not None and "=" in line:
                key, value = line.split("=", 1)
                current[key] = value
        return sections

    def binding_path(self, name):
        return os.path.join(self.dir, name)

    def write_bindings(self, buttons, keys=None, line_end="\r\n", header=" Команда WinLIRC"):
        """LIRCAC.LST from {row: button} (45 lines) and LIRCHT.LST from {row: key text} (20 lines)."""
        ac = [header] + [buttons.get(row, "") for row in range(1, 45)]
        ht = [(keys or {}).get(row, "") for row in range(25, 45)]
        for name, lines in (("LIRCAC.LST", ac), ("LIRCHT.LST", ht)):
            with open(self.binding_path(name), "wb") as out:
                out.write("".join(line + line_end for line in lines).encode("cp1251"))

    def read_binding_file(self, name):
        path = self.binding_path(name)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as data:
            return data.read()

    # programs
    def start_kivra(self, expect_window=True, timeout=30, extra_env=None):
        """Starts the test's copy of Kivra.exe and waits for its main window."""
        log = os.path.join(self.dir, "kivra-wine.log")
        self.kivra = self.wine.spawn(["wine", os.path.join(self.dir, "Kivra.exe")], log, cwd=self.dir,
                                     extra_env=extra_env)
        if expect_window:
            self.wait_for_main_window(timeout)
        return self.kivra

    def wait_for_main_window(self, timeout=30):
        def found():
            if self.kivra.poll() is not None:
                raise KivraDidNotStart("Kivra.exe ended with status %s before showing its window" % self.kivra.returncode)
            return self.win_control("find-title", MAIN_TITLE)[0] == 0
        wait_until(found, timeout, interval=0.2, message="the main window " + MAIN_TITLE)

    def stop_kivra(self, timeout=15):
        """Closes the main window the way a user would, then waits for the program to end."""
        if self.kivra is None:
            return
        if self.kivra.poll() is None:
            self.win_control("close", MAIN_TITLE)
            try:
                self.kivra.wait(timeout)
            except subprocess.TimeoutExpired:
                pass
        status = self.kivra.poll()
        self.wine.kill(self.kivra)
        return status

    def start_key_sink(self, udp_port=None):
        """Starts the key sink and gives it the focus, so injected keys land there. With udp_port
        it also sends each event line as a datagram to 127.0.0.1:udp_port as it happens."""
        if os.path.exists(self.key_log):
            os.remove(self.key_log)
        extra = ["--udp", str(udp_port)] if udp_port else []
        self.key_sink = self.wine.spawn(["wine", os.path.join(self.wine.tools, "KeySink.exe"),
                                         self.wine.windows_path(self.key_log)] + extra,
                                        os.path.join(self.dir, "keysink-wine.log"))
        wait_until(lambda: self.win_control("find-title", "KeySink")[0] == 0, 30, interval=0.2, message="KeySink")
        wait_until(lambda: os.path.exists(self.key_log), 10, message="the key log")
        self.focus_key_sink()

    def focus_key_sink(self):
        wait_until(lambda: self.win_control("foreground", "KeySink")[1].strip() == "1", 10, interval=0.2,
                   message="KeySink in the foreground")

    def start_light_alloy(self):
        self.light_alloy = self.wine.spawn(["wine", os.path.join(self.wine.tools, "LightAlloyFront.exe")],
                                           os.path.join(self.dir, "lightalloy-wine.log"))
        wait_until(lambda: self.win_control("find-class", "LightAlloyFront")[0] == 0, 30, interval=0.2,
                   message="the LightAlloyFront window")

    def stop_light_alloy(self):
        self.win_control("close", "Light Alloy")
        wait_until(lambda: self.win_control("find-class", "LightAlloyFront")[0] != 0, 10, interval=0.2,
                   message="the LightAlloyFront window to go")
        self.wine.kill(self.light_alloy)
        self.light_alloy = None

    # talking to windows
    def win_control(self, *args, **kw):
        return self.wine.win_control(*args, **kw)

    def status(self, title=MAIN_TITLE):
        """The status bar panels of a window as a list of texts ([] when it cannot be read)."""
        status, text = self.win_control("status", title)
        return text.split("\n")[:-1] if status == 0 else []

    def panel(self, index, title=MAIN_TITLE):
        panels = self.status(title)
        return panels[index] if index < len(panels) else None

    def wait_for_panel(self, index, text, timeout=15):
        seen = []

        def shows():
            seen.append(self.panel(index))
            return seen[-1] == text
        try:
            return wait_until(shows, timeout, interval=0.2, message="status panel %d to read %r" % (index, text))
        except AssertionError as error:
            raise AssertionError("%s; it read %r" % (error, seen[-1] if seen else None)) from None

    def has_control(self, text, title=MAIN_TITLE):
        return self.win_control("find-child", title, text)[0] == 0

    def click(self, text, title=MAIN_TITLE):
        status, answer = self.win_control("click", title, text)
        self.assertEqual(status, 0, "clicking %r: %s" % (text, answer))

    def set_check(self, text, state, title=MAIN_TITLE):
        status, answer = self.win_control("check", title, text, 1 if state else 0)
        self.assertEqual(status, 0, "setting %r to %s: %s" % (text, state, answer))

    def select_cell(self, row, column=0):
        status, answer = self.win_control("select-grid", MAIN_TITLE, row, column)
        self.assertEqual(status, 0, "selecting row %d: %s" % (row, answer))

    def answers_within(self, milliseconds=1000, title=MAIN_TITLE):
        """How many ms the window's thread took to handle a message, or None after the limit."""
        status, text = self.win_control("ping", title, milliseconds)
        return int(text) if status == 0 and text.strip().isdigit() else None

    def memory_kb(self):
        """Resident and data size of the running Kivra process in kB, from /proc (the Wine
        process is the Windows process)."""
        sizes = {}
        with open("/proc/%d/status" % self.kivra.pid) as status:
            for line in status:
                key, _, value = line.partition(":")
                if key in ("VmRSS", "VmData"):
                    sizes[key] = int(value.split()[0])
        return sizes

    def visible(self, title=MAIN_TITLE):
        status, text = self.win_control("visible", title)
        return status == 0 and text.strip() == "1"

    def wait_visible(self, expected, title=MAIN_TITLE, timeout=10):
        wait_until(lambda: self.visible(title) == expected, timeout, interval=0.2,
                   message="%r to be %s" % (title, "shown" if expected else "hidden"))

    def popup_menu(self):
        """The open pop-up menu's rectangle (left, top, right, bottom), or None when none is open."""
        status, text = self.win_control("menu-popup-items")
        if status != 0 or not text.startswith("open "):
            return None
        return tuple(int(v) for v in text.split("\n")[0].split()[1:5])

    def wait_for_popup(self, open_=True, timeout=10):
        """Waits until a pop-up menu is open (returns its rectangle) or, with open_ False, none is."""
        def state():
            rect = self.popup_menu()
            return rect if open_ else rect is None
        return wait_until(state, timeout, interval=0.2, message="a pop-up menu to %s" % ("open" if open_ else "close"))

    def tray_click(self, mouse_message):
        """What the shell sends the tray icon's owner: 515 double-click, 516 right button down."""
        self.assertEqual(self.win_control("tray-callback", MAIN_TITLE, mouse_message)[0], 0)

    def dialogs(self):
        """Every visible dialog box as a list: its title, then its controls' texts."""
        return [line.split("\t") for line in self.win_control("dialogs")[1].splitlines() if line]

    def wait_for_dialog(self, part, timeout=10):
        return wait_until(lambda: next((d for d in self.dialogs() if any(part in t for t in d[1:])), None),
                          timeout, interval=0.2, message="a dialog saying %r" % part)

    def key(self, vk):
        """Injects one key press and release, as a keyboard would."""
        self.assertEqual(self.win_control("key", vk)[0], 0)

    def window_rect(self, title=MAIN_TITLE):
        status, text = self.win_control("rect", title)
        return tuple(int(v) for v in text.split()) if status == 0 else None

    def screenshot(self, name, title=None):
        return self.wine.screenshot(name, self.window_rect(title) if title else None)

    # the remote
    def wait_connected(self, timeout=15):
        self.assertTrue(self.server.wait_for_clients(1, timeout), "Kivra did not connect to the stand-in")
        self.wait_for_panel(0, CONNECTED)

    def warm_up(self):
        """Sends one unbound button outside setup mode. The first signal after start is measured
        against a last-signal time of 0, so on a machine that has been up for 2^31 ms or more
        (about 24.8 days) the elapsed time reads negative and that signal is dropped, as it
        should be. After this one, what a test sends does not depend on the machine's uptime."""
        self.press("KIVRA_E2E_WARM_UP")
        # Lines the test then sends by hand, without press(), find the gap passed too.
        time.sleep(PRESS_SPACING)

    def next_remote(self):
        """A remote name never used before in this test: status panel 1 then tells when Kivra
        has handled exactly that line, which makes it a barrier for what the line caused."""
        self._remote_serial += 1
        return "R%d" % self._remote_serial

    def wait_handled(self, remote, button, timeout=10):
        self.wait_for_panel(1, "%s%s->%s" % (LAST_COMMAND, remote, button), timeout)

    def press(self, button, wait=True):
        """One press of a button, as a person makes it: never sooner after the previous press
        than PRESS_SPACING, so the minimum gap between signals cannot drop it."""
        time.sleep(max(0.0, self._last_press + PRESS_SPACING - time.monotonic()))
        remote = self.next_remote()
        self.server.press(button, remote)
        if wait:
            self.wait_handled(remote, button)
        self._last_press = time.monotonic()
        return remote

    def hold(self, button, count, interval_ms):
        """A held button's lines, interval_ms apart; returns when Kivra has handled the last one."""
        remote = self.next_remote()
        next_at = time.monotonic()
        for repeat in range(count):
            time.sleep(max(0.0, next_at - time.monotonic()))
            self.server.send_line(button, remote + "-%d" % repeat, repeat)
            next_at += interval_ms / 1000.0
        self.wait_handled(remote + "-%d" % (count - 1), button)
        self._last_press = time.monotonic()

    # the key sink
    def keys(self):
        if not os.path.exists(self.key_log):
            return []
        with open(self.key_log, "rb") as log:
            lines = log.read().decode("ascii", "replace").splitlines()
        return [KeyEvent(*(int(v) for v in line.split())) for line in lines if len(line.split()) == 4]

    def wait_for_keys(self, count, timeout=10):
        return wait_until(lambda: len(self.keys()) >= count and self.keys(), timeout,
                          message="%d key events" % count)

    def settled_keys(self, quiet=0.5):
        """The key events once the log has stopped growing for `quiet` seconds."""
        last = None
        while True:
            events = self.keys()
            if events == last:
                return events
            last = events
            time.sleep(quiet)


def require_real_kivra():
    """Fails the calling test module unless build/win32/Kivra.exe starts and shows its main window.
    Called from setUpModule of every test file that needs the real program."""
    wine = session()
    if not os.path.exists(wine.kivra_exe):
        raise KivraDidNotStart("%s does not exist; run scripts/build" % wine.kivra_exe)
    probe = wine.drive_c("e2e", "probe")
    shutil.rmtree(probe, ignore_errors=True)
    os.makedirs(probe)
    shutil.copy(wine.kivra_exe, os.path.join(probe, "Kivra.exe"))
    process = wine.spawn(["wine", os.path.join(probe, "Kivra.exe")], os.path.join(probe, "kivra-wine.log"), cwd=probe)
    try:
        def shown():
            if process.poll() is not None:
                raise KivraDidNotStart("Kivra.exe ended at once (status %s): it is not the real program yet"
                                       % process.returncode)
            return wine.win_control("find-title", MAIN_TITLE)[0] == 0
        wait_until(shown, 30, interval=0.2, message="the main window of Kivra.exe")
        wine.win_control("close", MAIN_TITLE)
        try:
            process.wait(15)
        except subprocess.TimeoutExpired:
            pass
    finally:
        wine.kill(process)
        for name in ("Kivra.ini", "Kivra.mnu"):
            path = wine.windows_dir(name)
            if os.path.exists(path):
                os.remove(path)


def main():
    """Runs the calling test module; exits non-zero when a test fails."""
    try:
        program = unittest.main(module="__main__", exit=False, verbosity=2)
    finally:
        if _session is not None:
            _session.stop()
    sys.exit(0 if program.result.wasSuccessful() else 1)
