import QtQuick 2.15

// The screens' button: blue, orange under the pointer (or while selected).
Rectangle {
    id: button
    property alias text: label.text
    property bool selected: false
    property int fontSize: 10
    signal clicked()

    width: 64
    height: 24
    radius: 3
    color: selected || area.containsMouse ? "#cf3e00" : "#09347f"

    Text {
        id: label
        anchors.centerIn: parent
        color: "#ffffff"
        font.family: "微软雅黑"
        font.pixelSize: button.fontSize
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
