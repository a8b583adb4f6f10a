"""The DPI and lighting panels and the system settings page, driven like a
user would, against the simulated mouse (553 family, sensor 3360, multi-colour
lighting) and the test display's pointer control."""

import ctypes
import ctypes.util
import os
import shutil
import tempfile
import time
from unittest import mock


import harness
from harness import ProgramTest, wait_until

RED = (0xFF, 0x30, 0x30)
BLUE = (0x09, 0x34, 0x7F)


def sensor_3360(values, count):
    """Stage codes as the bridge builds them for sensor 3360 on a 553 mouse:
    v / 100 - 1, and 0x80 for every stage beyond the active count."""
    return [((v // 100) - 1) & 0xFF if i < count else 0x80 for i, v in enumerate(values)]


def ints(text):
    return [int(v) for v in text.split(",")]


class XPointer:
    """The test display's pointer control, read and reset through Xlib (what
    `xset q` / `xset m default` do, without needing the tool)."""

    def __init__(self):
        self.xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xlib.XOpenDisplay.restype = ctypes.c_void_p
        self.xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xlib.XGetPointerControl.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 3
        self.xlib.XChangePointerControl.argtypes = [ctypes.c_void_p] + [ctypes.c_int] * 5
        self.xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

    def _display(self):
        dpy = self.xlib.XOpenDisplay(None)
        assert dpy, "no X display"
        return dpy

    def acceleration(self):
        dpy = self._display()
        num, den, threshold = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        self.xlib.XGetPointerControl(dpy, ctypes.byref(num), ctypes.byref(den), ctypes.byref(threshold))
        self.xlib.XCloseDisplay(dpy)
        return num.value / den.value

    def reset(self):
        dpy = self._display()
        # -1 restores the server's default acceleration.
        self.xlib.XChangePointerControl(dpy, 1, 0, -1, -1, 0)
        self.xlib.XSync(dpy, 0)
        self.xlib.XCloseDisplay(dpy)


class PanelTest(ProgramTest):

    def panel(self, name):
        return self.program.find("panel", name)

    def save_colour(self):
        # The pointer must not hover the button, which turns it orange.
        self.program.xdotool("mousemove", "--sync", 0, 0)
        return self.program.pixel(self.program.find("push button", "Save"), 6, 4)

    def slider_value(self, name, within=None):
        return self.program.find("slider", name, within=within).queryValue().currentValue


class DpiPanel(PanelTest):

    def test_two_stages_then_save(self):
        p = self.program
        p.wait_screen()
        dpi = self.panel("DPI")
        for stage in range(1, 5):
            p.find("slider", "DPI %d" % stage, within=dpi)
        self.assertEqual(self.save_colour(), BLUE)
        p.clear_wire()

        p.choose("Stages", "2", within=dpi)
        wait_until(lambda: p.absent("slider", "DPI 3", within=dpi), what="stage 3 hidden")
        for stage in range(3, 9):
            self.assertTrue(p.absent("slider", "DPI %d" % stage, within=dpi), stage)
        p.find("slider", "DPI 2", within=dpi)
        self.assertEqual(self.save_colour(), RED)
        # Nothing is stored or sent before "Save".
        self.assertEqual(p.setting("setting/p1.bin", "mouse/currentDpiCount"), "4")
        self.assertEqual(p.feature_requests(0x11), [])

        p.press("push button", "Save")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/currentDpiCount") == "2",
                   what="currentDpiCount 2 stored")
        values = ints(p.setting("setting/p1.bin", "mouse/dpiValueArray"))
        self.assertEqual(values, [400, 800, 1600, 3200, 4800, 6400, 8000, 12000])
        codes = sensor_3360(values, 2)
        self.assertEqual(codes, [0x03, 0x07, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80])
        wait_until(lambda: p.dump().get("dpiSet 2") == codes, what="the DPI set on the mouse")
        sent = p.feature_requests(0x11)
        self.assertEqual(len(sent), 1)
        self.assertEqual(sent[0].bytes[2], 2)
        self.assertEqual(self.save_colour(), BLUE)

    def test_current_stage_is_announced(self):
        p = self.program
        p.wait_screen()
        dpi = self.panel("DPI")
        p.ctl("dpi", 3)
        wait_until(lambda: p.find("slider", "DPI 3", within=dpi).description == "current",
                   what="stage 3 marked current")
        for stage in (1, 2, 4):
            self.assertEqual(p.find("slider", "DPI %d" % stage, within=dpi).description, "")

    def test_slider_drag_shows_value_and_marks_unsaved(self):
        p = self.program
        p.wait_screen()
        dpi = self.panel("DPI")
        slider = p.find("slider", "DPI 1", within=dpi)
        self.assertEqual(self.slider_value("DPI 1", dpi), 400)
        x, y, w, h = p.extents(slider)
        # The knob sits 6 px above the track position; drag it to the top.
        knob_y = y + h - 6 - 7
        p.drag(x + w // 2, knob_y, x + w // 2, y - 20)
        wait_until(lambda: self.slider_value("DPI 1", dpi) == 12000, what="DPI 1 at 12000")
        self.assertEqual(self.save_colour(), RED)


class DpiRestore(PanelTest):
    profile_edits = {"p1.bin": {"mouse/dpiValueArray": "800, 800, 800, 800, 800, 800, 800, 800",
                                "mouse/lightValue": "3, 0, 0"}}

    def test_restore_changes_nothing_until_save(self):
        p = self.program
        p.wait_screen()
        with open(p.ini_path("setting/p1.bin")) as f:
            before = f.read()
        dpi = self.panel("DPI")
        light = self.panel("Light")
        self.assertEqual(self.slider_value("DPI 2", dpi), 800)
        p.press("push button", "Restore", within=dpi)
        wait_until(lambda: self.slider_value("DPI 1", dpi) == 400, what="factory DPI shown")
        self.assertEqual(self.slider_value("DPI 4", dpi), 3200)
        p.press("push button", "Restore", within=light)
        wait_until(lambda: p.find("combo box", "Light", within=light).description == "Wave",
                   what="factory effect shown")
        self.assertEqual(self.save_colour(), RED)
        time.sleep(1.0)
        with open(p.ini_path("setting/p1.bin")) as f:
            self.assertEqual(f.read(), before)

        p.clear_wire()
        p.press("push button", "Save")
        factory = p.setting("setting/pD.bin", "mouse/dpiValueArray")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/dpiValueArray") == factory,
                   what="factory DPI values stored")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/lightValue")
                   == p.setting("setting/pD.bin", "mouse/lightValue"), what="factory effect stored")
        # The commands follow on the device thread, each once.
        wait_until(lambda: len(p.feature_requests(0x0D)) == 1, what="the lighting effect sent")
        self.assertEqual(len(p.feature_requests(0x11)), 1)


class LightPanel(PanelTest):
    profile_edits = {"p1.bin": {"mouse/lightValue": "0, 1, 1"}}

    def test_wave_shows_both_sliders_and_save_sends(self):
        p = self.program
        p.wait_screen()
        light = self.panel("Light")
        p.find("slider", "Brightness", within=light)
        self.assertTrue(p.absent("slider", "Speed", within=light))
        p.clear_wire()

        p.choose("Light", "Wave", within=light)
        speed = p.find("slider", "Speed", within=light)
        self.assertEqual(speed.queryValue().currentValue, 0)
        self.assertEqual(self.slider_value("Brightness", light), 100)
        self.assertEqual(self.save_colour(), RED)
        p.screenshot("panels")
        self.assertEqual(p.feature_requests(0x0D), [])

        p.press("push button", "Save")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/lightValue") == "5, 0, 4",
                   what="Wave stored")
        colours = ints(p.setting("setting/p1.bin", "mouse/colorValue"))
        wait_until(lambda: p.dump().get("led8 0") == colours, what="the colours on the mouse")
        # Wave: mode 5, brightness 255 (step 4), speed 10 (step 0).
        self.assertEqual(p.dump()["rgbLedEffect"], [5, 255, 10])
        # A mouse that is not is55328 gets the eight colours twice.
        wait_until(lambda: len(p.feature_requests(0x10)) == 2, what="the colour command twice")
        self.assertEqual([r.bytes[2] for r in p.feature_requests(0x10)], [0, 0])

    def test_typed_colour_and_bar(self):
        p = self.program
        p.wait_screen()
        light = self.panel("Light")
        p.press("push button", "Color 4", within=light)
        self.assertEqual(self.slider_value("Color", light), 60)
        field = p.find("text", "B", within=light)
        p.double_click(field)
        p.type_keys("ctrl+a", "BackSpace")
        p.type_text("255")
        p.type_keys("Tab")
        wait_until(lambda: p.find("push button", "Color 4", within=light).description == "0, 255, 255",
                   what="block 4 cyan")
        self.assertEqual(self.slider_value("Color", light), 91)
        self.assertEqual(self.save_colour(), RED)


def kde_value(path, group, key):
    """One key of a KDE configuration file (or GLib key file); group is the
    header line."""
    current = None
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                current = line
            elif current == group and line.startswith(key + "="):
                return line.split("=", 1)[1]
    return None


class DesktopTest(PanelTest):
    """The program runs in the desktop session these variables describe."""
    desktop = {}

    def setUp(self):
        env = {"XDG_CURRENT_DESKTOP": "", "DESKTOP_SESSION": "", "XDG_SESSION_TYPE": "x11"}
        env.update(self.desktop)
        patcher = mock.patch.dict(os.environ, env)
        patcher.start()
        self.addCleanup(patcher.stop)
        super().setUp()


class SystemSettings(DesktopTest):
    """A plain X11 session: the X server's pointer acceleration only."""

    def setUp(self):
        self.pointer = XPointer()
        self.pointer.reset()
        self.addCleanup(self.pointer.reset)
        super().setUp()

    def test_speed_applied_on_release(self):
        p = self.program
        p.wait_screen()
        self.pointer.reset()
        before = self.pointer.acceleration()
        dialog = p.open_dialog("System setting", "System Setting")
        time.sleep(0.3)
        p.screenshot("system-settings")
        slider = p.find("slider", "Mouse Speed", within=dialog)
        self.assertEqual(slider.queryValue().currentValue, 5)
        x, y, w, h = p.extents(slider)
        p.drag(x + 6 + 155, y + h // 2, x + w + 30, y + h // 2)
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/mouseRate") == "337",
                   what="mouseRate 337 stored")
        # Index 10: pointer speed 20, on X11 an acceleration of 20/5.
        wait_until(lambda: self.pointer.acceleration() == 4.0, what="X pointer acceleration 4")
        self.assertNotEqual(before, 4.0)
        self.assertEqual(slider.queryValue().currentValue, 10)
        self.assertTrue(p.absent("alert", "The desktop did not take the pointer speed"))

    def test_what_the_desktop_lacks_is_disabled_with_its_reason(self):
        p = self.program
        p.wait_screen()
        dialog = p.open_dialog("System setting", "System Setting")
        # Double-click time and wheel lines are no X server settings.
        reasons = wait_until(lambda: len(p.all(None, "Not offered by this desktop", within=dialog)) == 2
                             and p.all(None, "Not offered by this desktop", within=dialog),
                             what="two reasons shown")
        self.assertEqual(len(reasons), 2)
        double = p.find("slider", "Double Click Speed", within=dialog)
        self.assertEqual(double.description, "Not offered by this desktop")
        self.assertEqual(p.find("slider", "Mouse Speed", within=dialog).description, "")
        screen = p.find("radio button", "Scroll one Screen", within=dialog)
        self.assertEqual(screen.description, "Not offered by this desktop")
        # Disabled: neither the click nor the drag changes anything.
        p.click(screen)
        x, y, w, h = p.extents(double)
        p.drag(x + 6 + 188, y + h // 2, x + w + 30, y + h // 2)
        time.sleep(0.5)
        self.assertEqual(p.setting("setting/p1.bin", "mouse/scrollRate"), "3")
        self.assertEqual(p.setting("setting/p1.bin", "mouse/doubleRate"), "188")
        self.assertEqual(double.queryValue().currentValue, 6)
        self.assertTrue(p.absent("alert", None, within=dialog))
        p.screenshot("system-settings-x11")
        p.close_dialog(dialog, "System Setting")


class GnomeSystemSettings(DesktopTest):
    """GNOME: its settings schema, kept in a key file of the test's own."""

    def setUp(self):
        self.config = tempfile.mkdtemp(prefix="quill-gnome-")
        self.addCleanup(shutil.rmtree, self.config, ignore_errors=True)
        self.desktop = {"XDG_CURRENT_DESKTOP": "GNOME", "GSETTINGS_BACKEND": "keyfile",
                        "XDG_CONFIG_HOME": self.config}
        self.keyfile = os.path.join(self.config, "glib-2.0", "settings", "keyfile")
        os.makedirs(os.path.dirname(self.keyfile))
        with open(self.keyfile, "w") as f:
            f.write("[org/gnome/desktop/peripherals/mouse]\ndouble-click=900\n")
        if shutil.which("gsettings") is None:
            self.skipTest("gsettings is not installed")
        super().setUp()

    def test_controls_write_gnome_settings(self):
        p = self.program
        p.wait_screen()
        dialog = p.open_dialog("System setting", "System Setting")
        double = p.find("slider", "Double Click Speed", within=dialog)
        self.assertEqual(double.queryValue().currentValue, 0)   # the desktop's 900 ms
        self.assertEqual(p.find("radio button", "Scroll one Screen", within=dialog).description,
                         "Not offered by this desktop")
        x, y, w, h = p.extents(double)
        p.drag(x + 6 + 3, y + h // 2, x + w + 30, y + h // 2)
        wait_until(lambda: kde_value(self.keyfile, "[org/gnome/desktop/peripherals/mouse]",
                                     "double-click") == "200", what="200 ms in the key file")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/doubleRate") == "337", what="doubleRate 337 stored")
        self.assertTrue(p.absent("alert", None, within=dialog))


class PlasmaSystemSettings(DesktopTest):
    """KDE Plasma: its configuration files in a home of the test's own."""

    def setUp(self):
        self.config = tempfile.mkdtemp(prefix="quill-kde-")
        self.addCleanup(shutil.rmtree, self.config, ignore_errors=True)
        self.desktop = {"XDG_CURRENT_DESKTOP": "KDE", "DESKTOP_SESSION": "plasma",
                        "KDE_SESSION_VERSION": "5", "XDG_CONFIG_HOME": self.config}
        with open(os.path.join(self.config, "kcminputrc"), "w") as f:
            f.write(self.MOUSE + "\nPointerAcceleration=0.200\n")
        with open(os.path.join(self.config, "kdeglobals"), "w") as f:
            f.write("[KDE]\nDoubleClickInterval=200\n")
        if shutil.which("kwriteconfig5") is None:
            self.skipTest("kwriteconfig5 is not installed")
        super().setUp()

    MOUSE = "[Libinput][1133][49271][Logitech USB Optical Mouse]"

    def path(self, name):
        return os.path.join(self.config, name)

    def test_controls_write_plasmas_files(self):
        p = self.program
        p.wait_screen()
        dialog = p.open_dialog("System setting", "System Setting")
        speed = p.find("slider", "Mouse Speed", within=dialog)
        # The desktop's own values: acceleration 0.2 and 200 ms.
        self.assertEqual(speed.queryValue().currentValue, 6)
        self.assertEqual(self.slider_value("Double Click Speed", dialog), 10)
        self.assertTrue(p.absent(None, "Not offered by this desktop", within=dialog))

        x, y, w, h = p.extents(speed)
        p.drag(x + 6 + 188, y + h // 2, x + w + 30, y + h // 2)
        wait_until(lambda: kde_value(self.path("kcminputrc"), self.MOUSE, "PointerAcceleration") == "1.000",
                   what="the mouse's acceleration in kcminputrc")
        self.assertEqual(kde_value(self.path("kcminputrc"), "[Mouse]", "XLbInptPointerAcceleration"), "1.000")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/mouseRate") == "337", what="mouseRate 337 stored")

        p.press("radio button", "Scroll one Screen", within=dialog)
        wait_until(lambda: kde_value(self.path("kdeglobals"), "[KDE]", "WheelScrollLines") == "1000",
                   what="one screen in kdeglobals")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/scrollRate") == "1000", what="one screen stored")
        self.assertTrue(p.absent("alert", None, within=dialog))


if __name__ == "__main__":
    harness.main()
