import QtQuick
import QtTest

// The main screen's flows against a stand-in for the native view: what it
// reads, stores and sends, in which order.
Item {
    id: top
    width: 1024
    height: 640

    FakeView { id: ui_View }
    QtObject {
        id: hid
        property var calls: []
        function hid560_02H_SetCurrentProfile(n) { calls = calls.concat(["SetCurrentProfile " + n]) }
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
        name: "MainFlows"
        when: windowShown

        property var main: loader.item

        function page(name) {
            var p = findChild(main, name)
            verify(p, name)
            return p
        }

        function matrixRow(e) { return e }

        // A sample profile: left, right, middle, forward, back, DPI+, DPI-,
        // light; the rest as the factory profile has them.
        function sampleMatrix() {
            var m = {}
            var rows = [[0, 0, 240, 0], [0, 0, 241, 0], [0, 0, 242, 0], [0, 0, 244, 0], [0, 0, 243, 0],
                        [5, 0, 1, 0], [5, 0, 2, 0], [0, 240, 30, 2], [0, 0, 0, 0], [0, 0, 0, 0],
                        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [255, 0, 1, 0], [255, 0, 2, 0]]
            for (var i = 0; i < 16; ++i)
                m["mouseKeyMatrix/" + i] = rows[i].map(String)
            return m
        }

        function start(globals) {
            loader.active = false
            ui_View.reset()
            ui_View.filesWritable = true
            hid.calls = []
            ui_View.profile = sampleMatrix()
            ui_View.factory = sampleMatrix()
            ui_View.profile["mouse/reportRate"] = "3"
            var g = { "mouse/isColorful": "true", "mouse/icType": "553", "mouse/is55328": "false",
                      "mouse/isGun": "true", "mouse/keyCount": "8", "common/language": "English",
                      "common/url": "https://example.invalid/", "mouse/profileNo": "0",
                      "mouse/selectGun": ["0", "1", "2"] }
            for (var k in globals)
                g[k] = globals[k]
            ui_View.global = g
            ui_View.lang = {}
            ui_View.nameLists = { 2: ["Standard0", "profile_01", "profile_12"] }
            ui_View.gunRows = { 0: ["M416", "L-Click", "9", "0", "5", "0"], 1: ["AKM", "L-Click", "11", "0", "7", "0"],
                                2: ["M16A4", "L-Click", "12", "0", "8", "0"] }
            ui_View.currentDpi = 1
            loader.active = true
            verify(main)
        }

        function startAndShow(globals) {
            start(globals)
            main.initUI()
            tryCompare(main, "started", true, 3000)
            ui_View.reset()
        }

        function cleanup() {
            loader.active = false
        }

        function test_firstInitialisation() {
            start({})
            verify(!main.visible)
            main.initUI()
            verify(main.visible)
            // Locked with the busy text, start-up picture first.
            verify(!ui_View.enabled)
            verify(page("busyText").visible)
            verify(page("startupPicture").visible)
            compare(page("startupPicture").status, Image.Ready)
            compare(main.started, false)
            tryCompare(main, "started", true, 3000)
            verify(ui_View.enabled)
            verify(!page("busyText").visible)
            verify(!page("startupPicture").visible)
            // Needed no more: its picture is let go.
            compare(page("startupPicture").status, Image.Null)
            compare(main.isPownOn, true)
            compare(main.isGun, true)
            compare(main.isColorful, true)
            compare(main.url, "https://example.invalid/")
            compare(ui_View.callsOf("getLangStrings"), [
                "getLangStrings main English", "getLangStrings keyMatrix English",
                "getLangStrings keyAssigment English", "getLangStrings dpiSetting English",
                "getLangStrings lightControl English", "getLangStrings macroEditor English",
                "getLangStrings systemSetting English", "getLangStrings gunControl English",
                "getLangStrings profile English", "getLangStrings keyCode English",
                "getLangStrings other English"])
            compare(ui_View.callsOf("setCurrentProfile"), ["setCurrentProfile 0"])
            // Pages are filled without sending anything.
            compare(ui_View.callsOf("mouseSetKeyMatrix"), [])
            compare(ui_View.callsOf("mouseSetReportRate"), [])
            compare(page("reportRate").currentIndex, 3)
            compare(page("keyMatrix").modKeys.get(5).keyText, "DPI+")
        }

        function test_laterInitialisationOnlyLocks() {
            startAndShow({})
            ui_View.currentDpi = 3
            main.initUI()
            verify(!ui_View.enabled)
            verify(!page("startupPicture").visible)
            compare(ui_View.callsOf("getLangStrings"), [])
            compare(main.currentDpiStage, 2)
            tryCompare(ui_View, "enabled", true, 3000)
        }

        function test_deviceProfileCheck_data() {
            return [
                { tag: "560 on profile 3", icType: "560", deviceProfile: 3, calls: ["mouseSwitchKeyMatrix 1"] },
                { tag: "560 on profile 1", icType: "560", deviceProfile: 1, calls: [] },
                { tag: "553 is never asked", icType: "553", deviceProfile: 3, calls: [] }
            ]
        }
        function test_deviceProfileCheck(row) {
            start({ "mouse/icType": row.icType })
            ui_View.deviceProfile = row.deviceProfile
            main.initUI()
            // Through the view's operation, never a family command directly.
            compare(hid.calls, [])
            compare(ui_View.calls.filter(function (c) { return c.indexOf("mouseSwitchKeyMatrix") === 0 }), row.calls)
        }

        function test_languageReplacesTextsAndKeepsMissingOnes() {
            start({ "common/language": "ChineseSimplified" })
            ui_View.lang = { "main": ["编辑器", "宏编辑器"], "keyMatrix": ["按键 ", "按键功能"],
                             "keyAssigment": ["按键 ", "鼠标功能", "左键"] }
            main.initUI()
            compare(main.mainLang[0], "编辑器")
            compare(main.mainLang[1], "宏编辑器")
            // The section is short: the rest keeps the built-in wording.
            compare(main.mainLang[10], "Save")
            compare(page("keyMatrix").modKeys.get(0).keyText, "左键")
            compare(page("keyMatrix").lang[0], "按键 ")
        }

        // The main screen's built-in texts stand in for the English file's.
        function test_builtInMainTextsAreTheEnglishFile() {
            start({})
            var english = englishTexts["main"]
            verify(english.length > 0)
            for (var i = 0; i < english.length; ++i)
                compare(main.builtInMainLang[i], english[i], "main/" + i)
        }

        function test_setCurrentDPI_data() {
            return [
                { tag: "stage 3", value: 3, stage: 2 },
                { tag: "zero leaves it", value: 0, stage: 1 },
                { tag: "stage 1", value: 1, stage: 0 }
            ]
        }
        function test_setCurrentDPI(row) {
            startAndShow({})
            main.setCurrentDPI(2)
            main.setCurrentDPI(row.value)
            compare(main.currentDpiStage, row.stage)
        }

        function test_reportRateChoice() {
            startAndShow({})
            page("reportRate").choose(2)
            compare(ui_View.calls, ["setData mouse/reportRate 2", "mouseSetReportRate 2"])
        }

        // A Save whose files could not be written leaves its pages marked
        // unsaved (and only those), so a later Save writes them again.
        function test_saveNotOnDiskStaysUnsaved() {
            startAndShow({})
            var matrix = page("keyMatrix")
            matrix.setEntry(2, [3, 0, 0xCD, 0])
            matrix.isSave = true
            ui_View.filesWritable = false
            main.save()
            verify(matrix.isSave)
            verify(!page("dpiPage").isSave)
            verify(!page("lightPage").isSave)
            compare(ui_View.callsOf("mouseSetKeyMatrix").length, 1)
            verify(ui_View.enabled)
            ui_View.filesWritable = true
            main.save()
            verify(!matrix.isSave)
            compare(ui_View.callsOf("mouseSetKeyMatrix").length, 2)
        }

        function test_saveSendsOnlyPendingPages() {
            startAndShow({})
            var save = page("saveButton")
            main.save()
            compare(ui_View.calls, [])
            compare(String(save.color), "#09347f")
            var matrix = page("keyMatrix")
            matrix.setEntry(2, [3, 0, 0xCD, 0])
            matrix.isSave = true
            compare(String(save.color), "#ff3030")
            main.save()
            compare(matrix.isSave, false)
            compare(String(save.color), "#09347f")
            compare(ui_View.calls.length, 1)
            var sent = ui_View.calls[0].split(" ")
            compare(sent[0], "mouseSetKeyMatrix")
            compare(sent[1].split(",").slice(8, 12), ["3", "0", "205", "0"])
            compare(sent[2], "true")
            // The periods of the guns in slots 1, 2 and 3.
            compare(sent[3], "[9,11,12]")
            verify(ui_View.enabled)
        }

        function test_factoryReset_data() {
            return [
                { tag: "with gun functions", isGun: "true" },
                { tag: "without", isGun: "false" }
            ]
        }
        function test_factoryReset(row) {
            startAndShow({ "mouse/isGun": row.isGun, "mouse/profileNo": "2" })
            page("keyMatrix").isSave = true
            main.setCurrentDPI(4)
            main.openDialog(page("resetBox"))
            verify(page("resetBox").visible)
            main.factoryReset()
            verify(!page("resetBox").visible)
            compare(page("keyMatrix").isSave, false)
            // The reset profile goes out as one unit; the pages only show it.
            compare(ui_View.calls.slice(0, 2), ["resetProfile 2", "sendActiveProfile"])
            var names = ui_View.calls.map(function (c) { return c.split(" ")[0] })
            compare(names.indexOf("mouseSetKeyMatrix"), -1)
            compare(names.indexOf("mouseResetKeyMatrix"), -1)
            // The gun editor's presets are reset last.
            var gunAt = ui_View.calls.indexOf("setGlobalData mouse/selectGun [0,1,2]")
            verify(gunAt > 0)
            compare(ui_View.calls[gunAt - 1], "mouseSetCurrentDPI 2")
            compare(ui_View.calls.slice(-3), ["mouseSendGundata 1 [0,0,5]", "mouseSendGundata 2 [0,0,7]",
                                              "mouseSendGundata 3 [0,0,8]"])
            compare(main.currentDpiStage, 1)
            verify(ui_View.enabled)
        }

        function test_profileChange() {
            startAndShow({})
            main.changeProfile(0)
            compare(ui_View.calls, [])
            main.changeProfile(2)
            compare(main.profileNo, 2)
            // Called from native code too: the drop-down shows the new row.
            compare(page("profileList").currentIndex, 2)
            compare(ui_View.calls.slice(0, 3), ["setGlobalData mouse/profileNo 2", "setCurrentProfile 2",
                                                "sendActiveProfile"])
            var names = ui_View.calls.map(function (c) { return c.split(" ")[0] })
            compare(names.indexOf("mouseSetKeyMatrix"), -1)
            compare(names.indexOf("mouseSwitchKeyMatrix"), -1)
        }

        function test_failedWriteKeepsSaveRedUntilTheProfileIsResent() {
            startAndShow({})
            var save = page("saveButton")
            ui_View.writeFailed()
            compare(String(save.color), "#ff3030")
            ui_View.profileResent()
            compare(String(save.color), "#09347f")
        }

        function test_profileListShowsTheProfilePageRows() {
            startAndShow({ "mouse/profileNo": "2" })
            var list = page("profileList")
            compare(list.count(), 3)
            compare(list.entryText(0), "Standard")
            compare(list.entryText(2), "profile_1")
            compare(list.currentIndex, 2)
        }

        function holdMacros() {
            ui_View.profile["mouseKeyMatrix/2"] = ["4", "0", "2", "0"]
            ui_View.profile["mouseKeyMatrix/5"] = ["4", "1", "5", "0"]
            ui_View.profile["mouseKeyMatrix/3"] = ["4", "0", "3", "0"]
            ui_View.profile["mouseMacroKey/2"] = "Macro_0"
            ui_View.profile["mouseMacroKey/5"] = "Macro_0"
            ui_View.profile["mouseMacroKey/3"] = "Other"
            page("keyMatrix").init(false, false)
            ui_View.reset()
        }

        function test_deletedMacroGivesItsButtonsTheirFactoryAssignment() {
            startAndShow({})
            holdMacros()
            var matrix = page("keyMatrix")
            compare(matrix.modKeys.get(2).keyText, "Macro_0")
            page("macroEditor").deleteMacro("Macro_0")
            compare(matrix.entryAt(2), [0, 0, 242, 0])
            compare(matrix.entryAt(5), [5, 0, 1, 0])
            compare(matrix.modKeys.get(2).keyText, "Middle Key")
            compare(matrix.modKeys.get(5).keyText, "DPI+")
            compare(matrix.entryAt(3), [4, 0, 3, 0])
            // Stored and sent as shown, then the other profiles follow.
            compare(ui_View.calls.length, 2)
            var sent = ui_View.calls[0].split(" ")
            compare(sent[0], "mouseSetKeyMatrix")
            compare(sent[1].split(",").slice(8, 24), ["0", "0", "242", "0", "4", "0", "3", "0",
                                                     "0", "0", "243", "0", "5", "0", "1", "0"])
            compare(ui_View.calls[1], "deleteMacroUpdateProfile Macro_0")
        }

        function test_deletingAnUnusedMacroSendsNothing() {
            startAndShow({})
            holdMacros()
            page("macroEditor").deleteMacro("Unused")
            compare(ui_View.calls, ["deleteMacroUpdateProfile Unused"])
        }

        function test_renamedMacroFollowsItsButtons() {
            startAndShow({})
            holdMacros()
            // Raised once the library has renamed the macro and the profiles'
            // references: the key texts follow, nothing is stored again.
            ui_View.profile["mouseMacroKey/2"] = "Jump"
            ui_View.profile["mouseMacroKey/5"] = "Jump"
            page("macroEditor").modifyMacroName("Macro_0", "Jump")
            compare(ui_View.calls, [])
            compare(page("keyMatrix").modKeys.get(5).keyText, "Jump")
            compare(page("keyMatrix").modKeys.get(2).keyText, "Jump")
            compare(page("keyMatrix").modKeys.get(3).keyText, "Other")
        }

        function test_onlyLeftButtonOpensNothingFromTheList_data() {
            return [
                { tag: "list, only left button", index: 0, fromList: true, opens: false },
                { tag: "list, another button", index: 1, fromList: true, opens: true },
                { tag: "picture, only left button", index: 0, fromList: false, opens: true }
            ]
        }
        function test_onlyLeftButtonOpensNothingFromTheList(row) {
            startAndShow({})
            var dialog = page("keyAssigment")
            main.openKey(row.index, row.fromList)
            compare(dialog.visible, row.opens)
            compare(page("keyMatrix").selectedKey, row.opens ? row.index : -1)
        }

        function test_maskFollowsTheDialogs() {
            startAndShow({})
            var mask = findChild(main, "mask")
            verify(mask)
            verify(!mask.visible)
            main.openDialog(page("systemSetting"))
            verify(mask.visible)
            page("systemSetting").visible = false
            verify(!mask.visible)
        }

        function test_mainFocusClosesDropDownsAndHelp() {
            startAndShow({})
            page("profileList").open()
            page("helpMenu").visible = true
            main.mainFocus()
            tryCompare(page("profileList"), "opened", false)
            verify(!page("helpMenu").visible)
        }
    }
}
