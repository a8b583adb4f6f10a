"""The DPI and lighting panels and the system settings page, driven like a
user would, against the simulated mouse (553 family, sensor 3360, multi-colour
lighting) and the test display's pointer control."""

import ctypes
import ctypes.util
import time

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
        self.assertEqual(len(p.feature_requests(0x11)), 1)
        self.assertEqual(len(p.feature_requests(0x0D)), 1)


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


class SystemSettings(PanelTest):

    def setUp(self):
        super().setUp()
        self.pointer = XPointer()
        self.addCleanup(self.pointer.reset)

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

    def test_refused_scroll_lines_are_shown(self):
        p = self.program
        p.wait_screen()
        dialog = p.open_dialog("System setting", "System Setting")
        p.press("radio button", "Scroll one Screen", within=dialog)
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/scrollRate") == "1000",
                   what="one screen stored")
        # No Linux desktop keeps a wheel line count: the page says so.
        p.find("alert", "The desktop did not take the scroll lines", within=dialog)
        p.screenshot("system-settings-refused")
        p.press("push button", "Close", within=dialog)
        wait_until(lambda: p.absent("dialog", "System Setting"), what="the dialog to close")


if __name__ == "__main__":
    harness.main()
