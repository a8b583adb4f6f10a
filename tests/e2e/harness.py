"""End-to-end harness: the real program against the simulated mouse.

Every test starts its own copy of the program and its data tree in a
temporary folder, finds controls through the accessibility tree (AT-SPI, the
way a screen reader does), presses them with real pointer events (xdotool),
and asserts the simulated mouse's wire log and firmware state and the
settings files.

Needs a display and a session bus of its own: ctest starts each test file
through tests/session.sh, which gives it a private Xvfb display and D-Bus
session. Paths come from the environment ctest sets: QUILL_EXE,
QUILL_SOURCE_DIR, SIMHID_DIR, SIMMOUSECTL.
"""

import configparser
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

import pyatspi

EXE = os.environ.get("QUILL_EXE", "")
SOURCE_DIR = os.environ.get("QUILL_SOURCE_DIR", "")
SIMHID_DIR = os.environ.get("SIMHID_DIR", "")
SIMMOUSECTL = os.environ.get("SIMMOUSECTL", "")
# Screenshots of the run land here when set (the README's pictures).
SHOT_DIR = os.environ.get("QUILL_SHOT_DIR", "")

DEFAULT_TIMEOUT = 30.0


def wait_until(condition, timeout=DEFAULT_TIMEOUT, interval=0.1, what="condition"):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def normalise(name):
    return re.sub(r"\s+", " ", name or "").strip()


class AccessibilityBus:
    """The AT-SPI bus of this D-Bus session, started once per process."""

    _launcher = None

    @classmethod
    def ensure(cls):
        if cls._launcher is not None:
            return
        if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
            raise unittest.SkipTest("no session bus: run the test through tests/session.sh")
        launcher = "/usr/libexec/at-spi-bus-launcher"
        cls._launcher = subprocess.Popen([launcher, "--launch-immediately"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)


class Tray:
    """A system tray (trayer) so the program's tray icon has a home."""

    _process = None

    @classmethod
    def ensure(cls):
        if cls._process is not None or shutil.which("trayer") is None:
            return
        cls._process = subprocess.Popen(
            ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
             "--height", "24", "--transparent", "false"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)


class OtherWindow:
    """A small window of another program (xmessage) that can take the
    keyboard focus, so that keys typed there reach the program only through
    its global input capture. Use it as a context manager."""

    def __init__(self, text="other window"):
        self.process = subprocess.Popen(["xmessage", "-geometry", "-0-0", text],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.id = wait_until(lambda: self._search(), what="the xmessage window")

    def _search(self):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "xmessage"],
                                capture_output=True, text=True, timeout=30)
        ids = result.stdout.split()
        return ids[-1] if ids else None

    def focus(self):
        """Gives it the keyboard focus (no window manager needed)."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.id], check=True, timeout=30)

    def has_focus(self):
        result = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True, timeout=30)
        return result.stdout.strip() == self.id

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class WireRecord:
    """One line of the simulated mouse's wire log."""

    def __init__(self, line):
        parts = line.split()
        self.time = float(parts[0])
        self.kind = parts[1]
        self.path = parts[2]
        clear = re.search(r"\[clear ([0-9a-f ]+)\]", line)
        raw = line.split("[clear")[0].split()[3:]
        # A failed transfer ends in FAILED and a note in brackets.
        raw = raw[:next((i for i, b in enumerate(raw) if not re.fullmatch(r"[0-9a-f]{2}", b)), len(raw))]
        self.ok = " FAILED" not in line
        self.raw = [int(b, 16) for b in raw]
        self.bytes = [int(b, 16) for b in clear.group(1).split()] if clear else self.raw

    @property
    def command(self):
        """The command byte of a feature request (after the report id)."""
        return self.bytes[1] if len(self.bytes) > 1 else None

    def __repr__(self):
        return "%s %s" % (self.kind, " ".join("%02x" % b for b in self.bytes))


class Program:
    """One run of the program on a private copy of the data tree."""

    def __init__(self, apconfig=None, sim_config=None, language=None, profile_edits=None,
                 data_edits=None, start=True, tray=True):
        """apconfig: {"group/key": value} written into apConfig.bin;
        sim_config: text of a SIMMOUSE_CONFIG file (default: the sample mouse);
        profile_edits: {"p1.bin": {"group/key": value}};
        data_edits: any file of the data tree, {"gun/gunData.bin": {"group/key": value}};
        start: False prepares the data tree only (start() starts the program).
        tray: False leaves the display without a system tray (use a display
        of its own: a tray started earlier on the shared one stays)."""
        AccessibilityBus.ensure()
        if tray:
            Tray.ensure()
        self.dir = tempfile.mkdtemp(prefix="quill-e2e-")
        self.modules = os.path.join(self.dir, "modules")
        shutil.copy(EXE, os.path.join(self.dir, "QuillMouse"))
        shutil.copytree(os.path.join(SOURCE_DIR, "modules"), self.modules,
                        ignore=shutil.ignore_patterns("qml", "skin*"))
        os.makedirs(os.path.join(self.modules, "macro"), exist_ok=True)
        edits = dict(apconfig or {})
        if language:
            edits["common/language"] = language
        if edits:
            self.edit_ini("setting/apConfig.bin", edits)
        for name, values in (profile_edits or {}).items():
            self.edit_ini("setting/" + name, values)
        for name, values in (data_edits or {}).items():
            self.edit_ini(name, values)
        self.socket = os.path.join(self.dir, "ctl.sock")
        env = dict(os.environ)
        env.update({
            "LD_LIBRARY_PATH": SIMHID_DIR,
            "SIMMOUSE_SOCKET": self.socket,
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "QT_QPA_PLATFORM": "xcb",
        })
        # Desktop settings the program writes (pointer speed, ...) stay in
        # this run instead of reaching the user's own desktop (a test may
        # name a backend of its own); the X server's pointer control is the
        # test display's alone.
        env.setdefault("GSETTINGS_BACKEND", "memory")
        env.pop("SIMMOUSE_CONFIG", None)
        if sim_config is not None:
            path = os.path.join(self.dir, "sim.ini")
            with open(path, "w") as f:
                f.write(sim_config)
            env["SIMMOUSE_CONFIG"] = path
        self.env = env
        self.log_path = os.path.join(self.dir, "program.log")
        self._log = open(self.log_path, "w")
        self.process = None
        self._app = None
        if start:
            self.start()

    def start(self):
        self.process = subprocess.Popen([os.path.join(self.dir, "QuillMouse")], cwd=self.dir,
                                        env=self.env, stdout=self._log, stderr=subprocess.STDOUT)

    def command(self, *args, sim_commands=None, cwd=None, timeout=120):
        """Runs the program's command line (from cwd, by default the test's
        own directory); returns (exit status, stdout, stderr, wire log
        lines of its own simulated mouse when it did the work itself)."""
        wirelog = os.path.join(self.dir, "cli-wire.log")
        if os.path.exists(wirelog):
            os.remove(wirelog)
        env = dict(self.env, SIMMOUSE_SOCKET=os.path.join(self.dir, "cli.sock"),
                   SIMMOUSE_WIRELOG=wirelog, SIMMOUSE_COMMANDS=sim_commands or "")
        # Over SSH or in a console: no display, no session bus.
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        result = subprocess.run([os.path.join(self.dir, "QuillMouse")] + [str(a) for a in args],
                                env=env, cwd=cwd, capture_output=True, text=True, timeout=timeout)
        wire = []
        if os.path.exists(wirelog):
            with open(wirelog) as f:
                wire = [WireRecord(line) for line in f if line.strip()]
        return result.returncode, result.stdout, result.stderr, wire

    # --- life cycle ---------------------------------------------------------

    def output(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def wait_output(self, text, count=1, timeout=DEFAULT_TIMEOUT):
        wait_until(lambda: self.output().count(text) >= count, timeout,
                   what="%r x%d in the program output" % (text, count))

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(10)
        self._log.close()
        shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- the simulated mouse -----------------------------------------------

    def ctl(self, *args):
        env = dict(os.environ, SIMMOUSE_SOCKET=self.socket)
        result = subprocess.run([SIMMOUSECTL] + [str(a) for a in args], env=env,
                                capture_output=True, text=True, timeout=30)
        if result.returncode != 0:
            raise AssertionError("simmousectl %s: %s%s" % (" ".join(map(str, args)),
                                                           result.stdout, result.stderr))
        return result.stdout

    def wire(self):
        return [WireRecord(line) for line in self.ctl("log").splitlines() if line.strip()]

    def clear_wire(self):
        self.ctl("clearlog")

    def dump(self, device=0):
        """The firmware's stores: {"keyMatrix 1": [bytes], "currentDpiStage": [n], ...}."""
        stores = {}
        for line in self.ctl("dump", device).splitlines():
            words = line.split()
            if not words:
                continue
            if words[0] in ("keyMatrix", "macro", "dpiSet", "led8", "gun", "profile"):
                key, values = words[0] + " " + words[1], words[2:]
            else:
                key, values = words[0], words[1:]
            base = 10 if key in ("currentDpiStage", "reportRate", "currentProfile",
                                 "currentKeyMatrix") else 16
            stores[key] = [int(v, base) for v in values]
        return stores

    def feature_requests(self, command=None):
        """The feature requests sent (clear bytes), optionally of one command."""
        return [r for r in self.wire()
                if r.kind == "FeatureOut" and (command is None or r.command == command)]

    # --- settings files -----------------------------------------------------

    def ini_path(self, name):
        return os.path.join(self.modules, name)

    def read_ini(self, name):
        parser = configparser.RawConfigParser(strict=False, interpolation=None)
        parser.optionxform = str
        with open(self.ini_path(name), encoding="utf-8") as f:
            parser.read_file(f)
        return parser

    def setting(self, name, key, default=None):
        group, option = key.split("/", 1)
        parser = self.read_ini(name)
        if not parser.has_option(group, option):
            return default
        return parser.get(group, option)

    def edit_ini(self, name, values):
        path = self.ini_path(name)
        parser = configparser.RawConfigParser(strict=False, interpolation=None)
        parser.optionxform = str
        parser.read(path, encoding="utf-8")
        for key, value in values.items():
            group, option = key.split("/", 1)
            if not parser.has_section(group):
                parser.add_section(group)
            parser.set(group, option, str(value))
        with open(path, "w", encoding="utf-8") as f:
            parser.write(f, space_around_delimiters=False)

    # --- the accessibility tree ---------------------------------------------

    def app(self):
        if self._app is None:
            def find():
                desktop = pyatspi.Registry.getDesktop(0)
                for a in desktop:
                    if a is not None and a.name == "QuillMouse":
                        return a
                return None
            self._app = wait_until(find, what="the program on the accessibility bus")
        return self._app

    @staticmethod
    def showing(acc):
        try:
            states = acc.getState()
            return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)
        except Exception:
            return False

    def all(self, role=None, name=None, within=None, showing=True):
        """Accessible objects of a role (pyatspi role or role name) whose
        name matches (whitespace normalised; a compiled regex also works)."""
        found = []

        def matches(acc):
            if role is not None:
                r = acc.getRole()
                if isinstance(role, str):
                    if acc.getRoleName() != role:
                        return False
                elif r != role:
                    return False
            if name is not None:
                n = normalise(acc.name)
                if hasattr(name, "search"):
                    if not name.search(n):
                        return False
                elif n != normalise(name):
                    return False
            return not showing or self.showing(acc)

        def hidden(acc):
            try:
                return not acc.getState().contains(pyatspi.STATE_VISIBLE)
            except Exception:
                return True

        def walk(acc, depth=0):
            if acc is None or depth > 60:
                return
            try:
                # Nothing inside a hidden item shows: closed dialogs are
                # skipped whole, which keeps each look-up quick.
                if showing and depth > 0 and hidden(acc):
                    return
                if matches(acc):
                    found.append(acc)
                children = list(acc)
            except Exception:
                return
            for child in children:
                walk(child, depth + 1)

        walk(within if within is not None else self.app())
        return found

    def find(self, role=None, name=None, within=None, timeout=DEFAULT_TIMEOUT):
        """Exactly one showing control; waits until it appears."""
        def one():
            hits = self.all(role, name, within)
            if len(hits) > 1:
                raise AssertionError("%d controls match %s %r" % (len(hits), role, name))
            return hits[0] if hits else None
        return wait_until(one, timeout, what="%s %r" % (role, name))

    def absent(self, role=None, name=None, within=None):
        return not self.all(role, name, within)

    @staticmethod
    def text(acc):
        """The text a field shows."""
        return acc.queryText().getText(0, -1)

    @staticmethod
    def centre(acc):
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return e.x + e.width // 2, e.y + e.height // 2

    @staticmethod
    def extents(acc):
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    @staticmethod
    def xdotool(*args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=30)

    def click(self, acc, button=1, offset=None):
        """A real pointer click in the middle of a control (or at offset)."""
        if offset is None:
            x, y = self.centre(acc)
        else:
            ex, ey, _, _ = self.extents(acc)
            x, y = ex + offset[0], ey + offset[1]
        self.xdotool("mousemove", "--sync", x, y)
        time.sleep(0.05)
        self.xdotool("click", button)
        time.sleep(0.15)

    def press(self, role, name, within=None, button=1):
        acc = self.find(role, name, within)
        self.click(acc, button)
        return acc

    def double_click(self, acc):
        x, y = self.centre(acc)
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "--repeat", 2, "--delay", 60, 1)
        time.sleep(0.15)

    def drag(self, x1, y1, x2, y2, steps=8):
        self.xdotool("mousemove", "--sync", x1, y1)
        self.xdotool("mousedown", 1)
        for i in range(1, steps + 1):
            self.xdotool("mousemove", "--sync", x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
            time.sleep(0.02)
        self.xdotool("mouseup", 1)
        time.sleep(0.15)

    def scroll_into_view(self, acc, scroll_bar, tries=30):
        """Turns the mouse wheel beside a vertical scroll bar until acc lies
        within the height of the area the bar scrolls."""
        sx, sy, _, sh = self.extents(scroll_bar)
        for _ in range(tries):
            _, y, _, h = self.extents(acc)
            if y >= sy and y + h <= sy + sh:
                return acc
            self.xdotool("mousemove", "--sync", sx - 24, sy + sh // 2)
            self.xdotool("click", 5 if y + h > sy + sh else 4)
            time.sleep(0.1)
        raise AssertionError("could not scroll %r into view" % acc.name)

    def type_keys(self, *keys):
        for k in keys:
            self.xdotool("key", "--delay", 30, k)
        time.sleep(0.1)

    def type_text(self, text):
        self.xdotool("type", "--delay", 30, text)
        time.sleep(0.1)

    def choose(self, dropdown_name, entry, within=None):
        """Opens a drop-down by its name and picks an entry by its text."""
        box = self.press("combo box", dropdown_name, within)
        item = self.find("list item", entry)
        self.click(item)
        return box

    @staticmethod
    def pixel(acc, dx, dy):
        """The colour (r, g, b) on screen at (dx, dy) inside a control."""
        ex, ey, _, _ = Program.extents(acc)
        out = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (ex + dx, ey + dy),
                              "-depth", "8", "txt:-"], check=True, timeout=60,
                             capture_output=True, text=True).stdout
        m = re.search(r"#([0-9A-Fa-f]{6})", out)
        if not m:
            raise AssertionError("no colour in %r" % out)
        return tuple(int(m.group(1)[i:i + 2], 16) for i in (0, 2, 4))

    def open_dialog(self, button, title):
        """Presses a button that opens a dialog and returns the dialog."""
        self.press("push button", button)
        return self.find("dialog", title)

    def close_dialog(self, dialog, title):
        self.press("push button", "Close", within=dialog)
        wait_until(lambda: self.absent("dialog", title), what="the %r dialog to close" % title)

    def factory_reset(self):
        """"Reset", then OK in the confirmation box."""
        box = self.open_dialog("Reset", "Reset")
        self.press("push button", "OK", within=box)
        wait_until(lambda: self.absent("dialog", "Reset"), what="the reset box to close")

    def window_extents(self):
        frames = [a for a in self.app() if a is not None]
        return self.extents(frames[0])

    def wait_screen(self):
        """Waits for the main screen (after the start-up picture)."""
        self.wait_output("Device Connect")
        return self.find("push button", "Save", timeout=60)

    def hide_balloons(self, width, height):
        """Unmaps the program's other top-level windows (tray balloons) so a
        picture of the window shows only the window."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)],
                               capture_output=True, text=True, timeout=30)
        for wid in found.stdout.split():
            geometry = subprocess.run(["xdotool", "getwindowgeometry", wid],
                                      capture_output=True, text=True, timeout=30).stdout
            size = re.search(r"Geometry: (\d+)x(\d+)", geometry)
            if size and (int(size.group(1)), int(size.group(2))) != (width, height):
                subprocess.run(["xdotool", "windowunmap", wid], timeout=30)
        time.sleep(0.2)

    def screenshot(self, name):
        """Saves the window as QUILL_SHOT_DIR/name.png when shots are wanted."""
        if not SHOT_DIR:
            return None
        os.makedirs(SHOT_DIR, exist_ok=True)
        x, y, w, h = self.window_extents()
        self.hide_balloons(w, h)
        path = os.path.join(SHOT_DIR, name + ".png")
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                        "+repage", path], check=True, timeout=60)
        return path


class PrivateDisplay:
    """An X display of its own (a bare Xvfb: no window manager, no tray);
    while it is open, DISPLAY names it for the program, xdotool and import."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                                         "-nolisten", "tcp"], pass_fds=(write_end,),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            self.process.kill()
            raise unittest.SkipTest("Xvfb did not start")
        self.saved = os.environ.get("DISPLAY")
        os.environ["DISPLAY"] = ":" + number

    def close(self):
        if self.saved is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = self.saved
        self.process.terminate()
        self.process.wait(10)


class ProgramTest(unittest.TestCase):
    """Base of the end-to-end tests: self.program runs for each test."""

    apconfig = None
    sim_config = None
    language = None
    profile_edits = None
    data_edits = None
    # False: the program runs on a display of its own without a system tray.
    tray = True

    def setUp(self):
        if not EXE or not os.path.exists(EXE):
            self.skipTest("QUILL_EXE not set")
        if not self.tray:
            if shutil.which("Xvfb") is None:
                self.skipTest("no Xvfb for a display without a tray")
            self.addCleanup(PrivateDisplay().close)
        self.program = Program(apconfig=self.apconfig, sim_config=self.sim_config,
                               language=self.language, profile_edits=self.profile_edits,
                               data_edits=self.data_edits, tray=self.tray)
        self.addCleanup(self.program.close)

    def assertWire(self, predicate, what, timeout=10.0):
        wait_until(lambda: any(predicate(r) for r in self.program.wire()), timeout, what=what)


def main():
    unittest.main(verbosity=2)
