import QtQuick
import QtTest
import "../../modules/qml/pages/keyassign/keyassign.js" as Logic

TestCase {
    name: "KeyAssignmentLogic"

    function test_hexText_data() {
        return [
            { tag: "play/pause", entry: [0x03, 0x00, 0xCD, 0x00], hex: "0300CD00" },
            { tag: "maximise", entry: [0x06, 0x04, 0x2C, 0x1B], hex: "06042C1B" },
            { tag: "light switch", entry: [0x00, 0x00, 0xFF, 0x00], hex: "0000FF00" },
            { tag: "stored as text", entry: ["7", "0", "224", "17"], hex: "0700E011" }
        ]
    }
    function test_hexText(row) {
        compare(Logic.hexOfEntry(row.entry), row.hex)
        compare(Logic.entryOfHex(row.hex), Logic.entryOf(row.entry))
    }

    function test_timesOfText_data() {
        return [
            { tag: "zero", text: "0", times: 0 },
            { tag: "seven", text: "7", times: 7 },
            { tag: "the top", text: "255", times: 255 },
            { tag: "above the top", text: "300", times: 255 },
            { tag: "empty", text: "", times: 0 },
            { tag: "negative", text: "-3", times: 0 },
            { tag: "not a number", text: "x", times: 0 }
        ]
    }
    function test_timesOfText(row) {
        compare(Logic.timesOfText(row.text), row.times)
    }

    function test_fireEntry_data() {
        return [
            { tag: "initial slider text", code: 0x04, rate: "10ms", times: "0", entry: [1, 0x04, 10, 0] },
            { tag: "one digit", code: 0x2C, rate: "9MS", times: "3", entry: [1, 0x2C, 9, 3] },
            { tag: "right end", code: 0x28, rate: "90MS", times: "255", entry: [1, 0x28, 90, 255] },
            { tag: "times left empty", code: 0x1E, rate: "45MS", times: "", entry: [1, 0x1E, 45, 0] }
        ]
    }
    function test_fireEntry(row) {
        compare(Logic.fireEntry(row.code, row.rate, row.times), row.entry)
    }

    function test_rateAndTimesTouchOnlyFireEntries_data() {
        return [
            { tag: "fire", entry: [1, 4, 10, 0], rated: [1, 4, 33, 0], timed: [1, 4, 10, 7] },
            { tag: "media", entry: [3, 0, 0xCD, 0], rated: [3, 0, 0xCD, 0], timed: [3, 0, 0xCD, 0] },
            { tag: "combination", entry: [2, 1, 6, 0], rated: [2, 1, 6, 0], timed: [2, 1, 6, 0] }
        ]
    }
    function test_rateAndTimesTouchOnlyFireEntries(row) {
        compare(Logic.withRate(row.entry, 33), row.rated)
        compare(Logic.withTimes(row.entry, 7), row.timed)
    }

    function test_macroEntries_data() {
        return [
            { tag: "button 3, once", mode: 0, button: 2, entry: [4, 0, 2, 0] },
            { tag: "button 6, until released", mode: 2, button: 5, entry: [4, 2, 5, 0] },
            { tag: "unknown mode plays once", mode: 7, button: 1, entry: [4, 0, 1, 0] }
        ]
    }
    function test_macroEntries(row) {
        compare(Logic.macroEntry(row.mode, row.button), row.entry)
        compare(Logic.runModeOf(row.entry), row.entry[1])
    }

    function test_runModeChangesOnlyMacroEntries() {
        compare(Logic.withRunMode([4, 0, 5, 0], 1), [4, 1, 5, 0])
        compare(Logic.withRunMode([5, 0, 1, 0], 1), [5, 0, 1, 0])
        compare(Logic.runModeOf([5, 2, 1, 0]), 0)
    }

    function test_modifierBits_data() {
        return [
            { tag: "L Ctrl", code: 0xE0, bit: 0x01 }, { tag: "L Shift", code: 0xE1, bit: 0x02 },
            { tag: "L Alt", code: 0xE2, bit: 0x04 }, { tag: "L Win", code: 0xE3, bit: 0x08 },
            { tag: "R Ctrl", code: 0xE4, bit: 0x10 }, { tag: "R Shift", code: 0xE5, bit: 0x20 },
            { tag: "R Alt", code: 0xE6, bit: 0x40 }, { tag: "R Win", code: 0xE7, bit: 0x80 },
            { tag: "A is a key", code: 0x04, bit: 0 }, { tag: "Menu is a key", code: 0x65, bit: 0 }
        ]
    }
    function test_modifierBits(row) {
        compare(Logic.modifierBit(row.code), row.bit)
        var c = Logic.comboKeyDown(Logic.newCombo(), row.code, "k")
        compare(Logic.comboEntry(c), row.bit ? [2, row.bit, 0, 0] : [2, 0, row.code, 0])
    }

    function test_comboKeyDownLeavesItsInputAlone() {
        var empty = Logic.newCombo()
        var c = Logic.comboKeyDown(empty, 0xE0, "LCtrl")
        compare(Logic.comboIsEmpty(empty), true)
        compare(Logic.comboIsEmpty(c), false)
        compare(Logic.comboText(c), "LCtrl")
    }

    function test_entryChanged_data() {
        return [
            { tag: "same entry", working: [3, 0, 0xCD, 0], text: "Play/Pause",
              stored: [3, 0, 0xCD, 0], storedText: "Play/Pause", changed: false },
            { tag: "one byte", working: [1, 4, 11, 0], text: "A", stored: [1, 4, 10, 0], storedText: "A", changed: true },
            { tag: "stored as text", working: [5, 0, 1, 0], text: "DPI+", stored: ["5", "0", "1", "0"],
              storedText: "DPI+", changed: false },
            { tag: "same macro", working: [4, 0, 2, 0], text: "Jump", stored: [4, 0, 2, 0], storedText: "Jump", changed: false },
            { tag: "other macro, same bytes", working: [4, 0, 2, 0], text: "Run",
              stored: [4, 0, 2, 0], storedText: "Jump", changed: true },
            // Only a macro's text names what it plays.
            { tag: "combination text spacing", working: [2, 1, 6, 0], text: "LCtrl + C",
              stored: [2, 1, 6, 0], storedText: "LCtrl+C", changed: false }
        ]
    }
    function test_entryChanged(row) {
        compare(Logic.entryChanged(row.working, row.text, row.stored, row.storedText), row.changed)
    }

    function test_nameList() {
        compare(Logic.nameList(undefined), [])
        compare(Logic.nameList(["a", 2]), ["a", "2"])
        compare(Logic.indexOfName(["Jump", "Run"], "Run"), 1)
        compare(Logic.indexOfName(["Jump", "Run"], "run"), -1)
    }
}
