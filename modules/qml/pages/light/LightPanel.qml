import QtQuick
import "../../common"

// Lighting of the right panel (to be completed: effects, sliders, colours).
Rectangle {
    id: page
    property var lang: ["Light"]
    property bool isSave: false
    property bool isColorful: false
    property bool is55328: false
    // False until the main screen's first start-up has finished.
    property bool started: false

    width: 232
    height: 176
    radius: 6
    color: Theme.panel
    border.color: Theme.gray1

    function init(isSendData, isRecovery) {}
    function saveData(isSendData, isStep) {}
    function closeList() {}

    Text {
        x: 12; height: 40
        verticalAlignment: Text.AlignVCenter
        text: page.lang[0]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }
}
