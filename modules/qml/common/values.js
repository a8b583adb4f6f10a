.pragma library

// Stored settings as the screens read them: INI files give text back.

// "true" and "1" are true.
function toBool(value) {
    if (value === true || value === 1)
        return true
    var s = String(value).toLowerCase()
    return s === "true" || s === "1"
}

// A whole number from a stored value, or fallback when it is not one.
function toInt(value, fallback) {
    var n = parseInt(value, 10)
    return isNaN(n) ? fallback : n
}

// A stored text, or fallback when the key is absent.
function toText(value, fallback) {
    return value === undefined || value === null ? fallback : String(value)
}
