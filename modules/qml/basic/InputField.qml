import QtQuick
import "../common"

// A one-line text field. With integerOnly it accepts only whole numbers from
// minValue to maxValue while typing: a number typed beyond maxValue becomes
// maxValue (maximumLength limits the digits, but always lets one digit more
// than maxValue has be typed, so 1000 in a 0-255 field reads 255, not 100).
// editingFinished() follows Enter or the loss of focus.
Rectangle {
    id: field
    property alias text: input.text
    property int maximumLength: 32767
    property alias readOnly: input.readOnly
    property alias inputItem: input
    property bool integerOnly: false
    property int minValue: 0
    property int maxValue: 2147483647
    property string accessibleName: ""
    property int fontSize: Theme.fontSmall
    property int horizontalAlignment: TextInput.AlignHCenter
    readonly property bool editing: input.activeFocus
    signal editingFinished()
    signal accepted()

    width: 64
    height: 24
    radius: Theme.radius
    color: Theme.field
    border.color: input.activeFocus ? Theme.orange : Theme.gray1

    function startEditing() {
        input.forceActiveFocus()
        input.selectAll()
    }
    function endEditing() {
        if (input.activeFocus)
            input.focus = false
    }

    // Digits only; the range is kept by refusing edits that leave it.
    RegularExpressionValidator {
        id: digits
        regularExpression: /[0-9]*/
    }
    property string lastAccepted: ""

    // A number above maxValue, or zero where minValue is above zero, can
    // never become valid by typing on. Numbers still below minValue are left
    // for the page to settle on editingFinished.
    function inRangeWhileTyping(t) {
        if (t === "")
            return true
        var n = parseInt(t, 10)
        return !isNaN(n) && n <= maxValue && !(minValue > 0 && n === 0)
    }

    // What an edit shows: itself when in range, maxValue for a number beyond
    // it, else the last text in range.
    function textAfterEdit(t) {
        if (inRangeWhileTyping(t))
            return t
        var n = parseInt(t, 10)
        return !isNaN(n) && n > maxValue ? String(maxValue) : lastAccepted
    }

    TextInput {
        id: input
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        verticalAlignment: TextInput.AlignVCenter
        horizontalAlignment: field.horizontalAlignment
        clip: true
        color: Theme.text
        selectionColor: Theme.orange
        selectByMouse: true
        font.family: Theme.fontFamily
        font.pixelSize: field.fontSize
        validator: field.integerOnly ? digits : null
        maximumLength: field.integerOnly ? Math.max(field.maximumLength, String(field.maxValue).length + 1)
                                         : field.maximumLength
        Accessible.role: Accessible.EditableText
        Accessible.name: field.accessibleName
        onTextEdited: {
            if (!field.integerOnly)
                return
            if (!field.inRangeWhileTyping(text))
                text = field.textAfterEdit(text)
        }
        // Every text in range, typed or set, is the one an edit falls back to.
        onTextChanged: if (field.inRangeWhileTyping(text)) field.lastAccepted = text
        onEditingFinished: field.editingFinished()
        onAccepted: field.accepted()
    }
}
