.pragma library

// Key entries (four bytes, function first) and the texts the screens show
// for them. Shared by the key matrix list and the key assignment page.

// Built-in texts of the key assignment page, by index.
var builtInTexts = ["Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key",
    "Forward Key", "Back Key", "Light Control", "Fire Function", "Key Value",
    "Click Input", "Rate", "Times", "Endness", "Group Function",
    "Media Function", "Macro Function", "Macro Editor",
    "Macro runs one-time after pressing the button",
    "Macro runs endless loop until any button is pressed",
    "Macro runs endless loop until button is released",
    "DPI Function", "DPI+", "DPI-", "DPI LOOP", "Windows Function",
    "Shortcut Function", "Player", "Next", "Privous", "Stop", "Mute",
    "Play/Pause", "Volumn+", "Volumn-", "My PC", "Index", "Search", "Max",
    "Min", "Desktop", "Run", "New", "Cut", "Copy", "Paste", "Save", "Print",
    "Find", "Redo", "Undo", "Select All", "Gun Function", "One Gun",
    "Two Gun", "Three Gun", "Sniper Key", "", "", ""]

// Choices with fixed entries: the four bytes and the index of their text.
var mouseChoices = [
    { entry: [0x00, 0x00, 0xF0, 0x00], text: 2 },
    { entry: [0x00, 0x00, 0xF2, 0x00], text: 3 },
    { entry: [0x00, 0x00, 0xF1, 0x00], text: 4 },
    { entry: [0x00, 0x00, 0xF4, 0x00], text: 5 },
    { entry: [0x00, 0x00, 0xF3, 0x00], text: 6 },
    { entry: [0x00, 0x00, 0xFF, 0x00], text: 7 }
]
var mediaChoices = [
    { entry: [0x03, 0x00, 0x83, 0x01], text: 27 },
    { entry: [0x03, 0x00, 0xB5, 0x00], text: 28 },
    { entry: [0x03, 0x00, 0xB6, 0x00], text: 29 },
    { entry: [0x03, 0x00, 0xB7, 0x00], text: 30 },
    { entry: [0x03, 0x00, 0xE2, 0x00], text: 31 },
    { entry: [0x03, 0x00, 0xCD, 0x00], text: 32 },
    { entry: [0x03, 0x00, 0xE9, 0x00], text: 33 },
    { entry: [0x03, 0x00, 0xEA, 0x00], text: 34 }
]
var dpiChoices = [
    { entry: [0x05, 0x00, 0x01, 0x00], text: 22 },
    { entry: [0x05, 0x00, 0x02, 0x00], text: 23 },
    { entry: [0x05, 0x00, 0x03, 0x00], text: 24 },
    { entry: [0x05, 0x00, 0x04, 0x00], text: 56 }
]
var windowsChoices = [
    { entry: [0x06, 0x00, 0x94, 0x01], text: 35 },
    { entry: [0x06, 0x00, 0x23, 0x02], text: 36 },
    { entry: [0x06, 0x00, 0x21, 0x02], text: 37 },
    { entry: [0x06, 0x04, 0x2C, 0x1B], text: 38 },
    { entry: [0x06, 0x04, 0x2C, 0x11], text: 39 },
    { entry: [0x06, 0x00, 0xE3, 0x07], text: 40 },
    { entry: [0x06, 0x00, 0xE3, 0x15], text: 41 }
]
var shortcutChoices = [
    { entry: [0x07, 0x00, 0xE0, 0x11], text: 42 },
    { entry: [0x07, 0x00, 0xE0, 0x1B], text: 43 },
    { entry: [0x07, 0x00, 0xE0, 0x06], text: 44 },
    { entry: [0x07, 0x00, 0xE0, 0x19], text: 45 },
    { entry: [0x07, 0x00, 0xE0, 0x16], text: 46 },
    { entry: [0x07, 0x00, 0xE0, 0x13], text: 47 },
    { entry: [0x07, 0x00, 0xE0, 0x09], text: 48 },
    { entry: [0x07, 0x00, 0xE0, 0x1C], text: 49 },
    { entry: [0x07, 0x00, 0xE0, 0x1D], text: 50 },
    { entry: [0x07, 0x00, 0xE0, 0x04], text: 51 }
]
var gunChoices = [
    { entry: [0x08, 0x00, 0x01, 0x00], text: 53 },
    { entry: [0x08, 0x00, 0x02, 0x00], text: 54 },
    { entry: [0x08, 0x00, 0x03, 0x00], text: 55 }
]

// Modifier bits of a combination, lowest first; bit i is key code 0xE0 + i.
var modifierCodes = [0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7]

function sameEntry(a, b) {
    for (var i = 0; i < 4; ++i) {
        if ((Number(a[i]) & 0xFF) !== (Number(b[i]) & 0xFF))
            return false
    }
    return true
}

function textOf(texts, index) {
    var t = texts && index < texts.length ? texts[index] : undefined
    return t === undefined || t === null ? "" : String(t)
}

// Index in choices of the entry equal to codes, or -1.
function findChoice(choices, codes) {
    for (var i = 0; i < choices.length; ++i) {
        if (sameEntry(choices[i].entry, codes))
            return i
    }
    return -1
}

function choiceText(choices, codes, texts) {
    var i = findChoice(choices, codes)
    return i < 0 ? "" : textOf(texts, choices[i].text)
}

// Names of the modifier keys set in bits, lowest bit first.
function modifierNames(bits, keyName) {
    var list = []
    for (var i = 0; i < 8; ++i) {
        if (bits & (1 << i))
            list.push(keyName(modifierCodes[i]))
    }
    return list
}

// The text of an entry. keyName(code) names a key; macroName(slot) gives the
// macro stored for a macro slot.
function keyCodeToString(codes, texts, keyName, macroName) {
    var c = [0, 0, 0, 0]
    for (var i = 0; i < 4; ++i)
        c[i] = Number(codes[i]) & 0xFF
    switch (c[0]) {
    case 0x00:
        switch (c[2]) {
        case 0xF0: return textOf(texts, 2)
        case 0xF2: return textOf(texts, 3)
        case 0xF1: return textOf(texts, 4)
        case 0xF4: return textOf(texts, 5)
        case 0xF3: return textOf(texts, 6)
        default: return textOf(texts, 7)
        }
    case 0x01:
        return keyName(c[1])
    case 0x02: {
        var parts = modifierNames(c[1], keyName)
        if (c[2] !== 0)
            parts.push(keyName(c[2]))
        if (c[3] !== 0)
            parts.push(keyName(c[3]))
        return parts.join("+")
    }
    case 0x03:
        return choiceText(mediaChoices, c, texts)
    case 0x04:
        return macroName(c[2])
    case 0x05:
        return choiceText(dpiChoices, c, texts)
    case 0x06:
        return choiceText(windowsChoices, c, texts)
    case 0x07:
        return choiceText(shortcutChoices, c, texts)
    case 0x08:
        return choiceText(gunChoices, c, texts)
    default:
        return ""
    }
}
