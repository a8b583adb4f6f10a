.pragma library

// Pure rules of the profile list.

var builtInTexts = ["config", "New", "Import", "Delete", "Export", "Standard",
                    "Bind program...", "Bind program", "Running programs", "Program name or folder",
                    "Bind", "Remove", "Bound programs", "Refresh",
                    "At most six profiles can exist"]
var marker = "loaderzentic"
// Profile numbers run from 0 to 5, one file each.
var maxRows = 6
var freeNamePrefix = "profile_"
var freeNameCount = 12

// A stored row is the name immediately followed by the number as one digit.
function splitRow(stored) {
    var s = String(stored)
    var n = parseInt(s.charAt(s.length - 1), 10)
    return { name: s.substring(0, s.length - 1), number: isNaN(n) ? 0 : n }
}

function joinRow(name, number) {
    return String(name) + String(number)
}

// The stored list as rows; a lone marker after one entry is dropped.
function rowsOf(stored) {
    var list = stored ? stored.slice() : []
    if (list.length === 2 && String(list[1]) === marker)
        list.pop()
    var rows = []
    for (var i = 0; i < list.length; ++i)
        rows.push(splitRow(list[i]))
    return rows
}

// The rows as the stored list.
function storedOf(rows) {
    var list = []
    for (var i = 0; i < rows.length; ++i)
        list.push(joinRow(rows[i].name, rows[i].number))
    return list
}

function indexOfNumber(rows, number) {
    for (var i = 0; i < rows.length; ++i) {
        if (rows[i].number === number)
            return i
    }
    return -1
}

function indexOfName(rows, name) {
    for (var i = 0; i < rows.length; ++i) {
        if (rows[i].name === name)
            return i
    }
    return -1
}

// "profile_" and the smallest i of 0..11 no row is named with; 12 once all
// twelve are taken.
function freeName(rows) {
    var i = 0
    while (i < freeNameCount && indexOfName(rows, freeNamePrefix + i) >= 0)
        ++i
    return freeNamePrefix + i
}

// The smallest profile number no row uses; -1 when all are used.
function freeNumber(rows) {
    for (var n = 0; n < maxRows; ++n) {
        if (indexOfNumber(rows, n) < 0)
            return n
    }
    return -1
}

// The row New or Import would append, or null when the list is full.
function newRow(rows) {
    if (rows.length >= maxRows)
        return null
    var number = freeNumber(rows)
    return number < 0 ? null : { name: freeName(rows), number: number }
}

// The standard profile (first row) and the profile in use stay.
function canDelete(rows, index, activeNumber) {
    return index > 0 && index < rows.length && rows[index].number !== activeNumber
}

// A new name is taken when it is not blank and no other row bears exactly it.
function canRename(rows, index, name) {
    var s = String(name)
    if (s.trim() === "")
        return false
    var other = indexOfName(rows, s)
    return other < 0 || other === index
}

// The selection after removing row `removed`: it stays on the same row,
// or falls back to `fallback` when that row was the removed one.
function indexAfterRemoval(current, removed, fallback) {
    if (current === removed)
        return fallback
    return current > removed ? current - 1 : current
}

// --- game bindings ---

// The program text a binding takes: blanks around it dropped.
function bindingText(text) {
    return String(text).trim()
}

// A program can be bound when it is not blank and not bound already.
function canBind(text, bound) {
    var t = bindingText(text)
    return t !== "" && bound.indexOf(t) < 0
}

// The running programs whose name holds `typed` (without case); all of
// them while nothing is typed or the typed text is a path.
function filterPrograms(programs, typed) {
    var t = bindingText(typed).toLowerCase()
    if (t === "" || t.indexOf("/") >= 0 || t.indexOf("\\") >= 0)
        return programs.slice()
    var out = []
    for (var i = 0; i < programs.length; ++i) {
        if (String(programs[i]).toLowerCase().indexOf(t) >= 0)
            out.push(programs[i])
    }
    return out
}
