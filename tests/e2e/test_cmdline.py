"""The command line against the simulated mouse: every option with the
program running (the command goes to it and its screens follow) and with
none running (the command does the work itself, without a display or
session bus); bad arguments, unknown profiles, no mouse, failing writes."""

import filecmp
import json
import os

import harness
from harness import ProgramTest, wait_until

SET_KEY_MATRIX, SET_REPORT_RATE, SET_CURRENT_DPI = 0x12, 0x01, 0x0B

# (arguments, exit status, text in stdout (0) or stderr (else)), the same
# whether the program runs or not.
REFUSED = [
    (["--frobnicate"], 2, 'unknown option "--frobnicate"'),
    (["--dpi-stage", "9"], 2, 'stage "9" is not a number from 1 to 8'),
    (["--profile"], 2, "--profile: a value is missing"),
    (["--profile", "Doom"], 2, 'unknown profile "Doom"'),
    (["--export-profile", "7", "x.pf"], 2, 'profile "7" is not a number from 0 to 5'),
    (["--import-profile", "1", "missing.pf"], 2, "cannot read"),
    (["--help"], 0, "--dpi-stage N"),
    (["--version"], 0, "quillmouse 1.0"),
]


class WithProgramRunning(ProgramTest):
    """Each case with the program running: the command goes to it."""

    running = True

    def setUp(self):
        if not harness.EXE or not os.path.exists(harness.EXE):
            self.skipTest("QUILL_EXE not set")
        self.program = p = harness.Program(start=False)
        self.addCleanup(p.close)
        # Commands are given from another folder than the program's.
        self.work = os.path.join(p.dir, "elsewhere")
        os.makedirs(self.work)
        # Profile 5 has no row (deleted on the profile page).
        p.edit_ini("setting/name.bin", {"profile/profileName": ", ".join(
            ["Standard0", "profile_01", "profile_12", "profile_23", "profile_34"])})
        if self.running:
            p.start()
            p.wait_screen()
            p.clear_wire()

    def run_cli(self, *args, sim_commands=None):
        status, out, err, wire = self.program.command(*args, sim_commands=sim_commands, cwd=self.work)
        return status, out, err, (self.program.wire() if self.running else wire)

    def requests(self, wire, command):
        return [r for r in wire if r.kind == "FeatureOut" and r.command == command and r.path.endswith(":0")]

    def test_refused_arguments(self):
        for args, status, text in REFUSED:
            with self.subTest(args=args):
                got, out, err, _ = self.run_cli(*args)
                self.assertEqual(got, status, err)
                self.assertIn(text, out if status == 0 else err)
        self.assertEqual(self.program.setting("setting/apConfig.bin", "mouse/profileNo"), "0")

    def test_profile_by_number_and_name(self):
        p = self.program
        for arg, number, name in (("2", "2", "profile_1"), ("profile_3", "4", "profile_3")):
            with self.subTest(arg=arg):
                if self.running:
                    p.clear_wire()
                status, out, err, wire = self.run_cli("--profile", arg)
                self.assertEqual(status, 0, err)
                self.assertIn('profile %s "%s" is active' % (number, name), out)
                self.assertEqual(p.setting("setting/apConfig.bin", "mouse/profileNo"), number)
                # The profile's key matrix and report rate went to the mouse.
                self.assertTrue(self.requests(wire, SET_KEY_MATRIX), wire)
                self.assertTrue(any(r.kind == "Output" for r in wire))
                self.assertTrue(self.requests(wire, SET_REPORT_RATE))
                if self.running:
                    self.assertEqual(p.find("combo box", "Profile").description, name)

    def test_dpi_stage_and_status(self):
        p = self.program
        status, _, err, wire = self.run_cli("--dpi-stage", "3")
        self.assertEqual(status, 0, err)
        self.assertEqual([r.bytes[2] for r in self.requests(wire, SET_CURRENT_DPI)], [3])
        if self.running:
            dpi = p.find("panel", "DPI")
            wait_until(lambda: p.find("slider", "DPI 3", within=dpi).description == "current",
                       what="stage 3 marked current on the screen")
        status, out, err, _ = self.run_cli("--status", "--json")
        self.assertEqual(status, 0, err)
        state = json.loads(out)
        self.assertEqual((state["connected"], state["family"], state["activeProfile"], state["reportRate"]),
                         (True, "553", 0, 1000))
        # A run of its own starts with the mouse as plugged in: stage 1.
        self.assertEqual(state["currentStage"], 3 if self.running else 1)
        status, out, _, _ = self.run_cli("--list-profiles")
        self.assertEqual(out.splitlines()[:2], ["* 0 Standard", "  1 profile_0"])
        self.assertEqual(json.loads(self.run_cli("--list-profiles", "--json")[1])[4],
                         {"number": 4, "name": "profile_3", "active": False})

    def test_export_then_import(self):
        p = self.program
        p.edit_ini("setting/p2.bin", {"mouse/reportRate": 1})
        status, _, err, _ = self.run_cli("--export-profile", "1", "saved.pf")
        self.assertEqual(status, 0, err)
        saved = os.path.join(self.work, "saved.pf")
        self.assertTrue(filecmp.cmp(saved, p.ini_path("setting/p2.bin"), shallow=False))
        for number in (4, 5):
            status, _, err, _ = self.run_cli("--import-profile", number, saved)
            self.assertEqual(status, 0, err)
            self.assertTrue(filecmp.cmp(saved, p.ini_path("setting/p%d.bin" % (number + 1)), shallow=False))
        # Profile 5 got its row back, named as the profile page names a new one.
        self.assertIn("  5 profile_4", self.run_cli("--list-profiles")[1])
        if self.running:
            p.press("combo box", "Profile")
            p.find("list item", "profile_4")
            p.type_keys("Escape")
            p.clear_wire()
        # Imported into the profile in use, it goes to the mouse at once.
        status, _, err, wire = self.run_cli("--import-profile", "0", saved)
        self.assertEqual(status, 0, err)
        self.assertTrue(self.requests(wire, SET_KEY_MATRIX))
        self.assertEqual([r.bytes[2] for r in self.requests(wire, SET_REPORT_RATE)], [4])
        if self.running:
            wait_until(lambda: p.find("combo box", "Report Rate").description == "250Hz",
                       what="the screen showing the imported report rate")
        # A failed import leaves the profile as it was; so does a failed export.
        with open(p.ini_path("setting/p5.bin"), "rb") as f:
            before = f.read()
        self.assertEqual(self.run_cli("--import-profile", "4", self.work)[0], 2)
        with open(p.ini_path("setting/p5.bin"), "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertEqual(self.run_cli("--export-profile", "1", "no/such/dir/x.pf")[0], 2)

    def test_no_mouse_and_failing_write(self):
        p = self.program
        # (arguments, simulated mouse before: program running / not running, status, message)
        for args, running, alone, status, text in (
                (["--dpi-stage", "2"], "fail 1", "fail 3", 4, "a write failed"),
                (["--profile", "3"], "unplug", "unplug", 3, "no mouse connected"),
                (["--dpi-stage", "2"], "unplug", "unplug", 3, "no mouse connected")):
            with self.subTest(args=args, prepare=running):
                if not self.running:
                    got, _, err, _ = self.run_cli(*args, sim_commands=alone)
                else:
                    if running != "unplug" or "Device removed" not in p.output():
                        p.ctl(*running.split())
                    if running == "unplug":
                        p.wait_output("Device removed")
                    got, _, err, _ = self.run_cli(*args)
                self.assertEqual(got, status, err)
                self.assertIn(text, err)
                self.assertEqual(p.setting("setting/apConfig.bin", "mouse/profileNo"), "0")


class WithoutProgram(WithProgramRunning):
    """Each case with no program running: the command does the work itself."""

    running = False


if __name__ == "__main__":
    harness.main()
