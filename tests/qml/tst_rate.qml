import QtQuick
import QtTest
import "../../modules/qml/basic"
import "../../modules/qml/common/rate.js" as Rate

Item {
    width: 400
    height: 100

    RateSlider { id: slider; x: 10; y: 10 }
    SignalSpy { id: released; target: slider; signalName: "released" }

    TestCase {
        name: "Rate"
        when: windowShown

        function test_periodRoundTrip_data() {
            var rows = []
            for (var p = 4; p <= 90; p += 7)
                rows.push({ tag: "period " + p, period: p })
            rows.push({ tag: "period 90", period: 90 })
            return rows
        }
        function test_periodRoundTrip(row) {
            compare(Rate.periodOfRatio(Rate.ratioOfPeriod(row.period)), row.period)
            slider.setPeriod(row.period)
            compare(slider.text, row.period + "MS")
            compare(Rate.periodOfText(slider.text), row.period)
        }

        function test_periodOfText_data() {
            return [
                { tag: "one digit", text: "9MS", period: 9 },
                { tag: "two digits", text: "10MS", period: 10 },
                { tag: "right end", text: "90MS", period: 90 },
                { tag: "initial text", text: "10ms", period: 10 },
                { tag: "garbage", text: "MS", period: 0 }
            ]
        }
        function test_periodOfText(row) {
            compare(Rate.periodOfText(row.text), row.period)
        }

        function test_outOfRangePeriodsAreClamped() {
            compare(Rate.textOfPeriod(2), "4MS")
            compare(Rate.textOfPeriod(200), "90MS")
            compare(Rate.ratioOfPeriod("x"), Rate.ratioOfPeriod(10))
        }

        function test_dragToTheEnds() {
            released.clear()
            slider.setPeriod(9)
            compare(slider.text, "9MS")
            // Knob size 12: the track runs from pixel 6 to 6 + 172.
            mouseDrag(slider, 6 + Math.round(5 * 172 / 86), 8, 400, 0)
            compare(slider.text, "90MS")
            compare(released.count, 1)
            compare(released.signalArguments[0][0], 90)
            mouseDrag(slider, 6 + 172, 8, -400, 0)
            compare(slider.text, "4MS")
            compare(released.signalArguments[1][0], 4)
        }
    }
}
