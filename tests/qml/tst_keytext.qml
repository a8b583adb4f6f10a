import QtQuick
import QtTest
import "../../modules/qml/common/keytext.js" as KeyText
import "../../modules/qml/common/keycodes.js" as KeyCodes

TestCase {
    name: "KeyText"

    readonly property var codes: KeyCodes.codes()
    readonly property var names: KeyCodes.names()

    function keyName(code) { return KeyCodes.keycodeTostr(codes, names, code) }
    function macroName(slot) { return slot === 2 ? "Combo" : "" }
    function text(entry) {
        return KeyText.keyCodeToString(entry, KeyText.builtInTexts, keyName, macroName)
    }

    function test_entryText_data() {
        return [
            { tag: "left", entry: [0x00, 0, 0xF0, 0], text: "Left Key" },
            { tag: "middle", entry: [0x00, 0, 0xF2, 0], text: "Middle Key" },
            { tag: "right", entry: [0x00, 0, 0xF1, 0], text: "Right Key" },
            { tag: "forward", entry: [0x00, 0, 0xF4, 0], text: "Forward Key" },
            { tag: "back", entry: [0x00, 0, 0xF3, 0], text: "Back Key" },
            { tag: "light switch", entry: [0x00, 0, 0xFF, 0], text: "Light Control" },
            { tag: "any other mouse code", entry: [0x00, 0xF0, 0x1E, 0x02], text: "Light Control" },
            { tag: "fire", entry: [0x01, 0x04, 10, 0], text: "A" },
            { tag: "combination", entry: [0x02, 0x03, 0x06, 0x19], text: "LCtrl+LShift+C+V" },
            { tag: "combination, modifiers in bit order", entry: [0x02, 0x81, 0x04, 0], text: "LCtrl+RWin+A" },
            { tag: "combination without keys", entry: [0x02, 0x10, 0, 0], text: "RCtrl" },
            { tag: "every modifier, in bit order", entry: [0x02, 0xFF, 0x04, 0x05],
              text: "LCtrl+LShift+LAlt+LWin+RCtrl+RShift+RAlt+RWin+A+B" },
            { tag: "fire on F12", entry: [0x01, 0x45, 90, 255], text: "F12" },
            { tag: "second key only", entry: [0x02, 0, 0, 0x05], text: "B" },
            { tag: "player", entry: [0x03, 0, 0x83, 0x01], text: "Player" },
            { tag: "play/pause", entry: [0x03, 0, 0xCD, 0x00], text: "Play/Pause" },
            { tag: "volume down", entry: [0x03, 0, 0xEA, 0x00], text: "Volumn-" },
            { tag: "unknown media", entry: [0x03, 0, 0x01, 0x00], text: "" },
            { tag: "macro name from the profile", entry: [0x04, 0, 2, 0], text: "Combo" },
            { tag: "macro without a name", entry: [0x04, 1, 5, 0], text: "" },
            { tag: "DPI+", entry: [0x05, 0, 1, 0], text: "DPI+" },
            { tag: "DPI loop", entry: [0x05, 0, 3, 0], text: "DPI LOOP" },
            { tag: "sniper", entry: [0x05, 0, 4, 0], text: "Sniper Key" },
            { tag: "my pc", entry: [0x06, 0, 0x94, 0x01], text: "My PC" },
            { tag: "maximise", entry: [0x06, 0x04, 0x2C, 0x1B], text: "Max" },
            { tag: "run", entry: [0x06, 0, 0xE3, 0x15], text: "Run" },
            { tag: "new", entry: [0x07, 0, 0xE0, 0x11], text: "New" },
            { tag: "select all", entry: [0x07, 0, 0xE0, 0x04], text: "Select All" },
            { tag: "one gun", entry: [0x08, 0, 1, 0], text: "One Gun" },
            { tag: "three gun", entry: [0x08, 0, 3, 0], text: "Three Gun" },
            { tag: "reserved", entry: [0xFF, 0, 1, 0], text: "" },
            { tag: "unknown function", entry: [0x09, 0, 1, 0], text: "" },
            { tag: "unknown function 0x0A", entry: [0x0A, 0x04, 10, 0], text: "" },
            { tag: "unknown function 0xFE", entry: [0xFE, 0, 0xF0, 0], text: "" },
            { tag: "stored as text", entry: ["5", "0", "2", "0"], text: "DPI-" }
        ]
    }
    function test_entryText(row) {
        compare(text(row.entry), row.text)
    }

    function test_languageTextsAreUsed() {
        var texts = KeyText.builtInTexts.slice()
        texts[32] = "播放/暂停"
        compare(KeyText.keyCodeToString([0x03, 0, 0xCD, 0], texts, keyName, macroName), "播放/暂停")
    }

    function test_shortTextTableGivesEmptyText() {
        compare(KeyText.keyCodeToString([0x05, 0, 4, 0], ["Key "], keyName, macroName), "")
    }

    function test_choiceTablesHaveTheirSectionFunction() {
        var tables = [[KeyText.mouseChoices, 0x00], [KeyText.mediaChoices, 0x03], [KeyText.dpiChoices, 0x05],
                      [KeyText.windowsChoices, 0x06], [KeyText.shortcutChoices, 0x07], [KeyText.gunChoices, 0x08]]
        for (var t = 0; t < tables.length; ++t) {
            for (var i = 0; i < tables[t][0].length; ++i)
                compare(tables[t][0][i].entry[0], tables[t][1])
        }
        compare(KeyText.mediaChoices.length, 8)
        compare(KeyText.windowsChoices.length, 7)
        compare(KeyText.shortcutChoices.length, 10)
    }
}
