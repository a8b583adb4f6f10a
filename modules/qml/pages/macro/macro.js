.pragma library

// Pure rules of the macro editor: library names, the stored form of action
// rows, the size budget, insert positions and delay editing.

var builtInTexts = ["Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record",
                    "Times", "OK", "Start Record", "Delay", "Delete", "Import", "Export",
                    "Insert Delay", "Insert Key", "Insert Left Key", "Insert Middle Key",
                    "Insert Right Key"]

var maxMacros = 100
var namePrefix = "Macro_"
// A one-entry name list is stored with this second entry.
var listMarker = "loaderzentic"
// Rows are refused once the encoded list reaches this many bytes, so the
// image always fits the mouse's 128.
var sizeLimit = 126
var tickMs = 10
var maxDelay = 65535
var insertedDelay = "50"

var Delay = 0, KeyPress = 1, KeyRelease = 2, ButtonPress = 3, ButtonRelease = 4
// Codes from here on are mouse buttons.
var firstButtonCode = 0xF0
var leftButton = 0xF0, rightButton = 0xF1, middleButton = 0xF2

// The macro names of a stored name list, without the marker a one-entry
// list carries.
function namesFromList(list) {
    var names = []
    if (!list)
        return names
    for (var i = 0; i < list.length; ++i)
        names.push(String(list[i]))
    if (names.length === 2 && names[1] === listMarker)
        names.pop()
    return names
}

// The first "Macro_<n>" (n from 0 to 99) no macro bears; "" when the
// library is full.
function freeName(names) {
    if (names.length >= maxMacros)
        return ""
    for (var n = 0; n < maxMacros; ++n) {
        var name = namePrefix + n
        if (names.indexOf(name) < 0)
            return name
    }
    return ""
}

// A new name is taken only when it is not empty or blank and no row bears
// it yet (the renamed row included: renaming to the same name changes
// nothing).
function renameAllowed(names, newName) {
    var name = String(newName)
    return name.trim() !== "" && names.indexOf(name) < 0
}

// --- action rows ------------------------------------------------------------

// The row type of a captured event: keys below the mouse-button codes.
function actionType(isDown, code) {
    if (Number(code) < firstButtonCode)
        return isDown ? KeyPress : KeyRelease
    return isDown ? ButtonPress : ButtonRelease
}

// What a row shows (and is named by): "50 ms" for a delay, the key name with
// an arrow down for a press and up for a release.
function rowText(type, info) {
    switch (Number(type)) {
    case Delay: return info + " ms"
    case KeyPress:
    case ButtonPress: return info + " \u2193"
    case KeyRelease:
    case ButtonRelease: return info + " \u2191"
    default: return String(info)
    }
}

// The kind of a row in words, for screen readers.
function rowKind(type) {
    return ["delay", "key press", "key release", "button press", "button release"][Number(type)] || ""
}

// One stored action "<type>,<info>": the first character is the type,
// everything after the comma the info. null for text that is no row.
function parseRow(text) {
    var s = String(text)
    var type = parseInt(s.charAt(0), 10)
    if (isNaN(type) || type < Delay || type > ButtonRelease || s.charAt(1) !== ",")
        return null
    return { type: type, info: s.substring(2) }
}

// What loadMacroIni returns: the action rows, then the repeat count. A macro
// without a file has no rows and the repeat count a new macro starts with.
function parseStored(list) {
    if (!list || list.length === 0)
        return { rows: [], times: "1" }
    var rows = []
    for (var i = 0; i < list.length - 1; ++i) {
        var row = parseRow(list[i])
        if (row)
            rows.push(row)
    }
    return { rows: rows, times: String(list[list.length - 1]) }
}

function storedRows(rows) {
    var out = []
    for (var i = 0; i < rows.length; ++i)
        out.push(rows[i].type + "," + rows[i].info)
    return out
}

// The repeat count of a "Times" text or a stored count; 0 when it is none.
function repeatOf(text) {
    var n = parseInt(text, 10)
    if (isNaN(n) || n < 0)
        return 0
    return Math.min(n, 65535)
}

// The "Times" field when it loses focus: empty or below 1 becomes "0".
function timesOnFocusLoss(text) {
    var n = parseInt(text, 10)
    return isNaN(n) || n < 1 ? "0" : String(n)
}

// Rows as the image encoder takes them: [type, value], the value in
// milliseconds for a delay and the key code (codeOf(name)) otherwise.
function codecRows(rows, codeOf) {
    var out = []
    for (var i = 0; i < rows.length; ++i) {
        var r = rows[i]
        var value = r.type === Delay ? (parseInt(r.info, 10) || 0) : codeOf(r.info)
        out.push([r.type, value])
    }
    return out
}

function withinBudget(size) {
    return size < sizeLimit
}

// The rows one captured event adds to a recording: the pause since the last
// event when there is one and delays are wanted, then the event itself.
function recordedRows(hasRows, withDelay, ticks, isDown, code, name) {
    var rows = []
    if (hasRows && withDelay)
        rows.push({ type: Delay, info: String(ticks * tickMs) })
    rows.push({ type: actionType(isDown, code), info: name })
    return rows
}

// --- insert positions -------------------------------------------------------

// A key pair goes to the end when the current row is the last one (or there
// is none), otherwise in front of the current row.
function keyInsertIndex(current, count) {
    return current < 0 || current >= count - 1 ? count : current
}

// A mouse-button pair goes to the end when the current row is the last one
// (or there is none), otherwise right after the current row.
function buttonInsertIndex(current, count) {
    return current < 0 || current >= count - 1 ? count : current + 1
}

// A delay goes in front of the current row, or to the end without one.
function delayInsertIndex(current, count) {
    return current < 0 || current >= count ? count : current
}

// The press and release pair an insert command adds.
function pressPair(name, isButton) {
    return [{ type: isButton ? ButtonPress : KeyPress, info: name },
            { type: isButton ? ButtonRelease : KeyRelease, info: name }]
}

// --- delay editing ----------------------------------------------------------

// The info a delay row keeps after editing: a whole number of milliseconds
// from 0 to 65535 (as integer parsing writes it), otherwise the old text.
function editedDelay(oldInfo, text) {
    var s = String(text).trim()
    if (!/^[0-9]+$/.test(s))
        return oldInfo
    var n = parseInt(s, 10)
    return n > maxDelay ? oldInfo : String(n)
}
