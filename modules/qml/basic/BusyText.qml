import QtQuick
import "../common"

// "LOADING ......", blinking while the screen is locked.
Text {
    id: busy
    visible: false
    text: "LOADING ......"
    color: Theme.text
    font.family: Theme.fontFamily
    font.pixelSize: Theme.fontNormal

    SequentialAnimation on opacity {
        running: busy.visible
        loops: Animation.Infinite
        NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
        NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
    }
}
