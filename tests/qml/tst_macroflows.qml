import QtQuick
import QtTest

// The macro editor inside the real main screen, against a stand-in for the
// native view: what it stores, which names the library and the key
// assignment page's chooser get, and what reaches the mouse.
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
    // Stands in for the key assignment page's macro chooser.
    QtObject {
        id: chooserPage
        property QtObject macroList: QtObject {
            property var lists: []
            property int closed: 0
            function addData(names, isInit) { lists = lists.concat([[names.join("|"), isInit]]) }
            function close() { closed += 1 }
        }
    }

    Loader {
        id: loader
        active: false
        source: "../../modules/qml/main.qml"
    }

    TestCase {
        id: test
        name: "MacroFlows"
        when: windowShown

        property var main: loader.item
        property var editor: main ? findChild(main, "macroEditor") : null

        function matrix() {
            var m = {}
            var rows = [[0, 0, 240, 0], [0, 0, 241, 0], [0, 0, 242, 0], [0, 0, 244, 0], [0, 0, 243, 0],
                        [5, 0, 1, 0], [5, 0, 2, 0], [0, 240, 30, 2], [0, 0, 0, 0], [0, 0, 0, 0],
                        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [255, 0, 1, 0], [255, 0, 2, 0]]
            for (var i = 0; i < 16; ++i)
                m["mouseKeyMatrix/" + i] = rows[i].map(String)
            return m
        }

        // The main screen over a library of `macros` ({name: stored list})
        // listed as `names`; buttons 3 and 6 (slots 2 and 5) play Macro_0.
        function start(names, macros) {
            loader.active = false
            ui_View.reset()
            ui_View.profile = matrix()
            ui_View.factory = matrix()
            ui_View.profile["mouseKeyMatrix/2"] = ["4", "0", "2", "0"]
            ui_View.profile["mouseKeyMatrix/5"] = ["4", "1", "5", "0"]
            ui_View.profile["mouseMacroKey/2"] = "Macro_0"
            ui_View.profile["mouseMacroKey/5"] = "Macro_0"
            ui_View.global = { "mouse/isGun": "true", "mouse/keyCount": "8", "common/language": "English",
                               "mouse/icType": "553", "mouse/profileNo": "0" }
            ui_View.lang = {}
            ui_View.nameLists = { 0: names, 2: ["Standard0"] }
            ui_View.macros = macros || {}
            ui_View.importResult = true
            chooserPage.macroList.lists = []
            chooserPage.macroList.closed = 0
            loader.active = true
            verify(main)
            editor.keyAssigment = chooserPage
            main.initUI()
            // The start-up picture's second is of no interest here.
            main.setProtectUI(0)
            tryCompare(main, "started", true)
            main.openDialog(editor)
            ui_View.reset()
            chooserPage.macroList.lists = []
        }

        function cleanup() {
            loader.active = false
        }

        function names() {
            var list = []
            for (var i = 0; i < editor.macroModel.count; ++i)
                list.push(editor.macroModel.get(i).name)
            return list
        }

        function shownRows() {
            var list = []
            for (var i = 0; i < editor.actionModel.count; ++i) {
                var r = editor.actionModel.get(i)
                list.push(r.type + "," + r.info)
            }
            return list
        }

        // The showing items of a role under root, as a screen reader finds
        // them; with a name, the first one of that name.
        function accessibles(root, role) {
            var found = []
            function walk(item) {
                if (!item || !item.visible)
                    return
                if (item.Accessible && item.Accessible.role === role)
                    found.push(item)
                var kids = item.children || []
                for (var i = 0; i < kids.length; ++i)
                    walk(kids[i])
            }
            walk(root)
            return found
        }
        function accessible(root, role, name) {
            var all = accessibles(root, role)
            for (var i = 0; i < all.length; ++i) {
                if (all[i].Accessible.name === name)
                    return all[i]
            }
            return null
        }
        function rowNamed(name) {
            return accessible(editor, Accessible.ListItem, name)
        }
        // The entries of the open context menu (popups live in the overlay).
        function menuItems() {
            return accessibles(top.Window.contentItem, Accessible.MenuItem)
        }

        // --- the library list ------------------------------------------------------

        function test_initShowsTheStoredListAndFillsTheChooser() {
            start(["Macro_3", "loaderzentic"], { "Macro_3": ["1,A", "2,A", "3"] })
            compare(names(), ["Macro_3"])
            compare(editor.getCurrentMacroName(), "Macro_3")
            compare(shownRows(), ["1,A", "2,A"])
            compare(editor.timesField.text, "3")
            // init ran during initUI, before the test's chooser was set:
            editor.init()
            compare(chooserPage.macroList.lists, [["Macro_3", true]])
            compare(ui_View.callsOf("updataNameList"), [])
        }

        function test_newNames() {
            start([], {})
            compare(editor.getCurrentMacroName(), "")
            editor.newMacro()
            editor.newMacro()
            editor.newMacro()
            compare(names(), ["Macro_0", "Macro_1", "Macro_2"])
            compare(editor.getCurrentMacroName(), "Macro_2")
            compare(ui_View.callsOf("createMacroIni"), ["createMacroIni Macro_0 0", "createMacroIni Macro_1 0",
                                                        "createMacroIni Macro_2 0"])
            compare(ui_View.callsOf("updataNameList").slice(-1), ["updataNameList 0 [Macro_0,Macro_1,Macro_2]"])
            compare(chooserPage.macroList.lists.slice(-1), [["Macro_0|Macro_1|Macro_2", false]])
            // After Macro_1 goes, the next new macro is Macro_1 again.
            editor.selectMacro(1)
            editor.deleteCurrentMacro()
            editor.newMacro()
            compare(names(), ["Macro_0", "Macro_2", "Macro_1"])
            compare(editor.getCurrentMacroName(), "Macro_1")
        }

        function test_fullLibraryTakesNoMore_data() {
            return [ { tag: "New", action: "newMacro" }, { tag: "Import", action: "importMacro" } ]
        }
        function test_fullLibraryTakesNoMore(row) {
            var list = []
            for (var i = 0; i < 100; ++i)
                list.push("M" + i)
            start(list, {})
            editor[row.action]()
            compare(names().length, 100)
            compare(ui_View.calls, [])
            compare(chooserPage.macroList.lists, [])
        }

        function test_deleteRestoresButtonsAndSelectsTheNeighbour() {
            start(["Macro_0", "Other"], { "Macro_0": ["1,A", "2,A", "1"], "Other": ["1,B", "2,B", "4"] })
            compare(findChild(main, "keyMatrix").entryAt(2), [4, 0, 2, 0])
            editor.deleteCurrentMacro()
            compare(names(), ["Other"])
            compare(ui_View.macros["Macro_0"], undefined)
            compare(ui_View.calls[0], "deleteMacroIni Macro_0")
            // The main screen gave the buttons back their factory assignment.
            compare(findChild(main, "keyMatrix").entryAt(2), [0, 0, 242, 0])
            verify(ui_View.calls.indexOf("deleteMacroUpdateProfile Macro_0") > 0)
            compare(ui_View.callsOf("updataNameList"), ["updataNameList 0 [Other]"])
            compare(chooserPage.macroList.lists, [["Other", false]])
            // The neighbour is current with its own rows: an edit cannot
            // overwrite it with the deleted macro's.
            compare(editor.getCurrentMacroName(), "Other")
            compare(shownRows(), ["1,B", "2,B"])
            compare(editor.timesField.text, "4")
            editor.deleteCurrentMacro()
            compare(names(), [])
            compare(editor.getCurrentMacroName(), "")
            compare(shownRows(), [])
            compare(editor.timesField.text, "1")
            compare(ui_View.callsOf("updataNameList").slice(-1), ["updataNameList 0 []"])
        }

        function test_import_data() {
            var listed = ["Macro_0", "Macro_1", "Other"]
            return [
                { tag: "file chosen", result: true, writable: true, created: [], names: listed,
                  current: "Macro_1", written: ["updataNameList 0 [Macro_0,Macro_1,Other]"] },
                { tag: "cancelled: an empty macro", result: false, writable: true,
                  created: ["createMacroIni Macro_1 0"], names: listed, current: "Macro_1",
                  written: ["updataNameList 0 [Macro_0,Macro_1,Other]"] },
                // A macro whose file could not be made is not listed.
                { tag: "cancelled, no file can be made", result: false, writable: false,
                  created: ["createMacroIni Macro_1 0"], names: ["Macro_0", "Other"], current: "Other",
                  written: [] }
            ]
        }
        function test_import(row) {
            start(["Macro_0", "Other"], { "Macro_0": ["1"], "Other": ["1"] })
            editor.selectMacro(1)
            ui_View.importResult = row.result
            ui_View.filesWritable = row.writable
            ui_View.reset()
            editor.importMacro()
            ui_View.filesWritable = true
            // In front of the current row, and current itself.
            compare(names(), row.names)
            compare(editor.getCurrentMacroName(), row.current)
            compare(ui_View.callsOf("loadMacroFile"), ["loadMacroFile Macro_1"])
            compare(ui_View.callsOf("createMacroIni"), row.created)
            compare(ui_View.callsOf("updataNameList"), row.written)
        }

        function test_export() {
            start(["Macro_0", "Other"], { "Macro_0": ["1"], "Other": ["1"] })
            editor.selectMacro(1)
            editor.exportMacro()
            compare(ui_View.calls, ["saveMacroFile Other"])
        }

        function test_rename_data() {
            return [
                { tag: "new name", name: "Jump", shown: "Jump", library: true, key: "Jump" },
                { tag: "name of another row", name: "Other", shown: "Macro_0", library: false, key: "Macro_0" },
                { tag: "same name", name: "Macro_0", shown: "Macro_0", library: false, key: "Macro_0" },
                { tag: "empty", name: "", shown: "Macro_0", library: false, key: "Macro_0" },
                { tag: "refused by the library", name: "a/b", shown: "Macro_0", library: true, key: "Macro_0" },
                { tag: "refused: a file of that name", name: "Stray", shown: "Macro_0", library: true, key: "Macro_0" }
            ]
        }
        function test_rename(row) {
            start(["Macro_0", "Other"], { "Macro_0": ["1,A", "2,A", "1"], "Other": ["1"], "Stray": ["1"] })
            var renamed = row.shown !== "Macro_0"
            compare(editor.renameMacro(0, row.name), renamed)
            compare(names(), [row.shown, "Other"])
            compare(ui_View.callsOf("modifyMacroNameUpdateProfile").length, row.library ? 1 : 0)
            // The buttons' references and texts follow only a rename that happened.
            compare(ui_View.profile["mouseMacroKey/2"], row.key)
            compare(ui_View.profile["mouseMacroKey/5"], row.key)
            compare(findChild(main, "keyMatrix").modKeys.get(2).keyText, row.key)
            compare(ui_View.callsOf("setData"), [])
            compare(ui_View.callsOf("updataNameList"), renamed ? ["updataNameList 0 [Jump,Other]"] : [])
            compare(chooserPage.macroList.lists.length, renamed ? 1 : 0)
            compare(editor.getCurrentMacroName(), row.shown)
        }

        function test_renameByDoubleClickAndEnter() {
            start(["Macro_0", "Other"], { "Macro_0": ["1"], "Other": ["1"] })
            var row = rowNamed("Macro_0")
            verify(row)
            mouseDoubleClickSequence(row)
            compare(editor.renamingRow, 0)
            keyClick(Qt.Key_Backspace)
            keyClick(Qt.Key_J)
            keyClick(Qt.Key_Return)
            compare(editor.renamingRow, -1)
            compare(names(), ["j", "Other"])
            compare(ui_View.callsOf("modifyMacroNameUpdateProfile"), ["modifyMacroNameUpdateProfile Macro_0 j"])
            // Escape leaves the name as it was.
            mouseDoubleClickSequence(rowNamed("Other"))
            keyClick(Qt.Key_X)
            keyClick(Qt.Key_Escape)
            compare(names(), ["j", "Other"])
        }

        function test_macroMenu() {
            start(["Macro_0", "Other"], { "Macro_0": ["1"], "Other": ["1"] })
            mouseClick(rowNamed("Other"), 10, 10, Qt.RightButton)
            tryCompare(menuItems(), "length", 3)
            compare(menuItems().map(function (m) { return m.Accessible.name }), ["Delete", "Import", "Export"])
            // The row under the pointer is the one the menu acts on.
            compare(editor.getCurrentMacroName(), "Other")
            mouseClick(accessible(top.Window.contentItem, Accessible.MenuItem, "Export"))
            compare(ui_View.callsOf("saveMacroFile"), ["saveMacroFile Other"])
            tryCompare(menuItems(), "length", 0)
        }

        function test_actionMenu() {
            start(["Macro_0"], { "Macro_0": ["1,A", "2,A", "1"] })
            mouseClick(rowNamed("A \u2193"), 10, 10, Qt.RightButton)
            tryCompare(menuItems(), "length", 6)
            compare(menuItems().map(function (m) { return m.Accessible.name }),
                    ["Delete", "Insert Delay", "Insert Key", "Insert Left Key", "Insert Middle Key", "Insert Right Key"])
            mouseClick(accessible(top.Window.contentItem, Accessible.MenuItem, "Insert Left Key"))
            compare(shownRows(), ["1,A", "3,MS-L", "4,MS-L", "2,A"])
            // Rows are named by what they show.
            tryVerify(function () { return rowNamed("MS-L \u2193") !== null })
            verify(rowNamed("MS-L \u2191"))
        }

        function test_actionMenuOnAnEmptyMacro() {
            start(["Macro_0"], { "Macro_0": ["1"] })
            mouseClick(editor, 240 + 100, 32 + 32 + 200, Qt.RightButton)
            tryCompare(menuItems(), "length", 6)
            // No row to delete; inserting appends.
            mouseClick(accessible(top.Window.contentItem, Accessible.MenuItem, "Delete"))
            compare(menuItems().length, 6)
            mouseClick(accessible(top.Window.contentItem, Accessible.MenuItem, "Insert Delay"))
            compare(shownRows(), ["0,50"])
        }

        // --- sending -------------------------------------------------------------------

        function test_sendUsesTheMacrosOwnRepeatCount() {
            start(["Macro_0", "Other"], { "Macro_0": ["1,A", "0,50", "2,A", "3"], "Other": ["1,B", "2,B", "7"] })
            editor.selectMacro(1)
            compare(editor.timesField.text, "7")
            verify(editor.sendMacro(2, "Macro_0"))
            compare(ui_View.calls, ["mouseSendMacroData [0,3,5,4,129,4,0,0] 2"])
            // A macro the library does not hold sends nothing.
            verify(!editor.sendMacro(4, "Gone"))
            compare(ui_View.calls.length, 1)
        }

        function test_anEditIsSavedAndSentToItsButtons() {
            start(["Macro_0"], { "Macro_0": ["1,A", "2,A", "2"] })
            editor.timesField.text = "260"
            editor.timesEdited()
            compare(ui_View.calls, ["saveMacroIni Macro_0 [1,A,2,A] 260",
                                    "mouseSendMacroData [1,4,1,4,129,4,0,0] 2",
                                    "mouseSendMacroData [1,4,1,4,129,4,0,0] 5"])
        }

        function test_timesOnFocusLoss_data() {
            return [ { tag: "empty", text: "", shown: "0", saved: 0 },
                     { tag: "number", text: "12", shown: "12", saved: 12 } ]
        }
        function test_timesOnFocusLoss(row) {
            start(["Other"], { "Other": ["1,B", "2,B", "5"] })
            editor.timesField.startEditing()
            editor.timesField.text = row.text
            editor.endEditing()
            compare(editor.timesField.text, row.shown)
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Other [1,B,2,B] " + row.saved])
        }

        function test_pendingTimesEditStaysWithItsMacro_data() {
            return [ { tag: "import", action: function () { editor.importMacro() } },
                     { tag: "new", action: function () { editor.newMacro() } },
                     { tag: "select", action: function () { editor.selectMacro(1) } } ]
        }
        function test_pendingTimesEditStaysWithItsMacro(row) {
            start(["Macro_0", "Other"], { "Macro_0": ["1,A", "2,A", "1"], "Other": ["1,B", "2,B", "4"] })
            editor.timesField.startEditing()
            editor.timesField.text = "9"
            row.action()
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [1,A,2,A] 9"])
            compare(ui_View.macros["Macro_0"], ["1,A", "2,A", "9"])
            compare(ui_View.macros["Other"], ["1,B", "2,B", "4"])
        }

        // --- recording -------------------------------------------------------------------

        // Takes the timer's place: the pause since the last event.
        function pause(ticks) {
            for (var i = 0; i < ticks; ++i)
                editor.tickTimer.triggered()
        }

        function startRecording() {
            editor.startRecord()
            verify(editor.isInputting)
            editor.tickTimer.stop()
            // The pointer elsewhere: clicks there belong to the macro.
            mouseMove(top, 2, 2)
        }

        function test_recording_data() {
            return [
                { tag: "delay off", delay: false, rows: ["1,A", "2,A", "3,MS-L", "4,MS-L"] },
                { tag: "delay on", delay: true, rows: ["1,A", "0,120", "2,A", "0,0", "3,MS-L", "0,1500", "4,MS-L"] }
            ]
        }
        function test_recording(row) {
            start(["Macro_0"], { "Macro_0": ["1,Z", "2,Z", "4"] })
            editor.delaySwitch.checked = row.delay
            startRecording()
            compare(shownRows(), [])
            pause(30)
            main.detectKeyboard(true, 0x04)
            pause(12)
            main.detectKeyboard(false, 0x04)
            main.detectMouse(true, 0xF0, 5, 5)
            pause(150)
            main.detectMouse(false, 0xF0, 5, 5)
            compare(shownRows(), row.rows)
            compare(ui_View.callsOf("saveMacroIni"), [])
            editor.toggleRecord()
            verify(!editor.isInputting)
            verify(!editor.tickTimer.running)
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [" + row.rows.join(",") + "] 4"])
            // Saved means sent to its buttons.
            compare(ui_View.callsOf("mouseSendMacroData").length, 2)
        }

        function test_theTimerCountsTicks() {
            start(["Macro_0"], { "Macro_0": ["1"] })
            editor.startRecord()
            verify(editor.tickTimer.running)
            compare(editor.tickTimer.interval, 10)
            editor.tickTimer.stop()
            compare(editor.ticks, 0)
            pause(3)
            compare(editor.ticks, 3)
            main.detectKeyboard(true, 0x04)
            compare(editor.ticks, 0)
        }

        function test_clicksOnThePanelAreNotRecorded() {
            start(["Macro_0"], { "Macro_0": ["1"] })
            startRecording()
            mouseMove(editor, 300, 200)
            verify(editor.pointerOnPanel)
            main.detectMouse(true, 0xF0, 0, 0)
            main.detectKeyboard(true, 0x05)
            main.detectMouse(false, 0xF0, 0, 0)
            compare(shownRows(), ["1,B"])
            mouseMove(top, 2, 2)
            verify(!editor.pointerOnPanel)
            main.detectMouse(true, 0xF1, 0, 0)
            compare(shownRows(), ["1,B", "3,MS-R"])
            // The title bar is part of the panel; the controls under the
            // pointer still see it too.
            mouseMove(editor, 300, 10)
            verify(editor.pointerOnPanel)
            var newButton = accessible(editor, Accessible.Button, "New")
            mouseMove(newButton, 5, 5)
            verify(editor.pointerOnPanel)
            verify(newButton.hovered)
        }

        function test_stopRecordButtonClickStaysOutOfTheMacro() {
            start(["Macro_0"], { "Macro_0": ["1"] })
            var button = null
            function walk(item) {
                if (button || !item)
                    return
                if (item.Accessible && item.Accessible.role === Accessible.Button && item.Accessible.name === "Start Record")
                    button = item
                var kids = item.children || []
                for (var i = 0; i < kids.length; ++i)
                    walk(kids[i])
            }
            walk(editor)
            verify(button)
            mouseMove(button)
            mouseClick(button)
            verify(editor.isInputting)
            compare(button.Accessible.name, "Stop Record")
            // The hooks report the click on the button too, before and after it.
            main.detectMouse(false, 0xF0, 0, 0)
            main.detectKeyboard(true, 0x04)
            main.detectKeyboard(false, 0x04)
            main.detectMouse(true, 0xF0, 0, 0)
            mouseClick(button)
            main.detectMouse(false, 0xF0, 0, 0)
            verify(!editor.isInputting)
            compare(shownRows(), ["1,A", "2,A"])
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [1,A,2,A] 1"])
        }

        function test_recordingNeedsAMacro() {
            start([], {})
            editor.startRecord()
            verify(!editor.isInputting)
            main.detectKeyboard(true, 0x04)
            compare(shownRows(), [])
        }

        function test_budgetStopsTheRecording_data() {
            return [
                // 2 + 2 per action + 2 + 2 reaches 126 with the 60th action.
                { tag: "short pauses", delay: false, ticks: 5, actions: 60, rows: 60 },
                // Each pause of 127 ticks makes its action cost 6: 2 + 2 + 6 * 20
                // + 2 + 2 = 128 after the 21st action, which was still allowed at 122.
                { tag: "long pauses", delay: true, ticks: 127, actions: 21, rows: 41 }
            ]
        }
        function test_budgetStopsTheRecording(row) {
            start(["Macro_0"], { "Macro_0": ["1"] })
            editor.delaySwitch.checked = row.delay
            startRecording()
            for (var i = 0; i < 100; ++i) {
                pause(row.ticks)
                main.detectKeyboard(i % 2 === 0, 0x04)
            }
            compare(editor.actionModel.count, row.rows)
            var actions = shownRows().filter(function (r) { return r.charAt(0) !== "0" })
            compare(actions.length, row.actions)
            verify(editor.encodedSize() >= 126)
            // Inserting is refused as well; the rows taken stay.
            editor.toggleRecord()
            editor.currentAction = 0
            editor.insertDelay()
            editor.insertButton(0xF0)
            editor.openInsertKey()
            verify(!editor.isInsertting)
            compare(editor.actionModel.count, row.rows)
            compare(ui_View.callsOf("saveMacroIni").length, 1)
        }

        function test_closingWhileRecordingStopsAndSaves() {
            start(["Macro_0"], { "Macro_0": ["1"] })
            startRecording()
            main.detectKeyboard(true, 0x04)
            editor.closeClicked()
            verify(!editor.visible)
            verify(!editor.isInputting)
            verify(!editor.tickTimer.running)
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [1,A] 1"])
            compare(chooserPage.macroList.closed, 1)
            verify(!findChild(main, "mask").visible)
        }

        function test_switchingMacrosStopsTheRecording() {
            start(["Macro_0", "Other"], { "Macro_0": ["1"], "Other": ["1,B", "2,B", "1"] })
            startRecording()
            main.detectKeyboard(true, 0x04)
            editor.selectMacro(1)
            verify(!editor.isInputting)
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [1,A] 1"])
            compare(shownRows(), ["1,B", "2,B"])
        }

        // --- editing the action list -------------------------------------------------------

        function test_insert_data() {
            var base = ["1,A", "2,A", "1,B", "2,B"]
            return [
                { tag: "key at the last row", current: 3, what: "key",
                  rows: base.concat(["1,C", "2,C"]) },
                { tag: "key in front of a middle row", current: 1, what: "key",
                  rows: ["1,A", "1,C", "2,C", "2,A", "1,B", "2,B"] },
                { tag: "left key after a middle row", current: 1, what: 0xF0,
                  rows: ["1,A", "2,A", "3,MS-L", "4,MS-L", "1,B", "2,B"] },
                { tag: "middle key at the last row", current: 3, what: 0xF2,
                  rows: base.concat(["3,MS-M", "4,MS-M"]) },
                { tag: "right key after the first row", current: 0, what: 0xF1,
                  rows: ["1,A", "3,MS-R", "4,MS-R", "2,A", "1,B", "2,B"] },
                { tag: "delay in front of a row", current: 2, what: "delay",
                  rows: ["1,A", "2,A", "0,50", "1,B", "2,B"] }
            ]
        }
        function test_insert(row) {
            start(["Macro_0"], { "Macro_0": ["1,A", "2,A", "1,B", "2,B", "1"] })
            editor.selectAction(row.current)
            if (row.what === "key") {
                editor.openInsertKey()
                verify(editor.isInsertting)
                verify(editor.insertDialog.visible)
                compare(editor.insertDialog.width, 240)
                compare(editor.insertDialog.height, 80)
                // Centred on the main screen, over a mask covering it.
                var centre = editor.insertDialog.mapToItem(main, 120, 40)
                compare(Qt.point(centre.x, centre.y), Qt.point(512, 320))
                var mask = findChild(main, "insertKeyMask")
                verify(mask.visible)
                compare(mask.mapToItem(main, 0, 0), Qt.point(0, 0))
                compare(Qt.size(mask.width, mask.height), Qt.size(1024, 640))
                verify(mask.z < editor.insertDialog.z)
                compare(editor.insertDialog.Accessible.name, "Insert Key")
                // Keys reach the dialog through the main screen; mouse
                // buttons and releases do not count.
                main.detectKeyboard(true, 0x06)
                main.detectKeyboard(false, 0x07)
                main.detectMouse(true, 0xF0, 0, 0)
                compare(editor.insertKeyName, "C")
                compare(editor.actionModel.count, 4)
                editor.confirmInsertKey()
                verify(!editor.isInsertting)
                verify(!editor.insertDialog.visible)
                verify(!mask.visible)
            } else if (row.what === "delay") {
                editor.insertDelay()
                compare(editor.currentAction, row.current)
            } else {
                editor.insertButton(row.what)
            }
            compare(shownRows(), row.rows)
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [" + row.rows.join(",") + "] 1"])
        }

        function test_insertKeyWithoutAKeyAddsNothing() {
            start(["Macro_0"], { "Macro_0": ["1,A", "2,A", "1"] })
            editor.openInsertKey()
            editor.confirmInsertKey()
            editor.openInsertKey()
            main.detectKeyboard(true, 0x06)
            editor.insertDialog.closeClicked()
            verify(!editor.isInsertting)
            compare(shownRows(), ["1,A", "2,A"])
            compare(ui_View.callsOf("saveMacroIni"), [])
        }

        function test_deleteRow() {
            start(["Macro_0"], { "Macro_0": ["1,A", "0,30", "2,A", "1"] })
            editor.selectAction(2)
            editor.deleteAction()
            compare(shownRows(), ["1,A", "0,30"])
            compare(editor.currentAction, 1)
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [1,A,0,30] 1"])
        }

        function test_delayEditing_data() {
            return [
                { tag: "number", text: "250", info: "250", saved: true },
                { tag: "normalised", text: "0042", info: "42", saved: true },
                { tag: "empty restores", text: "", info: "30", saved: false },
                { tag: "not a number restores", text: "abc", info: "30", saved: false }
            ]
        }
        function test_delayEditing(row) {
            start(["Macro_0"], { "Macro_0": ["1,A", "0,30", "2,A", "1"] })
            // Only delay rows open for editing.
            editor.startDelayEdit(0)
            compare(editor.editingDelayRow, -1)
            editor.startDelayEdit(1)
            compare(editor.editingDelayRow, 1)
            editor.finishDelayEdit(row.text)
            compare(editor.editingDelayRow, -1)
            compare(editor.actionModel.get(1).info, row.info)
            compare(ui_View.callsOf("saveMacroIni").length, row.saved ? 1 : 0)
        }

        function test_delayEditingByDoubleClick() {
            start(["Macro_0"], { "Macro_0": ["1,A", "0,30", "2,A", "1"] })
            var row = rowNamed("30 ms")
            verify(row)
            mouseDoubleClickSequence(row)
            compare(editor.editingDelayRow, 1)
            keyClick(Qt.Key_Backspace)
            keyClick(Qt.Key_7)
            keyClick(Qt.Key_5)
            keyClick(Qt.Key_Return)
            compare(editor.actionModel.get(1).info, "75")
            verify(rowNamed("75 ms"))
            compare(ui_View.callsOf("saveMacroIni"), ["saveMacroIni Macro_0 [1,A,0,75,2,A] 1"])
        }

        function test_panelStaysInsideTheScreenWhenDragged() {
            start([], {})
            compare(editor.width, 640)
            compare(editor.height, 448)
            editor.moveBy(-5000, -5000)
            compare(editor.x, 0)
            compare(editor.y, 0)
            editor.moveBy(5000, 5000)
            compare(editor.x, 1024 - 640)
            compare(editor.y, 640 - 448)
        }
    }
}
