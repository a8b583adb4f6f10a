"""Closing the window: to the tray where the desktop has one, else the
program ends as its tray's quit does, with every setting on disk."""

import os

import harness
from harness import ProgramTest, wait_until


def snapshot(folder):
    """Every settings file of the data tree, by name: its bytes."""
    files = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            files[name] = f.read()
    return files


class CloseWithoutTray(ProgramTest):
    tray = False

    def test_close_ends_the_program_with_settings_intact(self):
        p = self.program
        p.wait_screen()
        p.choose("Report Rate", "500Hz")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/reportRate") == "2",
                   what="mouse/reportRate 2 in the current profile")
        before = snapshot(p.ini_path("setting"))
        p.press("push button", "Close")
        self.assertEqual(p.process.wait(30), 0)
        self.assertEqual(snapshot(p.ini_path("setting")), before)


class CloseWithTray(ProgramTest):

    def test_close_hides_to_the_tray(self):
        p = self.program
        p.wait_screen()
        p.press("push button", "Close")
        wait_until(lambda: p.absent("push button", "Save"), what="the window to hide")
        # Still running, in the tray.
        with self.assertRaises(Exception):
            p.process.wait(3)
        self.assertIsNone(p.process.poll())


if __name__ == "__main__":
    harness.main()
