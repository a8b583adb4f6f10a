import QtQuick
import "../../basic"
import "../../common"

// Confirmation of the factory reset.
DialogFrame {
    id: box
    property var texts: ["Reset", "Reset factory setting", "Cancel", "OK"]
    signal confirmed()

    width: 427
    height: 102
    titleHeight: 28
    title: texts[0]
    onCloseClicked: box.visible = false

    Text {
        x: 16; y: 6
        text: box.texts[1]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: box.height - box.titleHeight - 32
        spacing: 16
        SkinButton {
            text: box.texts[2]
            onClicked: box.visible = false
        }
        SkinButton {
            text: box.texts[3]
            onClicked: box.confirmed()
        }
    }
}
