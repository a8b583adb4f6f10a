.pragma library
.import "../../common/keytext.js" as KeyText
.import "../../common/rate.js" as Rate

// The key assignment page's rules: the entries its choices and captures
// build, and when closing has to write anything. Entries are arrays of four
// bytes, function first, in the interface encoding the profiles keep.

var fireFunction = 0x01
var comboFunction = 0x02
var macroFunction = 0x04
var maxTimes = 255
// Run modes of a macro: once, until any button, until released.
var runModeCount = 3

function toByte(v) {
    var n = parseInt(v, 10)
    return isNaN(n) ? 0 : (n & 0xFF)
}

function entryOf(codes) {
    return [toByte(codes[0]), toByte(codes[1]), toByte(codes[2]), toByte(codes[3])]
}

// Fixed choices travel as eight hex digits, function byte first.
function hexOfEntry(entry) {
    var text = ""
    for (var i = 0; i < 4; ++i) {
        var h = toByte(entry[i]).toString(16).toUpperCase()
        text += h.length < 2 ? "0" + h : h
    }
    return text
}

function entryOfHex(hex) {
    var t = String(hex)
    var e = []
    for (var i = 0; i < 4; ++i) {
        var n = parseInt(t.substring(2 * i, 2 * i + 2), 16)
        e.push(isNaN(n) ? 0 : n)
    }
    return e
}

// The entry and text of choice `index` of a section table (keytext.js).
function choice(choices, index, texts) {
    var c = choices[index]
    var keyCode = hexOfEntry(c.entry)
    return { keyCode: keyCode, entry: entryOfHex(keyCode), text: KeyText.textOf(texts, c.text) }
}

function isFire(entry) { return toByte(entry[0]) === fireFunction }
function isMacro(entry) { return toByte(entry[0]) === macroFunction }

// --- fire function -----------------------------------------------------------

// The "Times" field: 0 (endless) to 255; anything unreadable counts as 0.
function timesOfText(text) {
    var n = parseInt(String(text), 10)
    if (isNaN(n) || n < 0)
        return 0
    return Math.min(maxTimes, n)
}

// The rate byte is the number the rate slider's text shows.
function fireEntry(usbCode, rateText, timesText) {
    return [fireFunction, toByte(usbCode), rateOfText(rateText), timesOfText(timesText)]
}

function withByte(entry, index, value) {
    var e = entryOf(entry)
    e[index] = toByte(value)
    return e
}

function rateOfText(rateText) {
    return Rate.periodOfText(rateText)
}

// Rate and times change only a fire entry.
function withRate(entry, period) {
    return isFire(entry) ? withByte(entry, 2, period) : entryOf(entry)
}

function withTimes(entry, times) {
    return isFire(entry) ? withByte(entry, 3, times) : entryOf(entry)
}

// --- macro function ----------------------------------------------------------

function clampRunMode(mode) {
    var n = toByte(mode)
    return n < runModeCount ? n : 0
}

// A macro plays from the slot of the button it is assigned to.
function macroEntry(runMode, button) {
    return [macroFunction, clampRunMode(runMode), toByte(button), 0]
}

function withRunMode(entry, runMode) {
    return isMacro(entry) ? withByte(entry, 1, clampRunMode(runMode)) : entryOf(entry)
}

// The run mode a shown entry selects: its own for a macro, else the first.
function runModeOf(entry) {
    return isMacro(entry) ? clampRunMode(entry[1]) : 0
}

// --- group function (combination) ------------------------------------------

function isModifier(usbCode) {
    return usbCode >= 0xE0 && usbCode <= 0xE7
}

// L Ctrl 0x01, L Shift 0x02, L Alt 0x04, L Win 0x08, then the right ones.
function modifierBit(usbCode) {
    return isModifier(usbCode) ? 1 << (usbCode - 0xE0) : 0
}

function newCombo() {
    return { bits: 0, keys: [0, 0], count: 0, names: [] }
}

// A key-down while capturing. Modifiers set their bit, other keys are taken
// while fewer than two are. A modifier already held is not named twice, so
// the text keeps matching the entry's bits.
function comboKeyDown(combo, usbCode, name) {
    var c = { bits: combo.bits, keys: combo.keys.slice(), count: combo.count, names: combo.names.slice() }
    var code = toByte(usbCode)
    if (isModifier(code)) {
        var bit = modifierBit(code)
        if (c.bits & bit)
            return c
        c.bits |= bit
        c.names.push(name)
    } else if (c.count < 2) {
        c.keys[c.count] = code
        c.count += 1
        c.names.push(name)
    }
    return c
}

function comboText(combo) {
    return combo.names.join(" + ")
}

function comboIsEmpty(combo) {
    return combo.bits === 0 && combo.count === 0
}

function comboEntry(combo) {
    return [comboFunction, combo.bits, combo.keys[0], combo.keys[1]]
}

// --- closing -----------------------------------------------------------------

// Whether closing writes the working entry into the key matrix. Besides any
// changed byte, another macro chosen for a button that already plays a
// macro in the same run mode has the same four bytes; its name tells.
function entryChanged(working, workingText, stored, storedText) {
    if (!KeyText.sameEntry(working, stored))
        return true
    return isMacro(working) && String(workingText) !== String(storedText)
}

// Index of a name in a list of macro names, or -1.
function indexOfName(names, name) {
    for (var i = 0; i < names.length; ++i) {
        if (String(names[i]) === String(name))
            return i
    }
    return -1
}

// What the working entry becomes when the macro library changes: a macro
// choice whose macro is gone falls back to the button's entry in the key
// matrix (already its factory assignment when it played that macro too),
// or, should that name a missing macro as well, to the factory entry.
// Null when the choice stands.
function withoutMissingMacro(working, workingText, names, stored, storedText, factory, factoryText) {
    if (!isMacro(working) || indexOfName(names, workingText) >= 0)
        return null
    if (!isMacro(stored) || indexOfName(names, storedText) >= 0)
        return { entry: entryOf(stored), text: String(storedText) }
    return { entry: entryOf(factory), text: String(factoryText) }
}

// Names handed over by the macro editor (a JS array or a string list).
function nameList(names) {
    var list = []
    if (names === undefined || names === null)
        return list
    for (var i = 0; i < names.length; ++i)
        list.push(String(names[i]))
    return list
}
