import QtQuick
import QtTest
import "../../modules/qml/common"
import "../../modules/qml/pages/keymatrix"
import "../../modules/qml/pages/keyassign"
import "../../modules/qml/common/keytext.js" as KeyText

// The key assignment page on the real key matrix list, with the view and the
// macro editor stood in for: what each choice and capture builds, what
// closing writes, and what it sends.
Item {
    id: top
    width: 1024
    height: 640

    FakeView { id: ui_View }
    KeyCodeString { id: keyNames }

    // Records what the page has the macro editor send.
    QtObject {
        id: macroEditor
        property var sent: []
        function sendMacro(index, name) { sent = sent.concat([index + " " + name]) }
    }

    KeyMatrix {
        id: keyMatrix
        keyAssigment: page
        gunEditor: null
        macroEditor: macroEditor
    }

    KeyAssigment {
        id: page
        keyNames: keyNames
        keyMatrix: keyMatrix
        macroEditor: macroEditor
    }

    SignalSpy { id: macroEditorSpy; target: page; signalName: "openMacroEditor" }

    TestCase {
        name: "KeyAssignment"
        when: windowShown

        // The profile: left, right, middle, forward, back, DPI+, DPI-, the
        // light entry of slot 7; the factory profile has a fire key on 4.
        function profileMatrix() {
            var rows = [[0, 0, 240, 0], [0, 0, 241, 0], [0, 0, 242, 0], [0, 0, 244, 0], [0, 0, 243, 0],
                        [5, 0, 1, 0], [5, 0, 2, 0], [0, 240, 30, 2], [0, 0, 0, 0], [0, 0, 0, 0],
                        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [255, 0, 1, 0], [255, 0, 2, 0]]
            var m = {}
            for (var i = 0; i < 16; ++i)
                m["mouseKeyMatrix/" + i] = rows[i].map(String)
            return m
        }

        function init() {
            ui_View.profile = profileMatrix()
            ui_View.factory = profileMatrix()
            ui_View.factory["mouseKeyMatrix/4"] = ["1", "4", "20", "3"]
            ui_View.profile["mouseMacroKey/5"] = "Jump"
            page.keyAssigmentLang = KeyText.builtInTexts
            page.init()
            page.macroList.addData(["Jump", "Run", "Crouch"], true)
            keyMatrix.init(false, false)
            keyMatrix.isSave = false
            ui_View.reset()
            macroEditor.sent = []
            macroEditorSpy.clear()
        }

        function cleanup() {
            if (page.visible)
                page.closeClicked()
        }

        // Controls by their accessible name, found through the item tree.
        function find(item, match) {
            if (match(item))
                return item
            for (var i = 0; i < item.children.length; ++i) {
                var hit = find(item.children[i], match)
                if (hit)
                    return hit
            }
            return null
        }
        function radio(name) {
            var r = find(page, function (i) {
                return i.checked !== undefined && i.toggled === undefined && i.text === name
            })
            verify(r, "radio button " + name)
            return r
        }
        function dropDown(name) {
            var d = find(page, function (i) { return i.activated !== undefined && i.accessibleName === name })
            verify(d, "drop-down " + name)
            return d
        }
        function button(name) {
            var b = find(page, function (i) {
                return i.clicked !== undefined && i.checked === undefined && i.accessibleName === name
            })
            verify(b, "button " + name)
            return b
        }
        function field(name) {
            var f = find(page, function (i) { return i.editingFinished !== undefined && i.accessibleName === name })
            verify(f, "field " + name)
            return f
        }
        function checkBox(name) {
            var c = find(page, function (i) { return i.toggled !== undefined && i.text === name })
            verify(c, "check box " + name)
            return c
        }
        // A user's choice of entry `index` of a drop-down.
        function pick(box, index) {
            box.currentIndex = index
            box.activated(index)
        }

        function entryAt(slot) { return keyMatrix.entryAt(slot) }

        // --- every choice and its four bytes ------------------------------------

        function test_choices_data() {
            return [
                { tag: "Left Key", radio: "Left Key", entry: [0x00, 0x00, 0xF0, 0x00] },
                { tag: "Middle Key", radio: "Middle Key", entry: [0x00, 0x00, 0xF2, 0x00] },
                { tag: "Right Key", radio: "Right Key", entry: [0x00, 0x00, 0xF1, 0x00] },
                { tag: "Forward Key", radio: "Forward Key", entry: [0x00, 0x00, 0xF4, 0x00] },
                { tag: "Back Key", radio: "Back Key", entry: [0x00, 0x00, 0xF3, 0x00] },
                { tag: "Light Control", radio: "Light Control", entry: [0x00, 0x00, 0xFF, 0x00] },
                { tag: "Player", list: "Media Function", index: 0, text: "Player", entry: [0x03, 0x00, 0x83, 0x01] },
                { tag: "Next", list: "Media Function", index: 1, text: "Next", entry: [0x03, 0x00, 0xB5, 0x00] },
                { tag: "Previous", list: "Media Function", index: 2, text: "Privous", entry: [0x03, 0x00, 0xB6, 0x00] },
                { tag: "Stop", list: "Media Function", index: 3, text: "Stop", entry: [0x03, 0x00, 0xB7, 0x00] },
                { tag: "Mute", list: "Media Function", index: 4, text: "Mute", entry: [0x03, 0x00, 0xE2, 0x00] },
                { tag: "Play/Pause", list: "Media Function", index: 5, text: "Play/Pause", entry: [0x03, 0x00, 0xCD, 0x00] },
                { tag: "Volume+", list: "Media Function", index: 6, text: "Volumn+", entry: [0x03, 0x00, 0xE9, 0x00] },
                { tag: "Volume-", list: "Media Function", index: 7, text: "Volumn-", entry: [0x03, 0x00, 0xEA, 0x00] },
                { tag: "DPI+", radio: "DPI+", entry: [0x05, 0x00, 0x01, 0x00] },
                { tag: "DPI-", radio: "DPI-", entry: [0x05, 0x00, 0x02, 0x00] },
                { tag: "DPI LOOP", radio: "DPI LOOP", entry: [0x05, 0x00, 0x03, 0x00] },
                { tag: "Sniper Key", radio: "Sniper Key", entry: [0x05, 0x00, 0x04, 0x00] },
                { tag: "My PC", list: "Windows Function", index: 0, text: "My PC", entry: [0x06, 0x00, 0x94, 0x01] },
                { tag: "Index", list: "Windows Function", index: 1, text: "Index", entry: [0x06, 0x00, 0x23, 0x02] },
                { tag: "Search", list: "Windows Function", index: 2, text: "Search", entry: [0x06, 0x00, 0x21, 0x02] },
                { tag: "Max", list: "Windows Function", index: 3, text: "Max", entry: [0x06, 0x04, 0x2C, 0x1B] },
                { tag: "Min", list: "Windows Function", index: 4, text: "Min", entry: [0x06, 0x04, 0x2C, 0x11] },
                { tag: "Desktop", list: "Windows Function", index: 5, text: "Desktop", entry: [0x06, 0x00, 0xE3, 0x07] },
                { tag: "Run", list: "Windows Function", index: 6, text: "Run", entry: [0x06, 0x00, 0xE3, 0x15] },
                { tag: "New", list: "Shortcut Function", index: 0, text: "New", entry: [0x07, 0x00, 0xE0, 0x11] },
                { tag: "Cut", list: "Shortcut Function", index: 1, text: "Cut", entry: [0x07, 0x00, 0xE0, 0x1B] },
                { tag: "Copy", list: "Shortcut Function", index: 2, text: "Copy", entry: [0x07, 0x00, 0xE0, 0x06] },
                { tag: "Paste", list: "Shortcut Function", index: 3, text: "Paste", entry: [0x07, 0x00, 0xE0, 0x19] },
                { tag: "Save", list: "Shortcut Function", index: 4, text: "Save", entry: [0x07, 0x00, 0xE0, 0x16] },
                { tag: "Print", list: "Shortcut Function", index: 5, text: "Print", entry: [0x07, 0x00, 0xE0, 0x13] },
                { tag: "Find", list: "Shortcut Function", index: 6, text: "Find", entry: [0x07, 0x00, 0xE0, 0x09] },
                { tag: "Redo", list: "Shortcut Function", index: 7, text: "Redo", entry: [0x07, 0x00, 0xE0, 0x1C] },
                { tag: "Undo", list: "Shortcut Function", index: 8, text: "Undo", entry: [0x07, 0x00, 0xE0, 0x1D] },
                { tag: "Select All", list: "Shortcut Function", index: 9, text: "Select All", entry: [0x07, 0x00, 0xE0, 0x04] },
                { tag: "One Gun", radio: "One Gun", entry: [0x08, 0x00, 0x01, 0x00] },
                { tag: "Two Gun", radio: "Two Gun", entry: [0x08, 0x00, 0x02, 0x00] },
                { tag: "Three Gun", radio: "Three Gun", entry: [0x08, 0x00, 0x03, 0x00] }
            ]
        }
        // Slot 8 starts empty, so every choice is a change.
        function test_choices(row) {
            page.show(8)
            var text = row.radio !== undefined ? row.radio : row.text
            if (row.radio !== undefined) {
                var r = radio(row.radio)
                r.clicked()
                verify(r.checked)
            } else {
                var box = dropDown(row.list)
                compare(box.entryText(row.index), row.text)
                pick(box, row.index)
            }
            compare(page.entry, row.entry)
            compare(page.keyString, text)
            compare(page.title, "Key 9 : " + text)
            // The list shows the same text for the entry it stores.
            compare(page.keyCodeToString(row.entry[0], row.entry[1], row.entry[2], row.entry[3]), text)
            page.closeClicked()
            compare(entryAt(8), row.entry)
            compare(keyMatrix.modKeys.get(8).keyText, text)
            compare(keyMatrix.isSave, true)
            // Nothing reaches the mouse or the profile before "Save".
            compare(ui_View.calls, [])
            compare(macroEditor.sent, [])
        }

        function test_radioButtonsAreExclusiveAcrossSections() {
            page.show(2)
            verify(radio("Middle Key").checked)
            radio("DPI LOOP").clicked()
            verify(!radio("Middle Key").checked)
            verify(radio("DPI LOOP").checked)
            radio("Two Gun").clicked()
            verify(!radio("DPI LOOP").checked)
            pick(dropDown("Media Function"), 5)
            verify(!radio("Two Gun").checked)
            compare(dropDown("Media Function").currentIndex, 5)
            radio("Back Key").clicked()
            compare(dropDown("Media Function").currentIndex, -1)
        }

        function test_openingShowsTheEntry() {
            keyMatrix.setEntry(3, [3, 0, 0xB7, 0])
            page.show(3)
            compare(page.title, "Key 4 : Stop")
            compare(dropDown("Media Function").currentIndex, 3)
            compare(dropDown("Windows Function").currentIndex, -1)
            verify(!radio("Forward Key").checked)
        }

        function test_gunFunctionsOnlyWithGuns() {
            page.show(2)
            verify(radio("One Gun").visible)
            page.isGun = false
            verify(!radio("One Gun").visible)
            page.isGun = true
        }

        // --- group function (combination) ------------------------------------------

        function test_combination_data() {
            // Each event: [isDown, usbCode].
            return [
                { tag: "L Ctrl, L Shift, C, V, B: the B is ignored",
                  events: [[true, 0xE0], [true, 0xE1], [true, 0x06], [false, 0x06], [true, 0x19], [false, 0x19],
                           [true, 0x05], [false, 0x05], [false, 0xE1], [false, 0xE0]],
                  entry: [0x02, 0x03, 0x06, 0x19], text: "LCtrl + LShift + C + V" },
                { tag: "right-hand modifiers", events: [[true, 0xE6], [true, 0xE7], [true, 0x04]],
                  entry: [0x02, 0xC0, 0x04, 0x00], text: "RAlt + RWin + A" },
                { tag: "every modifier", events: [[true, 0xE7], [true, 0xE6], [true, 0xE5], [true, 0xE4],
                                                   [true, 0xE3], [true, 0xE2], [true, 0xE1], [true, 0xE0]],
                  entry: [0x02, 0xFF, 0x00, 0x00], text: "RWin + RAlt + RShift + RCtrl + LWin + LAlt + LShift + LCtrl" },
                { tag: "one key", events: [[true, 0x3A], [false, 0x3A]], entry: [0x02, 0x00, 0x3A, 0x00], text: "F1" },
                { tag: "a modifier pressed twice is named once",
                  events: [[true, 0xE2], [false, 0xE2], [true, 0xE2], [true, 0x2B]],
                  entry: [0x02, 0x04, 0x2B, 0x00], text: "LAlt + Tab" },
                { tag: "modifiers after the two keys still count",
                  events: [[true, 0x04], [true, 0x05], [true, 0x06], [true, 0xE4]],
                  entry: [0x02, 0x10, 0x04, 0x05], text: "A + B + RCtrl" }
            ]
        }
        function test_combination(row) {
            page.show(2)
            mouseClick(field("Group Function"))
            verify(page.isComboInput)
            compare(field("Group Function").text, "")
            for (var i = 0; i < row.events.length; ++i)
                page.detectKeyboard(row.events[i][0], row.events[i][1], 1)
            compare(field("Group Function").text, row.text)
            // Nothing changes before the confirm button.
            compare(page.entry, [0, 0, 0xF2, 0])
            button("Confirm").clicked()
            verify(!page.isComboInput)
            compare(page.entry, row.entry)
            compare(page.keyString, row.text)
            compare(field("Group Function").text, row.text)
            page.closeClicked()
            compare(entryAt(2), row.entry)
            compare(keyMatrix.isSave, true)
        }

        function test_combinationThatTakesNothing_data() {
            return [
                { tag: "empty confirm", events: [], button: "Confirm" },
                { tag: "key-ups only", events: [[false, 0xE0], [false, 0x06]], button: "Confirm" },
                { tag: "cancel", events: [[true, 0xE0], [true, 0x06]], button: "Cancel" }
            ]
        }
        function test_combinationThatTakesNothing(row) {
            page.show(2)
            mouseClick(field("Group Function"))
            for (var i = 0; i < row.events.length; ++i)
                page.detectKeyboard(row.events[i][0], row.events[i][1], 1)
            button(row.button).clicked()
            verify(!page.isComboInput)
            compare(field("Group Function").text, "Click Input")
            compare(page.entry, [0, 0, 0xF2, 0])
            compare(page.keyString, "Middle Key")
            page.closeClicked()
            compare(entryAt(2), [0, 0, 0xF2, 0])
            compare(keyMatrix.isSave, false)
        }

        function test_keysOutsideACaptureAreIgnored() {
            page.show(2)
            var shown = [field("Key Value").text, field("Group Function").text]
            page.detectKeyboard(true, 0x04, 1)
            page.detectKeyboard(true, 0x04, 0)
            compare(page.entry, [0, 0, 0xF2, 0])
            compare([field("Key Value").text, field("Group Function").text], shown)
        }

        // --- fire function -------------------------------------------------------------

        function test_fireCapture_data() {
            return [
                { tag: "key down", isDown: true, code: 0x04, name: "A" },
                { tag: "the next event ends it, whichever", isDown: false, code: 0x2C, name: "Space" },
                { tag: "F12", isDown: true, code: 0x45, name: "F12" }
            ]
        }
        function test_fireCapture(row) {
            page.show(2)
            mouseClick(field("Key Value"))
            verify(page.isFireInput)
            compare(field("Key Value").text, "Click Input")
            page.detectKeyboard(row.isDown, row.code, 0)
            verify(!page.isFireInput)
            compare(field("Key Value").text, row.name)
            // Rate from the slider's initial "10ms", endless.
            compare(page.entry, [0x01, row.code, 10, 0])
            compare(page.keyString, row.name)
            // Only the first event is taken.
            page.detectKeyboard(true, 0x05, 0)
            compare(page.entry, [0x01, row.code, 10, 0])
            page.closeClicked()
            compare(entryAt(2), [0x01, row.code, 10, 0])
            compare(keyMatrix.modKeys.get(2).keyText, row.name)
        }

        function test_timesAndEndness_data() {
            return [
                { tag: "seven", typed: "7", times: 7, endless: false },
                { tag: "the top", typed: "255", times: 255, endless: false },
                { tag: "zero", typed: "0", times: 0, endless: true },
                { tag: "empty", typed: "", times: 0, endless: true }
            ]
        }
        function test_timesAndEndness(row) {
            page.show(2)
            var times = field("Times")
            var endness = checkBox("Endness")
            verify(endness.checked)
            mouseClick(field("Key Value"))
            page.detectKeyboard(true, 0x04, 0)
            times.text = row.typed
            times.editingFinished()
            compare(times.text, String(row.times))
            compare(endness.checked, row.endless)
            compare(page.entry, [0x01, 0x04, 10, row.times])
        }

        function test_tickingEndnessMakesTheTimesZero() {
            page.show(2)
            mouseClick(field("Key Value"))
            page.detectKeyboard(true, 0x04, 0)
            var times = field("Times")
            times.text = "12"
            times.editingFinished()
            compare(page.entry, [0x01, 0x04, 10, 12])
            var endness = checkBox("Endness")
            verify(!endness.checked)
            endness.flip()
            verify(endness.checked)
            compare(times.text, "0")
            compare(page.entry, [0x01, 0x04, 10, 0])
        }

        function test_fireEntryTakesTheRateAndTimesShown() {
            page.show(2)
            var times = field("Times")
            times.text = "5"
            times.editingFinished()
            // Not a fire entry yet: the shown entry keeps its bytes.
            compare(page.entry, [0, 0, 0xF2, 0])
            var rate = find(page, function (i) { return i.period !== undefined && i.setPeriod !== undefined })
            rate.setPeriod(33)
            rate.moved(33)
            compare(page.entry, [0, 0, 0xF2, 0])
            mouseClick(field("Key Value"))
            page.detectKeyboard(true, 0x1E, 0)
            compare(page.entry, [0x01, 0x1E, 33, 5])
            rate.setPeriod(9)
            rate.moved(9)
            compare(page.entry, [0x01, 0x1E, 9, 5])
        }

        function test_openingAFireEntryShowsItsRateAndTimes() {
            keyMatrix.setEntry(4, [1, 0x04, 20, 3])
            page.show(4)
            compare(page.title, "Key 5 : A")
            var rate = find(page, function (i) { return i.period !== undefined && i.setPeriod !== undefined })
            compare(rate.text, "20MS")
            compare(field("Times").text, "3")
            verify(!checkBox("Endness").checked)
            page.closeClicked()
            // Another button starts from the initial rate and endless.
            page.show(2)
            compare(rate.text, "10ms")
            compare(field("Times").text, "0")
            verify(checkBox("Endness").checked)
        }

        // --- macro function ------------------------------------------------------------

        function test_macroChoice_data() {
            return [
                { tag: "one-time", mode: 0, slot: 2, name: "Run", entry: [0x04, 0, 2, 0] },
                { tag: "until any button", mode: 1, slot: 2, name: "Crouch", entry: [0x04, 1, 2, 0] },
                { tag: "until released", mode: 2, slot: 6, name: "Jump", entry: [0x04, 2, 6, 0] }
            ]
        }
        function test_macroChoice(row) {
            page.show(row.slot)
            radio(page.keyAssigmentLang[18 + row.mode]).clicked()
            // A run mode alone makes no macro entry.
            compare(page.entry[0], row.slot === 6 ? 5 : 0)
            var chooser = dropDown("Macro Function")
            pick(chooser, chooser.indexOf(row.name))
            compare(page.entry, row.entry)
            compare(page.keyString, row.name)
            page.closeClicked()
            compare(entryAt(row.slot), row.entry)
            compare(keyMatrix.modKeys.get(row.slot).keyText, row.name)
            compare(keyMatrix.isSave, true)
            // Sent at once and its name stored for the button.
            compare(macroEditor.sent, [row.slot + " " + row.name])
            compare(ui_View.calls, ["setData mouseMacroKey/" + row.slot + " " + row.name])
        }

        function test_runModeChangesAMacroEntry() {
            keyMatrix.setEntry(5, [4, 0, 5, 0])
            page.show(5)
            compare(page.title, "Key 6 : Jump")
            verify(radio("Macro runs one-time after pressing the button").checked)
            compare(dropDown("Macro Function").currentText, "Jump")
            radio("Macro runs endless loop until button is released").clicked()
            compare(page.entry, [4, 2, 5, 0])
            page.closeClicked()
            compare(macroEditor.sent, ["5 Jump"])
            compare(ui_View.calls, ["setData mouseMacroKey/5 Jump"])
        }

        function test_anotherMacroWithTheSameBytesIsAssigned() {
            keyMatrix.setEntry(5, [4, 0, 5, 0])
            page.show(5)
            var chooser = dropDown("Macro Function")
            pick(chooser, chooser.indexOf("Crouch"))
            compare(page.entry, [4, 0, 5, 0])
            page.closeClicked()
            compare(keyMatrix.modKeys.get(5).keyText, "Crouch")
            compare(keyMatrix.isSave, true)
            compare(macroEditor.sent, ["5 Crouch"])
            compare(ui_View.calls, ["setData mouseMacroKey/5 Crouch"])
        }

        function test_keepingTheMacroSendsNothing() {
            keyMatrix.setEntry(5, [4, 0, 5, 0])
            page.show(5)
            var chooser = dropDown("Macro Function")
            pick(chooser, chooser.indexOf("Jump"))
            page.closeClicked()
            compare(macroEditor.sent, [])
            compare(ui_View.calls, [])
            compare(keyMatrix.isSave, false)
        }

        function test_macroListFollowsTheEditor() {
            page.show(2)
            var chooser = page.macroList
            compare(chooser.count(), 3)
            pick(chooser, 1)
            chooser.addData(["Jump", "Walk", "Run"], false)
            compare(chooser.count(), 3)
            compare(chooser.currentText, "Run")
            chooser.addData(["Jump"], false)
            compare(chooser.currentIndex, -1)
            chooser.addData(["Jump", "Run"], true)
            compare(chooser.currentIndex, -1)
            chooser.addData([], false)
            compare(chooser.count(), 0)
        }

        function test_macroEditorButton() {
            page.show(2)
            button("Macro Editor").clicked()
            compare(macroEditorSpy.count, 1)
        }

        // --- closing and back -------------------------------------------------------

        function test_closingWithoutAChange_data() {
            return [
                { tag: "saved before", isSave: false },
                { tag: "unsaved before", isSave: true }
            ]
        }
        function test_closingWithoutAChange(row) {
            keyMatrix.isSave = row.isSave
            keyMatrix.selectedKey = 2
            page.show(2)
            // A choice taken back is no change.
            radio("Left Key").clicked()
            radio("Middle Key").clicked()
            page.closeClicked()
            verify(!page.visible)
            compare(keyMatrix.isSave, row.isSave)
            compare(keyMatrix.selectedKey, -1)
            compare(ui_View.calls, [])
        }

        function test_editingTheTimesEndsACapture_data() {
            return [
                { tag: "fire key", field: "Key Value", mode: 0 },
                { tag: "combination", field: "Group Function", mode: 1 }
            ]
        }
        function test_editingTheTimesEndsACapture(row) {
            page.show(2)
            mouseClick(field(row.field))
            verify(page.isFireInput || page.isComboInput)
            mouseClick(field("Times"))
            verify(field("Times").editing)
            verify(!page.isFireInput)
            verify(!page.isComboInput)
            // The digit typed into the field is no captured key.
            page.detectKeyboard(true, 0x22, row.mode)
            compare(page.entry, [0, 0, 0xF2, 0])
            page.freePressed()
        }

        function test_closingEndsACapture() {
            page.show(2)
            mouseClick(field("Group Function"))
            page.detectKeyboard(true, 0xE0, 1)
            page.closeClicked()
            verify(!page.isComboInput)
            verify(!page.isFireInput)
            compare(entryAt(2), [0, 0, 0xF2, 0])
        }

        function test_back_data() {
            return [
                { tag: "changed in the list", slot: 2, before: [3, 0, 0xCD, 0],
                  entry: [0, 0, 0xF2, 0], text: "Middle Key", restored: true },
                { tag: "factory fire key", slot: 4, before: [0, 0, 0xF3, 0],
                  entry: [1, 4, 20, 3], text: "A", restored: true },
                { tag: "already the factory one", slot: 1, before: [0, 0, 0xF1, 0],
                  entry: [0, 0, 0xF1, 0], text: "Right Key", restored: false },
                // Same text, other bytes: still not the factory entry.
                { tag: "another light entry", slot: 7, before: [0, 0, 0xFF, 0],
                  entry: [0, 0xF0, 0x1E, 0x02], text: "Light Control", restored: true }
            ]
        }
        function test_back(row) {
            keyMatrix.setEntry(row.slot, row.before)
            page.show(row.slot)
            button("Back").clicked()
            compare(page.entry, row.entry)
            compare(page.keyString, row.text)
            compare(entryAt(row.slot), row.entry)
            compare(keyMatrix.modKeys.get(row.slot).keyText, row.text)
            compare(keyMatrix.isSave, row.restored)
            page.closeClicked()
            compare(keyMatrix.isSave, row.restored)
            compare(ui_View.calls, [])
        }

        function test_freePressClosesListsAndEndsEditing() {
            page.show(2)
            var box = dropDown("Media Function")
            box.open()
            tryCompare(box, "opened", true)
            var times = field("Times")
            times.startEditing()
            verify(times.editing)
            page.freePressed()
            tryCompare(box, "opened", false)
            verify(!times.editing)
        }

        function test_macroNameComesFromTheProfile() {
            compare(page.keyCodeToString(4, 0, 5, 0), "Jump")
            compare(page.keyCodeToString(4, 0, 6, 0), "")
        }

        function test_languageTexts() {
            var texts = page.keyAssigmentLang.slice()
            texts[0] = "按键 "
            texts[32] = "播放/暂停"
            page.keyAssigmentLang = texts
            page.init()
            page.show(2)
            var box = dropDown("Media Function")
            compare(box.entryText(5), "播放/暂停")
            pick(box, 5)
            compare(page.title, "按键 3 : 播放/暂停")
        }
    }
}
