import QtQuick
import "../../common"
import "hotspots.js" as Spots

// The mouse drawing with the hovered or selected button highlighted. Its
// buttons can be clicked like the rows of the key matrix list.
Item {
    id: picture
    property int keyCount: 8
    property int hoveredKey: -1
    property int selectedKey: -1
    // The list's hover shows here too.
    property int listHoveredKey: -1
    readonly property int highlighted: hoveredKey >= 0 ? hoveredKey
                                     : listHoveredKey >= 0 ? listHoveredKey : selectedKey
    signal clickBtn(int index)

    width: Spots.size.w
    height: Spots.size.h

    Image {
        anchors.fill: parent
        source: Theme.mouseImage("mouse.png")
    }

    Repeater {
        model: Math.min(picture.keyCount, Spots.spots.length)
        Item {
            id: spot
            required property int index
            anchors.fill: parent

            // Each overlay is a full-size picture and at most one shows:
            // only the showing one is held in memory.
            Image {
                readonly property bool shown: picture.highlighted === spot.index
                anchors.fill: parent
                source: shown ? Theme.mouseImage("key" + (spot.index + 1) + ".png") : ""
                visible: shown
            }

            MouseArea {
                x: Spots.spots[spot.index].x
                y: Spots.spots[spot.index].y
                width: Spots.spots[spot.index].w
                height: Spots.spots[spot.index].h
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                Accessible.role: Accessible.Button
                Accessible.name: "Mouse button " + (spot.index + 1)
                Accessible.onPressAction: picture.clickBtn(spot.index)
                onEntered: picture.hoveredKey = spot.index
                onExited: if (picture.hoveredKey === spot.index) picture.hoveredKey = -1
                onClicked: picture.clickBtn(spot.index)
            }
        }
    }
}
