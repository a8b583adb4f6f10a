import QtQuick
import QtTest
import "../../modules/qml/pages/system"
import "../../modules/qml/pages/system/system.js" as Logic

// The system settings page: knob bands, what is stored and applied on each
// change, settings the desktop cannot take, the desktop's current values, and
// refusals of the desktop shown on the page.
Item {
    id: root
    width: 640
    height: 480

    FakeView {
        id: ui_View
        // The desktop's side of each setting, as the view reports it.
        property var pointerStates: []
        function pointerSettingStates() { return copy(pointerStates) }
    }

    Loader {
        id: loader
        active: false
        sourceComponent: SystemSetting { boundsItem: root }
    }

    TestCase {
        name: "SystemLogic"

        function test_indexOf_data() {
            return [
                { tag: "left end", p: 3, index: 0 },
                { tag: "on the first threshold", p: 4, index: 1 },
                { tag: "36", p: 36, index: 1 },
                { tag: "37", p: 37, index: 2 },
                { tag: "103", p: 103, index: 3 },
                { tag: "104 falls into the next band", p: 104, index: 4 },
                { tag: "171", p: 171, index: 5 },
                { tag: "305", p: 305, index: 10 },
                { tag: "304", p: 304, index: 9 },
                { tag: "right end", p: 337, index: 10 },
                { tag: "beyond the track", p: 400, index: 10 }
            ]
        }
        function test_indexOf(row) {
            compare(Logic.indexOf(row.p), row.index)
        }

        function test_rowsText_data() {
            return [
                { tag: "empty", text: "", rows: "1" },
                { tag: "zero", text: "0", rows: "1" },
                { tag: "five", text: "5", rows: "5" },
                { tag: "hundred", text: "100", rows: "100" },
                { tag: "above", text: "250", rows: "100" }
            ]
        }
        function test_rowsText(row) {
            compare(Logic.rowsText(row.text), row.rows)
        }

        function test_scrollValue() {
            compare(Logic.scrollValue(true, "7"), 1000)
            compare(Logic.scrollValue(false, "7"), 7)
            compare(Logic.scrollValue(false, ""), 1)
        }

        function test_isOneScreen_data() {
            return [
                { tag: "1000", stored: "1000", screen: true },
                { tag: "101", stored: "101", screen: true },
                { tag: "100", stored: "100", screen: false },
                { tag: "3", stored: 3, screen: false }
            ]
        }
        function test_isOneScreen(row) {
            compare(Logic.isOneScreen(row.stored), row.screen)
        }

        function test_applies_data() {
            return [
                { tag: "all", isStep: 0, steps: [true, true, true] },
                { tag: "speed", isStep: 1, steps: [true, false, false] },
                { tag: "double click", isStep: 2, steps: [false, true, false] },
                { tag: "scroll", isStep: 3, steps: [false, false, true] }
            ]
        }
        function test_applies(row) {
            compare([1, 2, 3].map(function (s) { return Logic.applies(row.isStep, s) }), row.steps)
        }

        function test_reasonText_data() {
            return [
                { tag: "available", reason: 0, text: "" },
                { tag: "not on this desktop", reason: 1, text: "Not offered by this desktop" },
                { tag: "unknown desktop", reason: 2, text: "Desktop not recognised" },
                { tag: "tool missing", reason: 3, text: "Desktop settings tool not installed" },
                { tag: "no session", reason: 4, text: "No desktop session" }
            ]
        }
        function test_reasonText(row) {
            compare(Logic.reasonText(Logic.builtInTexts, [{}, { reason: row.reason }], 2), row.text)
        }
    }

    TestCase {
        name: "SystemSetting"
        when: windowShown

        property var page: loader.item

        function child(name) {
            var c = findChild(page, name)
            verify(c, name)
            return c
        }

        function start(profile, states) {
            loader.active = false
            ui_View.refusedPointer = []
            ui_View.pointerStates = states || []
            ui_View.profile = profile || { "mouse/mouseRate": "155", "mouse/doubleRate": "104",
                                           "mouse/scrollRate": "3" }
            ui_View.factory = { "mouse/mouseRate": "3", "mouse/doubleRate": "337", "mouse/scrollRate": "1000" }
            loader.active = true
            page.visible = true
            page.init(false, false)
            ui_View.reset()
        }

        function cleanup() {
            loader.active = false
        }

        readonly property var stored: ["setData mouse/mouseRate 155", "setData mouse/doubleRate 104",
                                       "setData mouse/scrollRate 3"]

        function test_initPlacesTheStoredValues() {
            start()
            compare(page.speedPosition, 155)
            compare(page.doubleClickPosition, 104)
            compare(page.oneScreen, false)
            compare(child("rowsField").text, "3")
            compare(child("rowsChoice").checked, true)
            compare(ui_View.calls, [])
        }

        function test_initOneScreen() {
            start({ "mouse/mouseRate": "3", "mouse/doubleRate": "3", "mouse/scrollRate": "1000" })
            compare(page.oneScreen, true)
            compare(child("screenChoice").checked, true)
        }

        function test_initWithSendingAppliesAll() {
            start()
            page.init(true, false)
            compare(ui_View.calls, stored.concat(["mouseSetCursorSpeed 5", "mouseSetDoubleClickSpeed 4",
                                                  "mouseSetVerticalScrollLines 3"]))
        }

        function test_saveData_data() {
            return [
                { tag: "all", step: 0, applied: ["mouseSetCursorSpeed 5", "mouseSetDoubleClickSpeed 4",
                                                 "mouseSetVerticalScrollLines 3"] },
                { tag: "speed", step: 1, applied: ["mouseSetCursorSpeed 5"] },
                { tag: "double click", step: 2, applied: ["mouseSetDoubleClickSpeed 4"] },
                { tag: "scroll", step: 3, applied: ["mouseSetVerticalScrollLines 3"] }
            ]
        }
        function test_saveData(row) {
            start()
            page.saveData(true, row.step)
            // All three are stored whatever is applied.
            compare(ui_View.calls, stored.concat(row.applied))
            ui_View.reset()
            page.saveData(false, row.step)
            compare(ui_View.calls, stored)
        }

        function test_releasingASliderAppliesIt_data() {
            return [
                { tag: "speed", row: "speedRow", call: "mouseSetCursorSpeed 10", key: "mouse/mouseRate" },
                { tag: "double click", row: "doubleClickRow", call: "mouseSetDoubleClickSpeed 10", key: "mouse/doubleRate" }
            ]
        }
        function test_releasingASliderAppliesIt(row) {
            start()
            var s = child(row.row).slider
            var y = s.height / 2
            mousePress(s, s.pixelOf(s.position), y)
            mouseMove(s, s.width, y, -1, Qt.LeftButton)
            compare(ui_View.calls, [])
            mouseRelease(s, s.width, y)
            compare(ui_View.profile[row.key], 337)
            compare(ui_View.calls.slice(3), [row.call])
            compare(s.value, 10)
        }

        function test_choosingOneScreen() {
            start()
            mouseClick(child("screenChoice"))
            compare(page.oneScreen, true)
            compare(ui_View.calls, ["setData mouse/mouseRate 155", "setData mouse/doubleRate 104",
                                    "setData mouse/scrollRate 1000", "mouseSetVerticalScrollLines 1000"])
            ui_View.reset()
            mouseClick(child("rowsChoice"))
            compare(ui_View.callsOf("mouseSetVerticalScrollLines"), ["mouseSetVerticalScrollLines 3"])
        }

        function test_clearedRowsFieldBecomesOne() {
            start()
            var f = child("rowsField")
            f.startEditing()
            keyClick(Qt.Key_Backspace)
            f.endEditing()
            compare(f.text, "1")
            compare(ui_View.profile["mouse/scrollRate"], 1)
            compare(ui_View.callsOf("mouseSetVerticalScrollLines"), ["mouseSetVerticalScrollLines 1"])
        }

        function test_restoreStoresAndAppliesTheFactoryValues() {
            start()
            page.init(true, true)
            compare(ui_View.calls, ["setData mouse/mouseRate 3", "setData mouse/doubleRate 337",
                                    "setData mouse/scrollRate 1000", "mouseSetCursorSpeed 0",
                                    "mouseSetDoubleClickSpeed 10", "mouseSetVerticalScrollLines 1000"])
            compare(page.oneScreen, true)
        }

        function test_refusalsAreShown() {
            start()
            var line = child("pointerFailure")
            verify(!line.visible)
            ui_View.refusedPointer = ["mouseSetVerticalScrollLines", "mouseSetDoubleClickSpeed"]
            page.saveData(true, 0)
            compare(line.text, "The desktop did not take the double-click speed\n"
                               + "The desktop did not take the scroll lines")
            verify(line.visible)
            compare(line.Accessible.name, line.text)
            // A setting that is taken later clears only its own message.
            ui_View.refusedPointer = []
            page.saveData(true, 2)
            compare(line.text, "The desktop did not take the scroll lines")
            page.saveData(true, 1)
            compare(line.text, "The desktop did not take the scroll lines")
            page.chooseScroll(true)
            compare(line.text, "")
            verify(!line.visible)
        }

        function test_unavailableSettingIsDisabledWithItsReason() {
            start(undefined, [{ reason: 0 }, { reason: 1 }, { reason: 3 }])
            verify(child("speedRow").enabled)
            verify(!child("doubleClickRow").enabled)
            verify(!child("rowsChoice").enabled)
            verify(!child("screenChoice").enabled)
            compare(child("speedReason").visible, false)
            compare(child("doubleClickReason").text, "Not offered by this desktop")
            compare(child("doubleClickRow").slider.Accessible.description, "Not offered by this desktop")
            compare(child("scrollReason").Accessible.name, "Desktop settings tool not installed")
            // In the configured language.
            var lang = Logic.builtInTexts.slice()
            lang[8] = "当前桌面不提供此设置"
            page.lang = lang
            compare(child("doubleClickReason").text, "当前桌面不提供此设置")
            // Still stored, applied only where the desktop can take it.
            page.saveData(true, 0)
            compare(ui_View.calls, stored.concat(["mouseSetCursorSpeed 5"]))
            compare(child("pointerFailure").text, "")
        }

        function test_desktopValuesShown_data() {
            return [
                { tag: "start-up", send: false, recovery: false, applied: [] },
                { tag: "restore", send: true, recovery: true,
                  applied: ["mouseSetCursorSpeed 0", "mouseSetDoubleClickSpeed 10", "mouseSetVerticalScrollLines 1000"] }
            ]
        }
        function test_desktopValuesShown(row) {
            start()
            ui_View.pointerStates = [{ reason: 0, current: 10 }, { reason: 0, current: 2 },
                                     { reason: 0, current: 7 }]
            page.init(row.send, row.recovery)
            compare(ui_View.calls.filter(function (c) { return c.indexOf("mouseSet") === 0 }), row.applied)
            compare(child("speedRow").slider.value, 10)
            compare(child("doubleClickRow").slider.value, 2)
            compare(page.oneScreen, false)
            compare(child("rowsField").text, "7")
        }

        function test_closeHidesWithoutSaving() {
            start()
            page.closeClicked()
            verify(!page.visible)
            compare(ui_View.calls, [])
        }

        function test_dragStaysInsideTheScreen() {
            start()
            page.centre()
            page.moveBy(-5000, 5000)
            compare(page.x, 0)
            compare(page.y, root.height - page.height)
        }
    }
}
