import QtQuick
import QtTest

// The gun editor inside the real main screen, against a stand-in for the
// native view: what it shows, stores at once and sends when it closes.
Item {
    id: top
    width: 1024
    height: 640

    FakeView { id: ui_View }
    QtObject {
        id: hid
        function hid560_02H_SetCurrentProfile(n) {}
    }
    QtObject {
        id: ui_Ctl
        function onXChanged(x) {}
        function onYChanged(y) {}
        function onMinimize() {}
        function onClose() {}
    }

    Loader {
        id: loader
        active: false
        source: "../../modules/qml/main.qml"
    }

    TestCase {
        id: test
        name: "GunEditor"
        when: windowShown

        property var main: loader.item
        property var gun: main ? part(main, "gunEditor") : null

        function part(within, name) {
            var p = findChild(within, name)
            verify(p, name)
            return p
        }
        function control(name) { return part(gun, name) }

        function storedRows() {
            return { 0: ["M416", "L-Click", "9", "0", "5", "0"], 1: ["AKM", "L-Click", "11", "0", "7", "3"],
                     2: ["M16A4", "L-Click", "12", "0", "8", "0"], 3: ["SCAR-L", "L-Click", "30", "2", "64", "255"],
                     5: ["Thomson", "L-Click", "90", "0", "0", "1"] }
        }

        function start(selectGun) {
            loader.active = false
            ui_View.reset()
            ui_View.profile = {}
            ui_View.factory = {}
            ui_View.global = { "mouse/isGun": "true", "mouse/icType": "553", "mouse/keyCount": "8",
                               "common/language": "English", "mouse/profileNo": "0",
                               "mouse/selectGun": selectGun || ["3", "1", "5"] }
            ui_View.lang = {}
            ui_View.nameLists = { 2: ["Standard0"] }
            ui_View.gunRows = storedRows()
            loader.active = true
            verify(main)
            main.initUI()
            tryCompare(main, "started", true, 3000)
            main.openDialog(gun)
            ui_View.reset()
        }

        function cleanup() {
            loader.active = false
        }

        function shown() {
            return { y: control("gunY").text, x: control("gunX").text, rate: control("gunRate").text,
                     times: control("gunTimes").text, endless: control("gunEndness").checked,
                     slot: control("gunSlot").currentText, row: gun.currentRow }
        }

        function test_initialisationShowsSlotOne() {
            start()
            compare(shown(), { y: "64", x: "2", rate: "30MS", times: "255", endless: false, slot: "Gun1", row: 3 })
            compare(gun.markerPixel, 183)
            compare(gun.selectGun, [3, 1, 5])
            // Built-in values where no record is stored.
            compare(gun.model.get(4).gunName, "UNP9")
            compare(gun.model.get(4).gunPeriod, 10)
            compare(gun.isSave, false)
            compare(gun.slotPeriods(), [30, 11, 90])
        }

        function test_slotChoiceLoadsItsRowWithoutSaving_data() {
            return [
                { tag: "slot 2", slot: 1, shown: { y: "7", x: "0", rate: "11MS", times: "3", endless: false, slot: "Gun2", row: 1 } },
                { tag: "slot 3", slot: 2, shown: { y: "0", x: "0", rate: "90MS", times: "1", endless: false, slot: "Gun3", row: 5 } }
            ]
        }
        function test_slotChoiceLoadsItsRowWithoutSaving(row) {
            start()
            control("gunSlot").activated(row.slot)
            compare(shown(), row.shown)
            compare(ui_View.calls, [])
            compare(gun.isSave, false)
        }

        function test_storedZeroTimesTicksEndness_data() {
            return [
                { tag: "stored 0", row: 0, endless: true },
                { tag: "stored 3", row: 1, endless: false }
            ]
        }
        function test_storedZeroTimesTicksEndness(row) {
            start([String(row.row), "1", "2"])
            compare(control("gunEndness").checked, row.endless)
        }

        function test_choosingARowBindsItToTheSlot() {
            start()
            control("gunSlot").activated(1)
            mouseClick(control("gunRow2"))
            compare(gun.selectGun, [3, 2, 5])
            compare(ui_View.calls, ["setGlobalData mouse/selectGun [3,2,5]"])
            compare(gun.isSave, true)
            compare(shown().y, "8")
        }

        function test_markerDragSavesYOnRelease() {
            start()
            var target = control("gunTarget")
            // From the bottom of the track to its middle.
            mousePress(target, target.width / 2, 183)
            mouseMove(target, target.width / 2, 160)
            mouseMove(target, target.width / 2, 136)
            compare(control("gunY").text, "32")
            compare(ui_View.calls, [])
            mouseRelease(target, target.width / 2, 136)
            compare(ui_View.calls, ["mouseSaveGundata 3 [SCAR-L,L-Click,30,2,32,255]"])
            compare(gun.isSave, true)
            // Above the track: held at Y 0.
            mousePress(target, target.width / 2, 136)
            mouseMove(target, target.width / 2, 20)
            mouseRelease(target, target.width / 2, 20)
            compare(control("gunY").text, "0")
            compare(gun.markerPixel, 89)
        }

        function test_typedYMovesTheMarkerAndSavesWhenDone() {
            start()
            var field = control("gunY")
            field.startEditing()
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_6)
            compare(gun.markerPixel, 89 + 94 * 16 / 64)
            compare(ui_View.calls, [])
            keyClick(Qt.Key_Return)
            compare(ui_View.calls, ["mouseSaveGundata 3 [SCAR-L,L-Click,30,2,16,255]"])
            // 65 is beyond the range: the field reads the maximum, 64.
            field.startEditing()
            keyClick(Qt.Key_6)
            keyClick(Qt.Key_5)
            compare(field.text, "64")
        }

        function test_rateDragSavesThePeriodItReads() {
            start()
            var rate = control("gunRate")
            // Knob size 12: the track runs from pixel 6 to 6 + 172.
            mouseDrag(rate, 6 + Math.round(26 * 172 / 86), 8, 400, 0)
            compare(rate.text, "90MS")
            compare(ui_View.calls, ["mouseSaveGundata 3 [SCAR-L,L-Click,90,2,64,255]"])
            compare(gun.slotPeriods(), [90, 11, 90])
        }

        function test_storedPeriodNineReadsNineMS() {
            start(["0", "1", "2"])
            compare(control("gunRate").text, "9MS")
            compare(control("gunRate").period, 9)
        }

        function test_timesAndEndness() {
            start()
            var field = control("gunTimes")
            field.startEditing()
            keyClick(Qt.Key_7)
            keyClick(Qt.Key_Return)
            compare(ui_View.calls, ["mouseSaveGundata 3 [SCAR-L,L-Click,30,2,64,7]"])
            ui_View.reset()
            mouseClick(control("gunEndness"))
            compare(field.text, "0")
            compare(ui_View.calls, ["mouseSaveGundata 3 [SCAR-L,L-Click,30,2,64,0]"])
            ui_View.reset()
            // Unticking changes nothing.
            mouseClick(control("gunEndness"))
            compare(control("gunEndness").checked, false)
            compare(field.text, "0")
            compare(ui_View.calls, [])
        }

        function test_closeSendsOnlyAfterAChange_data() {
            return [
                { tag: "no edit", edit: false, calls: [] },
                { tag: "after an edit", edit: true,
                  calls: ["mouseSendGundata 1 [255,2,50]", "mouseSendGundata 2 [3,0,7]",
                          "mouseSendGundata 3 [1,0,0]", "mouseSetKeyMatrix"] }
            ]
        }
        function test_closeSendsOnlyAfterAChange(row) {
            start()
            if (row.edit) {
                // Typed and left by closing the panel: still taken.
                control("gunY").startEditing()
                keyClick(Qt.Key_5)
                keyClick(Qt.Key_0)
            }
            ui_View.reset()
            gun.closeClicked()
            verify(!gun.visible)
            verify(!part(main, "mask").visible)
            var calls = ui_View.calls.filter(function (c) { return c.indexOf("mouseSaveGundata") !== 0 })
            compare(calls.map(function (c) { return c.indexOf("mouseSetKeyMatrix") === 0 ? "mouseSetKeyMatrix" : c }),
                    row.calls)
            if (row.edit)
                compare(calls[3].split(" ")[3], "[30,11,90]")
            compare(gun.isSave, false)
            // Closing again sends nothing more.
            ui_View.reset()
            main.openDialog(gun)
            gun.closeClicked()
            compare(ui_View.calls, [])
        }

        function test_resetData() {
            start()
            control("gunSlot").activated(2)
            gun.resetData()
            compare(ui_View.calls, [
                "setGlobalData mouse/selectGun [0,1,2]",
                "mouseSaveGundata 0 [M416,L-Click,9,0,5,0]",
                "mouseSaveGundata 1 [AKM,L-Click,9,0,7,3]",
                "mouseSaveGundata 2 [M16A4,L-Click,9,0,8,0]",
                "mouseSendGundata 1 [0,0,5]", "mouseSendGundata 2 [3,0,7]", "mouseSendGundata 3 [0,0,8]"])
            compare(shown(), { y: "5", x: "0", rate: "9MS", times: "0", endless: true, slot: "Gun1", row: 0 })
            compare(gun.slotPeriods(), [9, 9, 9])
            compare(gun.isSave, false)
        }

        function test_gunEditorButtonOnlyWithGunFunctions_data() {
            return [{ tag: "gun", isGun: "true" }, { tag: "no gun", isGun: "false" }]
        }
        function test_gunEditorButtonOnlyWithGunFunctions(row) {
            loader.active = false
            ui_View.global = { "mouse/isGun": row.isGun, "mouse/selectGun": ["0", "1", "2"] }
            ui_View.nameLists = {}
            loader.active = true
            main.initUI()
            tryCompare(main, "started", true, 3000)
            var buttons = []
            function walk(item) {
                if (item.text === "Gun Editor" && item.clicked !== undefined)
                    buttons.push(item)
                for (var i = 0; i < item.children.length; ++i)
                    walk(item.children[i])
            }
            walk(main)
            compare(buttons.length, 1)
            compare(buttons[0].visible, row.isGun === "true")
        }
    }
}
