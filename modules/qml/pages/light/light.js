.pragma library
.import "../../common/values.js" as Values

// Pure rules of the lighting panel.

var builtInTexts = ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color", "Brightness",
                    "Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO",
                    "Spotlight", "Breath Loop"]

var blockCount = 8
var stepCount = 5
// The colour bar: 185 pixels, the marker's centre on 0 .. 183.
var barWidth = 185
var barMax = 183
var segment = 30

// Effect value and colours before the first initialisation.
var defaultEffect = [1, 0, 4]
var defaultColours = [[255, 0, 0], [255, 128, 0], [255, 255, 0], [0, 255, 0],
                      [0, 255, 255], [0, 0, 255], [128, 0, 255], [255, 255, 255]]

function clampByte(n) {
    return Math.max(0, Math.min(255, n))
}

// The effect list: texts 1..4 always; texts 8..14 on a multi-colour mouse
// and text 15 on an is55328 one follow when extras are wanted.
function effectNames(lang, isColorful, is55328, withExtras, previous) {
    var names = []
    for (var i = 1; i <= 4; ++i)
        names.push(String(lang[i]))
    if (withExtras) {
        if (isColorful)
            for (var k = 8; k <= 14; ++k)
                names.push(String(lang[k]))
        if (is55328)
            names.push(String(lang[15]))
    } else if (previous) {
        // Extras from the first initialisation stay as they were.
        for (var j = 4; j < previous.length; ++j)
            names.push(previous[j])
    }
    return names
}

// Which sliders an entry shows and the steps picking it sets (-1: left as
// is). null: the entry leaves the sliders as they are.
function effectRule(entry, is55328) {
    function r(speed, brightness, setSpeed, setBrightness) {
        return { speed: speed, brightness: brightness, setSpeed: setSpeed, setBrightness: setBrightness }
    }
    switch (Number(entry)) {
    case 0: return r(false, true, -1, 4)
    case 1:
    case 2: return r(true, false, 0, -1)
    case 3: return r(false, false, -1, 0)
    case 4: return is55328 ? r(true, false, 0, -1) : r(false, true, -1, 4)
    case 5: return r(true, true, 0, 4)
    case 6: return r(false, false, 0, 4)
    case 7: return r(false, true, -1, 4)
    case 8:
    case 9:
    case 10: return r(true, true, 0, 4)
    default: return null
    }
}

// Initialising from stored values applies the visibility of entries 0..7
// only; the stored steps stay.
function initRule(entry, is55328) {
    var n = Number(entry)
    return n >= 0 && n <= 7 ? effectRule(n, is55328) : null
}

// 264 with both sliders, 224 with one, 176 with none.
function panelHeight(speedShown, brightnessShown) {
    if (speedShown && brightnessShown)
        return 264
    return speedShown || brightnessShown ? 224 : 176
}

function percentText(step) {
    return (Number(step) * 25) + "%"
}

// The colour of a marker position on the bar.
function colourAt(x) {
    x = Math.max(0, Math.min(barMax, Math.floor(x)))
    var s = Math.floor(x / segment)
    var t = Math.floor((x - segment * s) * 255 / segment)
    switch (s) {
    case 0: return [255, t, 0]
    case 1: return [255 - t, 255, 0]
    case 2: return [0, 255, t]
    case 3: return [0, 255 - t, 255]
    case 4: return [t, 0, 255]
    case 5: return [255, 0, 255 - t]
    default: return x === barMax ? [255, 255, 255] : [255, 0, 0]
    }
}

// The marker position of a colour: the six pure-hue edges, first fitting
// rule wins; white at the right end, anything else at the left end.
function positionOf(rgb) {
    var r = rgb[0], g = rgb[1], b = rgb[2]
    var d = barMax / 6
    var u = d / 256
    var p
    if (r === 255 && b === 0)
        p = u * g
    else if (r === 0 && b === 255)
        p = 3 * d + u * (255 - g)
    else if (g === 255 && b === 0)
        p = d + u * (255 - r)
    else if (g === 0 && b === 255)
        p = 4 * d + u * r
    else if (r === 0 && g === 255)
        p = 2 * d + u * b
    else if (r === 255 && g === 0)
        p = 5 * d + u * (255 - b)
    else if (r === 255 && g === 255 && b === 255)
        return barMax
    else
        return 0
    return Math.floor(p)
}

// Eight blocks from the stored 24 values; a missing or unreadable value
// counts as 0.
function blocksOf(values) {
    var blocks = []
    for (var i = 0; i < blockCount; ++i) {
        var c = []
        for (var k = 0; k < 3; ++k)
            c.push(clampByte(Values.toInt(values ? values[3 * i + k] : undefined, 0)))
        blocks.push(c)
    }
    return blocks
}

// The 24 values stored and sent. An is55328 mouse lights its eighth colour
// only for entry 4: otherwise it goes out as black.
function savedColours(blocks, is55328, entry) {
    var list = []
    for (var i = 0; i < blockCount; ++i) {
        var c = blocks[i] || [0, 0, 0]
        var dark = is55328 && Number(entry) !== 4 && i === blockCount - 1
        for (var k = 0; k < 3; ++k)
            list.push(dark ? 0 : clampByte(Values.toInt(c[k], 0)))
    }
    return list
}

// The colour command's type: 0 multi-colour, 1 otherwise.
function colourType(isColorful) {
    return isColorful ? 0 : 1
}

// A field's text as a colour component: empty or unreadable is 0.
function component(text) {
    return clampByte(Values.toInt(text, 0))
}

function hex(rgb) {
    function two(n) { var s = Number(n).toString(16); return s.length < 2 ? "0" + s : s }
    return "#" + two(rgb[0]) + two(rgb[1]) + two(rgb[2])
}
