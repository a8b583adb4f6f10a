import QtQuick
import "../common"

// A slider whose knob position is a pixel count along the track, from
// minPos to maxPos; pages turn positions into their values. Vertical sliders
// count from the bottom. With stepCount > 1 the knob snaps to that many
// evenly spaced steps and `step` tells which one it is on.
Item {
    id: slider
    property int orientation: Qt.Horizontal
    property int minPos: 0
    property int maxPos: 100
    property int position: minPos
    property int stepCount: 0
    readonly property int step: stepCount > 1 ? stepOf(position) : 0
    property color trackColor: Theme.gray1
    property color fillColor: Theme.blue
    property color knobColor: Theme.gray3
    property int knobSize: 12
    property string accessibleName: ""
    // What assistive technology reads; pages bind these to their own values.
    property real value: position
    property real from: minPos
    property real to: maxPos
    property real stepSize: 1
    readonly property bool pressed: area.pressed
    readonly property bool vertical: orientation === Qt.Vertical
    signal moved(int position)
    signal released(int position)

    implicitWidth: vertical ? knobSize : maxPos + knobSize
    implicitHeight: vertical ? maxPos + knobSize : knobSize
    activeFocusOnTab: true

    Accessible.role: Accessible.Slider
    Accessible.name: accessibleName
    Accessible.onIncreaseAction: nudge(1)
    Accessible.onDecreaseAction: nudge(-1)

    function clampPos(p) {
        return Math.max(minPos, Math.min(maxPos, Math.round(p)))
    }
    function stepOf(p) {
        return Math.round((p - minPos) * (stepCount - 1) / Math.max(1, maxPos - minPos))
    }
    function posOfStep(k) {
        return minPos + Math.round(k * (maxPos - minPos) / Math.max(1, stepCount - 1))
    }
    function setStep(k) {
        position = posOfStep(Math.max(0, Math.min(stepCount - 1, k)))
    }
    function snap(p) {
        p = clampPos(p)
        return stepCount > 1 ? posOfStep(stepOf(p)) : p
    }
    // Pixel along the track (from its start) for a knob position.
    function pixelOf(p) {
        return vertical ? height - knobSize / 2 - p : p + knobSize / 2
    }
    function positionAt(x, y) {
        return vertical ? height - knobSize / 2 - y : x - knobSize / 2
    }
    function nudge(direction) {
        var next = stepCount > 1 ? posOfStep(step + direction) : position + direction
        next = snap(next)
        if (next !== position) {
            position = next
            moved(position)
        }
        released(position)
    }

    Keys.onPressed: (event) => {
        if (event.key === Qt.Key_Right || event.key === Qt.Key_Up) {
            nudge(1); event.accepted = true
        } else if (event.key === Qt.Key_Left || event.key === Qt.Key_Down) {
            nudge(-1); event.accepted = true
        }
    }

    Rectangle {
        id: track
        x: slider.vertical ? (slider.width - width) / 2 : slider.knobSize / 2
        y: slider.vertical ? slider.knobSize / 2 : (slider.height - height) / 2
        width: slider.vertical ? 4 : slider.width - slider.knobSize
        height: slider.vertical ? slider.height - slider.knobSize : 4
        radius: 2
        color: slider.trackColor
    }

    Rectangle {
        // The part of the track below or left of the knob.
        x: track.x
        y: slider.vertical ? slider.pixelOf(slider.position) : track.y
        width: slider.vertical ? track.width : slider.pixelOf(slider.position) - track.x
        height: slider.vertical ? track.y + track.height - y : track.height
        radius: 2
        color: slider.fillColor
    }

    Rectangle {
        id: knob
        width: slider.knobSize
        height: slider.knobSize
        radius: width / 2
        color: slider.knobColor
        border.color: slider.activeFocus ? Theme.orange : Theme.gray0
        x: slider.vertical ? (slider.width - width) / 2 : slider.pixelOf(slider.position) - width / 2
        y: slider.vertical ? slider.pixelOf(slider.position) - height / 2 : (slider.height - height) / 2
    }

    MouseArea {
        id: area
        anchors.fill: parent
        preventStealing: true
        function follow(mouse) {
            var p = slider.snap(slider.positionAt(mouse.x, mouse.y))
            if (p !== slider.position) {
                slider.position = p
                slider.moved(p)
            }
        }
        onPressed: (mouse) => { slider.forceActiveFocus(); follow(mouse) }
        onPositionChanged: (mouse) => follow(mouse)
        onReleased: slider.released(slider.position)
    }
}
