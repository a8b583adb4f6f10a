"""The "Bind program..." dialog of the profile page: games.ini as it leaves it."""

import os
import shutil
import subprocess
import tempfile

import harness
from harness import ProgramTest, wait_until


class BindProgram(ProgramTest):
    profile_edits = {"name.bin": {"profile/profileName": "Standard0, profile_01"}}

    def start_game(self, name):
        """A copy of sleep running under a game's name, ended with the test."""
        folder = tempfile.mkdtemp(prefix="quill-game-")
        self.addCleanup(shutil.rmtree, folder, True)
        path = os.path.join(folder, name)
        shutil.copy("/bin/sleep", path)
        game = subprocess.Popen([path, "600"])
        self.addCleanup(game.wait)
        self.addCleanup(game.kill)
        return game

    def bindings(self):
        p = self.program
        path = p.ini_path("setting/games.ini")
        if not os.path.exists(path):
            return []
        ini = p.read_ini("setting/games.ini")
        size = int(ini.get("bindings", "size", fallback="0"))
        return [(ini.get("bindings", "%d\\program" % i), ini.get("bindings", "%d\\profile" % i))
                for i in range(1, size + 1)]

    def test_bind_and_remove(self):
        p = self.program
        self.start_game("e2e-quest")
        p.wait_screen()
        page = p.open_dialog("Config", "config")
        p.press("list item", "profile_0", within=page, button=3)
        p.press("menu item", "Bind program...")
        dialog = p.find("dialog", "Bind program - profile_0")

        # A name typed in.
        field = p.find("text", "Program name or folder", within=dialog)
        p.click(field)
        p.type_text("eldenring.exe")
        p.press("push button", "Bind", within=dialog)
        wait_until(lambda: self.bindings() == [("eldenring.exe", "1")], what="the typed binding in games.ini")
        p.find("push button", "Remove eldenring.exe", within=dialog)

        # A running program picked from the list (typing filters it).
        p.click(field)
        p.type_text("e2e-qu")
        running = p.find("list", "Running programs", within=dialog)
        p.press("list item", "e2e-quest", within=running)
        self.assertEqual(p.text(field), "e2e-quest")
        p.press("push button", "Bind", within=dialog)
        wait_until(lambda: self.bindings() == [("eldenring.exe", "1"), ("e2e-quest", "1")],
                   what="the picked binding in games.ini")
        p.screenshot("bind-program")

        p.press("push button", "Remove eldenring.exe", within=dialog)
        wait_until(lambda: self.bindings() == [("e2e-quest", "1")], what="the binding removed")
        wait_until(lambda: p.absent("push button", "Remove eldenring.exe", within=dialog),
                   what="the row to go")

        # Another profile's dialog shows only its own bindings.
        p.close_dialog(dialog, "Bind program - profile_0")
        p.press("list item", "Standard", within=page, button=3)
        p.press("menu item", "Bind program...")
        dialog = p.find("dialog", "Bind program - Standard")
        self.assertTrue(p.absent("push button", "Remove e2e-quest", within=dialog))



class SwitchForAGame(ProgramTest):
    """A bound program running puts its profile on the mouse; its end brings
    the profile from before back."""
    profile_edits = {"name.bin": {"profile/profileName": "Standard0, profile_01"},
                     "p2.bin": {"mouse/reportRate": "0"}}
    data_edits = {"setting/games.ini": {"bindings/1\\program": "e2e-racer",
                                        "bindings/1\\profile": "1", "bindings/size": "1"}}

    def test_game_start_and_end_switch_profiles(self):
        p = self.program
        p.wait_screen()
        p.clear_wire()
        game = BindProgram.start_game(self, "e2e-racer")
        wait_until(lambda: p.setting("setting/apConfig.bin", "mouse/profileNo") == "1",
                   what="the bound profile stored as current", timeout=15)
        # Sent whole, as the drop-down does: profile 1's report rate (125Hz).
        wait_until(lambda: p.dump()["reportRate"] == [8], what="the bound profile's rate on the mouse")
        self.assertEqual(p.find("combo box", "Profile").description, "profile_0")
        game.kill()
        game.wait()
        wait_until(lambda: p.setting("setting/apConfig.bin", "mouse/profileNo") == "0",
                   what="the profile from before stored again", timeout=15)
        wait_until(lambda: p.dump()["reportRate"] == [1], what="the standard profile's rate again")


if __name__ == "__main__":
    harness.main()
