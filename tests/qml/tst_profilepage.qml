import QtQuick
import QtTest

// The profile page inside the real main screen, against a stand-in for the
// native view: the name list it writes, the profile files it has reset,
// imported and exported, and the top bar's drop-down that shows its rows.
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
        name: "ProfilePage"
        when: windowShown

        property var main: loader.item
        property var profiles: main ? page("profilePage") : null

        function page(name) {
            var p = findChild(main, name)
            verify(p, name)
            return p
        }

        function start(names, profileNo, lang) {
            loader.active = false
            ui_View.reset()
            ui_View.profile = {}
            ui_View.factory = {}
            ui_View.global = { "mouse/isGun": "true", "mouse/icType": "553", "mouse/keyCount": "8",
                               "common/language": "English", "mouse/profileNo": String(profileNo),
                               "mouse/selectGun": ["0", "1", "2"] }
            ui_View.lang = lang || {}
            ui_View.nameLists = names === undefined ? {} : { 2: names }
            ui_View.gunRows = {}
            ui_View.importResult = true
            ui_View.filesWritable = true
            loader.active = true
            verify(main)
            main.initUI()
            tryCompare(main, "started", true, 3000)
            ui_View.reset()
        }

        function cleanup() {
            loader.active = false
        }

        function names() {
            var list = []
            for (var i = 0; i < profiles.model.count; ++i)
                list.push(profiles.model.get(i).name + profiles.model.get(i).number)
            return list
        }

        function stored() {
            return ui_View.nameLists[2]
        }

        function test_initialisation_data() {
            return [
                { tag: "fresh list", names: undefined, profileNo: 0, lang: {},
                  rows: ["Standard0"], selected: 0 },
                { tag: "one row with the marker", names: ["Standard0", "loaderzentic"], profileNo: 0, lang: {},
                  rows: ["Standard0"], selected: 0 },
                { tag: "standard row renamed by the language", names: ["Default0", "Game3"], profileNo: 3,
                  lang: { "profile": ["配置", "新建", "导入", "删除", "导出", "标准"] },
                  rows: ["标准0", "Game3"], selected: 1 },
                { tag: "profile in use missing", names: ["Standard0", "Game3"], profileNo: 4, lang: {},
                  rows: ["Standard0", "Game3"], selected: 0 }
            ]
        }
        function test_initialisation(row) {
            start(row.names, row.profileNo, row.lang)
            compare(names(), row.rows)
            compare(profiles.currentIndex, row.selected)
            // Written back at every initialisation.
            compare(stored(), row.rows)
            var list = page("profileList")
            compare(list.count(), row.rows.length)
            compare(list.entryText(0), row.rows[0].slice(0, -1))
        }

        function test_newAfterDeletingOne() {
            start(["Standard0", "profile_01", "profile_12"], 0)
            profiles.deleteRow(1)
            compare(ui_View.calls, ["updataNameList 2 [Standard0,profile_12]"])
            // Deleting leaves the profile file alone.
            compare(ui_View.callsOf("resetProfile"), [])
            ui_View.reset()
            profiles.newProfile()
            compare(names(), ["Standard0", "profile_12", "profile_01"])
            compare(profiles.currentIndex, 2)
            compare(ui_View.calls, ["updataNameList 2 [Standard0,profile_12,profile_01]", "resetProfile 1"])
        }

        function test_sixRowsNewAndImportDoNothing() {
            start(["Standard0", "a1", "b2", "c3", "d4", "e5"], 0)
            var before = names()
            var notice = page("profileNotice")
            profiles.visible = true
            verify(!notice.visible)
            profiles.newProfile()
            compare(notice.text, "At most six profiles can exist")
            verify(notice.visible)
            compare(notice.Accessible.name, notice.text)
            profiles.importProfile()
            compare(notice.text, "At most six profiles can exist")
            compare(ui_View.calls, [])
            compare(names(), before)
            profiles.close()
            compare(notice.text, "")
        }

        // A new profile whose file cannot be made is not listed.
        function test_newWhoseFileCannotBeMadeIsNotListed() {
            start(["Standard0", "Work2"], 2)
            ui_View.filesWritable = false
            profiles.newProfile()
            compare(ui_View.calls, ["updataNameList 2 [Standard0,Work2,profile_01]", "resetProfile 1",
                                    "updataNameList 2 [Standard0,Work2]"])
            compare(names(), ["Standard0", "Work2"])
            compare(profiles.currentIndex, 1)
        }

        function test_import_data() {
            return [
                { tag: "file chosen", result: true,
                  rows: ["Standard0", "Work2", "profile_01"], selected: 2,
                  calls: ["updataNameList 2 [Standard0,Work2,profile_01]", "loadProfile 1"] },
                { tag: "dialog cancelled", result: false,
                  rows: ["Standard0", "Work2"], selected: 1,
                  calls: ["updataNameList 2 [Standard0,Work2,profile_01]", "loadProfile 1",
                          "updataNameList 2 [Standard0,Work2]"] }
            ]
        }
        function test_import(row) {
            start(["Standard0", "Work2"], 2)
            ui_View.importResult = row.result
            profiles.importProfile()
            compare(ui_View.calls, row.calls)
            compare(names(), row.rows)
            compare(profiles.currentIndex, row.selected)
        }

        function test_deleteRules_data() {
            return [
                { tag: "first row", index: 0, deleted: false },
                { tag: "profile in use", index: 2, deleted: false },
                { tag: "another row", index: 1, deleted: true },
                { tag: "last row", index: 3, deleted: true }
            ]
        }
        function test_deleteRules(row) {
            start(["Standard0", "Game1", "Work2", "Other4"], 2)
            main.openDialog(profiles)
            var item = findChild(profiles, "profileRow" + row.index)
            verify(item)
            mouseClick(item, 20, item.height / 2, Qt.RightButton)
            var menu = findChild(profiles, "profileMenu")
            verify(menu)
            tryCompare(menu, "opened", true)
            compare(menu.entryEnabled(0), row.deleted)
            compare(menu.entryEnabled(1), true)
            // Refused in the handler as well, whatever the menu shows.
            profiles.deleteRow(row.index)
            compare(names().length, row.deleted ? 3 : 4)
            compare(ui_View.callsOf("updataNameList").length, row.deleted ? 1 : 0)
            // The top bar stays on the profile in use.
            compare(page("profileList").currentText, "Work")
            compare(profiles.numberAt(page("profileList").currentIndex), 2)
        }

        function test_exportSavesTheRowWhoseMenuWasUsed_data() {
            return [
                { tag: "row in use", index: 1, number: 3 },
                { tag: "another row", index: 2, number: 5 },
                { tag: "standard row", index: 0, number: 0 }
            ]
        }
        function test_exportSavesTheRowWhoseMenuWasUsed(row) {
            start(["Standard0", "Game3", "Work5"], 3)
            main.openDialog(profiles)
            profiles.openMenu(row.index, 10, 10)
            profiles.menuChosen(1)
            compare(ui_View.calls, ["saveProfile " + row.number])
        }

        function rename(index, text) {
            var item = findChild(profiles, "profileRow" + index)
            mouseDoubleClickSequence(item, 20, item.height / 2)
            var editor = findChild(profiles, "profileName")
            tryCompare(editor, "visible", true)
            tryCompare(editor, "editing", true)
            compare(editor.text, profiles.model.get(index).name)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            for (var i = 0; i < text.length; ++i)
                keyClick(text.charAt(i))
            return editor
        }

        function test_renameByDoubleClick_data() {
            return [
                { tag: "Enter takes a free name", name: "Game", enter: true,
                  rows: ["Standard0", "Game1", "Work2"] },
                { tag: "a click elsewhere takes it too", name: "Game", enter: false,
                  rows: ["Standard0", "Game1", "Work2"] },
                { tag: "another row's name is refused", name: "Work", enter: true,
                  rows: ["Standard0", "profile_01", "Work2"] },
                { tag: "a blank name is refused", name: "  ", enter: false,
                  rows: ["Standard0", "profile_01", "Work2"] }
            ]
        }
        function test_renameByDoubleClick(row) {
            start(["Standard0", "profile_01", "Work2"], 1)
            main.openDialog(profiles)
            var editor = rename(1, row.name)
            if (row.enter)
                keyClick(Qt.Key_Return)
            else
                mouseClick(profiles, profiles.width / 2, profiles.height - 8)
            tryCompare(editor, "visible", false)
            compare(names(), row.rows)
            var changed = row.rows[1] !== "profile_01"
            compare(ui_View.callsOf("updataNameList"), changed ? ["updataNameList 2 [" + row.rows.join(",") + "]"] : [])
            // The top bar shows the new name of the profile in use.
            compare(page("profileList").currentText, row.rows[1].slice(0, -1))
        }

        function test_closeHidesThePageAndTheTopBarList() {
            start(["Standard0", "Work2"], 0)
            main.openDialog(profiles)
            verify(page("mask").visible)
            page("profileList").open()
            profiles.closeClicked()
            verify(!profiles.visible)
            verify(!page("mask").visible)
            tryCompare(page("profileList"), "opened", false)
        }

        function test_topBarSwitchesToANewProfile() {
            start(["Standard0"], 0)
            profiles.newProfile()
            ui_View.reset()
            var list = page("profileList")
            compare(list.entryText(1), "profile_0")
            // A user's choice in the drop-down changes to that row's profile.
            list.activated(1)
            compare(main.profileNo, 1)
            compare(ui_View.calls[0], "setGlobalData mouse/profileNo 1")
            compare(ui_View.calls[1], "setCurrentProfile 1")
            // The new profile is now in use and cannot be deleted.
            verify(!profiles.canDelete(1))
        }
    }
}
