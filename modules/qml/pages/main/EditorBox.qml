import QtQuick
import "../../basic"
import "../../common"

// "Editor" box of the left panel: the macro editor and, on mice with gun
// functions, the gun editor.
Rectangle {
    id: box
    property var texts: ["Editor", "Macro Editor", "Gun Editor"]
    property bool isGun: true
    signal macroEditorClicked()
    signal gunEditorClicked()

    width: 232
    height: isGun ? 100 : 76
    radius: 6
    color: Theme.panel
    border.color: Theme.gray1

    Text {
        x: 12
        height: 36
        verticalAlignment: Text.AlignVCenter
        text: box.texts[0]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    SkinButton {
        x: 8; y: 36
        width: box.width - 16
        text: box.texts[1]
        onClicked: box.macroEditorClicked()
    }

    SkinButton {
        x: 8; y: 68
        width: box.width - 16
        visible: box.isGun
        text: box.texts[2]
        onClicked: box.gunEditorClicked()
    }
}
