"""The profile page and the gun editor against the simulated mouse."""

import time

import harness
from harness import ProgramTest, wait_until

# A 560-family mouse with the sample mouse's identity (row 1 of apConfig.bin).
SIM_560 = """[0]
family=560
vid=04d9
pid=a1ee
usagePage=ff00
usage=ff00
usagePage2=ff01
usage2=ff01
reportLength=32
isEncode=true
sCode=418205
"""

GUN_SET_DATA_553 = 0x04
SET_KEY_MATRIX_553 = 0x12
SET_PROFILE_560 = 0x0C


def ini_items(program, name):
    """Every group/key of a settings file with its value."""
    parser = program.read_ini(name)
    return {(section, key): value for section in parser.sections()
            for key, value in parser.items(section)}


def gun_record(program, row):
    return [v.strip() for v in program.setting("gun/gunData.bin", "gunData/%d" % row).split(",")]


class ProfilePage(ProgramTest):
    # Two profiles: the standard one and profile 1. Profile 2's file holds
    # leftovers that New must replace with the factory profile.
    profile_edits = {
        "name.bin": {"profile/profileName": "Standard0, profile_01"},
        "p3.bin": {"mouse/reportRate": "0", "mouseKeyMatrix/1": "3, 0, 205, 0"},
    }

    def open_page(self):
        return self.program.open_dialog("Config", "config")

    def test_new_profile_then_switch_to_it(self):
        p = self.program
        p.wait_screen()
        page = self.open_page()
        p.find("list item", "Standard", within=page)
        p.find("list item", "profile_0", within=page)
        p.press("push button", "New", within=page)
        # The first free name with the first free number, 2.
        p.find("list item", "profile_1", within=page)
        wait_until(lambda: p.setting("setting/name.bin", "profile/profileName")
                   == "Standard0, profile_01, profile_12", what="the new row in name.bin")
        # Its file is the factory profile again.
        wait_until(lambda: ini_items(p, "setting/p3.bin") == ini_items(p, "setting/pD.bin"),
                   what="p3.bin reset to pD.bin")
        p.screenshot("profiles")
        p.press("push button", "Close", within=page)
        wait_until(lambda: p.absent("dialog", "config"), what="the profile page to close")

        # The top bar lists the new row and switches to it.
        p.choose("Profile", "profile_1")
        wait_until(lambda: p.setting("setting/apConfig.bin", "mouse/profileNo") == "2",
                   what="profile 2 in use")
        p.choose("Report Rate", "250Hz")
        wait_until(lambda: p.setting("setting/p3.bin", "mouse/reportRate") == "1",
                   what="reportRate 1 in p3.bin")
        self.assertEqual(p.setting("setting/p1.bin", "mouse/reportRate"),
                         p.setting("setting/pD.bin", "mouse/reportRate"))

    def test_rename_and_delete(self):
        p = self.program
        p.wait_screen()
        page = self.open_page()
        row = p.find("list item", "profile_0", within=page)
        p.double_click(row)
        p.find("text", "profile_0", within=page)
        p.type_keys("ctrl+a")
        p.type_text("Work")
        p.type_keys("Return")
        p.find("list item", "Work", within=page)
        wait_until(lambda: p.setting("setting/name.bin", "profile/profileName") == "Standard0, Work1",
                   what="the new name in name.bin")
        p.press("push button", "Close", within=page)
        # The top bar's list shows the new name.
        p.press("combo box", "Profile")
        p.find("list item", "Work")
        p.type_keys("Escape")

        # The standard row's menu offers Delete but refuses it.
        page = self.open_page()
        p.press("list item", "Standard", within=page, button=3)
        p.press("menu item", "Delete")
        time.sleep(0.5)
        p.find("list item", "Standard", within=page)
        # Any other row goes; its file stays.
        p.press("list item", "Work", within=page, button=3)
        p.press("menu item", "Delete")
        wait_until(lambda: p.absent("list item", "Work", within=page), what="the row to go")
        wait_until(lambda: p.setting("setting/name.bin", "profile/profileName") == "Standard0, loaderzentic",
                   what="one row left in name.bin")
        self.assertIsNotNone(p.setting("setting/p2.bin", "mouse/reportRate"))


class GunEditor553(ProgramTest):
    # Presets that differ from what a factory reset makes of them.
    data_edits = {"gun/gunData.bin": {"gunData/0": "M416, L-Click, 30, 0, 40, 3",
                                      "gunData/1": "AKM, L-Click, 40, 0, 50, 0",
                                      "gunData/4": "UNP9, L-Click, 12, 0, 20, 6"}}
    apconfig = {"mouse/selectGun": "0, 4, 1"}

    def open_editor(self):
        return self.program.open_dialog("Gun Editor", "Gun editor")

    def close_editor(self, editor):
        self.program.close_dialog(editor, "Gun editor")

    def test_close_sends_only_after_a_change(self):
        p = self.program
        p.wait_screen()
        editor = self.open_editor()
        field = p.find("text", "Y axis", within=editor)
        self.assertEqual(p.text(field), "40")
        p.screenshot("gun-editor")
        p.clear_wire()
        self.close_editor(editor)
        time.sleep(1.0)
        self.assertEqual(p.feature_requests(GUN_SET_DATA_553), [])
        self.assertEqual(p.feature_requests(SET_KEY_MATRIX_553), [])

        # Slot 2 holds UNP9; its Y typed as 33 is stored at once.
        editor = self.open_editor()
        p.choose("Select gun", "Gun2", within=editor)
        field = p.find("text", "Y axis", within=editor)
        wait_until(lambda: p.text(field) == "20", what="UNP9's Y in the field")
        p.click(field)
        p.type_keys("ctrl+a")
        p.type_text("33")
        p.type_keys("Return")
        wait_until(lambda: gun_record(p, 4) == ["UNP9", "L-Click", "12", "0", "33", "6"],
                   what="UNP9's record with Y 33")
        p.clear_wire()
        self.close_editor(editor)
        wait_until(lambda: len(p.feature_requests(GUN_SET_DATA_553)) == 3, what="three gun slots sent")
        self.assertWire(lambda r: r.kind == "FeatureOut" and r.command == SET_KEY_MATRIX_553,
                        "the key matrix sent")
        sent = [r for r in p.wire() if r.kind == "FeatureOut"
                and r.command in (GUN_SET_DATA_553, SET_KEY_MATRIX_553)]
        # Slots first, in order, then the key matrix.
        self.assertEqual([r.command for r in sent[:4]], [GUN_SET_DATA_553] * 3 + [SET_KEY_MATRIX_553])
        stores = p.dump()
        self.assertEqual(stores["gun 0"][:3], [3, 0, 40])
        self.assertEqual(stores["gun 1"][:3], [6, 0, 33])
        self.assertEqual(stores["gun 2"][:3], [0, 0, 50])

    def test_marker_and_rate_drags(self):
        p = self.program
        p.wait_screen()
        editor = self.open_editor()
        marker = p.find("slider", "Cursor Adjust", within=editor)
        x, y, w, h = p.extents(marker)
        # From Y 40 to the top of the track: Y 0.
        p.drag(x + w // 2, y + 89 + 94 * 40 // 64, x + w // 2, y + 10)
        wait_until(lambda: gun_record(p, 0)[4] == "0", what="Y 0 stored for M416")
        rate = p.find("slider", "Rate", within=editor)
        rx, ry, rw, rh = p.extents(rate)
        p.drag(rx + 6 + 26 * 172 // 86, ry + rh // 2, rx + rw + 40, ry + rh // 2)
        wait_until(lambda: gun_record(p, 0)[2] == "90", what="period 90 stored for M416")
        self.assertEqual(p.text(p.find("text", "Y axis", within=editor)), "0")

    def test_factory_reset_restores_the_presets(self):
        p = self.program
        p.wait_screen()
        p.clear_wire()
        p.factory_reset()
        wait_until(lambda: p.setting("setting/apConfig.bin", "mouse/selectGun") == "0, 1, 2",
                   what="slots 0, 1, 2 stored")
        for row, y in ((0, "5"), (1, "7"), (2, "8")):
            record = gun_record(p, row)
            self.assertEqual(record[2], "9", record)
            self.assertEqual(record[4], y, record)
        self.assertEqual(gun_record(p, 4), ["UNP9", "L-Click", "12", "0", "20", "6"])
        wait_until(lambda: len(p.feature_requests(GUN_SET_DATA_553)) == 3, what="three gun slots sent")
        stores = p.dump()
        self.assertEqual([stores["gun %d" % n][:3] for n in range(3)], [[3, 0, 5], [0, 0, 7], [0, 0, 8]])
        editor = self.open_editor()
        self.assertEqual(p.find("combo box", "Select gun", within=editor).description, "Gun1")
        self.assertEqual(p.text(p.find("text", "Y axis", within=editor)), "5")
        self.assertEqual(p.find("slider", "Rate", within=editor).queryValue().currentValue, 9)


class GunEditor560(ProgramTest):
    apconfig = {"mouse/icType": "560"}
    sim_config = SIM_560

    def test_gun_data_goes_into_the_profile_records(self):
        p = self.program
        p.wait_screen()
        p.press("push button", "Gun Editor")
        editor = p.find("dialog", "Gun editor")
        p.press("list item", "SCAR-L", within=editor)
        wait_until(lambda: p.setting("setting/apConfig.bin", "mouse/selectGun") == "3, 1, 2",
                   what="SCAR-L bound to slot 1")
        p.clear_wire()
        p.press("push button", "Close", within=editor)
        # Slot s in record s + 1: 0xF0, times, x, y at offsets 78..81.
        expected = {2: [0xF0, 0, 0, 10], 3: [0xF0, 0, 0, 7], 4: [0xF0, 0, 0, 8]}

        def records():
            stores = p.dump()
            got = {n: stores["profile %d" % n][78:82] for n in expected}
            return stores if got == expected else None
        stores = wait_until(records, what="the three slots in profile records 2, 3, 4")
        self.assertEqual(len(p.feature_requests(SET_PROFILE_560)), 3)
        for n in (2, 3, 4):
            self.assertEqual(stores["profile %d" % n][65] & 0x04, 0)
        self.assertWire(lambda r: r.kind == "FeatureOut" and r.command == 0x0D, "the key matrix sent")


if __name__ == "__main__":
    harness.main()
