import QtQuick
import "../../basic"
import "../../common"
import "keymatrix.js" as Logic

// The buttons and their assignments. Owns the working key matrix and its
// factory copy; "Save" on the main screen sends the working matrix.
Rectangle {
    id: page
    property var lang: Logic.builtInTexts
    property int keyCount: 8
    property bool isSave: false
    property int hoveredKey: -1
    property int selectedKey: -1
    // Pages this one reads from: texts of entries, gun periods, macros.
    property var keyAssigment: null
    property var gunEditor: null
    property var macroEditor: null

    signal enterBtn(int index)
    signal leaveBtn(int index)
    signal clickBtn(int index)

    width: 232
    height: Logic.panelHeight(keyCount)
    radius: 6
    color: Theme.panel
    border.color: Theme.gray1

    function rows(model) {
        var list = []
        for (var i = 0; i < model.count; ++i)
            list.push(model.get(i))
        return list
    }

    function entryText(e) {
        return keyAssigment ? keyAssigment.keyCodeToString(e[0], e[1], e[2], e[3]) : ""
    }

    function fill(model, slot, e) {
        var row = { keyCode0: e[0], keyCode1: e[1], keyCode2: e[2], keyCode3: e[3],
                    keyText: entryText(e) }
        if (slot < model.count)
            model.set(slot, row)
        else
            model.append(row)
    }

    function init(isSendData, isRecovery) {
        for (var slot = 0; slot < Logic.slotCount; ++slot) {
            fill(modKeys, slot, Logic.entryOf(ui_View.mouseGetKeydefine(slot, isRecovery)))
            fill(modKeys_tmp, slot, Logic.entryOf(ui_View.mouseGetKeydefine(slot, true)))
        }
        if (isSendData)
            modKeys.saveData()
    }

    // Recomputes the texts after the key names or a macro name changed.
    function refreshTexts() {
        for (var slot = 0; slot < modKeys.count; ++slot) {
            var r = modKeys.get(slot)
            modKeys.setProperty(slot, "keyText", entryText([r.keyCode0, r.keyCode1, r.keyCode2, r.keyCode3]))
        }
    }

    // Writes an entry into the working matrix (from the key assignment page
    // or a macro reaction); "Save" sends it.
    function setEntry(slot, e, text) {
        modKeys.set(slot, { keyCode0: e[0], keyCode1: e[1], keyCode2: e[2], keyCode3: e[3],
                            keyText: text === undefined ? entryText(e) : text })
    }

    function entryAt(slot) {
        var r = modKeys.get(slot)
        return [r.keyCode0, r.keyCode1, r.keyCode2, r.keyCode3]
    }

    function factoryEntryAt(slot) {
        var r = modKeys_tmp.get(slot)
        return [r.keyCode0, r.keyCode1, r.keyCode2, r.keyCode3]
    }

    // Back to the factory assignment of every button; macros of the factory
    // matrix are sent again and their names stored.
    function resetData() {
        for (var slot = 0; slot < modKeys_tmp.count; ++slot) {
            var f = modKeys_tmp.get(slot)
            modKeys.set(slot, { keyCode0: f.keyCode0, keyCode1: f.keyCode1, keyCode2: f.keyCode2,
                                keyCode3: f.keyCode3, keyText: f.keyText })
            if (Number(f.keyCode0) === 0x04) {
                var name = String(ui_View.getData("mouseMacroKey/" + f.keyCode2, true))
                if (macroEditor)
                    macroEditor.sendMacro(Number(f.keyCode2), name)
                ui_View.setData("mouseMacroKey/" + f.keyCode2, name)
            }
        }
        refreshTexts()
        isSave = true
    }

    ListModel {
        id: modKeys
        function saveData() {
            var periods = page.gunEditor ? page.gunEditor.slotPeriods() : [10, 10, 10]
            ui_View.mouseSetKeyMatrix(Logic.flatten(page.rows(modKeys)), true, periods)
        }
        function checkOneLeftKey(index) {
            return Logic.checkOneLeftKey(page.rows(modKeys), index)
        }
    }
    property alias modKeys: modKeys

    ListModel { id: modKeys_tmp }
    property alias modKeys_tmp: modKeys_tmp

    Component.onCompleted: {
        for (var slot = 0; slot < Logic.slotCount; ++slot) {
            fill(modKeys, slot, Logic.builtInRows[slot])
            fill(modKeys_tmp, slot, Logic.builtInRows[slot])
        }
    }

    Text {
        x: 12
        height: 40
        verticalAlignment: Text.AlignVCenter
        text: page.lang[1]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    SkinButton {
        x: page.width - width - 8
        y: 8
        width: 24
        height: 24
        baseColor: "transparent"
        iconSource: Theme.indexImage("icon_restore.png")
        accessibleName: "Restore"
        onClicked: page.resetData()
    }

    Column {
        x: 8
        y: 40
        spacing: 2
        Accessible.role: Accessible.List
        Accessible.name: page.lang[1]

        Repeater {
            model: modKeys
            Rectangle {
                id: row
                required property int index
                required property string keyText
                readonly property string name: Logic.rowName(page.lang[0], index)
                readonly property string assignment: keyText
                visible: index < Logic.shownRows(page.keyCount)
                width: page.width - 16
                height: 24
                radius: Theme.radius
                color: index === page.selectedKey || rowArea.containsMouse ? Theme.orange : Theme.blue

                Accessible.role: Accessible.ListItem
                Accessible.name: name
                Accessible.description: assignment
                Accessible.selected: index === page.selectedKey
                Accessible.onPressAction: page.clickBtn(index)

                Text {
                    x: 8
                    width: 64
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    text: row.name
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                Text {
                    x: 76
                    width: parent.width - 84
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    horizontalAlignment: Text.AlignRight
                    elide: Text.ElideRight
                    text: row.assignment
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onEntered: page.enterBtn(row.index)
                    onExited: page.leaveBtn(row.index)
                    onClicked: page.clickBtn(row.index)
                }
            }
        }
    }
}
