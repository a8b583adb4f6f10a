.pragma library
.import "../../common/values.js" as Values

// Pure rules of the system settings page.

var builtInTexts = ["System Setting", "Mouse Speed", "Double Click Speed", "Slow", "Fast",
                    "Scroll Speed", "Number of Rows", "Scroll one Screen",
                    "Not offered by this desktop", "Desktop not recognised",
                    "Desktop settings tool not installed", "No desktop session",
                    "The desktop did not take the pointer speed",
                    "The desktop did not take the double-click speed",
                    "The desktop did not take the scroll lines"]

// The text of why a setting cannot be applied: reason 1.. is text 8...
var firstReasonText = 8

// Knob positions of both sliders, in pixels.
var minPos = 3
var maxPos = 337
var thresholds = [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]
var maxIndex = thresholds.length - 1

// Scroll lines: 1 .. 100 rows, or one screen per notch.
var minRows = 1
var maxRows = 100
var oneScreen = 1000

// What saveData(isSendData, isStep) applies.
var stepAll = 0
var stepSpeed = 1
var stepDoubleClick = 2
var stepScroll = 3

// The band of a knob position: the place of the first threshold above it
// ("below", so a knob on a threshold belongs to the next band).
function indexOf(position) {
    for (var i = 0; i < thresholds.length; ++i)
        if (position < thresholds[i])
            return i
    return maxIndex
}

function clampPosition(p) {
    return Math.max(minPos, Math.min(maxPos, p))
}

// A stored scroll value above 100 means one screen per notch.
function isOneScreen(stored) {
    return Values.toInt(stored, 0) > maxRows
}

// The rows field after editing: empty or below 1 becomes 1.
function rowsText(text) {
    var n = Values.toInt(text, 0)
    return String(Math.max(minRows, Math.min(maxRows, n)))
}

// The value stored and applied for the scroll choice.
function scrollValue(oneScreenChosen, rowsFieldText) {
    return oneScreenChosen ? oneScreen : Values.toInt(rowsText(rowsFieldText), minRows)
}

function applies(isStep, step) {
    var s = Values.toInt(isStep, stepAll)
    return s === stepAll || s === step
}

// The desktop's state of a step (stepSpeed ...) in the view's list of
// {reason, current}; a view that tells nothing offers everything.
function stateOf(states, step) {
    var s = states ? states[step - 1] : undefined
    return s ? s : {}
}

function available(states, step) {
    return Values.toInt(stateOf(states, step).reason, 0) === 0
}

// The short reason shown beside a setting that cannot be applied; "" when
// it can.
function reasonText(lang, states, step) {
    var r = Values.toInt(stateOf(states, step).reason, 0)
    if (r <= 0)
        return ""
    var t = lang[firstReasonText + r - 1]
    return t === undefined ? builtInTexts[firstReasonText + r - 1] || "" : t
}

// The desktop's current value of a step, or undefined where unknown.
function currentOf(states, step) {
    var v = stateOf(states, step).current
    return v === undefined || v === null || !available(states, step) ? undefined : Values.toInt(v, 0)
}

// A knob position inside the band of an index (its middle).
function positionOfIndex(index) {
    var i = Math.max(0, Math.min(maxIndex, index))
    var low = i === 0 ? minPos : thresholds[i - 1]
    return clampPosition(Math.floor((low + thresholds[i] - 1) / 2))
}

// The line shown when the desktop refuses a setting: the page's text for
// the step being applied (texts 12 to 14), else the view's own message.
var firstFailureText = 12

function failureText(step, message, texts) {
    var s = Values.toInt(step, stepAll)
    if (s >= stepSpeed && s <= stepScroll) {
        var t = texts[firstFailureText + s - stepSpeed]
        if (t !== undefined && String(t) !== "")
            return String(t)
    }
    return String(message)
}
