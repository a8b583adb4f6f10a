import QtQuick
import "../common"

// The frame of every dialog: title, close button, and dragging by any free
// area while staying inside the bounds item (the main screen).
// Children go into the content area below the title.
FocusScope {
    id: frame
    property string title: ""
    property Item boundsItem: parent
    property bool showClose: true
    property int titleHeight: 32
    default property alias content: contentArea.data
    readonly property alias contentItem: contentArea
    signal closeClicked()
    // A press on a free area: pages end editing and close their menus.
    signal freePressed()

    visible: false
    x: boundsItem ? Math.round((boundsItem.width - width) / 2) : 0
    y: boundsItem ? Math.round((boundsItem.height - height) / 2) : 0

    Accessible.role: Accessible.Dialog
    Accessible.name: title

    function centre() {
        if (!boundsItem)
            return
        x = Math.round((boundsItem.width - width) / 2)
        y = Math.round((boundsItem.height - height) / 2)
    }
    // Keeps a position inside the bounds: the left/top edge never below 0,
    // the right/bottom edge never beyond the bounds.
    function clampTo(value, size, limit) {
        return Math.max(0, Math.min(value, limit - size))
    }
    function moveBy(dx, dy) {
        x = clampTo(x + dx, width, boundsItem ? boundsItem.width : x + width)
        y = clampTo(y + dy, height, boundsItem ? boundsItem.height : y + height)
    }

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Theme.gray0
        border.color: Theme.gray1
    }

    MouseArea {
        // Under the content: only free areas reach it.
        anchors.fill: parent
        property point pressPoint
        onPressed: (mouse) => {
            pressPoint = Qt.point(mouse.x, mouse.y)
            frame.forceActiveFocus()
            frame.freePressed()
        }
        onPositionChanged: (mouse) => frame.moveBy(mouse.x - pressPoint.x, mouse.y - pressPoint.y)
    }

    Rectangle {
        x: 0; y: frame.titleHeight - 1
        width: frame.width
        height: 1
        color: Theme.gray1
    }

    Text {
        x: 16
        height: frame.titleHeight
        verticalAlignment: Text.AlignVCenter
        text: frame.title
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMiddle
    }

    SkinButton {
        anchors.right: parent.right
        anchors.rightMargin: 6
        y: (frame.titleHeight - height) / 2
        width: 24
        height: 24
        visible: frame.showClose
        baseColor: "transparent"
        iconSource: Theme.indexImage("icon_close.png")
        accessibleName: "Close"
        onClicked: frame.closeClicked()
    }

    Item {
        id: contentArea
        x: 0
        y: frame.titleHeight
        width: frame.width
        height: frame.height - frame.titleHeight
    }
}
