import QtQuick
import "../../common"

// DPI stages of the right panel (to be completed: sliders, stage count,
// restore). The main screen sets currentDPI, counted from 0.
Rectangle {
    id: page
    property var lang: ["DPI"]
    property bool isSave: false
    property int currentDPI: 0

    width: 232
    height: 200
    radius: 6
    color: Theme.panel
    border.color: Theme.gray1

    function init(isSendData, isRecovery) {}
    function saveData(isSendData) {}
    function closeList() {}

    Text {
        x: 12; height: 40
        verticalAlignment: Text.AlignVCenter
        text: page.lang[0] + " " + (page.currentDPI + 1)
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }
}
