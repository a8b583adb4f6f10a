import QtQuick
import "../../basic"
import "../../common"
import "../../common/keytext.js" as KeyText
import "keyassign.js" as Logic

// The function of one mouse button. The chosen entry goes into the key
// matrix list when the dialog closes; "Save" sends it. Only a macro goes
// to the mouse at once.
DialogFrame {
    id: page
    property var keyAssigmentLang: KeyText.builtInTexts
    property var keyNames: null
    property var keyMatrix: null
    property var macroEditor: null
    property bool isGun: true
    property int buttonIndex: -1
    // The working entry and its text.
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyCode: ""
    property string keyString: ""
    readonly property var entry: [keyCode0, keyCode1, keyCode2, keyCode3]
    // Capture modes: the next key becomes the fire key / keys build a combination.
    property bool isFireInput: false
    property bool isComboInput: false
    property var combo: Logic.newCombo()
    // What the capture fields show when not capturing; empty shows "Click Input".
    property string fireKeyText: ""
    property string comboShownText: ""
    property int runMode: 0
    property var mediaList: []
    property var windowsList: []
    property var shortcutList: []
    property alias macroList: macroChooser
    property alias contentY: scroller.contentY
    readonly property int contentHeight: 830

    signal openMacroEditor()

    width: 416
    height: 404
    title: keyAssigmentLang[0] + (buttonIndex + 1) + " : " + keyString
    onCloseClicked: close()
    onFreePressed: {
        closeLists()
        timesField.endEditing()
    }

    function lang(i) { return KeyText.textOf(keyAssigmentLang, i) }

    function keyName(code) {
        return keyNames ? String(keyNames.keycodeTostr(code)) : ""
    }

    function textsOf(choices) {
        return choices.map(function (c) { return lang(c.text) })
    }

    function init() {
        mediaList = textsOf(KeyText.mediaChoices)
        windowsList = textsOf(KeyText.windowsChoices)
        shortcutList = textsOf(KeyText.shortcutChoices)
    }

    function keyCodeToString(code0, code1, code2, code3) {
        return KeyText.keyCodeToString([code0, code1, code2, code3], keyAssigmentLang, keyName,
            function (slot) {
                var name = ui_View.getData("mouseMacroKey/" + slot, false)
                return name === undefined || name === null ? "" : String(name)
            })
    }

    // --- the working entry --------------------------------------------------

    function setWorking(e, text) {
        var v = Logic.entryOf(e)
        keyCode0 = v[0]; keyCode1 = v[1]; keyCode2 = v[2]; keyCode3 = v[3]
        if (text !== undefined)
            keyString = text
        syncLists()
    }

    // The drop-downs show the choice the working entry is, if any.
    function syncLists() {
        mediaBox.currentIndex = KeyText.findChoice(KeyText.mediaChoices, entry)
        windowsBox.currentIndex = KeyText.findChoice(KeyText.windowsChoices, entry)
        shortcutBox.currentIndex = KeyText.findChoice(KeyText.shortcutChoices, entry)
        macroChooser.currentIndex = Logic.isMacro(entry) ? macroChooser.indexOf(keyString) : -1
    }

    // Starts the page over from an entry: the fire controls show a fire
    // entry's rate and times, or their initial state.
    function showEntry(e, text) {
        setWorking(e, text)
        runMode = Logic.runModeOf(entry)
        if (Logic.isFire(entry)) {
            rateSlider.setPeriod(keyCode2)
            setTimesText(keyCode3)
        } else {
            rateSlider.setPeriod(10)
            rateSlider.text = "10ms"
            setTimesText(0)
        }
    }

    function chooseFixed(choices, index) {
        endCaptures()
        var c = Logic.choice(choices, index, keyAssigmentLang)
        keyCode = c.keyCode
        setWorking(c.entry, c.text)
    }

    function show(index) {
        endCaptures()
        combo = Logic.newCombo()
        buttonIndex = index
        showEntry(keyMatrix.entryAt(index), keyMatrix.modKeys.get(index).keyText)
        scroller.contentY = 0
        visible = true
        forceActiveFocus()
    }

    // --- captures -------------------------------------------------------------

    function endCaptures() {
        isFireInput = false
        if (isComboInput)
            cancelCombo()
    }

    // The keys of a capture also reach the window that has the focus; the
    // dialog itself takes it so no field or slider acts on them.
    function startFireInput() {
        endCaptures()
        timesField.endEditing()
        closeLists()
        page.forceActiveFocus()
        isFireInput = true
    }

    function startComboInput() {
        isFireInput = false
        timesField.endEditing()
        closeLists()
        page.forceActiveFocus()
        combo = Logic.newCombo()
        isComboInput = true
    }

    function confirmCombo() {
        isComboInput = false
        if (Logic.comboIsEmpty(combo)) {
            comboShownText = ""
            return
        }
        comboShownText = Logic.comboText(combo)
        var e = Logic.comboEntry(combo)
        keyCode = Logic.hexOfEntry(e)
        setWorking(e, comboShownText)
    }

    function cancelCombo() {
        isComboInput = false
        comboShownText = ""
    }

    // Hooked keys while a capture runs (mode 0 fire key, 1 combination).
    function detectKeyboard(isDown, usbCode, mode) {
        if (mode === 0) {
            if (!isFireInput)
                return
            isFireInput = false
            fireKeyText = keyName(usbCode)
            var e = Logic.fireEntry(usbCode, rateSlider.text, timesField.text)
            keyCode = Logic.hexOfEntry(e)
            setWorking(e, fireKeyText)
        } else if (mode === 1) {
            if (!isComboInput || !isDown)
                return
            combo = Logic.comboKeyDown(combo, usbCode, keyName(usbCode))
        }
    }

    // --- fire function ------------------------------------------------------

    function setTimesText(times) {
        var n = Logic.timesOfText(times)
        timesField.text = String(n)
        endnessBox.checked = n === 0
        return n
    }

    function rateMoved() {
        setWorking(Logic.withRate(entry, Logic.rateOfText(rateSlider.text)))
    }

    function timesEdited() {
        setWorking(Logic.withTimes(entry, setTimesText(timesField.text)))
    }

    function endnessToggled(checked) {
        if (checked) {
            setTimesText(0)
            setWorking(Logic.withTimes(entry, 0))
        } else {
            // Not endless: the count is typed next.
            timesField.startEditing()
        }
    }

    // --- macro function -----------------------------------------------------

    function chooseMacro(index) {
        endCaptures()
        var e = Logic.macroEntry(runMode, buttonIndex)
        keyCode = Logic.hexOfEntry(e)
        setWorking(e, macroChooser.entryText(index))
    }

    function chooseRunMode(mode) {
        runMode = mode
        setWorking(Logic.withRunMode(entry, mode))
    }

    // The macro editor changed the library while the page is open: a chosen
    // macro that was deleted is dropped, so closing never names it.
    function macroLibraryChanged(names) {
        if (!visible || !keyMatrix || buttonIndex < 0 || buttonIndex >= keyMatrix.modKeys.count)
            return
        var r = Logic.withoutMissingMacro(entry, keyString, names, keyMatrix.entryAt(buttonIndex),
                                          keyMatrix.modKeys.get(buttonIndex).keyText,
                                          keyMatrix.factoryEntryAt(buttonIndex),
                                          keyMatrix.modKeys_tmp.get(buttonIndex).keyText)
        if (r)
            showEntry(r.entry, r.text)
        else
            syncLists()
    }

    // A renamed macro stays chosen under its new name.
    function macroRenamed(oldName, newName) {
        if (Logic.isMacro(entry) && keyString === oldName)
            keyString = newName
    }

    // --- back, focus, closing -----------------------------------------------

    // Back to the factory assignment of the button, in the list as well.
    function back() {
        if (!keyMatrix || buttonIndex < 0)
            return
        var factory = keyMatrix.factoryEntryAt(buttonIndex)
        var text = keyMatrix.modKeys_tmp.get(buttonIndex).keyText
        if (text === keyString && KeyText.sameEntry(factory, entry))
            return
        endCaptures()
        showEntry(factory, text)
        keyMatrix.setEntry(buttonIndex, factory, text)
        keyMatrix.isSave = true
    }

    function closeLists() {
        mediaBox.close()
        windowsBox.close()
        shortcutBox.close()
        macroChooser.close()
    }

    function keyAssigmentFocus() {
        closeLists()
        timesField.endEditing()
        page.forceActiveFocus()
    }

    function close() {
        endCaptures()
        timesField.endEditing()
        visible = false
        var slot = buttonIndex
        if (keyMatrix && slot >= 0 && slot < keyMatrix.modKeys.count) {
            var storedText = keyMatrix.modKeys.get(slot).keyText
            if (Logic.entryChanged(entry, keyString, keyMatrix.entryAt(slot), storedText)) {
                keyMatrix.setEntry(slot, entry, keyString)
                keyMatrix.isSave = true
                // A macro has to be on the mouse before its button can play it.
                if (Logic.isMacro(entry) && keyString !== "") {
                    if (macroEditor)
                        macroEditor.sendMacro(slot, keyString)
                    ui_View.setData("mouseMacroKey/" + slot, keyString)
                }
            }
            keyMatrix.selectedKey = -1
        }
        closeLists()
    }

    // --- the content ----------------------------------------------------------

    component SectionTitle: Text {
        width: 376
        height: 28
        verticalAlignment: Text.AlignBottom
        bottomPadding: 4
        color: Theme.gray3
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }
    component Label: Text {
        width: 72
        height: 24
        verticalAlignment: Text.AlignVCenter
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    // One radio button per entry of a section table (keytext.js).
    component ChoiceButtons: Repeater {
        id: buttons
        property var choices: []
        property int buttonWidth: 120
        model: choices
        RadioButton {
            required property int index
            required property var modelData
            width: buttons.buttonWidth
            text: page.lang(modelData.text)
            checked: KeyText.sameEntry(page.entry, modelData.entry)
            onClicked: page.chooseFixed(buttons.choices, index)
        }
    }

    // A field that starts a capture when clicked; it is never typed into.
    component CaptureField: InputField {
        id: capture
        property bool capturing: false
        signal capturePressed()
        width: 200
        readOnly: true
        horizontalAlignment: TextInput.AlignLeft
        border.color: capturing ? Theme.orange : Theme.gray1
        MouseArea {
            anchors.fill: parent
            onPressed: capture.capturePressed()
        }
    }

    // Back to the factory assignment, beside the close button.
    SkinButton {
        x: page.width - 6 - 24 - 4 - width
        y: -page.titleHeight + (page.titleHeight - height) / 2
        width: 24
        height: 24
        baseColor: "transparent"
        iconSource: Theme.indexImage("icon_restore.png")
        accessibleName: "Back"
        onClicked: page.back()
    }

    // The wheel scrolls the content; presses on free areas reach the frame
    // (dragging moves the dialog instead of the content).
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.NoButton
        onWheel: (wheel) => {
            var step = wheel.angleDelta.y / 120 * 48
            scroller.contentY = Math.max(0, Math.min(scroller.contentHeight - scroller.height,
                                                     scroller.contentY - step))
        }
    }

    Flickable {
        id: scroller
        anchors.fill: parent
        anchors.bottomMargin: 4
        contentWidth: width
        contentHeight: page.contentHeight
        interactive: false
        clip: true

        Column {
            x: 16
            width: 376
            spacing: 8

            SectionTitle { text: page.lang(1) }
            Grid {
                columns: 3
                rowSpacing: 6
                columnSpacing: 8
                ChoiceButtons { choices: KeyText.mouseChoices }
            }

            SectionTitle { text: page.lang(8) }
            Row {
                spacing: 8
                Label { text: page.lang(9) }
                CaptureField {
                    id: fireField
                    accessibleName: page.lang(9)
                    capturing: page.isFireInput
                    text: page.isFireInput || page.fireKeyText === "" ? page.lang(10) : page.fireKeyText
                    onCapturePressed: page.startFireInput()
                }
            }
            Row {
                spacing: 8
                Label { text: page.lang(11) }
                RateSlider {
                    id: rateSlider
                    accessibleName: page.lang(11)
                    trackWidth: 200
                    text: "10ms"
                    anchors.verticalCenter: parent.verticalCenter
                    onMoved: page.rateMoved()
                }
            }
            Row {
                spacing: 8
                Label { text: page.lang(12) }
                InputField {
                    id: timesField
                    accessibleName: page.lang(12)
                    integerOnly: true
                    minValue: 0
                    maxValue: 255
                    maximumLength: 3
                    text: "0"
                    // The digits typed here must not become the captured key.
                    onEditingChanged: if (editing) page.endCaptures()
                    onEditingFinished: page.timesEdited()
                }
                CheckBox {
                    id: endnessBox
                    anchors.verticalCenter: parent.verticalCenter
                    text: page.lang(13)
                    checked: true
                    onToggled: (checked) => page.endnessToggled(checked)
                }
            }

            SectionTitle { text: page.lang(14) }
            Row {
                spacing: 8
                CaptureField {
                    id: comboField
                    width: 280
                    accessibleName: page.lang(14)
                    capturing: page.isComboInput
                    text: page.isComboInput ? Logic.comboText(page.combo)
                        : page.comboShownText === "" ? page.lang(10) : page.comboShownText
                    onCapturePressed: page.startComboInput()
                }
                SkinButton {
                    width: 40
                    text: "\u2713"
                    accessibleName: "Confirm"
                    onClicked: page.confirmCombo()
                }
                SkinButton {
                    width: 40
                    text: "\u2715"
                    accessibleName: "Cancel"
                    onClicked: page.cancelCombo()
                }
            }

            SectionTitle { text: page.lang(15) }
            DropDown {
                id: mediaBox
                width: 200
                model: page.mediaList
                accessibleName: page.lang(15)
                onActivated: (index) => page.chooseFixed(KeyText.mediaChoices, index)
            }

            SectionTitle { text: page.lang(16) }
            Row {
                spacing: 8
                DropDown {
                    id: macroChooser
                    width: 200
                    model: ListModel { id: macroNames }
                    accessibleName: page.lang(16)
                    onActivated: (index) => page.chooseMacro(index)

                    function names() {
                        var list = []
                        for (var i = 0; i < macroNames.count; ++i)
                            list.push(macroNames.get(i).name)
                        return list
                    }
                    function indexOf(name) { return Logic.indexOfName(names(), name) }
                    // The macro editor hands over its whole list after every
                    // change; a choice still listed stays chosen, the first
                    // fill at start-up chooses nothing.
                    function addData(list, isInit) {
                        var chosen = currentIndex >= 0 && !isInit ? entryText(currentIndex) : ""
                        var fresh = Logic.nameList(list)
                        macroNames.clear()
                        for (var i = 0; i < fresh.length; ++i)
                            macroNames.append({ name: fresh[i] })
                        currentIndex = chosen === "" ? -1 : indexOf(chosen)
                        if (!isInit)
                            page.macroLibraryChanged(fresh)
                    }
                }
                SkinButton {
                    width: 120
                    text: page.lang(17)
                    onClicked: {
                        page.closeLists()
                        page.openMacroEditor()
                    }
                }
            }
            Repeater {
                model: 3
                RadioButton {
                    required property int index
                    width: 376
                    text: page.lang(18 + index)
                    checked: page.runMode === index
                    onClicked: page.chooseRunMode(index)
                }
            }

            SectionTitle { text: page.lang(21) }
            Row {
                spacing: 8
                ChoiceButtons { choices: KeyText.dpiChoices; buttonWidth: 88 }
            }

            SectionTitle { text: page.lang(25) }
            DropDown {
                id: windowsBox
                width: 200
                model: page.windowsList
                accessibleName: page.lang(25)
                onActivated: (index) => page.chooseFixed(KeyText.windowsChoices, index)
            }

            SectionTitle { text: page.lang(26) }
            DropDown {
                id: shortcutBox
                width: 200
                model: page.shortcutList
                accessibleName: page.lang(26)
                onActivated: (index) => page.chooseFixed(KeyText.shortcutChoices, index)
            }

            SectionTitle { text: page.lang(52); visible: page.isGun }
            Row {
                visible: page.isGun
                spacing: 8
                ChoiceButtons { choices: KeyText.gunChoices }
            }
        }
    }

    ScrollBar {
        x: scroller.x + scroller.width - width
        y: scroller.y
        height: scroller.height
        flickable: scroller
        accessibleName: "Scroll"
    }
}
