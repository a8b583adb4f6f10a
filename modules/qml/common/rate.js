.pragma library

// The firing-rate scale shared by the gun editor and the fire function:
// whole milliseconds from 4 to 90, shown as "<n>MS".

var minPeriod = 4
var maxPeriod = 90

function clampPeriod(p) {
    var n = parseInt(p, 10)
    if (isNaN(n))
        n = 10
    return Math.max(minPeriod, Math.min(maxPeriod, n))
}

// Slider ratio (0 at the left end, 1 at the right) of a period; placing a
// stored period there reads back the same period.
function ratioOfPeriod(p) {
    return (clampPeriod(p) - minPeriod) / (maxPeriod - minPeriod)
}

function periodOfRatio(r) {
    var x = Math.max(0, Math.min(1, Number(r)))
    return minPeriod + Math.round(x * (maxPeriod - minPeriod))
}

function textOfPeriod(p) {
    return clampPeriod(p) + "MS"
}

// The period a slider text stands for: its first two characters when the
// text is longer than three characters, else its first character.
function periodOfText(text) {
    var t = String(text)
    var n = parseInt(t.length > 3 ? t.substring(0, 2) : t.substring(0, 1), 10)
    return isNaN(n) ? 0 : n
}
