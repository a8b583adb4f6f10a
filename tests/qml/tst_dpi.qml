import QtQuick
import QtTest
import "../../modules/qml/pages/dpi"
import "../../modules/qml/pages/dpi/dpi.js" as Logic

// The DPI panel: its scale both ways, and what init and saveData read,
// store and send.
Item {
    width: 400
    height: 400

    FakeView { id: ui_View }

    DpiPanel { id: panel }

    TestCase {
        name: "DpiLogic"

        function test_valueOfPosition_data() {
            return [
                { tag: "200-6000/50 left end", p: 3, min: 200, max: 6000, base: 50, value: 200 },
                { tag: "200-6000/50 right end", p: 161, min: 200, max: 6000, base: 50, value: 6000 },
                { tag: "200-6000/50 at 12", p: 12, min: 200, max: 6000, base: 50, value: 500 },
                { tag: "200-6000/50 at 4", p: 4, min: 200, max: 6000, base: 50, value: 200 },
                { tag: "200-6000/50 at 82", p: 82, min: 200, max: 6000, base: 50, value: 3100 },
                { tag: "100-12000/100 left end", p: 3, min: 100, max: 12000, base: 100, value: 100 },
                { tag: "100-12000/100 right end", p: 161, min: 100, max: 12000, base: 100, value: 12000 },
                { tag: "100-12000/100 at 80", p: 80, min: 100, max: 12000, base: 100, value: 5800 },
                // A scale whose positions land on step boundaries exactly.
                { tag: "0-15800/100 at 100", p: 100, min: 0, max: 15800, base: 100, value: 9700 },
                { tag: "0-15800/100 at 4", p: 4, min: 0, max: 15800, base: 100, value: 100 },
                { tag: "400-16000/400 middle", p: 82, min: 400, max: 16000, base: 400, value: 8000 },
                { tag: "step 0 counts as 1", p: 161, min: 200, max: 6000, base: 0, value: 6000 }
            ]
        }
        function test_valueOfPosition(row) {
            compare(Logic.valueOfPosition(row.p, row.min, row.max, row.base), row.value)
        }

        function test_positionOfValue_data() {
            return [
                { tag: "500 on 200-6000", v: 500, min: 200, max: 6000, p: 12 },
                { tag: "minimum sits one above the end", v: 200, min: 200, max: 6000, p: 4 },
                { tag: "maximum stays on the track", v: 6000, min: 200, max: 6000, p: 161 },
                { tag: "above the scale", v: 9000, min: 200, max: 6000, p: 161 },
                { tag: "below the scale", v: 50, min: 200, max: 6000, p: 3 },
                { tag: "1600 on 100-12000", v: 1600, min: 100, max: 12000, p: 23 },
                { tag: "empty scale", v: 800, min: 800, max: 800, p: 3 }
            ]
        }
        function test_positionOfValue(row) {
            compare(Logic.positionOfValue(row.v, row.min, row.max), row.p)
        }

        // A stored value shows as itself again where the rule allows it.
        function test_storedValueReadsBack_data() {
            return [
                { tag: "500", v: 500, min: 200, max: 6000, base: 50 },
                { tag: "6000", v: 6000, min: 200, max: 6000, base: 50 },
                { tag: "200", v: 200, min: 200, max: 6000, base: 50 },
                { tag: "12000 on 100-12000", v: 12000, min: 100, max: 12000, base: 100 },
                { tag: "100 on 100-12000", v: 100, min: 100, max: 12000, base: 100 }
            ]
        }
        function test_storedValueReadsBack(row) {
            var p = Logic.positionOfValue(row.v, row.min, row.max)
            compare(Logic.valueOfPosition(p, row.min, row.max, row.base), row.v)
        }

        function test_validStageCount_data() {
            return [
                { tag: "four", stored: "4", n: 4 },
                { tag: "eight", stored: 8, n: 8 },
                { tag: "nine is too many", stored: "9", n: 0 },
                { tag: "zero", stored: "0", n: 0 },
                { tag: "missing", stored: undefined, n: 0 },
                { tag: "garbage", stored: "x", n: 0 }
            ]
        }
        function test_validStageCount(row) {
            compare(Logic.validStageCount(row.stored), row.n)
        }

        function test_activeCount_data() {
            return [
                { tag: "within", stored: "3", offered: 4, n: 3 },
                { tag: "above offered", stored: "6", offered: 4, n: 4 },
                { tag: "zero", stored: "0", offered: 4, n: 1 },
                { tag: "missing keeps the fallback", stored: undefined, offered: 8, n: 5 }
            ]
        }
        function test_activeCount(row) {
            compare(Logic.activeCount(row.stored, row.offered, 5), row.n)
        }

        function test_stageNames() {
            compare(Logic.stageNames(4), ["1", "2", "3", "4"])
            compare(Logic.stageNames(1), ["1"])
        }
    }

    TestCase {
        name: "DpiPanel"
        when: windowShown

        readonly property var profileValues: ["400", "800", "1600", "3200", "4800", "6400", "8000", "12000"]
        readonly property var factoryValues: ["500", "1000", "1500", "2000", "3000", "4000", "5000", "6000"]

        function slider(i) { return panel.sliderAt(i) }
        function stageList() { return findChild(panel, "dpiStageList") }

        function setUp(profile, globals) {
            ui_View.profile = profile
            ui_View.factory = { "mouse/dpiCount": "8", "mouse/currentDpiCount": "4",
                                "mouse/dpiValueArray": factoryValues }
            ui_View.global = globals
            ui_View.reset()
            panel.isSave = false
        }

        function sample(extra) {
            var p = { "mouse/dpiCount": "4", "mouse/currentDpiCount": "3",
                      "mouse/dpiValueArray": profileValues }
            for (var k in extra)
                p[k] = extra[k]
            return p
        }

        readonly property var config: ({ "mouse/minDPI": "100", "mouse/maxDPI": "12000",
                                         "mouse/sensorType": "3389", "mouse/dpiBase": "100" })

        function init() {
            // Every case starts from the same known panel.
            setUp(sample({}), config)
            panel.init(false, false)
            ui_View.reset()
        }

        function test_initShowsTheActiveStagesOfTheProfile() {
            compare(panel.dpiCount, 4)
            compare(panel.currentDpiCount, 3)
            compare(panel.sensorType, "3389")
            compare(stageList().count(), 4)
            compare(stageList().currentText, "3")
            for (var i = 0; i < 8; ++i)
                compare(slider(i).parent.visible, i < 3, "stage " + (i + 1))
            compare(panel.values(), [400, 800, 1600, 3200, 4800, 6400, 8000, 12000])
            compare(ui_View.calls, [])
        }

        function test_initWithSendingStoresAndSends() {
            panel.init(true, false)
            var values = "[400,800,1600,3200,4800,6400,8000,12000]"
            compare(ui_View.calls, ["setDataList mouse/dpiValueArray " + values,
                                    "setData mouse/currentDpiCount 3",
                                    "mouseSetDpi 3 3389 " + values])
        }

        function test_initEndsEarly_data() {
            return [
                { tag: "dpiCount missing", dpiCount: undefined },
                { tag: "dpiCount above 8", dpiCount: "9" },
                { tag: "dpiCount 0", dpiCount: "0" }
            ]
        }
        function test_initEndsEarly(row) {
            var p = sample({ "mouse/currentDpiCount": "2",
                             "mouse/dpiValueArray": ["200", "200", "200", "200", "200", "200", "200", "200"] })
            p["mouse/dpiCount"] = row.dpiCount
            setUp(p, config)
            panel.init(true, false)
            compare(ui_View.calls, [])
            compare(stageList().count(), 4)
            compare(panel.currentDpiCount, 3)
            compare(panel.values()[0], 400)
        }

        function test_missingConfigurationKeepsTheScale() {
            setUp(sample({}), {})
            panel.init(false, false)
            compare(panel.minDPI, 100)
            compare(panel.maxDPI, 12000)
            compare(panel.sensorType, "3389")
        }

        function test_choosingTheStageCount() {
            stageList().activated(1)
            compare(panel.currentDpiCount, 2)
            compare(panel.isSave, true)
            for (var i = 0; i < 8; ++i)
                compare(slider(i).parent.visible, i < 2, "stage " + (i + 1))
            compare(ui_View.calls, [])
            panel.saveData(true)
            // Hidden stages keep and send their values.
            var values = "[400,800,1600,3200,4800,6400,8000,12000]"
            compare(ui_View.calls, ["setDataList mouse/dpiValueArray " + values,
                                    "setData mouse/currentDpiCount 2",
                                    "mouseSetDpi 2 3389 " + values])
        }

        function test_saveWithoutSendingOnlyStores() {
            panel.saveData(false)
            compare(ui_View.callsOf("mouseSetDpi"), [])
            compare(ui_View.callsOf("setDataList").length, 1)
            compare(ui_View.callsOf("setData"), ["setData mouse/currentDpiCount 3"])
        }

        function test_restoreBringsFactoryValuesWithoutStoring() {
            panel.restore()
            compare(ui_View.calls, [])
            compare(panel.isSave, true)
            compare(panel.values(), [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000])
            // Counts and the offered entries stay.
            compare(panel.currentDpiCount, 3)
            compare(stageList().count(), 4)
            compare(ui_View.profile["mouse/dpiValueArray"], profileValues)
            panel.saveData(true)
            compare(ui_View.profile["mouse/dpiValueArray"], [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000])
        }

        function test_draggingUpdatesTheTextAndReleaseMarksUnsaved() {
            var s = slider(0)
            var startValue = panel.values()[0]
            // Drag the knob to the top of its track.
            mousePress(s, s.width / 2, s.pixelOf(s.position))
            mouseMove(s, s.width / 2, 0, -1, Qt.LeftButton)
            compare(s.position, 161)
            compare(panel.values()[0], 12000)
            compare(panel.isSave, false)
            mouseRelease(s, s.width / 2, 0)
            compare(panel.isSave, true)
            verify(startValue !== 12000)
        }

        function test_currentStageIsOrangeAndAnnounced_data() {
            return [ { tag: "stage 1", current: 0 }, { tag: "stage 3", current: 2 } ]
        }
        function test_currentStageIsOrangeAndAnnounced(row) {
            panel.currentDPI = row.current
            for (var i = 0; i < 3; ++i) {
                var s = slider(i)
                compare(String(s.fillColor), i === row.current ? "#cf3e00" : "#09347f")
                compare(s.Accessible.description, i === row.current ? "current" : "")
            }
            panel.currentDPI = 0
        }

        function test_slidersNameAndValueForAssistiveTechnology() {
            var s = slider(2)
            compare(s.accessibleName, "DPI 3")
            compare(s.value, 1600)
            compare(s.from, 100)
            compare(s.to, 12000)
            compare(panel.Accessible.name, "DPI")
        }
    }
}
