.pragma library

// Pure rules of the gun editor: the presets, their stored records, the
// target marker and the three gun slots.

var builtInTexts = ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis", "Y axis",
                    "Fire adjust", "Rate", "Times", "Endness"]

var rowCount = 6
var slotCount = 3

// Built-in presets; the stored records overwrite them at initialisation.
var presets = [
    { gunName: "M416", image: "M416.png" },
    { gunName: "AKM", image: "AKM.png" },
    { gunName: "M16A4", image: "M16A4.png" },
    { gunName: "SCAR-L", image: "SCAR-L.png" },
    { gunName: "UNP9", image: "UNP9.png" },
    { gunName: "Thomson", image: "Thomson.png" }
]

var maxY = 64
var maxTimes = 255
// The target marker runs between these vertical pixels (Y 0 at the top).
var markerTop = 89
var markerBottom = 183

// Factory reset: rows 0, 1, 2 in slots 1..3 with these corrections.
var resetSlots = [0, 1, 2]
var resetY = [5, 7, 8]
var resetPeriod = 9

function builtInRow(row) {
    return { gunName: presets[row].gunName, image: presets[row].image, gunKey: "L-Click",
             gunPeriod: 10, gunX: 0, gunY: 10, gunTimes: 0 }
}

function clampInt(value, low, high, fallback) {
    var n = parseInt(value, 10)
    if (isNaN(n))
        return fallback
    return Math.max(low, Math.min(high, n))
}

// A preset row overwritten by its stored record (name, key, period, x, y,
// times). An absent or short record leaves the built-in row; values that
// are not numbers keep the built-in ones.
function rowFromRecord(row, record) {
    var r = builtInRow(row)
    if (!record || record.length < 6)
        return r
    r.gunName = String(record[0])
    r.gunKey = String(record[1])
    r.gunPeriod = clampInt(record[2], 4, 90, r.gunPeriod)
    r.gunX = clampInt(record[3], 0, maxY, r.gunX)
    r.gunY = clampInt(record[4], 0, maxY, r.gunY)
    r.gunTimes = clampInt(record[5], 0, maxTimes, r.gunTimes)
    return r
}

// The stored record of a row: name, key, period, x, y, times.
function recordOf(r) {
    return [String(r.gunName), String(r.gunKey), Number(r.gunPeriod), Number(r.gunX),
            Number(r.gunY), Number(r.gunTimes)]
}

// What the mouse takes for a slot: times, x, y.
function sendValuesOf(r) {
    return [Number(r.gunTimes), Number(r.gunX), Number(r.gunY)]
}

// The stored slots as three row indexes; a missing or unreadable slot n
// holds row n.
function slotsOf(stored) {
    var slots = []
    for (var i = 0; i < slotCount; ++i) {
        var n = stored && i < stored.length ? parseInt(stored[i], 10) : NaN
        slots.push(isNaN(n) || n < 0 || n >= rowCount ? i : n)
    }
    return slots
}

// Marker pixel of a vertical correction: 89 at Y 0, 183 at Y 64.
function markerOfY(y) {
    return (markerBottom - markerTop) * clampInt(y, 0, maxY, 0) / maxY + markerTop
}

// Vertical correction of a marker pixel: the integer part of the share of
// the track, pixels outside it clamped to its ends.
function yOfMarker(pixel) {
    var p = Math.max(markerTop, Math.min(markerBottom, Number(pixel)))
    return Math.floor((p - markerTop) / (markerBottom - markerTop) * maxY)
}

// "Endness" is ticked for an endless shot count.
function isEndless(times) {
    return String(times) === "0"
}

// The slot chooser's entries: "Gun" followed by 1, 2, 3.
function slotNames(gunText) {
    var names = []
    for (var i = 1; i <= slotCount; ++i)
        names.push(String(gunText) + i)
    return names
}
