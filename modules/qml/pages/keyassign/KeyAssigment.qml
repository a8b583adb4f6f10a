import QtQuick
import "../../basic"
import "../../common"
import "../../common/keytext.js" as KeyText

// The function of one mouse button (to be completed: the sections).
DialogFrame {
    id: page
    property var keyAssigmentLang: KeyText.builtInTexts
    property var keyNames: null
    property var keyMatrix: null
    property var macroEditor: null
    property bool isGun: true
    property int buttonIndex: -1
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyString: ""
    property bool isFireInput: false
    property bool isComboInput: false

    width: 416
    height: 404
    title: keyAssigmentLang[0] + (buttonIndex + 1) + " : " + keyString
    onCloseClicked: page.visible = false

    function init() {}

    function keyCodeToString(code0, code1, code2, code3) {
        return KeyText.keyCodeToString([code0, code1, code2, code3], keyAssigmentLang,
            function (code) { return keyNames ? keyNames.keycodeTostr(code) : "" },
            function (slot) {
                var name = ui_View.getData("mouseMacroKey/" + slot, false)
                return name === undefined || name === null ? "" : String(name)
            })
    }

    function show(index) {
        var e = keyMatrix.entryAt(index)
        buttonIndex = index
        keyCode0 = e[0]; keyCode1 = e[1]; keyCode2 = e[2]; keyCode3 = e[3]
        keyString = keyMatrix.modKeys.get(index).keyText
        visible = true
        forceActiveFocus()
    }

    function detectKeyboard(isDown, usbCode, mode) {}
    function keyAssigmentFocus() { page.forceActiveFocus() }
}
