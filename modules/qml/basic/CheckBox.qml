import QtQuick
import "../common"

// A box with its label; toggled(checked) reports a user's click.
Item {
    id: check
    property alias text: label.text
    property bool checked: false
    signal toggled(bool checked)

    implicitWidth: box.width + 6 + label.implicitWidth
    implicitHeight: Math.max(box.height, label.implicitHeight)

    Accessible.role: Accessible.CheckBox
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: flip()
    Accessible.onToggleAction: flip()

    function flip() {
        checked = !checked
        toggled(checked)
    }

    Rectangle {
        id: box
        width: 14; height: 14
        anchors.verticalCenter: parent.verticalCenter
        radius: 2
        color: Theme.field
        border.color: area.containsMouse ? Theme.orange : Theme.gray2
        Rectangle {
            anchors.centerIn: parent
            width: 8; height: 8
            radius: 1
            color: Theme.orange
            visible: check.checked
        }
    }

    Text {
        id: label
        anchors.left: box.right
        anchors.leftMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: check.flip()
    }
}
