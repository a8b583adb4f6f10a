"""The macro editor against the simulated mouse: recording from the global
input capture while another window has the focus, the macro library's files
and the profiles that refer to macros."""

import os
import subprocess
import time

import harness
from harness import ProgramTest, wait_until

# Button 3 (slot 2) plays the macro named in mouseMacroKey/2; the mouse
# stores it as macro 3.
ASSIGNED = {"p1.bin": {"mouseKeyMatrix/2": "4, 0, 2, 0", "mouseMacroKey/2": "Macro_0"}}
SLOT2_MACRO = "macro 3"

MACRO_0 = """[config]
index=0
total=2
repeat=1
did=-1

[macro]
0="1,A"
1="2,A"
"""


def macro_rows(p, name):
    """The action entries of a macro file, in order."""
    path = "macro/%s.bin" % name
    total = int(p.setting(path, "config/total", "0"))
    return [p.setting(path, "macro/%d" % i).strip('"') for i in range(total)]


class KeySink:
    """Another X window (xev) that holds the keyboard focus and logs the keys
    it receives."""

    def __init__(self, directory):
        self.log_path = os.path.join(directory, "xev.log")
        self._log = open(self.log_path, "w")
        self.process = subprocess.Popen(["xev", "-geometry", "200x100+10+880", "-name", "keysink",
                                         "-event", "keyboard"],
                                        stdout=self._log, stderr=subprocess.STDOUT)
        out = subprocess.run(["xdotool", "search", "--sync", "--name", "keysink"],
                             capture_output=True, text=True, timeout=30, check=True).stdout
        self.window = out.split()[0]

    def focus(self):
        harness.Program.xdotool("windowfocus", "--sync", self.window)

    def received(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def close(self):
        self.process.terminate()
        self.process.wait(10)
        self._log.close()


class Recording(ProgramTest):
    profile_edits = ASSIGNED

    def open_editor(self):
        p = self.program
        p.wait_screen()
        p.press("push button", "Macro Editor")
        return p.find("dialog", "Macro Editor")

    def record(self, editor, keys, hold=0.0):
        """Start Record, the keys typed into another window (each held down
        for `hold` seconds), Stop Record."""
        p = self.program
        sink = KeySink(p.dir)
        self.addCleanup(sink.close)
        p.press("push button", "Start Record", within=editor)
        p.find("push button", "Stop Record", within=editor)
        sink.focus()
        for key in keys:
            p.xdotool("keydown", key)
            time.sleep(hold)
            p.xdotool("keyup", key)
        time.sleep(0.3)
        p.press("push button", "Stop Record", within=editor)
        p.find("push button", "Start Record", within=editor)
        wait_until(lambda: "KeyRelease" in sink.received(), what="the keys in the other window")

    def test_record_without_delays(self):
        p = self.program
        editor = self.open_editor()
        p.press("push button", "New", within=editor)
        p.find("list item", "Macro_0", within=editor)
        wait_until(lambda: p.setting("setting/name.bin", "macro/macroName") == "Macro_0, loaderzentic",
                   what="the name list holding Macro_0")
        # The repeat count first, typed into the panel.
        times = p.find("text", "Times", within=editor)
        p.click(times)
        p.type_keys("ctrl+a")
        p.type_text("3")
        p.type_keys("Return")
        wait_until(lambda: p.setting("macro/Macro_0.bin", "config/repeat") == "3",
                   what="repeat count 3 in the macro file")
        p.clear_wire()
        self.record(editor, ["a", "b"])
        # Only presses and releases: the click on "Stop Record" stays out.
        wait_until(lambda: macro_rows(p, "Macro_0") == ["1,A", "2,A", "1,B", "2,B"],
                   what="the recorded rows in the macro file")
        for row in ("A \u2193", "A \u2191", "B \u2193", "B \u2191"):
            p.find("list item", row, within=editor)
        # Sent at once to the button that plays it, with its own count.
        image = wait_until(lambda: p.dump().get(SLOT2_MACRO), what="the macro on the mouse")
        self.assertEqual(image[:12], [0x00, 0x03, 0x01, 0x04, 0x81, 0x04, 0x01, 0x05, 0x81, 0x05,
                                      0x00, 0x00])
        self.assertTrue(p.feature_requests(0x13), "a macro transfer on the wire")
        p.screenshot("macro-editor")

    def test_record_with_delays(self):
        p = self.program
        editor = self.open_editor()
        p.press("push button", "New", within=editor)
        p.press("check box", "Delay", within=editor)
        self.record(editor, ["a", "b"], hold=0.4)
        rows = wait_until(lambda: (lambda r: r if len(r) == 7 else None)(macro_rows(p, "Macro_0")),
                          what="seven rows in the macro file")
        self.assertEqual([r[0] for r in rows], ["1", "0", "2", "0", "1", "0", "2"])
        self.assertEqual([rows[i] for i in (0, 2, 4, 6)], ["1,A", "2,A", "1,B", "2,B"])
        for i in (1, 3, 5):
            ms = int(rows[i].split(",")[1])
            self.assertEqual(ms % 10, 0, rows[i])
        # The measured pauses: each key was held for 400 ms (the tick timer
        # may fall behind on a busy machine, never ahead).
        for i in (1, 5):
            self.assertGreaterEqual(int(rows[i].split(",")[1]), 200, rows[i])
            self.assertLessEqual(int(rows[i].split(",")[1]), 2000, rows[i])
        image = wait_until(lambda: p.dump().get(SLOT2_MACRO), what="the macro on the mouse")
        self.assertEqual(image[:2], [0x00, 0x01])


class RenameAndDelete(ProgramTest):
    files = {"macro/Macro_0.bin": MACRO_0}
    profile_edits = dict(ASSIGNED, **{
        "p2.bin": {"mouseKeyMatrix/4": "4, 0, 2, 0", "mouseMacroKey/2": "Macro_0"},
        "name.bin": {"macro/macroName": "Macro_0, loaderzentic"},
    })

    def key3(self):
        return self.program.find("list item", "Key 3").description

    def rename(self, editor, old, new):
        p = self.program
        p.double_click(p.find("list item", old, within=editor))
        p.find("text", "Macro Name", within=editor)
        p.type_keys("ctrl+a")
        p.type_text(new)
        p.type_keys("Return")
        time.sleep(0.3)

    def test_rename_then_delete(self):
        p = self.program
        p.wait_screen()
        self.assertEqual(self.key3(), "Macro_0")
        p.press("push button", "Macro Editor")
        editor = p.find("dialog", "Macro Editor")
        p.find("list item", "A \u2193", within=editor)

        self.rename(editor, "Macro_0", "Jump")
        p.find("list item", "Jump", within=editor)
        def macro_files():
            return sorted(f for f in os.listdir(os.path.join(p.modules, "macro")) if f.endswith(".bin"))
        self.assertEqual(macro_files(), ["Jump.bin"])
        self.assertEqual(p.setting("setting/p1.bin", "mouseMacroKey/2"), "Jump")
        self.assertEqual(p.setting("setting/p2.bin", "mouseMacroKey/2"), "Jump")
        self.assertEqual(p.setting("setting/name.bin", "macro/macroName"), "Jump, loaderzentic")
        self.assertEqual(self.key3(), "Jump")

        # A name the library refuses changes nothing.
        self.rename(editor, "Jump", "a/b")
        p.find("list item", "Jump", within=editor)
        self.assertEqual(macro_files(), ["Jump.bin"])
        self.assertEqual(p.setting("setting/p1.bin", "mouseMacroKey/2"), "Jump")
        self.assertEqual(p.setting("setting/name.bin", "macro/macroName"), "Jump, loaderzentic")
        self.assertEqual(self.key3(), "Jump")

        p.press("push button", "Delete", within=editor)
        wait_until(lambda: p.absent("list item", "Jump", within=editor), what="the row to go")
        self.assertEqual(macro_files(), [])
        self.assertIsNone(p.setting("setting/name.bin", "macro/macroName"))
        # The buttons playing it are back to their factory assignment.
        factory = p.setting("setting/pD.bin", "mouseKeyMatrix/2")
        self.assertEqual(p.setting("setting/p1.bin", "mouseKeyMatrix/2"), factory)
        self.assertEqual(p.setting("setting/p2.bin", "mouseKeyMatrix/4"),
                         p.setting("setting/pD.bin", "mouseKeyMatrix/4"))
        self.assertEqual(self.key3(), "Middle Key")


if __name__ == "__main__":
    harness.main()
