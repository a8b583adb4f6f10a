import QtQuick
import QtTest
import Quill.Native 1.0
import "../../modules/qml/pages/macro/macro.js" as Logic
import "../../modules/qml/common/keycodes.js" as KeyCodes

// The macro editor's rules, and its size budget counted by the program's own
// image encoder.
TestCase {
    name: "MacroLogic"

    function macroNames(from, to) {
        var list = []
        for (var n = from; n <= to; ++n)
            list.push("Macro_" + n)
        return list
    }

    function test_freeName_data() {
        return [
            { tag: "empty library", names: [], name: "Macro_0" },
            { tag: "after Macro_0", names: ["Macro_0"], name: "Macro_1" },
            { tag: "after Macro_1", names: ["Macro_0", "Macro_1"], name: "Macro_2" },
            { tag: "Macro_1 deleted", names: ["Macro_0", "Macro_2"], name: "Macro_1" },
            { tag: "other names do not count", names: ["Jump", "Macro_0", "macro_1"], name: "Macro_1" },
            { tag: "only Macro_99 left", names: macroNames(0, 98), name: "Macro_99" },
            { tag: "100 macros", names: macroNames(0, 99), name: "" },
            { tag: "100 renamed macros", names: macroNames(0, 99).map(function (n) { return n + "x" }), name: "" }
        ]
    }
    function test_freeName(row) {
        compare(Logic.freeName(row.names), row.name)
    }

    function test_namesFromList_data() {
        return [
            { tag: "one name and the marker", list: ["Macro_0", "loaderzentic"], names: ["Macro_0"] },
            { tag: "two names", list: ["a", "b"], names: ["a", "b"] },
            { tag: "marker not second of two", list: ["a", "b", "loaderzentic"], names: ["a", "b", "loaderzentic"] },
            { tag: "marker alone", list: ["loaderzentic"], names: ["loaderzentic"] },
            { tag: "nothing stored", list: [], names: [] },
            { tag: "absent", list: undefined, names: [] }
        ]
    }
    function test_namesFromList(row) {
        compare(Logic.namesFromList(row.list), row.names)
    }

    function test_renameAllowed_data() {
        var names = ["Macro_0", "Jump"]
        return [
            { tag: "new name", names: names, name: "Fire", allowed: true },
            { tag: "taken by another row", names: names, name: "Jump", allowed: false },
            { tag: "its own name", names: names, name: "Macro_0", allowed: false },
            { tag: "differs in case only", names: names, name: "jump", allowed: true },
            { tag: "empty", names: names, name: "", allowed: false },
            { tag: "blanks only", names: names, name: "   ", allowed: false },
            { tag: "tab and space", names: names, name: "\t ", allowed: false },
            { tag: "blanks around a name", names: names, name: " Fire ", allowed: true }
        ]
    }
    function test_renameAllowed(row) {
        compare(Logic.renameAllowed(row.names, row.name), row.allowed)
    }

    function test_parseRow_data() {
        return [
            { tag: "press", text: "1,A", row: { type: 1, info: "A" } },
            { tag: "release", text: "2,A", row: { type: 2, info: "A" } },
            { tag: "delay", text: "0,50", row: { type: 0, info: "50" } },
            { tag: "button press", text: "3,MS-L", row: { type: 3, info: "MS-L" } },
            { tag: "button release", text: "4,MS-R", row: { type: 4, info: "MS-R" } },
            { tag: "the comma key", text: "1,,", row: { type: 1, info: "," } },
            { tag: "everything after the comma", text: "2,KP+,x", row: { type: 2, info: "KP+,x" } },
            { tag: "unknown type", text: "7,A", row: null },
            { tag: "a missing entry reads 0", text: "0", row: null },
            { tag: "no comma", text: "1A", row: null }
        ]
    }
    function test_parseRow(row) {
        compare(Logic.parseRow(row.text), row.row)
    }

    function test_parseStored_data() {
        return [
            { tag: "press, release, repeat 3", stored: ["1,A", "2,A", "3"],
              rows: [{ type: 1, info: "A" }, { type: 2, info: "A" }], times: "3" },
            { tag: "new macro", stored: ["1"], rows: [], times: "1" },
            { tag: "no file", stored: [], rows: [], times: "1" },
            { tag: "a broken entry is left out", stored: ["1,A", "0", "2,A", "65535"],
              rows: [{ type: 1, info: "A" }, { type: 2, info: "A" }], times: "65535" }
        ]
    }
    function test_parseStored(row) {
        var parsed = Logic.parseStored(row.stored)
        compare(parsed.rows, row.rows)
        compare(parsed.times, row.times)
    }

    function test_storedRowsReadBack() {
        var rows = [{ type: 1, info: "," }, { type: 0, info: "120" }, { type: 4, info: "MS-M" }]
        compare(Logic.storedRows(rows), ["1,,", "0,120", "4,MS-M"])
        compare(Logic.parseStored(Logic.storedRows(rows).concat(["2"])).rows, rows)
    }

    function test_times_data() {
        return [
            { tag: "empty", text: "", onFocusLoss: "0", repeat: 0 },
            { tag: "zero", text: "0", onFocusLoss: "0", repeat: 0 },
            { tag: "one", text: "1", onFocusLoss: "1", repeat: 1 },
            { tag: "largest", text: "65535", onFocusLoss: "65535", repeat: 65535 },
            { tag: "leading zeros", text: "007", onFocusLoss: "7", repeat: 7 },
            { tag: "stored garbage", text: "x", onFocusLoss: "0", repeat: 0 }
        ]
    }
    function test_times(row) {
        compare(Logic.timesOnFocusLoss(row.text), row.onFocusLoss)
        compare(Logic.repeatOf(row.text), row.repeat)
    }

    function test_editedDelay_data() {
        return [
            { tag: "number", text: "120", info: "120" },
            { tag: "normalised", text: "007", info: "7" },
            { tag: "zero", text: "0", info: "0" },
            { tag: "largest", text: "65535", info: "65535" },
            { tag: "too large", text: "65536", info: "50" },
            { tag: "empty", text: "", info: "50" },
            { tag: "not a number", text: "abc", info: "50" },
            { tag: "trailing letters", text: "12ms", info: "50" },
            { tag: "negative", text: "-5", info: "50" },
            { tag: "fraction", text: "12.5", info: "50" }
        ]
    }
    function test_editedDelay(row) {
        compare(Logic.editedDelay("50", row.text), row.info)
    }

    function test_insertPositions_data() {
        return [
            { tag: "empty list", current: -1, count: 0, key: 0, button: 0, delay: 0 },
            { tag: "no current row", current: -1, count: 4, key: 4, button: 4, delay: 4 },
            { tag: "first row", current: 0, count: 4, key: 0, button: 1, delay: 0 },
            { tag: "middle row", current: 2, count: 4, key: 2, button: 3, delay: 2 },
            { tag: "last row", current: 3, count: 4, key: 4, button: 4, delay: 3 },
            { tag: "only row", current: 0, count: 1, key: 1, button: 1, delay: 0 }
        ]
    }
    function test_insertPositions(row) {
        compare(Logic.keyInsertIndex(row.current, row.count), row.key, "key pair")
        compare(Logic.buttonInsertIndex(row.current, row.count), row.button, "button pair")
        compare(Logic.delayInsertIndex(row.current, row.count), row.delay, "delay")
    }

    function test_recordedRows_data() {
        return [
            { tag: "first event", hasRows: false, delay: true, ticks: 40, down: true, code: 0x04,
              rows: [{ type: 1, info: "A" }] },
            { tag: "with delay", hasRows: true, delay: true, ticks: 37, down: false, code: 0x04,
              rows: [{ type: 0, info: "370" }, { type: 2, info: "A" }] },
            { tag: "no pause measured", hasRows: true, delay: true, ticks: 0, down: true, code: 0x05,
              rows: [{ type: 0, info: "0" }, { type: 1, info: "B" }] },
            { tag: "delay off", hasRows: true, delay: false, ticks: 37, down: true, code: 0x05,
              rows: [{ type: 1, info: "B" }] },
            { tag: "left button down", hasRows: false, delay: false, ticks: 0, down: true, code: 0xF0,
              rows: [{ type: 3, info: "MS-L" }] },
            { tag: "middle button up", hasRows: true, delay: false, ticks: 3, down: false, code: 0xF2,
              rows: [{ type: 4, info: "MS-M" }] },
            { tag: "right Windows key is a key", hasRows: false, delay: false, ticks: 0, down: false, code: 0xE7,
              rows: [{ type: 2, info: "RWin" }] }
        ]
    }
    function test_recordedRows(row) {
        var name = KeyCodes.keycodeTostr(KeyCodes.codes(), KeyCodes.names(), row.code)
        compare(Logic.recordedRows(row.hasRows, row.delay, row.ticks, row.down, row.code, name), row.rows)
    }

    function test_rowText_data() {
        return [
            { tag: "delay", type: 0, info: "50", text: "50 ms", kind: "delay" },
            { tag: "press", type: 1, info: "A", text: "A \u2193", kind: "key press" },
            { tag: "release", type: 2, info: "A", text: "A \u2191", kind: "key release" },
            { tag: "button press", type: 3, info: "MS-L", text: "MS-L \u2193", kind: "button press" },
            { tag: "button release", type: 4, info: "MS-L", text: "MS-L \u2191", kind: "button release" }
        ]
    }
    function test_rowText(row) {
        compare(Logic.rowText(row.type, row.info), row.text)
        compare(Logic.rowKind(row.type), row.kind)
    }

    // --- the size budget, counted by the program's encoder -------------------

    function code(name) {
        return KeyCodes.strTokeycode(KeyCodes.codes(), KeyCodes.names(), name)
    }
    function sizeOf(rows) {
        return MacroImageCodec.encodedSize(Logic.codecRows(rows, code))
    }
    function rows(actions) {
        // "A+" press, "A-" release, "m:n" button, a number a delay.
        return actions.map(function (s) {
            if (typeof s === "number")
                return { type: 0, info: String(s) }
            var release = s.charAt(s.length - 1) === "-"
            var name = s.substring(0, s.length - 1)
            var button = name.indexOf("MS-") === 0
            return { type: button ? (release ? 4 : 3) : (release ? 2 : 1), info: name }
        })
    }

    function test_budget_data() {
        return [
            { tag: "no rows", actions: [], size: 2 },
            { tag: "delays only", actions: [300, 5000], size: 2 },
            { tag: "one action", actions: ["A+"], size: 8 },
            { tag: "press, pause, release", actions: ["A+", 50, "A-"], size: 10 },
            { tag: "leading delay costs nothing", actions: [9000, "A+", "A-"], size: 10 },
            { tag: "trailing delay costs nothing", actions: ["A+", "A-", 9000], size: 10 },
            { tag: "pause of 126 ticks", actions: ["A+", 1260, "A-"], size: 10 },
            { tag: "long pause costs 6", actions: ["A+", 1270, "A-"], size: 14 },
            { tag: "pauses add up", actions: ["A+", 700, 570, "A-"], size: 14 },
            { tag: "buttons", actions: ["MS-L+", "MS-L-", "MS-R+", "MS-R-"], size: 14 }
        ]
    }
    function test_budget(row) {
        compare(sizeOf(rows(row.actions)), row.size)
    }

    function test_budgetLimit() {
        // 60 actions without long pauses: 2 + 2 * 60 + 2 + 2 = 126, refused.
        var actions = []
        for (var i = 0; i < 59; ++i)
            actions.push(i % 2 ? "A-" : "A+")
        verify(Logic.withinBudget(sizeOf(rows(actions))))
        actions.push("A-")
        compare(sizeOf(rows(actions)), 126)
        verify(!Logic.withinBudget(sizeOf(rows(actions))))
    }

    function test_imageMatchesTheDeviceFormat() {
        var r = Logic.codecRows(rows(["A+", 50, "A-"]), code)
        compare(r, [[1, 4], [0, 50], [2, 4]])
        compare(MacroImageCodec.encode(r, 1), [0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x00, 0x00])
        // A name outside the table is sent as code 0.
        compare(Logic.codecRows([{ type: 1, info: "Nope" }], code), [[1, 0]])
    }
}
