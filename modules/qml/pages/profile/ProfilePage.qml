import QtQuick
import "../../basic"
import "../../common"
import "profile.js" as Logic

// The user's profiles by name: new, import, export, rename, delete. Which
// profile is in use is chosen in the main screen's profile drop-down, which
// shows `model`; this page keeps the list and the profile files.
DialogFrame {
    id: page
    property var lang: Logic.builtInTexts
    // The profile in use; its row cannot be deleted.
    property int profileNo: 0
    property int currentIndex: 0
    // Row whose name is being edited, -1 when none.
    property int editingIndex: -1
    // Row whose context menu is open.
    property int menuIndex: -1
    property alias model: rows
    // The main screen's profile drop-down: kept on the profile in use
    // when rows come and go, closed with the page.
    property var profileList: null
    // The dialog "Bind program..." opens for a row.
    property var bindDialog: null
    // Why New or Import changed nothing; cleared by the next attempt.
    property string notice: ""

    width: 320
    height: 300
    title: lang[0]
    onCloseClicked: close()
    onFreePressed: {
        endRename()
        menu.close()
    }

    ListModel { id: rows }

    function rowList() {
        var list = []
        for (var i = 0; i < rows.count; ++i)
            list.push({ name: rows.get(i).name, number: rows.get(i).number })
        return list
    }

    function storedList() {
        return Logic.storedOf(rowList())
    }

    function writeList() {
        ui_View.updataNameList(2, storedList())
        syncProfileList()
    }

    // The drop-down reads its rows from `model`; its selection follows the
    // row of the profile in use when rows before it come and go.
    function syncProfileList() {
        if (profileList)
            profileList.currentIndex = indexOfNumber(profileNo)
    }

    function init() {
        rows.clear()
        var read = Logic.rowsOf(ui_View.getNameList(2))
        for (var i = 0; i < read.length; ++i)
            rows.append(read[i])
        if (rows.count === 0)
            rows.append({ name: lang[5], number: 0 })
        currentIndex = Math.max(0, indexOfNumber(profileNo))
        rows.setProperty(0, "name", lang[5])
        writeList()
    }

    function numberAt(index) {
        return index >= 0 && index < rows.count ? rows.get(index).number : -1
    }

    function indexOfNumber(number) {
        return Logic.indexOfNumber(rowList(), number)
    }

    function select(index) {
        endRename()
        if (index >= 0 && index < rows.count)
            currentIndex = index
    }

    // Appends the row New and Import make and selects it; null, saying so,
    // when six profiles exist.
    function appendFreeRow() {
        endRename()
        var row = Logic.newRow(rowList())
        notice = row ? "" : lang[14]
        if (!row)
            return null
        rows.append(row)
        currentIndex = rows.count - 1
        writeList()
        return row
    }

    // Takes the row just appended away again, so no row stands for a file
    // that was never made or imported.
    function dropNewRow(selected) {
        rows.remove(rows.count - 1)
        currentIndex = selected
        writeList()
    }

    // A profile whose file could not be made is not listed (the view has
    // told the user which file and why).
    function newProfile() {
        var before = currentIndex
        var row = appendFreeRow()
        if (row && ui_View.resetProfile(row.number) === false)
            dropNewRow(before)
    }

    function importProfile() {
        var before = currentIndex
        var row = appendFreeRow()
        if (row && !ui_View.loadProfile(row.number))
            dropNewRow(before)
    }

    function canDelete(index) {
        return Logic.canDelete(rowList(), index, profileNo)
    }

    function deleteRow(index) {
        endRename()
        if (!canDelete(index))
            return
        rows.remove(index)
        currentIndex = Logic.indexAfterRemoval(currentIndex, index, Math.max(0, indexOfNumber(profileNo)))
        writeList()
    }

    // Exports the profile of the row whose menu was used.
    function exportRow(index) {
        endRename()
        var number = numberAt(index)
        if (number >= 0)
            ui_View.saveProfile(number)
    }

    function openMenu(index, x, y) {
        select(index)
        menuIndex = index
        menu.enabledEntries = [canDelete(index), true, bindDialog !== null]
        menu.popup(x, y)
    }

    function menuChosen(entry) {
        if (entry === 0)
            deleteRow(menuIndex)
        else if (entry === 1)
            exportRow(menuIndex)
        else if (entry === 2)
            bindRow(menuIndex)
    }

    // Opens the game bindings of the row whose menu was used.
    function bindRow(index) {
        endRename()
        if (bindDialog && index >= 0 && index < rows.count)
            bindDialog.openFor(rows.get(index).number, rows.get(index).name)
    }

    function startRename(index) {
        endRename()
        menu.close()
        if (index < 0 || index >= rows.count)
            return
        currentIndex = index
        editingIndex = index
    }

    // Takes the typed name under the rule of Enter: not blank and borne by
    // no other row; otherwise the old name stays.
    function renameRow(index, name) {
        if (index < 0 || index >= rows.count)
            return false
        if (!Logic.canRename(rowList(), index, name))
            return false
        if (rows.get(index).name === String(name))
            return true
        rows.setProperty(index, "name", String(name))
        writeList()
        return true
    }

    function endRename() {
        if (editingIndex < 0)
            return
        var index = editingIndex
        editingIndex = -1
        renameRow(index, nameEditor.text)
    }

    function close() {
        endRename()
        menu.close()
        notice = ""
        page.visible = false
        if (profileList)
            profileList.close()
    }

    Column {
        id: list
        x: 16
        y: 12
        width: page.width - 32
        spacing: 2
        Accessible.role: Accessible.List
        Accessible.name: page.lang[0]

        Repeater {
            model: rows
            Rectangle {
                id: row
                objectName: "profileRow" + index
                required property int index
                required property string name
                required property int number
                width: list.width
                height: Theme.rowHeight
                radius: Theme.radius
                color: index === page.currentIndex || rowArea.containsMouse ? Theme.orange : Theme.blue

                Accessible.role: Accessible.ListItem
                Accessible.name: name
                Accessible.selected: index === page.currentIndex
                Accessible.onPressAction: page.select(index)

                Text {
                    x: 8
                    width: parent.width - 16
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    visible: page.editingIndex !== row.index
                    text: row.name
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onClicked: (mouse) => {
                        if (mouse.button === Qt.RightButton) {
                            var p = mapToItem(page.contentItem, mouse.x, mouse.y)
                            page.openMenu(row.index, p.x, p.y)
                        } else if (page.editingIndex !== row.index) {
                            page.select(row.index)
                        }
                    }
                    onDoubleClicked: (mouse) => {
                        if (mouse.button === Qt.LeftButton)
                            page.startRename(row.index)
                    }
                }
            }
        }
    }

    // One editor, laid over the row being renamed.
    InputField {
        id: nameEditor
        objectName: "profileName"
        x: list.x
        y: list.y + Math.max(0, page.editingIndex) * (Theme.rowHeight + list.spacing)
        width: list.width
        height: Theme.rowHeight
        visible: page.editingIndex >= 0
        maximumLength: 32
        horizontalAlignment: TextInput.AlignLeft
        accessibleName: page.editingIndex >= 0 && page.editingIndex < rows.count
                        ? rows.get(page.editingIndex).name : ""
        onVisibleChanged: {
            if (visible) {
                text = rows.get(page.editingIndex).name
                startEditing()
            }
        }
        onAccepted: page.endRename()
        onEditingFinished: page.endRename()
    }

    Text {
        objectName: "profileNotice"
        x: 16
        width: page.width - 32
        anchors.bottom: buttons.top
        anchors.bottomMargin: 8
        visible: text !== ""
        text: page.notice
        wrapMode: Text.WordWrap
        color: Theme.unsaved
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }

    Row {
        id: buttons
        x: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16
        spacing: 16
        SkinButton {
            width: 80
            text: page.lang[1]
            onClicked: page.newProfile()
        }
        SkinButton {
            width: 80
            text: page.lang[2]
            onClicked: page.importProfile()
        }
    }

    ContextMenu {
        id: menu
        objectName: "profileMenu"
        accessibleName: page.lang[0]
        entries: [page.lang[3], page.lang[4], page.lang[6]]
        onTriggered: (entry) => page.menuChosen(entry)
    }
}
