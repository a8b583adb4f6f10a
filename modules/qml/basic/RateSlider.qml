import QtQuick
import "../common"
import "../common/rate.js" as Rate

// The firing-rate slider: 4MS to 90MS in steps of one millisecond, its text
// beside it. released(period) follows the end of a drag.
Item {
    id: rate
    property string accessibleName: "Rate"
    property int trackWidth: 172
    // The text shown; it follows the knob once the knob has moved.
    property string text: Rate.textOfPeriod(period)
    readonly property int period: Rate.minPeriod + slider.step
    readonly property real ratio: Rate.ratioOfPeriod(period)
    signal moved(int period)
    signal released(int period)

    implicitWidth: slider.width + 8 + 40
    implicitHeight: 16

    function setPeriod(p) {
        slider.setStep(Rate.clampPeriod(p) - Rate.minPeriod)
        text = Rate.textOfPeriod(period)
    }

    SkinSlider {
        id: slider
        anchors.verticalCenter: parent.verticalCenter
        width: rate.trackWidth + knobSize
        height: 16
        minPos: 0
        maxPos: rate.trackWidth
        stepCount: Rate.maxPeriod - Rate.minPeriod + 1
        position: Math.round((10 - Rate.minPeriod) * rate.trackWidth / (stepCount - 1))
        accessibleName: rate.accessibleName
        value: rate.period
        from: Rate.minPeriod
        to: Rate.maxPeriod
        onMoved: {
            rate.text = Rate.textOfPeriod(rate.period)
            rate.moved(rate.period)
        }
        onReleased: {
            rate.text = Rate.textOfPeriod(rate.period)
            rate.released(Rate.periodOfText(rate.text))
        }
    }

    Text {
        anchors.left: slider.right
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: rate.text
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }
}
