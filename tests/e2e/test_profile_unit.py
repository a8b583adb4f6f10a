"""A profile reaches the mouse as one unit: its macros, its recoil layers,
its report rate at start-up, and again after a write the mouse did not take."""

import harness
from harness import ProgramTest, wait_until

# Three profile rows; profile 1 (p2.bin) has button 8 playing Macro_1 and a
# gun switch on button 6, at report rate 125Hz (index 0).
PROFILES = {
    "name.bin": {"profile/profileName": "Standard0, profile_01, profile_12"},
    "p2.bin": {"mouseKeyMatrix/7": "4, 0, 7, 0", "mouseMacroKey/7": "Macro_1",
               "mouseKeyMatrix/5": "8, 0, 1, 0", "mouse/reportRate": "0"},
}
MACRO = {"macro/Macro_1.bin": {"config/total": "3", "config/repeat": "2",
                               "macro/0": "1,A", "macro/1": "0,50", "macro/2": "2,A"}}


def requests(program, codes):
    """(command, first parameter) of the feature requests with these codes."""
    return [(r.command, r.bytes[2]) for r in program.wire()
            if r.kind == "FeatureOut" and r.ok and r.command in codes]


class ProfileChange(ProgramTest):
    profile_edits = PROFILES
    data_edits = MACRO

    def test_macros_and_recoil_layers_go_with_the_profile(self):
        p = self.program
        p.wait_screen()
        p.clear_wire()
        p.choose("Profile", "profile_0")
        wait_until(lambda: (0x02, 1) in requests(p, {0x02}), what="key matrix 1 selected at the end")
        sent = requests(p, {0x13, 0x12, 0x02})
        # The macro of button 8 first (slot 8), then the factory matrix into
        # layers 2-4, then the profile's four layers with its recoil entries,
        # and key matrix 1 selected last: what a Save of the profile leaves.
        self.assertEqual(sent[0], (0x13, 8))
        self.assertEqual(sent[1:], [(0x02, 0), (0x12, 2), (0x12, 3), (0x12, 4),
                                    (0x12, 1), (0x12, 2), (0x12, 3), (0x12, 4), (0x02, 1)])
        stores = p.dump()
        self.assertIn("macro 8", stores)
        self.assertEqual(stores["currentKeyMatrix"], [1])


class StartUpOnAnotherProfile(ProgramTest):
    apconfig = {"mouse/profileNo": "1"}
    profile_edits = PROFILES
    data_edits = MACRO

    def test_pages_show_the_active_profile(self):
        p = self.program
        p.wait_screen()
        # p1.bin says 1000Hz; the active profile 1 says 125Hz.
        wait_until(lambda: p.find("combo box", "Report Rate").description == "125Hz",
                   what="the active profile's report rate")
        self.assertEqual(p.find("combo box", "Profile").description, "profile_0")


class FailedWrite(ProgramTest):
    def test_profile_is_sent_again_when_the_mouse_returns(self):
        p = self.program
        p.wait_screen()
        save = p.find("push button", "Save")
        self.assertEqual(save.description, "")
        p.ctl("fail", 1)   # the next transfer fails
        p.choose("Report Rate", "500Hz")
        wait_until(lambda: p.find("push button", "Save").description == "unsaved",
                   what="Save marked unsaved after the failed write")
        self.assertEqual(p.setting("setting/p1.bin", "mouse/reportRate"), "2")
        p.clear_wire()
        p.ctl("unplug")
        p.wait_output("Device removed")
        p.ctl("plug")
        p.wait_output("Device Connect", count=2)
        # The whole profile once: one key matrix, the stored rate.
        wait_until(lambda: p.dump()["reportRate"] == [2], what="report interval 2 on the mouse")
        wait_until(lambda: p.find("push button", "Save").description == "",
                   what="Save no longer unsaved")
        self.assertEqual(len([r for r in requests(p, {0x12}) if r[1] == 1]), 1)


if __name__ == "__main__":
    harness.main()
