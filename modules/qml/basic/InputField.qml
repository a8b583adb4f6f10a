import QtQuick
import "../common"

// A one-line text field. With integerOnly it accepts only whole numbers from
// minValue to maxValue while typing (maximumLength limits the digits).
// editingFinished() follows Enter or the loss of focus.
Rectangle {
    id: field
    property alias text: input.text
    property alias maximumLength: input.maximumLength
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
    // never become valid by typing on, so the edit is refused. Numbers
    // still below minValue are left for the page to settle on editingFinished.
    function inRangeWhileTyping(t) {
        if (t === "")
            return true
        var n = parseInt(t, 10)
        return !isNaN(n) && n <= maxValue && !(minValue > 0 && n === 0)
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
        Accessible.role: Accessible.EditableText
        Accessible.name: field.accessibleName
        onTextEdited: {
            if (!field.integerOnly)
                return
            if (!field.inRangeWhileTyping(text))
                text = field.lastAccepted
        }
        // Every text in range, typed or set, is the one an edit falls back to.
        onTextChanged: if (field.inRangeWhileTyping(text)) field.lastAccepted = text
        onEditingFinished: field.editingFinished()
        onAccepted: field.accepted()
    }
}
