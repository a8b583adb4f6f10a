"""The main screen against the simulated mouse, driven like a user would."""

import time

import harness
from harness import ProgramTest, wait_until


class MainScreen(ProgramTest):
    # Only the standard profile ships; the drop-down test needs two more.
    profile_edits = {"name.bin": {"profile/profileName": "Standard0, profile_01, profile_12"}}

    def test_first_connection_then_reconnection(self):
        p = self.program
        # The start-up picture comes first, then the screen.
        p.find("image", "TORVALE QUILL K270")
        p.wait_screen()
        self.assertTrue(p.absent("image", "TORVALE QUILL K270"))
        for name in ("Key Function", "Macro Editor", "Gun Editor", "System setting", "Config", "Reset"):
            self.assertTrue(p.all(name=name), name)
        p.screenshot("main")
        # A reconnection only locks the screen for a moment.
        p.ctl("unplug")
        p.wait_output("Device removed")
        p.ctl("plug")
        p.wait_output("Device Connect", count=2)
        time.sleep(1.5)
        self.assertTrue(p.absent("image", "TORVALE QUILL K270"))

    def test_report_rate_500(self):
        p = self.program
        p.wait_screen()
        p.clear_wire()
        p.choose("Report Rate", "500Hz")
        wait_until(lambda: p.setting("setting/p1.bin", "mouse/reportRate") == "2",
                   what="mouse/reportRate 2 in the current profile")
        wait_until(lambda: p.dump()["reportRate"] == [2], what="report interval 2 on the mouse")
        self.assertEqual(p.find("combo box", "Report Rate").description, "500Hz")

    def test_only_left_button_key_opens_nothing(self):
        p = self.program
        p.wait_screen()
        p.press("list item", "Key 1")
        time.sleep(1.0)
        self.assertTrue(p.absent("dialog", harness.re.compile(r"^Key 1 :")))
        p.press("list item", "Key 2")
        p.find("dialog", "Key 2 : Right Key")

    def test_factory_reset_with_gun_functions(self):
        p = self.program
        p.wait_screen()
        p.ctl("dpi", 4)
        p.choose("Report Rate", "125Hz")
        p.clear_wire()
        p.factory_reset()
        stores = wait_until(lambda: (lambda d: d if d["currentDpiStage"] == [2] else None)(p.dump()),
                            what="DPI stage 2 on the mouse")
        # Matrix 1 selected (553: index 0), the factory layers sent as 2, 3, 4.
        self.assertEqual(stores["currentKeyMatrix"], [0])
        for layer in (2, 3, 4):
            self.assertIn("keyMatrix %d" % layer, stores)
        # The profile is the factory one again, and it was sent.
        self.assertEqual(p.setting("setting/p1.bin", "mouse/reportRate"),
                         p.setting("setting/pD.bin", "mouse/reportRate"))
        self.assertEqual(stores["reportRate"], [1])
        self.assertEqual(p.find("combo box", "Report Rate").description, "1000Hz")
        # And the screen shows stage 2 as the current one.
        dpi = p.find("panel", "DPI")
        wait_until(lambda: p.find("slider", "DPI 2", within=dpi).description == "current",
                   what="stage 2 marked current on the screen")
        self.assertEqual(p.find("slider", "DPI 4", within=dpi).description, "")

    def test_profile_drop_down_switches_profiles(self):
        p = self.program
        p.wait_screen()
        p.clear_wire()
        p.choose("Profile", "profile_1")
        wait_until(lambda: p.setting("setting/apConfig.bin", "mouse/profileNo") == "2",
                   what="profile 2 stored as current")
        # The pages were sent again from the new profile.
        self.assertWire(lambda r: r.kind == "Output", "a key matrix transfer")
        # Later changes go to that profile's file.
        p.choose("Report Rate", "250Hz")
        wait_until(lambda: p.setting("setting/p3.bin", "mouse/reportRate") == "1",
                   what="reportRate 1 in p3.bin")
        self.assertEqual(p.setting("setting/p1.bin", "mouse/reportRate"), "3")


class ChineseScreen(ProgramTest):
    language = "ChineseSimplified"

    def test_chinese_texts(self):
        p = self.program
        p.wait_output("Device Connect")
        p.find("push button", "保存", timeout=60)
        for name in ("宏编辑器", "压枪编辑器", "系统设置", "配置", "恢复出厂"):
            self.assertTrue(p.all(name=name), name)
        self.assertTrue(p.absent("push button", "Save"))
        p.find("list item", "按键 1")
        p.screenshot("main-chinese")


if __name__ == "__main__":
    harness.main()
