import QtQuick 2.15

// "LOADING ......", blinking while the screen is locked.
Text {
    id: busy
    visible: false
    text: "LOADING ......"
    color: "#ffffff"
    font.family: "微软雅黑"
    font.pixelSize: 12

    SequentialAnimation on opacity {
        running: busy.visible
        loops: Animation.Infinite
        NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
        NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
    }
}
