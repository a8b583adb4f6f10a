import QtQuick
import QtTest

// The key assignment page inside the real main screen: opened from the
// list, fed by the hooked keys, its result sent by "Save".
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
        name: "KeyAssignmentOnTheMainScreen"
        when: windowShown

        property var main: loader.item

        function page(name) {
            var p = findChild(main, name)
            verify(p, name)
            return p
        }

        function init() {
            loader.active = false
            var rows = [[0, 0, 240, 0], [0, 0, 241, 0], [0, 0, 242, 0], [0, 0, 244, 0], [0, 0, 243, 0],
                        [5, 0, 1, 0], [5, 0, 2, 0], [0, 240, 30, 2], [0, 0, 0, 0], [0, 0, 0, 0],
                        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [255, 0, 1, 0], [255, 0, 2, 0]]
            var m = {}
            for (var i = 0; i < 16; ++i)
                m["mouseKeyMatrix/" + i] = rows[i].map(String)
            ui_View.profile = m
            ui_View.factory = JSON.parse(JSON.stringify(m))
            ui_View.global = { "mouse/isGun": "true", "mouse/keyCount": "8", "mouse/icType": "553",
                               "common/language": "English", "mouse/profileNo": "0",
                               "mouse/selectGun": ["0", "1", "2"] }
            ui_View.lang = {}
            ui_View.gunRows = {}
            loader.active = true
            verify(main)
            main.initUI()
            tryCompare(main, "started", true, 3000)
            ui_View.reset()
        }

        function cleanup() {
            loader.active = false
        }

        // The matrix the last "Save" sent, as sixteen entries.
        function sentEntry(slot) {
            var sent = ui_View.callsOf("mouseSetKeyMatrix")
            verify(sent.length > 0, "a key matrix was sent")
            var values = sent[sent.length - 1].split(" ")[1].split(",").map(Number)
            return values.slice(4 * slot, 4 * slot + 4)
        }

        function test_hookedKeysReachTheCaptureThatRuns_data() {
            return [
                { tag: "fire key", start: "startFireInput", keys: [[true, 0x04], [false, 0x04]],
                  entry: [1, 0x04, 10, 0], text: "A" },
                { tag: "combination", start: "startComboInput",
                  keys: [[true, 0xE0], [true, 0xE1], [true, 0x06], [true, 0x19], [true, 0x05],
                         [false, 0x05], [false, 0x19], [false, 0x06], [false, 0xE1], [false, 0xE0]],
                  confirm: true, entry: [2, 0x03, 0x06, 0x19], text: "LCtrl + LShift + C + V" }
            ]
        }
        function test_hookedKeysReachTheCaptureThatRuns(row) {
            var dialog = page("keyAssigment")
            var matrix = page("keyMatrix")
            main.openKey(2, true)
            verify(dialog.visible)
            compare(matrix.selectedKey, 2)
            dialog[row.start]()
            for (var i = 0; i < row.keys.length; ++i)
                main.detectKeyboard(row.keys[i][0], row.keys[i][1])
            // The native side invokes detectKeyboard queued; the routing is direct.
            if (row.confirm)
                dialog.confirmCombo()
            compare(dialog.entry, row.entry)
            dialog.closeClicked()
            compare(matrix.selectedKey, -1)
            verify(!page("mask").visible)
            compare(matrix.modKeys.get(2).keyText, row.text)
            compare(String(page("saveButton").color), "#ff3030")
            compare(ui_View.callsOf("mouseSetKeyMatrix"), [])
            main.save()
            compare(sentEntry(2), row.entry)
            compare(matrix.isSave, false)
        }

        function test_closingWithoutAChangeLeavesSaveAsItWas() {
            main.openKey(3, true)
            page("keyAssigment").closeClicked()
            compare(String(page("saveButton").color), "#09347f")
            compare(page("keyMatrix").isSave, false)
        }

        // A macro chosen in the dialog (renamed, then) deleted in the editor
        // opened from it: closing writes and sends nothing naming it; the
        // button keeps or gets back its factory entry.
        function test_deletedMacroChoiceIsDropped_data() {
            return [{ tag: "chosen now", assignedBefore: false }, { tag: "assigned before", assignedBefore: true }]
        }
        function test_deletedMacroChoiceIsDropped(row) {
            var dialog = page("keyAssigment")
            var editor = page("macroEditor")
            var matrix = page("keyMatrix")
            editor.newMacro()
            main.openKey(2, true)
            dialog.chooseMacro(dialog.macroList.indexOf("Macro_0"))
            if (row.assignedBefore) {
                dialog.closeClicked()
                compare(matrix.entryAt(2), [4, 0, 2, 0])
                main.openKey(2, true)
            }
            dialog.openMacroEditor()
            editor.renameMacro(0, "Gone")
            compare(dialog.keyString, "Gone")
            editor.deleteCurrentMacro()
            compare(dialog.entry, [0, 0, 242, 0])
            editor.close()
            ui_View.reset()
            dialog.closeClicked()
            compare(matrix.entryAt(2), [0, 0, 242, 0])
            compare(ui_View.calls.filter(function (c) { return c.indexOf("Gone") >= 0 }), [])
            compare(ui_View.callsOf("mouseSendMacroData"), [])
        }

        function test_macroEditorOpensOverTheDialog() {
            var dialog = page("keyAssigment")
            var editor = page("macroEditor")
            main.openKey(2, true)
            dialog.openMacroEditor()
            verify(editor.visible)
            verify(dialog.visible)
            verify(editor.z > dialog.z)
            editor.visible = false
            verify(page("mask").visible)
        }
    }
}
