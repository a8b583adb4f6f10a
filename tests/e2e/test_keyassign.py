"""The key assignment page against the simulated mouse, driven like a user would."""

import re
import time

import harness
from harness import OtherWindow, ProgramTest, wait_until


def sent(records):
    """What the program sent to the mouse."""
    return [r for r in records if r.kind in ("FeatureOut", "Output")]


class KeyAssignment(ProgramTest):

    def open_key(self, number):
        p = self.program
        p.press("list item", "Key  %d" % number)
        return p.find("dialog", re.compile(r"^Key %d : " % number))

    def close(self, dialog):
        p = self.program
        p.press("push button", "Close", within=dialog)
        wait_until(lambda: p.absent("dialog", re.compile(r"^Key \d+ : ")), what="the dialog to close")

    def wait_matrix_slot(self, slot, entry):
        p = self.program
        return wait_until(lambda: p.dump().get("keyMatrix 1", [])[4 * slot:4 * slot + 4] == entry,
                          what="slot %d = %s on the mouse" % (slot, entry))

    def test_play_pause_goes_out_only_with_save(self):
        p = self.program
        p.wait_screen()
        dialog = self.open_key(3)
        self.assertEqual(harness.normalise(dialog.name), "Key 3 : Middle Key")
        p.clear_wire()
        p.choose("Media Function", "Play/Pause", within=dialog)
        p.find("dialog", "Key 3 : Play/Pause")
        p.screenshot("key-assignment")
        self.close(dialog)
        time.sleep(1.0)
        self.assertEqual(sent(p.wire()), [])
        self.assertEqual(p.find("list item", "Key 3").description, "Play/Pause")
        p.press("push button", "Save")
        # Media entries keep their bytes in the device encoding.
        self.wait_matrix_slot(2, [0x03, 0x00, 0xCD, 0x00])
        self.assertEqual(p.setting("setting/p1.bin", "mouseKeyMatrix/2"), "3, 0, 205, 0")
        self.assertTrue(any(r.kind == "Output" for r in p.wire()))

    def test_combination_typed_into_another_window(self):
        p = self.program
        p.wait_screen()
        dialog = self.open_key(3)
        field = p.find("text", "Group Function", within=dialog)
        with OtherWindow() as other:
            p.click(field)
            self.assertEqual(p.text(field), "")
            other.focus()
            self.assertTrue(other.has_focus())
            p.xdotool("keydown", "Control_L")
            p.xdotool("keydown", "Shift_L")
            for key in ("c", "v", "b"):
                p.xdotool("key", "--delay", 30, key)
            p.xdotool("keyup", "Shift_L")
            p.xdotool("keyup", "Control_L")
            self.assertTrue(other.has_focus())
            wait_until(lambda: harness.normalise(p.text(field)) == "LCtrl + LShift + C + V",
                       what="the combination in the field")
            p.press("push button", "Confirm", within=dialog)
        p.find("dialog", "Key 3 : LCtrl + LShift + C + V")
        self.close(dialog)
        self.assertEqual(harness.normalise(p.find("list item", "Key 3").description),
                         "LCtrl + LShift + C + V")
        p.press("push button", "Save")
        # A combination is a keyboard entry (type 0) on the mouse.
        self.wait_matrix_slot(2, [0x00, 0x03, 0x06, 0x19])
        self.assertEqual(p.setting("setting/p1.bin", "mouseKeyMatrix/2"), "2, 3, 6, 25")

    def test_closing_without_a_change_leaves_save_as_it_was(self):
        p = self.program
        p.wait_screen()
        p.clear_wire()
        dialog = self.open_key(4)
        # A choice taken back is no change.
        p.press("radio button", "Middle Key", within=dialog)
        p.press("radio button", "Forward Key", within=dialog)
        self.close(dialog)
        p.press("push button", "Save")
        time.sleep(1.0)
        self.assertEqual(sent(p.wire()), [], "Save had nothing to send")
        # With a change pending, closing another button unchanged keeps it.
        dialog = self.open_key(4)
        # Below the fold: not showing until scrolled to.
        loop = p.all("radio button", "DPI LOOP", within=dialog, showing=False)[0]
        p.scroll_into_view(loop, p.find("scroll bar", "Scroll", within=dialog))
        p.click(loop)
        self.close(dialog)
        dialog = self.open_key(3)
        self.close(dialog)
        self.assertEqual(sent(p.wire()), [])
        p.press("push button", "Save")
        self.wait_matrix_slot(3, [0x07, 0x00, 0x03, 0x00])


if __name__ == "__main__":
    harness.main()
