import QtQuick
import Quill.Native 1.0
import "../../basic"
import "../../common"
import "macro.js" as Logic

// The macro library and its editor: named macros, recording from the global
// input capture, editing the action list and the repeat count. Every edit is
// saved at once; the main screen then sends the macro to the buttons that
// play it.
DialogFrame {
    id: page
    property var lang: Logic.builtInTexts
    // Recording from the keyboard and mouse / the "Insert Key" dialog waits
    // for a key. The main screen routes hooked events by these.
    property bool isInputting: false
    property bool isInsertting: false
    // The key assignment page, whose macro chooser offers the same names.
    property var keyAssigment: null
    // The key-name table (names <-> codes); the main screen passes its own.
    property var keyNames: builtInKeyNames
    property int currentMacro: -1
    property int currentAction: -1
    // 10 ms ticks since the last recorded event.
    property int ticks: 0
    property string insertKeyName: ""
    property int renamingRow: -1
    property int editingDelayRow: -1
    // The repeat count as last loaded or saved.
    property string savedTimes: ""
    readonly property alias macroModel: macroModel
    readonly property alias actionModel: actionModel
    readonly property alias tickTimer: tickTimer
    readonly property alias timesField: timesInput
    readonly property alias delaySwitch: delayCheck
    readonly property alias insertDialog: insertDialog
    // Clicks on the panel operate the editor (its "Stop Record" button above
    // all); they are not part of the macro.
    readonly property bool pointerOnPanel: panelHover.hovered

    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)
    // For focus handling: a button was pressed (0 "New", 1 "Delete", 2 the
    // record button) / the macro list was pressed.
    signal btnClicked(int cmd)
    signal listViewFocus()

    width: 640
    height: 448
    title: lang[0]
    onCloseClicked: page.close()
    onFreePressed: page.endEditing()

    // --- entry points of the main screen -------------------------------------

    function init() {
        macroModel.clear()
        var names = Logic.namesFromList(ui_View.getNameList(0))
        for (var i = 0; i < names.length; ++i)
            macroModel.append({ name: names[i] })
        showMacro(names.length > 0 ? 0 : -1)
        publishNames(true)
    }

    function detectKeyboard(isDown, usbCode) {
        if (!isInputting || currentMacro < 0)
            return
        var code = Number(usbCode)
        if (code >= Logic.firstButtonCode && pointerOnPanel)
            return
        var name = keyName(code)
        if (name === "" || !Logic.withinBudget(encodedSize()))
            return
        var rows = Logic.recordedRows(actionModel.count > 0, delayCheck.checked, ticks, isDown, code, name)
        ticks = 0
        for (var i = 0; i < rows.length; ++i)
            actionModel.append(rows[i])
        actionList.positionViewAtEnd()
    }

    function detectInput(isDown, usbCode) {
        var code = Number(usbCode)
        if (!isInsertting || !isDown || code >= Logic.firstButtonCode)
            return
        var name = keyName(code)
        if (name !== "")
            insertKeyName = name
    }

    // Sends a macro from the library for a button, with the macro's own
    // stored repeat count. False when the library has no such macro.
    function sendMacro(index, macroName) {
        var stored = ui_View.loadMacroIni(macroName)
        if (!stored || stored.length === 0)
            return false
        var macro = Logic.parseStored(stored)
        var image = MacroImageCodec.encode(Logic.codecRows(macro.rows, keyCode), Logic.repeatOf(macro.times))
        ui_View.mouseSendMacroData(image, index)
        return true
    }

    function getCurrentMacroName() {
        return currentMacro >= 0 && currentMacro < macroModel.count ? macroModel.get(currentMacro).name : ""
    }

    // --- helpers ----------------------------------------------------------------

    function keyName(code) { return keyNames ? String(keyNames.keycodeTostr(code)) : "" }
    function keyCode(name) { return keyNames ? Number(keyNames.strTokeycode(name)) : 0 }

    function names() {
        var list = []
        for (var i = 0; i < macroModel.count; ++i)
            list.push(macroModel.get(i).name)
        return list
    }

    function rows() {
        var list = []
        for (var i = 0; i < actionModel.count; ++i) {
            var r = actionModel.get(i)
            list.push({ type: r.type, info: r.info })
        }
        return list
    }

    // The bytes the budget counts for the current action list.
    function encodedSize() {
        return MacroImageCodec.encodedSize(Logic.codecRows(rows(), keyCode))
    }

    function publishNames(isInit) {
        if (keyAssigment && keyAssigment.macroList && keyAssigment.macroList.addData)
            keyAssigment.macroList.addData(names(), isInit)
    }

    function writeNames() {
        ui_View.updataNameList(0, names())
        publishNames(false)
    }

    function endEditing() {
        renamingRow = -1
        editingDelayRow = -1
        timesInput.endEditing()
        macroMenu.close()
        actionMenu.close()
    }

    function close() {
        if (isInputting)
            stopRecord()
        endEditing()
        visible = false
        if (keyAssigment && keyAssigment.macroList && keyAssigment.macroList.close)
            keyAssigment.macroList.close()
    }

    // --- the macro list -----------------------------------------------------------

    function selectMacro(index) {
        if (index !== currentMacro)
            showMacro(index)
    }

    // Makes a row current and shows its actions and repeat count (none
    // for -1); an open edit and a running recording are saved first.
    function showMacro(index) {
        endEditing()
        if (isInputting)
            stopRecord()
        currentMacro = index
        loadActions()
        if (index >= 0)
            macroList.positionViewAtIndex(index, ListView.Contain)
    }

    function loadActions() {
        actionModel.clear()
        currentAction = -1
        var stored = Logic.parseStored(currentMacro >= 0 ? ui_View.loadMacroIni(getCurrentMacroName()) : [])
        for (var i = 0; i < stored.rows.length; ++i)
            actionModel.append(stored.rows[i])
        timesInput.text = stored.times
        savedTimes = stored.times
    }

    function newMacro() {
        if (macroModel.count >= Logic.maxMacros)
            return
        endEditing()
        var name = Logic.freeName(names())
        if (ui_View.createMacroIni(name, 0) === false)
            return
        macroModel.append({ name: name })
        showMacro(macroModel.count - 1)
        writeNames()
    }

    function deleteCurrentMacro() {
        if (currentMacro < 0)
            return
        endEditing()
        // The recording belongs to the macro going away: nothing to save.
        tickTimer.stop()
        isInputting = false
        var at = currentMacro
        var name = getCurrentMacroName()
        ui_View.deleteMacroIni(name)
        actionModel.clear()
        // Nothing may be saved under the row index while it changes hands.
        currentMacro = -1
        deleteMacro(name)
        macroModel.remove(at)
        writeNames()
        // The neighbour becomes current, with its own actions.
        showMacro(Math.min(at, macroModel.count - 1))
    }

    function importMacro() {
        if (macroModel.count >= Logic.maxMacros)
            return
        // Pending edits go to the current macro before the rows shift.
        endEditing()
        if (isInputting)
            stopRecord()
        var name = Logic.freeName(names())
        var at = currentMacro < 0 ? macroModel.count : currentMacro
        // A macro whose file could not be made is not listed (the view has
        // told the user which file and why).
        if (ui_View.loadMacroFile(name) !== true && ui_View.createMacroIni(name, 0) === false)
            return
        macroModel.insert(at, { name: name })
        showMacro(at)
        writeNames()
    }

    function exportMacro() {
        if (currentMacro >= 0)
            ui_View.saveMacroFile(getCurrentMacroName())
    }

    function startRename(index) {
        if (index < 0 || index >= macroModel.count)
            return
        if (isInputting)
            stopRecord()
        editingDelayRow = -1
        renamingRow = index
    }

    function finishRename(text) {
        var index = renamingRow
        renamingRow = -1
        renameMacro(index, text)
    }

    // The library renames the file and the profiles' references first; only
    // a name it took reaches the screen and the name list.
    function renameMacro(index, newName) {
        if (index < 0 || index >= macroModel.count)
            return false
        var oldName = macroModel.get(index).name
        newName = String(newName)
        if (!Logic.renameAllowed(names(), newName))
            return false
        if (String(ui_View.modifyMacroNameUpdateProfile(oldName, newName)) !== "true")
            return false
        macroModel.setProperty(index, "name", newName)
        modifyMacroName(oldName, newName)
        writeNames()
        return true
    }

    // --- recording ------------------------------------------------------------------

    function startRecord() {
        if (currentMacro < 0 || isInputting)
            return
        endEditing()
        actionModel.clear()
        currentAction = -1
        ticks = 0
        isInputting = true
        tickTimer.start()
    }

    function stopRecord() {
        tickTimer.stop()
        isInputting = false
        autoSave()
    }

    function toggleRecord() {
        if (isInputting)
            stopRecord()
        else
            startRecord()
    }

    // --- editing the action list ------------------------------------------------------

    function canInsert() {
        return currentMacro >= 0 && !isInputting && Logic.withinBudget(encodedSize())
    }

    function selectAction(index) {
        currentAction = index
    }

    function deleteAction() {
        if (currentAction < 0 || currentAction >= actionModel.count)
            return
        actionModel.remove(currentAction)
        currentAction = Math.min(currentAction, actionModel.count - 1)
        autoSave()
    }

    function insertDelay() {
        if (!canInsert())
            return
        var at = Logic.delayInsertIndex(currentAction, actionModel.count)
        actionModel.insert(at, { type: Logic.Delay, info: Logic.insertedDelay })
        currentAction = at
        autoSave()
    }

    function insertPair(at, pair) {
        actionModel.insert(at, pair[0])
        actionModel.insert(at + 1, pair[1])
        // The current row stays current.
        if (currentAction >= at)
            currentAction += 2
    }

    function insertButton(code) {
        if (!canInsert())
            return
        insertPair(Logic.buttonInsertIndex(currentAction, actionModel.count), Logic.pressPair(keyName(code), true))
        autoSave()
    }

    function openInsertKey() {
        if (!canInsert())
            return
        endEditing()
        insertKeyName = ""
        isInsertting = true
        insertDialog.centre()
        insertDialog.visible = true
        insertDialog.forceActiveFocus()
    }

    function closeInsertKey() {
        isInsertting = false
        insertDialog.visible = false
        page.forceActiveFocus()
    }

    function confirmInsertKey() {
        var name = insertKeyName
        closeInsertKey()
        if (name === "" || currentMacro < 0)
            return
        insertPair(Logic.keyInsertIndex(currentAction, actionModel.count), Logic.pressPair(name, false))
        autoSave()
    }

    function startDelayEdit(index) {
        if (index < 0 || index >= actionModel.count || actionModel.get(index).type !== Logic.Delay || isInputting)
            return
        renamingRow = -1
        currentAction = index
        editingDelayRow = index
    }

    function finishDelayEdit(text) {
        var index = editingDelayRow
        editingDelayRow = -1
        if (index < 0 || index >= actionModel.count)
            return
        var old = actionModel.get(index).info
        var info = Logic.editedDelay(old, text)
        if (info === old)
            return
        actionModel.setProperty(index, "info", info)
        autoSave()
    }

    // Enter and the loss of focus both end an edit: only a changed count
    // is saved (and sent).
    function timesEdited() {
        timesInput.text = Logic.timesOnFocusLoss(timesInput.text)
        if (timesInput.text !== savedTimes)
            autoSave()
    }

    function autoSave() {
        if (currentMacro < 0)
            return
        var name = getCurrentMacroName()
        if (ui_View.saveMacroIni(name, Logic.storedRows(rows()), Logic.repeatOf(timesInput.text)) === false)
            return
        savedTimes = timesInput.text
        modifyMacroData(name)
    }

    // --- the panel --------------------------------------------------------------------

    // The right button over a list: the row under the pointer becomes
    // current, then the list's menu opens there.
    component RowMenuArea: MouseArea {
        id: menuArea
        property ListView list: null
        property ContextMenu menu: null
        signal rowPressed(int index)
        anchors.fill: list
        acceptedButtons: Qt.RightButton
        onPressed: (mouse) => {
            page.endEditing()
            var i = list.indexAt(mouse.x + list.contentX, mouse.y + list.contentY)
            if (i >= 0)
                menuArea.rowPressed(i)
            var p = mapToItem(menu.parent, mouse.x, mouse.y)
            menu.onRow = i >= 0
            menu.popup(p.x, p.y)
        }
    }

    KeyCodeString { id: builtInKeyNames }
    ListModel { id: macroModel }
    ListModel { id: actionModel }

    Timer {
        id: tickTimer
        interval: Logic.tickMs
        repeat: true
        onTriggered: page.ticks += 1
    }

    // On the whole panel, title included.
    HoverHandler {
        id: panelHover
        parent: page
    }

    Text {
        x: 16; y: 8
        text: page.lang[1]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    Rectangle {
        id: macroBox
        x: 16; y: 32
        width: 200; height: 336
        color: Theme.field
        border.color: Theme.gray1

        ListView {
            id: macroList
            anchors.fill: parent
            anchors.margins: 2
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: macroModel
            Accessible.role: Accessible.List
            Accessible.name: page.lang[1]

            delegate: Rectangle {
                id: nameRow
                required property int index
                required property string name
                readonly property bool current: index === page.currentMacro
                width: macroList.width
                height: Theme.rowHeight
                color: current ? Theme.orange : nameArea.containsMouse ? Theme.gray1 : "transparent"

                Accessible.role: Accessible.ListItem
                Accessible.name: name
                Accessible.selected: current
                Accessible.onPressAction: page.selectMacro(index)

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: nameRow.name
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: nameArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onPressed: {
                        page.endEditing()
                        page.listViewFocus()
                        page.selectMacro(nameRow.index)
                    }
                    onDoubleClicked: page.startRename(nameRow.index)
                }
                InputField {
                    anchors.fill: parent
                    visible: page.renamingRow === nameRow.index
                    horizontalAlignment: TextInput.AlignLeft
                    accessibleName: page.lang[1]
                    onVisibleChanged: {
                        if (visible) {
                            text = nameRow.name
                            startEditing()
                        }
                    }
                    onAccepted: page.finishRename(text)
                    // Losing the focus any other way leaves the name as it was.
                    onEditingChanged: if (!editing && page.renamingRow === nameRow.index) page.renamingRow = -1
                    Keys.onEscapePressed: page.renamingRow = -1
                }
            }
        }

        RowMenuArea {
            list: macroList
            menu: macroMenu
            onRowPressed: (index) => page.selectMacro(index)
        }
    }

    Row {
        x: 16; y: 376
        spacing: 8
        SkinButton {
            width: 96
            text: page.lang[2]
            onClicked: {
                page.btnClicked(0)
                page.endEditing()
                page.newMacro()
            }
        }
        SkinButton {
            width: 96
            text: page.lang[3]
            enabled: page.currentMacro >= 0
            onClicked: {
                page.btnClicked(1)
                page.endEditing()
                page.deleteCurrentMacro()
            }
        }
    }

    ContextMenu {
        id: macroMenu
        property bool onRow: true
        accessibleName: page.lang[1]
        entries: [page.lang[10], page.lang[11], page.lang[12]]
        enabledEntries: [onRow, page.macroModel.count < Logic.maxMacros, onRow]
        onTriggered: (index) => {
            if (index === 0)
                page.deleteCurrentMacro()
            else if (index === 1)
                page.importMacro()
            else
                page.exportMacro()
        }
    }

    Text {
        x: 232; y: 8
        text: page.lang[4]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    Rectangle {
        id: actionBox
        x: 232; y: 32
        width: 240; height: 368
        color: Theme.field
        border.color: Theme.gray1

        ListView {
            id: actionList
            anchors.fill: parent
            anchors.margins: 2
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: actionModel
            Accessible.role: Accessible.List
            Accessible.name: page.lang[4]

            delegate: Rectangle {
                id: actionRow
                required property int index
                required property int type
                required property string info
                readonly property bool current: index === page.currentAction
                readonly property string label: Logic.rowText(type, info)
                width: actionList.width
                height: Theme.rowHeight
                color: current ? Theme.orange : actionArea.containsMouse ? Theme.gray1 : "transparent"

                Accessible.role: Accessible.ListItem
                Accessible.name: label
                Accessible.description: Logic.rowKind(type)
                Accessible.selected: current
                Accessible.onPressAction: page.selectAction(index)

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: actionRow.type === Logic.Delay ? 32 : 8
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: actionRow.label
                    color: actionRow.type === Logic.Delay ? Theme.gray3 : Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: actionArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onPressed: {
                        page.endEditing()
                        page.selectAction(actionRow.index)
                    }
                    onDoubleClicked: page.startDelayEdit(actionRow.index)
                }
                InputField {
                    x: 28
                    width: 96
                    height: parent.height
                    visible: page.editingDelayRow === actionRow.index
                    integerOnly: true
                    minValue: 0
                    maxValue: 65535
                    maximumLength: 5
                    accessibleName: page.lang[9]
                    onVisibleChanged: {
                        if (visible) {
                            text = actionRow.info
                            startEditing()
                        }
                    }
                    onAccepted: page.finishDelayEdit(text)
                    onEditingChanged: if (!editing && page.editingDelayRow === actionRow.index) page.editingDelayRow = -1
                    Keys.onEscapePressed: page.editingDelayRow = -1
                }
            }
        }

        RowMenuArea {
            list: actionList
            menu: actionMenu
            onRowPressed: (index) => page.selectAction(index)
        }
    }

    ContextMenu {
        id: actionMenu
        property bool onRow: true
        readonly property bool usable: page.currentMacro >= 0 && !page.isInputting
        accessibleName: page.lang[4]
        entries: [page.lang[10], page.lang[13], page.lang[14], page.lang[15], page.lang[16], page.lang[17]]
        enabledEntries: [usable && onRow, usable, usable, usable, usable, usable]
        onTriggered: (index) => {
            switch (index) {
            case 0: page.deleteAction(); break
            case 1: page.insertDelay(); break
            case 2: page.openInsertKey(); break
            case 3: page.insertButton(Logic.leftButton); break
            case 4: page.insertButton(Logic.middleButton); break
            case 5: page.insertButton(Logic.rightButton); break
            }
        }
    }

    Column {
        x: 488; y: 32
        width: 136
        spacing: 8

        Text {
            text: page.lang[6]
            color: Theme.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormal
        }
        InputField {
            id: timesInput
            width: parent.width
            text: "1"
            integerOnly: true
            minValue: 1
            maxValue: 65535
            maximumLength: 4
            accessibleName: page.lang[6]
            enabled: page.currentMacro >= 0
            onEditingFinished: page.timesEdited()
        }
        CheckBox {
            id: delayCheck
            text: page.lang[9]
        }
        SkinButton {
            width: parent.width
            height: 28
            text: page.isInputting ? page.lang[5] : page.lang[8]
            selected: page.isInputting
            enabled: page.currentMacro >= 0
            onClicked: {
                page.btnClicked(2)
                page.toggleRecord()
            }
        }
    }

    // --- the "Insert Key" dialog, over its own mask on the main screen ---------------

    Rectangle {
        objectName: "insertKeyMask"
        parent: page.boundsItem ? page.boundsItem : page
        anchors.fill: parent
        z: 1000
        color: Theme.mask
        visible: insertDialog.visible
        MouseArea {
            anchors.fill: parent
            onPressed: insertDialog.forceActiveFocus()
        }
    }

    DialogFrame {
        id: insertDialog
        objectName: "insertKeyDialog"
        parent: page.boundsItem ? page.boundsItem : page
        boundsItem: parent
        z: 1001
        width: 240
        height: 80
        titleHeight: 28
        title: page.lang[14]
        onCloseClicked: page.closeInsertKey()

        Text {
            x: 16
            width: 120
            height: insertDialog.height - insertDialog.titleHeight
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            text: page.insertKeyName
            color: Theme.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormal
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        SkinButton {
            x: insertDialog.width - width - 16
            y: (insertDialog.height - insertDialog.titleHeight - height) / 2
            text: page.lang[7]
            onClicked: page.confirmInsertKey()
        }
    }
}
