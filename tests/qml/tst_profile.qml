import QtQuick
import QtTest
import "../../modules/qml/pages/profile/profile.js" as Logic

TestCase {
    name: "ProfileLogic"

    // Rows from "name+digit" texts, the way the list is stored.
    function rows(stored) {
        return Logic.rowsOf(stored)
    }

    function test_splitRow_data() {
        return [
            { tag: "standard", stored: "Standard0", name: "Standard", number: 0 },
            { tag: "free name", stored: "profile_13", name: "profile_1", number: 3 },
            { tag: "name ending in a digit", stored: "game25", name: "game2", number: 5 },
            { tag: "number only", stored: "4", name: "", number: 4 },
            { tag: "no digit", stored: "abc", name: "ab", number: 0 },
            { tag: "wide characters", stored: "标准0", name: "标准", number: 0 }
        ]
    }
    function test_splitRow(row) {
        var r = Logic.splitRow(row.stored)
        compare(r.name, row.name)
        compare(r.number, row.number)
        if (row.tag !== "no digit")
            compare(Logic.joinRow(r.name, r.number), row.stored)
    }

    function test_rowsOf_data() {
        return [
            { tag: "one row and the marker", stored: ["Standard0", "loaderzentic"], names: ["Standard"] },
            { tag: "two rows", stored: ["Standard0", "profile_01"], names: ["Standard", "profile_0"] },
            { tag: "marker among three stays", stored: ["Standard0", "loaderzentic", "x2"],
              names: ["Standard", "loaderzenti", "x"] },
            { tag: "empty", stored: [], names: [] },
            { tag: "absent", stored: undefined, names: [] }
        ]
    }
    function test_rowsOf(row) {
        compare(rows(row.stored).map(function (r) { return r.name }), row.names)
    }

    function test_storedOfIsTheInverseOfRowsOf() {
        var stored = ["Standard0", "profile_01", "My game4"]
        compare(Logic.storedOf(rows(stored)), stored)
    }

    function test_freeNameAndNumber_data() {
        var twelve = ["Standard0"]
        for (var i = 0; i < 12; ++i)
            twelve.push("profile_" + i + "1")
        return [
            { tag: "standard only", stored: ["Standard0"], name: "profile_0", number: 1 },
            { tag: "0, 1, 2 with 1 deleted", stored: ["Standard0", "profile_02"],
              name: "profile_1", number: 1 },
            { tag: "gap in the names", stored: ["Standard0", "profile_01", "profile_22"],
              name: "profile_1", number: 3 },
            { tag: "renamed rows free their names", stored: ["Standard0", "Game1", "Work2"],
              name: "profile_0", number: 3 },
            { tag: "all twelve names taken", stored: twelve, name: "profile_12", number: 2 },
            { tag: "standard not first", stored: ["profile_03", "Standard5"], name: "profile_1", number: 0 }
        ]
    }
    function test_freeNameAndNumber(row) {
        var list = rows(row.stored)
        compare(Logic.freeName(list), row.name)
        compare(Logic.freeNumber(list), row.number)
    }

    function test_newRow_data() {
        return [
            { tag: "five rows", stored: ["Standard0", "a1", "b2", "c3", "d4"], row: { name: "profile_0", number: 5 } },
            { tag: "six rows", stored: ["Standard0", "a1", "b2", "c3", "d4", "e5"], row: null },
            { tag: "five rows, numbers doubled", stored: ["Standard0", "a0", "b1", "c2", "d3"],
              row: { name: "profile_0", number: 4 } }
        ]
    }
    function test_newRow(row) {
        compare(Logic.newRow(rows(row.stored)), row.row)
    }

    function test_canDelete_data() {
        var stored = ["Standard0", "profile_02", "profile_13", "Work5"]
        return [
            { tag: "first row", stored: stored, index: 0, active: 3, allowed: false },
            { tag: "active profile", stored: stored, index: 2, active: 3, allowed: false },
            { tag: "another row", stored: stored, index: 1, active: 3, allowed: true },
            { tag: "last row", stored: stored, index: 3, active: 0, allowed: true },
            { tag: "first row while another is active", stored: stored, index: 0, active: 5, allowed: false },
            { tag: "no row", stored: stored, index: -1, active: 0, allowed: false },
            { tag: "past the end", stored: stored, index: 4, active: 0, allowed: false }
        ]
    }
    function test_canDelete(row) {
        compare(Logic.canDelete(rows(row.stored), row.index, row.active), row.allowed)
    }

    function test_canRename_data() {
        var stored = ["Standard0", "profile_02", "Work3"]
        return [
            { tag: "new name", index: 1, name: "Game", allowed: true },
            { tag: "another row's name", index: 1, name: "Work", allowed: false },
            { tag: "the standard row's name", index: 2, name: "Standard", allowed: false },
            { tag: "its own name", index: 1, name: "profile_0", allowed: true },
            { tag: "differs in case", index: 1, name: "work", allowed: true },
            { tag: "blank", index: 1, name: "  ", allowed: false },
            { tag: "empty", index: 1, name: "", allowed: false }
        ].map(function (r) { r.stored = stored; return r })
    }
    function test_canRename(row) {
        compare(Logic.canRename(rows(row.stored), row.index, row.name), row.allowed)
    }

    function test_indexAfterRemoval_data() {
        return [
            { tag: "selection above", current: 1, removed: 3, index: 1 },
            { tag: "selection below", current: 4, removed: 2, index: 3 },
            { tag: "selection removed", current: 2, removed: 2, index: 0 }
        ]
    }
    function test_indexAfterRemoval(row) {
        compare(Logic.indexAfterRemoval(row.current, row.removed, 0), row.index)
    }

    // --- game bindings ---

    function test_canBind_data() {
        return [
            { tag: "a name", text: "eldenring.exe", bound: [], can: true },
            { tag: "blanks around it", text: "  hl2_linux ", bound: [], can: true },
            { tag: "blank", text: "   ", bound: [], can: false },
            { tag: "bound already", text: " hl2_linux", bound: ["hl2_linux"], can: false },
            { tag: "a folder", text: "/games/Hades", bound: ["hl2_linux"], can: true }
        ]
    }
    function test_canBind(row) {
        compare(Logic.canBind(row.text, row.bound), row.can)
    }

    function test_filterPrograms_data() {
        var programs = ["bash", "EldenRing.exe", "hl2_linux", "steam"]
        return [
            { tag: "nothing typed", programs: programs, typed: "", shown: programs },
            { tag: "part of a name, any case", programs: programs, typed: "elden", shown: ["EldenRing.exe"] },
            { tag: "no match", programs: programs, typed: "zz", shown: [] },
            { tag: "a path shows all", programs: programs, typed: "/games/x", shown: programs }
        ]
    }
    function test_filterPrograms(row) {
        compare(Logic.filterPrograms(row.programs, row.typed), row.shown)
    }
}
