import QtQuick
import "../../basic"

// The macro library and its editor (to be completed).
DialogFrame {
    id: page
    property var lang: ["Macro Editor"]
    property bool isInputting: false
    property bool isInsertting: false
    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)
    signal btnClicked(int cmd)
    signal listViewFocus()

    width: 640
    height: 448
    title: lang[0]
    onCloseClicked: page.visible = false

    function init() {}
    function detectKeyboard(isDown, usbCode) {}
    function detectInput(isDown, usbCode) {}
    function sendMacro(index, macroName) {}
    function getCurrentMacroName() { return "" }
}
