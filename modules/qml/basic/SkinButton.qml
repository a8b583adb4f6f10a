import QtQuick
import "../common"

// The screens' button: blue, orange under the pointer or while selected.
// An icon-only button names itself through accessibleName.
Rectangle {
    id: button
    property alias text: label.text
    property string iconSource: ""
    property string accessibleName: text
    property bool selected: false
    property int fontSize: Theme.fontSmall
    property color baseColor: Theme.blue
    readonly property bool hovered: area.containsMouse
    signal clicked()

    width: 64
    height: 24
    radius: Theme.radius
    color: !enabled ? Theme.gray1 : selected || area.containsMouse ? Theme.orange : baseColor
    opacity: enabled ? 1.0 : 0.6

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.onPressAction: if (enabled) button.clicked()

    Text {
        id: label
        anchors.centerIn: parent
        width: parent.width - 4
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: button.fontSize
        visible: button.iconSource === ""
    }

    Image {
        anchors.centerIn: parent
        source: button.iconSource
        visible: button.iconSource !== ""
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
