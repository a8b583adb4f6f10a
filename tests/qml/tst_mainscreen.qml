import QtQuick
import QtTest
import "../../modules/qml/mainscreen.js" as MainScreen
import "../../modules/qml/common/values.js" as Values

TestCase {
    name: "MainScreen"

    function test_reportInterval_data() {
        return [
            { tag: "125Hz", index: 0, interval: 8 },
            { tag: "250Hz", index: 1, interval: 4 },
            { tag: "500Hz", index: 2, interval: 2 },
            { tag: "1000Hz", index: 3, interval: 1 },
            { tag: "out of range", index: 7, interval: 1 },
            { tag: "stored as text", index: "2", interval: 2 }
        ]
    }
    function test_reportInterval(row) {
        compare(MainScreen.reportInterval(row.index), row.interval)
    }

    function test_reportRateNames() {
        compare(MainScreen.reportRateNames, ["125Hz", "250Hz", "500Hz", "1000Hz"])
    }

    function test_toBool_data() {
        return [
            { tag: "true", value: true, expected: true },
            { tag: "text true", value: "true", expected: true },
            { tag: "text 1", value: "1", expected: true },
            { tag: "false", value: false, expected: false },
            { tag: "text false", value: "false", expected: false },
            { tag: "absent", value: undefined, expected: false },
            { tag: "empty", value: "", expected: false }
        ]
    }
    function test_toBool(row) {
        compare(Values.toBool(row.value), row.expected)
    }

    function test_toInt_data() {
        return [
            { tag: "number", value: 6, expected: 6 },
            { tag: "text", value: "12", expected: 12 },
            { tag: "absent", value: undefined, expected: -3 },
            { tag: "garbage", value: "zz", expected: -3 }
        ]
    }
    function test_toInt(row) {
        compare(Values.toInt(row.value, -3), row.expected)
    }

    function test_mergeTexts_data() {
        var builtIn = ["Editor", "Macro Editor", "Gun Editor"]
        return [
            { tag: "whole section", builtIn: builtIn, loaded: ["A", "B", "C"], expected: ["A", "B", "C"] },
            { tag: "short section keeps the rest", builtIn: builtIn, loaded: ["A"],
              expected: ["A", "Macro Editor", "Gun Editor"] },
            { tag: "missing file", builtIn: builtIn, loaded: [], expected: builtIn },
            { tag: "empty text stays empty", builtIn: builtIn, loaded: ["", "B", "C"], expected: ["", "B", "C"] },
            { tag: "longer section", builtIn: ["x"], loaded: ["a", "b"], expected: ["a", "b"] }
        ]
    }
    function test_mergeTexts(row) {
        compare(MainScreen.mergeTexts(row.builtIn, row.loaded), row.expected)
    }

    function test_mergeTextsLeavesTheBuiltInListAlone() {
        var builtIn = ["Editor", "Save"]
        MainScreen.mergeTexts(builtIn, ["X", "Y"])
        compare(builtIn, ["Editor", "Save"])
    }

    function test_pageStage_data() {
        return [
            { tag: "stage 1", device: 1, page: 0 },
            { tag: "stage 4", device: 4, page: 3 },
            { tag: "zero is no change", device: 0, page: -1 },
            { tag: "garbage is no change", device: "x", page: -1 }
        ]
    }
    function test_pageStage(row) {
        compare(MainScreen.pageStage(row.device), row.page)
    }

    function test_readStage_data() {
        return [
            { tag: "stage 8", device: 8, page: 7 },
            { tag: "failed read", device: -1, page: -1 },
            { tag: "no stage", device: 0, page: -1 },
            { tag: "beyond eight", device: 9, page: -1 }
        ]
    }
    function test_readStage(row) {
        compare(MainScreen.readStage(row.device), row.page)
    }

    function test_slotsHoldingMacro() {
        var rows = [
            { keyCode0: 0, keyCode1: 0, keyCode2: 0xF0, keyCode3: 0 },
            { keyCode0: 4, keyCode1: 0, keyCode2: 1, keyCode3: 0 },
            { keyCode0: 4, keyCode1: 1, keyCode2: 2, keyCode3: 0 },
            { keyCode0: 4, keyCode1: 0, keyCode2: 3, keyCode3: 0 },
            // Not a macro entry, though its slot names the macro.
            { keyCode0: 1, keyCode1: 4, keyCode2: 1, keyCode3: 0 }
        ]
        var stored = { 1: "Macro_0", 2: "Other", 3: "Macro_0" }
        function nameOf(slot) { return stored[slot] === undefined ? "" : stored[slot] }
        compare(MainScreen.slotsHoldingMacro(rows, "Macro_0", nameOf), [1, 3])
        compare(MainScreen.slotsHoldingMacro(rows, "Other", nameOf), [2])
        compare(MainScreen.slotsHoldingMacro(rows, "Gone", nameOf), [])
    }
}
