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
}
