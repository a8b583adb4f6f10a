import QtQuick
import QtTest
import "../../modules/qml/common"
import "../../modules/qml/common/keycodes.js" as KeyCodes

TestCase {
    name: "KeyCodes"

    KeyCodeString { id: table }

    function test_tableShape() {
        var codes = KeyCodes.codes()
        var names = KeyCodes.names()
        compare(codes.length, 133)
        compare(names.length, 133)
        compare(codes[0], 0x04)
        compare(codes[111], 0x73)
        compare(codes[112], 0x85)
        compare(codes.slice(113, 120), [0x87, 0x88, 0x89, 0x8A, 0x8B, 0x90, 0x91])
        compare(codes.slice(128), [0xF0, 0xF1, 0xF2, 0xF3, 0xF4])
    }

    function test_names_data() {
        return [
            { tag: "A", code: 0x04, name: "A" },
            { tag: "Z", code: 0x1D, name: "Z" },
            { tag: "1", code: 0x1E, name: "1" },
            { tag: "0", code: 0x27, name: "0" },
            { tag: "Enter", code: 0x28, name: "Enter" },
            { tag: "0x31", code: 0x31, name: "\\" },
            { tag: "0x32", code: 0x32, name: "\\" },
            { tag: "Caps", code: 0x39, name: "Caps" },
            { tag: "F1", code: 0x3A, name: "F1" },
            { tag: "F12", code: 0x45, name: "F12" },
            { tag: "right arrow", code: 0x4F, name: "\u25ba" },
            { tag: "up arrow", code: 0x52, name: "\u25b2" },
            { tag: "KPEnter", code: 0x58, name: "KPEnter" },
            { tag: "KP.", code: 0x63, name: "KP." },
            { tag: "KP=", code: 0x67, name: "KP=" },
            { tag: "F24", code: 0x73, name: "F24" },
            { tag: "Keypad", code: 0x85, name: "Keypad" },
            { tag: "Intl5", code: 0x8B, name: "Intl5" },
            { tag: "Lang2", code: 0x91, name: "Lang2" },
            { tag: "LCtrl", code: 0xE0, name: "LCtrl" },
            { tag: "RWin", code: 0xE7, name: "RWin" },
            { tag: "MS-L", code: 0xF0, name: "MS-L" },
            { tag: "MS-B5", code: 0xF4, name: "MS-B5" },
            { tag: "unknown code", code: 0x86, name: "" }
        ]
    }
    function test_names(row) {
        compare(table.keycodeTostr(row.code), row.name)
    }

    function test_strTokeycode_data() {
        return [
            { tag: "A", name: "A", code: 0x04 },
            { tag: "first of two equal names", name: "\\", code: 0x31 },
            { tag: "mouse button", name: "MS-R", code: 0xF1 },
            { tag: "unknown name", name: "Nope", code: 0 },
            { tag: "empty", name: "", code: 0 }
        ]
    }
    function test_strTokeycode(row) {
        compare(table.strTokeycode(row.name), row.code)
    }

    function test_languageRenamesKeysButNotCodes() {
        var names = KeyCodes.names()
        names[0] = "Ä"
        table.keyCodeStr = names
        compare(table.keycodeTostr(0x04), "Ä")
        compare(table.strTokeycode("Ä"), 0x04)
        compare(table.strTokeycode("A"), 0)
        compare(table.keyCode.length, 133)
        table.keyCodeStr = KeyCodes.names()
    }
}
