import QtQuick
import "../common"

// A vertical scroll bar for a Flickable, laid over its right edge by the
// page and always shown: a slim handle marks the visible part; dragging it,
// or pressing the track to bring the handle up to the pointer, scrolls.
Item {
    id: bar
    property Flickable flickable: null
    property string accessibleName: "Scroll"
    readonly property real contentHeight: flickable ? flickable.contentHeight : 0
    readonly property real viewHeight: flickable ? flickable.height : 0
    readonly property real maxContentY: Math.max(0, contentHeight - viewHeight)
    // The visible share and its start, both 0..1.
    readonly property real size: contentHeight > 0 ? Math.min(1, viewHeight / contentHeight) : 1
    readonly property real position: contentHeight > 0 && flickable
                                     ? Math.max(0, Math.min(1 - size, flickable.contentY / contentHeight)) : 0
    readonly property int padding: 2
    readonly property real track: height - 2 * padding
    readonly property real handleHeight: Math.max(width - 2 * padding, size * track)

    width: 10

    Accessible.role: Accessible.ScrollBar
    Accessible.name: accessibleName

    // Scrolls so that the handle's top sits at `top` pixels of the track.
    function scrollToHandle(top) {
        if (!flickable || track <= handleHeight)
            return
        var ratio = Math.max(0, Math.min(1, top / (track - handleHeight)))
        flickable.contentY = Math.round(ratio * maxContentY)
    }

    Rectangle {
        id: handle
        x: bar.padding
        y: bar.padding + (bar.size < 1 ? bar.position / (1 - bar.size) * (bar.track - bar.handleHeight) : 0)
        width: bar.width - 2 * bar.padding
        height: bar.handleHeight
        radius: width / 2
        color: area.pressed ? Theme.scrollHandlePressed : Theme.scrollHandle
        opacity: 0.75
    }

    MouseArea {
        id: area
        anchors.fill: parent
        // Where in the handle the pointer holds it: a press on the track
        // below the handle brings its lower end there, above it its upper end.
        property real grab: 0
        onPressed: (mouse) => {
            grab = Math.max(0, Math.min(handle.height, mouse.y - handle.y))
            bar.scrollToHandle(mouse.y - bar.padding - grab)
        }
        onPositionChanged: (mouse) => {
            if (pressed)
                bar.scrollToHandle(mouse.y - bar.padding - grab)
        }
    }
}
