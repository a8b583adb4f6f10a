.pragma library

// The screens' key-name table: one-byte key codes (USB HID keyboard usages,
// then the five mouse buttons) and their built-in display names.

function codes() {
    var list = []
    var c
    for (c = 0x04; c <= 0x73; ++c)
        list.push(c)
    list.push(0x85)
    for (c = 0x87; c <= 0x8B; ++c)
        list.push(c)
    list.push(0x90, 0x91)
    for (c = 0xE0; c <= 0xE7; ++c)
        list.push(c)
    for (c = 0xF0; c <= 0xF4; ++c)
        list.push(c)
    return list
}

function names() {
    var list = []
    var i
    for (i = 0; i < 26; ++i)
        list.push(String.fromCharCode(65 + i))
    for (i = 1; i <= 9; ++i)
        list.push(String(i))
    list.push("0", "Enter", "Esc", "Back", "Tab", "Space", "-", "=", "[", "]", "\\", "\\",
              ";", "'", "`", ",", ".", "/", "Caps")
    for (i = 1; i <= 12; ++i)
        list.push("F" + i)
    list.push("Prt", "Scr", "Pau", "Ins", "Hom", "Pgu", "Del", "End", "PgD",
              "\u25ba", "\u25c4", "\u25bc", "\u25b2")
    list.push("Num", "KP/", "KP*", "KP-", "KP+", "KPEnter")
    for (i = 1; i <= 9; ++i)
        list.push("KP" + i)
    list.push("KP0", "KP.", "Eur2", "App", "Power", "KP=")
    for (i = 13; i <= 24; ++i)
        list.push("F" + i)
    list.push("Keypad")
    for (i = 1; i <= 5; ++i)
        list.push("Intl" + i)
    list.push("Lang1", "Lang2", "LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin",
              "MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5")
    return list
}

// The code of the first entry named str; 0 when none is.
function strTokeycode(codeList, nameList, str) {
    var i = nameList.indexOf(str)
    return i < 0 || i >= codeList.length ? 0 : codeList[i]
}

// The name of the first entry with this code; empty when none has it.
function keycodeTostr(codeList, nameList, keycode) {
    var i = codeList.indexOf(Number(keycode))
    return i < 0 || i >= nameList.length ? "" : String(nameList[i])
}
