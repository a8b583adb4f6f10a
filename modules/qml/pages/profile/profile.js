.pragma library

// Pure rules of the profile list.

var builtInTexts = ["config", "New", "Import", "Delete", "Export", "Standard"]
var marker = "loaderzentic"

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

function indexOfNumber(rows, number) {
    for (var i = 0; i < rows.length; ++i) {
        if (rows[i].number === number)
            return i
    }
    return -1
}
