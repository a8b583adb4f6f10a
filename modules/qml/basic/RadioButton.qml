import QtQuick
import "../common"

// One choice of a group; the page keeps the group exclusive by binding
// `checked`. clicked() reports a user's choice.
Item {
    id: radio
    property alias text: label.text
    property bool checked: false
    property int fontSize: Theme.fontSmall
    signal clicked()

    implicitWidth: dot.width + 6 + label.implicitWidth
    implicitHeight: Math.max(dot.height, label.implicitHeight)

    Accessible.role: Accessible.RadioButton
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: radio.clicked()

    Rectangle {
        id: dot
        width: 14; height: 14
        radius: 7
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.field
        border.color: area.containsMouse ? Theme.orange : Theme.gray2
        Rectangle {
            anchors.centerIn: parent
            width: 6; height: 6
            radius: 3
            color: Theme.orange
            visible: radio.checked
        }
    }

    Text {
        id: label
        anchors.left: dot.right
        anchors.leftMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        width: radio.width > 0 ? radio.width - dot.width - 6 : implicitWidth
        wrapMode: Text.WordWrap
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: radio.fontSize
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: radio.clicked()
    }
}
