"""The macro editor against the simulated mouse: recording from the global
input capture while another window has the focus, the macro library's files
and the profiles that refer to macros."""

import os
import re
import time

import harness
from harness import OtherWindow, ProgramTest, wait_until

# Button 3 (slot 2) plays the macro named in mouseMacroKey/2; the mouse
# stores it as macro 3.
SLOT2_MACRO = "macro 3"

# A macro of the library: a press and a release of A.
MACRO_0 = {"config/index": 0, "config/total": 2, "config/repeat": 1, "config/did": -1,
           "macro/0": '"1,A"', "macro/1": '"2,A"'}


def macro_rows(p, name):
    """The action entries of a macro file, in order."""
    path = "macro/%s.bin" % name
    total = int(p.setting(path, "config/total", "0"))
    return [p.setting(path, "macro/%d" % i).strip('"') for i in range(total)]


class Recording(ProgramTest):

    def open_editor(self):
        self.program.wait_screen()
        return self.program.open_dialog("Macro Editor", "Macro Editor")

    def set_times(self, editor, text):
        p = self.program
        times = p.find("text", "Times", within=editor)
        p.click(times)
        p.type_keys("ctrl+a")
        p.type_text(text)
        p.type_keys("Return")

    def record(self, editor, keys, hold=0.0):
        """Start Record, the keys typed into another window (each held down
        for `hold` seconds), Stop Record."""
        p = self.program
        with OtherWindow() as other:
            p.press("push button", "Start Record", within=editor)
            p.find("push button", "Stop Record", within=editor)
            other.focus()
            for key in keys:
                p.xdotool("keydown", key)
                time.sleep(hold)
                p.xdotool("keyup", key)
            self.assertTrue(other.has_focus())
            time.sleep(0.3)
            p.press("push button", "Stop Record", within=editor)
            p.find("push button", "Start Record", within=editor)

    def test_record_then_assign_to_a_button(self):
        p = self.program
        editor = self.open_editor()
        p.press("push button", "New", within=editor)
        p.find("list item", "Macro_0", within=editor)
        wait_until(lambda: p.setting("setting/name.bin", "macro/macroName") == "Macro_0, loaderzentic",
                   what="the name list holding Macro_0")
        self.set_times(editor, "3")
        wait_until(lambda: p.setting("macro/Macro_0.bin", "config/repeat") == "3",
                   what="repeat count 3 in the macro file")
        self.record(editor, ["a", "b"])
        # Only presses and releases: the click on "Stop Record" stays out.
        wait_until(lambda: macro_rows(p, "Macro_0") == ["1,A", "2,A", "1,B", "2,B"],
                   what="the recorded rows in the macro file")
        for row in ("A \u2193", "A \u2191", "B \u2193", "B \u2191"):
            p.find("list item", row, within=editor)
        p.screenshot("macro-editor")
        # A second macro, shown with another repeat count when the first is
        # assigned.
        p.press("push button", "New", within=editor)
        p.find("list item", "Macro_1", within=editor)
        self.set_times(editor, "7")
        wait_until(lambda: p.setting("macro/Macro_1.bin", "config/repeat") == "7",
                   what="repeat count 7 in the second macro file")
        p.press("push button", "Close", within=editor)
        wait_until(lambda: p.absent("dialog", "Macro Editor"), what="the editor to close")

        p.clear_wire()
        p.press("list item", "Key  3")
        dialog = p.find("dialog", re.compile(r"^Key 3 : "))
        chooser = p.all("combo box", "Macro Function", within=dialog, showing=False)[0]
        p.scroll_into_view(chooser, p.find("scroll bar", "Scroll", within=dialog))
        p.choose("Macro Function", "Macro_0", within=dialog)
        p.find("dialog", "Key 3 : Macro_0")
        p.press("push button", "Close", within=dialog)
        # On the mouse at once, with the macro's own repeat count.
        image = wait_until(lambda: p.dump().get(SLOT2_MACRO), what="the macro on the mouse")
        self.assertEqual(image[:12], [0x00, 0x03, 0x01, 0x04, 0x81, 0x04, 0x01, 0x05, 0x81, 0x05,
                                      0x00, 0x00])
        self.assertTrue(p.feature_requests(0x13), "a macro transfer on the wire")
        wait_until(lambda: p.setting("setting/p1.bin", "mouseMacroKey/2") == "Macro_0",
                   what="the button's macro name in the profile")
        self.assertEqual(p.find("list item", "Key 3").description, "Macro_0")
        # The key-matrix entry goes out with "Save".
        p.press("push button", "Save")
        wait_until(lambda: p.dump().get("keyMatrix 1", [])[8:12] == [0x09, 0x00, 0x03, 0x00],
                   what="button 3 playing macro 3 on the mouse")
        wait_until(lambda: p.setting("setting/p1.bin", "mouseKeyMatrix/2") == "4, 0, 2, 0",
                   what="the macro entry in the profile")

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
            self.assertEqual(int(rows[i].split(",")[1]) % 10, 0, rows[i])
        # The measured pauses: each key was held for 400 ms (the tick timer
        # may fall behind on a busy machine, never ahead).
        for i in (1, 5):
            self.assertGreaterEqual(int(rows[i].split(",")[1]), 200, rows[i])
            self.assertLessEqual(int(rows[i].split(",")[1]), 2000, rows[i])
        self.assertTrue(p.all("list item", "%s ms" % rows[1].split(",")[1], within=editor))


class RenameAndDelete(ProgramTest):
    data_edits = {
        "macro/Macro_0.bin": MACRO_0,
        "setting/name.bin": {"macro/macroName": "Macro_0, loaderzentic"},
    }
    profile_edits = {
        "p1.bin": {"mouseKeyMatrix/2": "4, 0, 2, 0", "mouseMacroKey/2": "Macro_0"},
        "p2.bin": {"mouseKeyMatrix/4": "4, 0, 2, 0", "mouseMacroKey/2": "Macro_0"},
    }

    def key3(self):
        return self.program.find("list item", "Key 3").description

    def chooser_names(self):
        """The names the key assignment page's macro chooser offers (the
        editor closed)."""
        p = self.program
        p.press("list item", "Key  4")
        dialog = p.find("dialog", re.compile(r"^Key 4 : "))
        chooser = p.all("combo box", "Macro Function", within=dialog, showing=False)[0]
        p.scroll_into_view(chooser, p.find("scroll bar", "Scroll", within=dialog))
        p.click(chooser)
        time.sleep(0.5)
        names = [harness.normalise(item.name)
                 for popup in p.all("list", "Macro Function")
                 for item in p.all("list item", within=popup)]
        p.click(chooser)
        p.press("push button", "Close", within=dialog)
        wait_until(lambda: p.absent("dialog", re.compile(r"^Key 4 : ")), what="the dialog to close")
        return names

    def close_editor(self, editor):
        self.program.close_dialog(editor, "Macro Editor")

    def open_editor(self):
        return self.program.open_dialog("Macro Editor", "Macro Editor")

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
        self.assertEqual(self.chooser_names(), ["Macro_0"])
        editor = self.open_editor()
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
        self.close_editor(editor)
        self.assertEqual(self.chooser_names(), ["Jump"])
        editor = self.open_editor()

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
        self.close_editor(editor)
        self.assertEqual(self.chooser_names(), [])


if __name__ == "__main__":
    harness.main()
