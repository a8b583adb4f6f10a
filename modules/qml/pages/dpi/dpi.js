.pragma library
.import "../../common/values.js" as Values

// Pure rules of the DPI panel.

// 0: the panel's title, 1: the label of the stage-count list.
var builtInTexts = ["DPI", "Stages"]

var stageCount = 8
// Knob positions of every stage slider, counted from the bottom.
var minPos = 3
var maxPos = 161
var span = maxPos - minPos

// Values before the first initialisation.
var defaults = {
    dpiCount: 4,
    currentDpiCount: 4,
    minDPI: 200,
    maxDPI: 6000,
    sensorType: "3360",
    dpiBase: 50,
    values: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
}

// The DPI of a knob position, in steps of dpiBase from minDPI to maxDPI.
// Worked in whole numbers so that a step boundary never rounds down.
function valueOfPosition(p, minDPI, maxDPI, dpiBase) {
    var base = dpiBase > 0 ? dpiBase : 1
    var scaled = (p - minPos) * (maxDPI - minDPI) + span * minDPI
    return Math.floor(scaled / (span * base)) * base
}

// The knob position of a DPI value. The rule lands one pixel above the
// position whose value it is, so the top value would fall off the track:
// positions are kept on it.
function positionOfValue(v, minDPI, maxDPI) {
    if (maxDPI <= minDPI)
        return minPos
    var p = Math.floor(span * (v - minDPI) / (maxDPI - minDPI)) + 4
    return Math.max(minPos, Math.min(maxPos, p))
}

// Entries of the stage-count list: "1" .. count.
function stageNames(count) {
    var names = []
    for (var i = 1; i <= count; ++i)
        names.push(String(i))
    return names
}

// Stage counts the panel accepts from a profile: 1 to 8. Anything else
// (a missing key included) ends the initialisation.
function validStageCount(value) {
    var n = parseInt(value, 10)
    return !isNaN(n) && n >= 1 && n <= stageCount ? n : 0
}

// Active stages within 1 .. offered; fallback when unreadable.
function activeCount(value, offered, fallback) {
    var n = Values.toInt(value, fallback)
    return Math.max(1, Math.min(offered, n))
}

// Stage sliders share the width evenly; column i of `shown`.
function columnWidth(panelWidth, margin, shown) {
    return (panelWidth - 2 * margin) / Math.max(1, shown)
}

// What assistive technology hears for a stage.
function stageDescription(stage, currentStage) {
    return stage === currentStage ? "current" : ""
}
