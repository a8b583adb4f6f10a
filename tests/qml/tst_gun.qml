import QtQuick
import QtTest
import "../../modules/qml/pages/gun/gun.js" as Logic
import "../../modules/qml/common/rate.js" as Rate

TestCase {
    name: "GunLogic"

    function test_markerOfY_data() {
        return [
            { tag: "Y 0 at the top", y: 0, pixel: 89 },
            { tag: "Y 64 at the bottom", y: 64, pixel: 183 },
            { tag: "Y 32 half way", y: 32, pixel: 136 },
            { tag: "Y 10", y: 10, pixel: 89 + 940 / 64 },
            { tag: "stored as text", y: "64", pixel: 183 },
            { tag: "above the range", y: 80, pixel: 183 },
            { tag: "not a number", y: "x", pixel: 89 }
        ]
    }
    function test_markerOfY(row) {
        compare(Logic.markerOfY(row.y), row.pixel)
    }

    function test_yOfMarker_data() {
        return [
            { tag: "top", pixel: 89, y: 0 },
            { tag: "bottom", pixel: 183, y: 64 },
            { tag: "half way", pixel: 136, y: 32 },
            { tag: "integer part, not rounded", pixel: 135, y: 31 },
            { tag: "one pixel down", pixel: 90, y: 0 },
            { tag: "two pixels down", pixel: 91, y: 1 },
            { tag: "one pixel short of the bottom", pixel: 182, y: 63 },
            { tag: "above the track", pixel: 40, y: 0 },
            { tag: "below the track", pixel: 300, y: 64 }
        ]
    }
    function test_yOfMarker(row) {
        compare(Logic.yOfMarker(row.pixel), row.y)
    }

    function test_everyYSurvivesTheMarker() {
        for (var y = 0; y <= 64; ++y)
            compare(Logic.yOfMarker(Logic.markerOfY(y)), y, "Y " + y)
    }

    function test_rowFromRecord_data() {
        return [
            { tag: "stored record", row: 2, record: ["M16A4", "L-Click", "9", "0", "8", "0"],
              expect: ["M16A4", "L-Click", 9, 0, 8, 0] },
            { tag: "renamed", row: 0, record: ["Mine", "R-Click", "30", "2", "64", "255"],
              expect: ["Mine", "R-Click", 30, 2, 64, 255] },
            { tag: "absent", row: 5, record: [], expect: ["Thomson", "L-Click", 10, 0, 10, 0] },
            { tag: "short", row: 3, record: ["X", "Y", "20"], expect: ["SCAR-L", "L-Click", 10, 0, 10, 0] },
            { tag: "out of range clamped", row: 1, record: ["AKM", "L-Click", "200", "0", "99", "300"],
              expect: ["AKM", "L-Click", 90, 0, 64, 255] },
            { tag: "not numbers keep the built-in", row: 4, record: ["UNP9", "L-Click", "", "a", "b", "c"],
              expect: ["UNP9", "L-Click", 10, 0, 10, 0] }
        ]
    }
    function test_rowFromRecord(row) {
        var r = Logic.rowFromRecord(row.row, row.record)
        compare(Logic.recordOf(r), row.expect)
        compare(r.image, Logic.presets[row.row].image)
    }

    function test_presetsInOrder() {
        compare(Logic.presets.map(function (p) { return p.gunName }),
                ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"])
        compare(Logic.presets.map(function (p) { return p.image }),
                ["M416.png", "AKM.png", "M16A4.png", "SCAR-L.png", "UNP9.png", "Thomson.png"])
    }

    function test_slotsOf_data() {
        return [
            { tag: "stored", stored: ["3", "5", "0"], slots: [3, 5, 0] },
            { tag: "numbers", stored: [1, 1, 1], slots: [1, 1, 1] },
            { tag: "absent", stored: undefined, slots: [0, 1, 2] },
            { tag: "short", stored: ["4"], slots: [4, 1, 2] },
            { tag: "out of range", stored: ["6", "-1", "x"], slots: [0, 1, 2] }
        ]
    }
    function test_slotsOf(row) {
        compare(Logic.slotsOf(row.stored), row.slots)
    }

    function test_isEndless_data() {
        return [
            { tag: "stored 0", times: "0", endless: true },
            { tag: "number 0", times: 0, endless: true },
            { tag: "one shot", times: "1", endless: false },
            { tag: "255", times: 255, endless: false }
        ]
    }
    function test_isEndless(row) {
        compare(Logic.isEndless(row.times), row.endless)
    }

    function test_sendValuesAreTimesXY() {
        var r = Logic.rowFromRecord(0, ["M416", "L-Click", "9", "3", "5", "7"])
        compare(Logic.sendValuesOf(r), [7, 3, 5])
    }

    function test_slotNames() {
        compare(Logic.slotNames("Gun"), ["Gun1", "Gun2", "Gun3"])
    }

    // The written ratio (period - 5) / 86 would read back one less on the
    // 4..90 scale; the slider places a stored period so it reads back as
    // itself.
    function test_ratePlacementReadsBackThePeriod_data() {
        return [4, 9, 10, 45, 89, 90].map(function (p) { return { tag: "period " + p, period: p } })
    }
    function test_ratePlacementReadsBackThePeriod(row) {
        compare(Rate.periodOfRatio(Rate.ratioOfPeriod(row.period)), row.period)
        compare(Rate.periodOfRatio((row.period - 5) / 86), Math.max(Rate.minPeriod, row.period - 1))
    }
}
