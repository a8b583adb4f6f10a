.pragma library

// Pure rules of the main screen.

var reportRateNames = ["125Hz", "250Hz", "500Hz", "1000Hz"]

// The device takes the report interval in milliseconds, not the index.
function reportInterval(index) {
    switch (Number(index)) {
    case 0: return 8
    case 1: return 4
    case 2: return 2
    default: return 1
    }
}

// A screen's text table: the language file's entries replace the built-in
// ones index by index; an entry the file lacks keeps its built-in text, so
// a short or missing section never leaves a blank screen.
function mergeTexts(builtIn, loaded) {
    var result = builtIn.slice()
    if (!loaded)
        return result
    for (var i = 0; i < loaded.length; ++i) {
        var t = loaded[i]
        if (t === undefined || t === null)
            continue
        if (i < result.length)
            result[i] = String(t)
        else
            result.push(String(t))
    }
    return result
}

// The slots whose entry plays the named macro. rows: objects with
// keyCode0..keyCode3; macroName(slot) reads the name stored for a slot.
function slotsHoldingMacro(rows, name, macroName) {
    var slots = []
    for (var i = 0; i < rows.length; ++i) {
        var r = rows[i]
        if ((Number(r.keyCode0) & 0xFF) === 0x04 && macroName(Number(r.keyCode2) & 0xFF) === name)
            slots.push(i)
    }
    return slots
}

// The stage the DPI page shows for a stage the device reports (counted
// from 1); 0 means "no change" and gives -1.
function pageStage(deviceStage) {
    var n = parseInt(deviceStage, 10)
    return isNaN(n) || n === 0 ? -1 : n - 1
}

// The stage the DPI page shows after reading the device's current stage:
// a failed read (the view answers -1) or a stage the device cannot have
// selects none (-1).
function readStage(deviceStage) {
    var n = parseInt(deviceStage, 10)
    return isNaN(n) || n < 1 || n > 8 ? -1 : n - 1
}
