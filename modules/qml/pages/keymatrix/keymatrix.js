.pragma library

// Pure rules of the key matrix list.

var slotCount = 16

// Rows before the first initialisation, by slot.
var builtInRows = [
    [0x00, 0x00, 0xF0, 0x00], [0x00, 0x00, 0xF1, 0x00], [0x00, 0x00, 0xF2, 0x00],
    [0x00, 0x00, 0xF4, 0x00], [0x00, 0x00, 0xF3, 0x00], [0x05, 0x00, 0x01, 0x00],
    [0x05, 0x00, 0x02, 0x00], [0x00, 0xF0, 0x1E, 0x02], [0, 0, 0, 0], [0, 0, 0, 0],
    [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0],
    [0xFF, 0x00, 0x01, 0x00], [0xFF, 0x00, 0x02, 0x00]
]

var builtInTexts = ["Key ", "Key Function"]

// The mouse picture and the list show at most eight buttons.
function shownRows(keyCount) {
    var n = parseInt(keyCount, 10)
    return isNaN(n) || n < 0 ? 0 : Math.min(n, 8)
}

// Title 40, rows of 24 with 2 between them, 8 below.
function panelHeight(keyCount) {
    var n = shownRows(keyCount)
    return 40 + 24 * n + 2 * Math.max(0, n - 1) + 8
}

// "Key " already ends in a blank; one more blank, then the number from 1.
function rowName(prefix, index) {
    return String(prefix) + " " + (index + 1)
}

// A stored entry as four numbers; absent or unreadable values count as 0.
function entryOf(values) {
    var e = [0, 0, 0, 0]
    if (!values)
        return e
    for (var i = 0; i < 4 && i < values.length; ++i) {
        var n = parseInt(values[i], 10)
        e[i] = isNaN(n) ? 0 : n
    }
    return e
}

function isLeftButton(row) {
    return Number(row.keyCode0) === 0x00 && Number(row.keyCode2) === 0xF0
}

// True only when exactly one row carries the left-button function and it is
// the row being opened: that row must keep it, so no dialog opens.
function checkOneLeftKey(rows, index) {
    var count = 0
    var only = -1
    for (var i = 0; i < rows.length; ++i) {
        if (isLeftButton(rows[i])) {
            ++count
            only = i
        }
    }
    return count === 1 && only === index
}

// The 64 values of a matrix, slot by slot.
function flatten(rows) {
    var values = []
    for (var i = 0; i < rows.length; ++i)
        values.push(Number(rows[i].keyCode0), Number(rows[i].keyCode1),
                    Number(rows[i].keyCode2), Number(rows[i].keyCode3))
    return values
}
