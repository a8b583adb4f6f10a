import QtQuick
import "../../basic"

// Pointer speed, double-click speed and scroll lines (to be completed).
DialogFrame {
    id: page
    property var lang: ["System Setting"]

    width: 400
    height: 300
    title: lang[0]
    onCloseClicked: page.visible = false

    function init(isSendData, isRecovery) {}
    function saveData(isSendData, isStep) {}
}
