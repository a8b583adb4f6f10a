import QtQuick
import QtTest
import "../../modules/qml/pages/keymatrix/keymatrix.js" as Logic

TestCase {
    name: "KeyMatrixLogic"

    function test_panelHeight_data() {
        return [
            { tag: "six buttons", keyCount: 6, height: 202 },
            { tag: "eight buttons", keyCount: 8, height: 254 },
            { tag: "one button", keyCount: 1, height: 72 },
            { tag: "more than eight shows eight", keyCount: 12, height: 254 },
            { tag: "stored as text", keyCount: "6", height: 202 },
            { tag: "missing", keyCount: undefined, height: 48 }
        ]
    }
    function test_panelHeight(row) {
        compare(Logic.panelHeight(row.keyCount), row.height)
    }

    function test_rowName() {
        // "Key " ends in a blank already; one more follows.
        compare(Logic.rowName("Key ", 0), "Key  1")
        compare(Logic.rowName("按键 ", 7), "按键  8")
    }

    function rows(entries) {
        var list = []
        for (var i = 0; i < entries.length; ++i)
            list.push({ keyCode0: entries[i][0], keyCode1: entries[i][1], keyCode2: entries[i][2], keyCode3: entries[i][3] })
        return list
    }

    function test_checkOneLeftKey_data() {
        var left = [0, 0, 0xF0, 0], right = [0, 0, 0xF1, 0], fire = [1, 0xF0, 0xF0, 0]
        return [
            { tag: "only left button, its own row", entries: [left, right], index: 0, blocked: true },
            { tag: "only left button, another row", entries: [left, right], index: 1, blocked: false },
            { tag: "only slot 2 is left, clicking 3", entries: [right, right, left], index: 2, blocked: true },
            { tag: "only slot 2 is left, clicking 1", entries: [right, right, left], index: 0, blocked: false },
            { tag: "two left buttons", entries: [left, left], index: 0, blocked: false },
            { tag: "no left button", entries: [right, fire], index: 0, blocked: false },
            { tag: "fire entry is not the left button", entries: [left, fire], index: 0, blocked: true }
        ]
    }
    function test_checkOneLeftKey(row) {
        compare(Logic.checkOneLeftKey(rows(row.entries), row.index), row.blocked)
    }

    function test_entryOf_data() {
        return [
            { tag: "numbers", stored: [4, 1, 5, 0], entry: [4, 1, 5, 0] },
            { tag: "texts", stored: ["0", "0", "240", "0"], entry: [0, 0, 240, 0] },
            { tag: "missing key", stored: [], entry: [0, 0, 0, 0] },
            { tag: "short", stored: ["5", "0"], entry: [5, 0, 0, 0] },
            { tag: "garbage", stored: ["x", "1", "", "2"], entry: [0, 1, 0, 2] }
        ]
    }
    function test_entryOf(row) {
        compare(Logic.entryOf(row.stored), row.entry)
    }

    function test_flattenKeepsSlotOrder() {
        compare(Logic.flatten(rows([[0, 0, 0xF0, 0], [5, 0, 1, 0]])), [0, 0, 0xF0, 0, 5, 0, 1, 0])
    }

    function test_builtInRows() {
        compare(Logic.builtInRows.length, 16)
        compare(Logic.builtInRows[7], [0x00, 0xF0, 0x1E, 0x02])
        compare(Logic.builtInRows[15], [0xFF, 0x00, 0x02, 0x00])
    }
}
