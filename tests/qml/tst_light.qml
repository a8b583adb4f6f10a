import QtQuick
import QtTest
import "../../modules/qml/pages/light"
import "../../modules/qml/pages/light/light.js" as Logic

// The lighting panel: the colour bar both ways, the effect table, and what
// init and saveData read, store and send.
Item {
    width: 400
    height: 400

    FakeView { id: ui_View }

    Loader {
        id: loader
        active: false
        sourceComponent: LightPanel {}
    }

    TestCase {
        name: "LightLogic"

        function test_colourAt_data() {
            return [
                { tag: "0 red", x: 0, rgb: [255, 0, 0] },
                { tag: "30 yellow", x: 30, rgb: [255, 255, 0] },
                { tag: "60 green", x: 60, rgb: [0, 255, 0] },
                { tag: "90 cyan", x: 90, rgb: [0, 255, 255] },
                { tag: "120 blue", x: 120, rgb: [0, 0, 255] },
                { tag: "150 magenta", x: 150, rgb: [255, 0, 255] },
                { tag: "183 white", x: 183, rgb: [255, 255, 255] },
                { tag: "180 red again", x: 180, rgb: [255, 0, 0] },
                { tag: "182 red again", x: 182, rgb: [255, 0, 0] },
                { tag: "15 half way to yellow", x: 15, rgb: [255, 127, 0] },
                { tag: "45 half way to green", x: 45, rgb: [128, 255, 0] },
                { tag: "179 end of the last segment", x: 179, rgb: [255, 0, 9] }
            ]
        }
        function test_colourAt(row) {
            compare(Logic.colourAt(row.x), row.rgb)
        }

        function test_positionOf_data() {
            return [
                { tag: "blue: red 0 and blue 255 comes first", rgb: [0, 0, 255], x: 121 },
                { tag: "green", rgb: [0, 255, 0], x: 60 },
                { tag: "no pure hue stays left", rgb: [128, 64, 32], x: 0 },
                { tag: "black stays left", rgb: [0, 0, 0], x: 0 },
                { tag: "white right end", rgb: [255, 255, 255], x: 183 },
                { tag: "red", rgb: [255, 0, 0], x: 0 },
                { tag: "yellow", rgb: [255, 255, 0], x: 30 },
                { tag: "cyan", rgb: [0, 255, 255], x: 91 },
                { tag: "magenta", rgb: [255, 0, 255], x: 152 },
                { tag: "orange", rgb: [255, 127, 0], x: 15 },
                { tag: "red 255, green 0, blue 128", rgb: [255, 0, 128], x: 167 },
                { tag: "red 0, green 255, blue 128", rgb: [0, 255, 128], x: 76 }
            ]
        }
        function test_positionOf(row) {
            compare(Logic.positionOf(row.rgb), row.x)
        }

        function test_effectRule_data() {
            var B = { speed: false, brightness: true }, S = { speed: true, brightness: false }
            var none = { speed: false, brightness: false }, both = { speed: true, brightness: true }
            return [
                { tag: "0", entry: 0, is55328: false, shown: B, steps: [-1, 4] },
                { tag: "1", entry: 1, is55328: false, shown: S, steps: [0, -1] },
                { tag: "2", entry: 2, is55328: true, shown: S, steps: [0, -1] },
                { tag: "3", entry: 3, is55328: false, shown: none, steps: [-1, 0] },
                { tag: "4 on is55328", entry: 4, is55328: true, shown: S, steps: [0, -1] },
                { tag: "4 otherwise", entry: 4, is55328: false, shown: B, steps: [-1, 4] },
                { tag: "5", entry: 5, is55328: false, shown: both, steps: [0, 4] },
                { tag: "6", entry: 6, is55328: false, shown: none, steps: [0, 4] },
                { tag: "7", entry: 7, is55328: false, shown: B, steps: [-1, 4] },
                { tag: "8", entry: 8, is55328: false, shown: both, steps: [0, 4] },
                { tag: "10", entry: 10, is55328: true, shown: both, steps: [0, 4] }
            ]
        }
        function test_effectRule(row) {
            var r = Logic.effectRule(row.entry, row.is55328)
            compare(r.speed, row.shown.speed)
            compare(r.brightness, row.shown.brightness)
            compare([r.setSpeed, r.setBrightness], row.steps)
        }

        function test_initRuleLeavesEightToTen() {
            verify(Logic.initRule(7, false) !== null)
            compare(Logic.initRule(8, false), null)
            compare(Logic.initRule(10, false), null)
            compare(Logic.initRule(4, true).speed, true)
        }

        function test_panelHeight_data() {
            return [
                { tag: "both", speed: true, brightness: true, h: 264 },
                { tag: "speed", speed: true, brightness: false, h: 224 },
                { tag: "brightness", speed: false, brightness: true, h: 224 },
                { tag: "none", speed: false, brightness: false, h: 176 }
            ]
        }
        function test_panelHeight(row) {
            compare(Logic.panelHeight(row.speed, row.brightness), row.h)
        }

        function test_effectNames_data() {
            var base = ["Static", "Breath", "Neon", "OFF"]
            var colourful = ["Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO", "Spotlight"]
            return [
                { tag: "single colour", colorful: false, is55328: false, names: base },
                { tag: "single colour is55328", colorful: false, is55328: true, names: base.concat(["Breath Loop"]) },
                { tag: "multi-colour", colorful: true, is55328: false, names: base.concat(colourful) },
                { tag: "both", colorful: true, is55328: true, names: base.concat(colourful).concat(["Breath Loop"]) }
            ]
        }
        function test_effectNames(row) {
            compare(Logic.effectNames(Logic.builtInTexts, row.colorful, row.is55328, true, null), row.names)
            // Later initialisations rename entries 0..3 and keep the rest.
            var lang = Logic.builtInTexts.slice()
            lang[1] = "常亮"
            var again = Logic.effectNames(lang, true, true, false, row.names)
            compare(again.length, row.names.length)
            compare(again[0], "常亮")
        }

        function test_savedColours_data() {
            return [
                { tag: "is55328, entry 5: eighth is black", is55328: true, entry: 5, last: [0, 0, 0] },
                { tag: "is55328, entry 4 keeps it", is55328: true, entry: 4, last: [10, 20, 30] },
                { tag: "other mice keep it", is55328: false, entry: 5, last: [10, 20, 30] }
            ]
        }
        function test_savedColours(row) {
            var blocks = [[1, 2, 3], [4, 5, 6], [7, 8, 9], [10, 11, 12], [13, 14, 15], [16, 17, 18],
                          [19, 20, 21], [10, 20, 30]]
            var list = Logic.savedColours(blocks, row.is55328, row.entry)
            compare(list.length, 24)
            compare(list.slice(0, 3), [1, 2, 3])
            compare(list.slice(21), row.last)
        }

        function test_blocksOf() {
            var b = Logic.blocksOf(["255", "0", "0", "x", "300"])
            compare(b.length, 8)
            compare(b[0], [255, 0, 0])
            compare(b[1], [0, 255, 0])
            compare(b[7], [0, 0, 0])
        }

        function test_percentText() {
            compare([0, 1, 2, 3, 4].map(Logic.percentText), ["0%", "25%", "50%", "75%", "100%"])
        }
    }

    TestCase {
        name: "LightPanel"
        when: windowShown

        property var panel: loader.item

        readonly property var profileColours: ["255", "0", "0", "255", "128", "0", "255", "255", "0",
            "0", "255", "0", "0", "255", "255", "0", "0", "255", "128", "0", "255", "1", "2", "3"]
        readonly property var factoryColours: ["0", "0", "255", "0", "0", "0", "0", "0", "0", "0", "0", "0",
            "0", "0", "0", "0", "0", "0", "0", "0", "0", "9", "9", "9"]

        function child(name) {
            var c = findChild(panel, name)
            verify(c, name)
            return c
        }

        // A fresh panel as the main screen builds it, then its first
        // initialisation.
        function start(colorful, is55328, lightValue) {
            loader.active = false
            ui_View.profile = { "mouse/lightValue": lightValue || ["5", "2", "3"],
                                "mouse/colorValue": profileColours }
            ui_View.factory = { "mouse/lightValue": ["0", "1", "1"], "mouse/colorValue": factoryColours }
            loader.active = true
            panel.isColorful = colorful
            panel.is55328 = is55328
            panel.init(false, false)
            panel.started = true
            ui_View.reset()
        }

        function cleanup() {
            loader.active = false
        }

        function test_beforeInitialisationEntryOneIsSelected() {
            loader.active = false
            loader.active = true
            compare(panel.effect, 1)
            compare(child("effectList").count(), 4)
        }

        function test_firstInitialisationAppendsTheExtrasOnce() {
            start(true, true)
            var list = child("effectList")
            compare(list.count(), 12)
            compare(list.entryText(5), "Wave")
            compare(list.entryText(11), "Breath Loop")
            panel.init(true, false)
            panel.init(false, true)
            panel.init(false, false)
            compare(list.count(), 12)
        }

        function test_laterInitialisationAddsNoExtras() {
            loader.active = false
            loader.active = true
            panel.isColorful = true
            panel.started = true
            panel.init(false, false)
            compare(child("effectList").count(), 4)
        }

        function test_initFromStoredValues() {
            start(true, false)
            compare(panel.effect, 5)
            compare(panel.speedStep, 2)
            compare(panel.brightnessStep, 3)
            compare(panel.speedShown, true)
            compare(panel.brightnessShown, true)
            compare(panel.height, 264)
            compare(panel.selectedBlock, 0)
            compare(panel.barPosition, 0)
            compare(child("redField").text, "255")
            compare(panel.colours[7], [1, 2, 3])
            compare(ui_View.calls, [])
        }

        function test_initLeavesSlidersForEntriesEightToTen() {
            start(true, false, ["3", "0", "0"])
            compare(panel.height, 176)
            ui_View.profile["mouse/lightValue"] = ["9", "4", "1"]
            panel.init(false, false)
            compare(panel.effect, 9)
            compare(panel.height, 176)
            compare(panel.speedStep, 4)
        }

        function test_saveData_data() {
            var effect = "setDataList mouse/lightValue [5,2,3]"
            var colours = "setDataList mouse/colorValue [255,0,0,255,128,0,255,255,0,0,255,0,0,255,255,0,0,255,128,0,255,1,2,3]"
            var sendEffect = "mouseSetRGBEffect 5 2 3"
            var sendColours = "mouseSetRGBColor 0 [255,0,0,255,128,0,255,255,0,0,255,0,0,255,255,0,0,255,128,0,255,1,2,3]"
            return [
                { tag: "step 0 sends both", send: true, step: 0, calls: [effect, colours, sendEffect, sendColours] },
                { tag: "step 1 effect only", send: true, step: 1, calls: [effect, sendEffect] },
                { tag: "step 2 colours only", send: true, step: 2, calls: [colours, sendColours] },
                { tag: "step 0 without sending", send: false, step: 0, calls: [effect, colours] },
                { tag: "step 2 without sending", send: false, step: 2, calls: [colours] }
            ]
        }
        function test_saveData(row) {
            start(true, false)
            panel.saveData(row.send, row.step)
            compare(ui_View.calls, row.calls)
        }

        function test_initWithSendingSaves() {
            start(true, false)
            panel.init(true, false)
            compare(ui_View.calls.map(function (c) { return c.split(" ")[0] }),
                    ["setDataList", "setDataList", "mouseSetRGBEffect", "mouseSetRGBColor"])
        }

        function test_eighthColourOfIs55328_data() {
            return [
                { tag: "single colour, entry 1", colorful: false, value: ["1", "0", "0"], type: 1, last: "0,0,0" },
                { tag: "single colour, entry 4", colorful: false, value: ["4", "0", "0"], type: 1, last: "1,2,3" },
                { tag: "multi-colour, entry 5", colorful: true, value: ["5", "0", "4"], type: 0, last: "0,0,0" }
            ]
        }
        function test_eighthColourOfIs55328(row) {
            start(row.colorful, true, row.value)
            panel.saveData(true, 0)
            var stored = ui_View.callsOf("setDataList")[1].split(" ")[2]
            compare(stored.replace(/[\[\]]/g, "").split(",").slice(21).join(","), row.last)
            var sent = ui_View.callsOf("mouseSetRGBColor")[0].split(" ")
            compare(sent[1], String(row.type))
            compare(sent[2], stored)
            // The panel itself keeps the colour.
            compare(panel.colours[7], [1, 2, 3])
        }

        function test_pickingWave() {
            start(true, false, ["0", "3", "1"])
            compare(panel.height, 224)
            panel.selectBlock(3)
            var list = child("effectList")
            list.activated(5)
            compare(panel.speedShown, true)
            compare(panel.brightnessShown, true)
            compare(panel.speedStep, 0)
            compare(panel.brightnessStep, 4)
            compare(panel.height, 264)
            compare(panel.selectedBlock, 0)
            compare(panel.isSave, true)
            compare(child("speedSlider").value, 0)
            compare(child("brightnessSlider").value, 100)
            compare(ui_View.calls, [])
        }

        function test_pickingKeepsTheStepsTheTableLeaves() {
            start(true, false, ["5", "3", "2"])
            child("effectList").activated(1)
            compare(panel.speedStep, 0)
            compare(panel.brightnessStep, 2)
            compare(panel.height, 224)
        }

        function test_restoreChangesNothingStored() {
            start(true, true)
            panel.restore()
            compare(ui_View.calls, [])
            compare(panel.isSave, true)
            compare(panel.effect, 0)
            compare(panel.colours[0], [0, 0, 255])
            compare(panel.barPosition, 121)
            compare(child("effectList").count(), 12)
            compare(ui_View.profile["mouse/colorValue"], profileColours)
        }

        function typeColour(rgb) {
            var names = ["redField", "greenField", "blueField"]
            for (var i = 0; i < 3; ++i) {
                var f = child(names[i])
                f.startEditing()
                keyClick(Qt.Key_Backspace)
                var digits = String(rgb[i])
                for (var k = 0; k < digits.length; ++k)
                    keyClick(digits[k])
                f.endEditing()
            }
        }

        function test_typedColours_data() {
            return [
                { tag: "blue", rgb: [0, 0, 255], x: 121 },
                { tag: "green", rgb: [0, 255, 0], x: 60 },
                { tag: "no pure hue", rgb: [128, 64, 32], x: 0 },
                { tag: "white", rgb: [255, 255, 255], x: 183 }
            ]
        }
        function test_typedColours(row) {
            start(true, false)
            panel.selectBlock(2)
            typeColour(row.rgb)
            compare(panel.colours[2], row.rgb)
            compare(panel.barPosition, row.x)
            compare(panel.isSave, true)
        }

        function test_clearedFieldCountsAsZero() {
            start(true, false)
            var f = child("greenField")
            panel.selectBlock(1)
            f.startEditing()
            keyClick(Qt.Key_Backspace)
            f.endEditing()
            compare(f.text, "0")
            compare(panel.colours[1], [255, 0, 0])
        }

        function test_leavingAnUnchangedFieldKeepsThePanelSaved() {
            start(true, false)
            var f = child("redField")
            f.startEditing()
            f.endEditing()
            compare(panel.isSave, false)
        }

        function test_draggingTheMarker() {
            start(true, false)
            panel.selectBlock(4)
            var bar = child("colourBar")
            var y = bar.height / 2
            mousePress(bar, bar.pixelOf(0), y)
            mouseMove(bar, bar.pixelOf(60), y, -1, Qt.LeftButton)
            compare(bar.position, 60)
            compare(panel.colours[4], [0, 255, 0])
            compare(child("redField").text, "0")
            compare(child("greenField").text, "255")
            compare(panel.isSave, false)
            mouseRelease(bar, bar.pixelOf(60), y)
            compare(panel.isSave, true)
        }

        function test_clickingABlockPlacesItsColour() {
            start(true, false)
            compare(panel.barPosition, 0)
            panel.selectBlock(3)
            compare(panel.barPosition, 60)
            compare(child("greenField").text, "255")
            compare(panel.isSave, false)
        }

        function test_sliderReleaseMarksUnsaved() {
            start(true, false)
            child("speedSlider").released(0)
            compare(panel.isSave, true)
        }
    }
}
