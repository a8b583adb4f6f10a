import QtQuick
import "../../basic"
import "../../common"
import "system.js" as Logic
import "../../common/values.js" as Values

// Pointer speed, double-click speed and wheel scroll lines of the desktop.
// Every change is applied at once and kept in the current profile, so a
// profile change or factory reset applies them again. A setting the desktop
// cannot take is disabled with a short reason; one it refuses all the same is
// shown here in the page's language.
DialogFrame {
    id: page
    property var lang: Logic.builtInTexts
    property bool oneScreen: false
    readonly property int speedPosition: speedRow.slider.position
    readonly property int doubleClickPosition: doubleRow.slider.position
    // Failure texts of the last attempt, by the step that applies them.
    property var failures: ({})
    readonly property string failureText: Object.keys(failures).sort().map(
        function (k) { return failures[k] }).join("\n")
    property int applying: -1
    property bool viewConnected: false
    // The desktop's side of each setting: whether it can be applied, and its
    // current value (see ui_View.pointerSettingStates).
    property var states: []
    readonly property bool speedAvailable: Logic.available(states, Logic.stepSpeed)
    readonly property bool doubleClickAvailable: Logic.available(states, Logic.stepDoubleClick)
    readonly property bool scrollAvailable: Logic.available(states, Logic.stepScroll)

    width: 480
    height: 300
    title: lang[0]
    onCloseClicked: page.visible = false

    // The view is handed to the screens after they are built, so the
    // connection is made on the first initialisation.
    function connectView() {
        if (viewConnected || typeof ui_View === "undefined" || !ui_View
                || ui_View.pointerSettingFailed === undefined)
            return
        ui_View.pointerSettingFailed.connect(page.pointerFailed)
        viewConnected = true
    }

    Component.onDestruction: {
        // When the whole screen goes (let go in the tray) the view's signal
        // may be out of reach already; the connection ends with this page.
        if (viewConnected) {
            try {
                ui_View.pointerSettingFailed.disconnect(page.pointerFailed)
            } catch (e) {
            }
        }
    }

    function pointerFailed(message) {
        var list = Object.assign({}, failures)
        list[applying >= 0 ? applying : String(message)] = Logic.failureText(applying, message, lang)
        failures = list
    }

    function apply(step, call) {
        var list = Object.assign({}, failures)
        delete list[step]
        failures = list
        applying = step
        call()
        applying = -1
    }

    function readStates() {
        states = ui_View.pointerSettingStates === undefined ? [] : ui_View.pointerSettingStates()
    }

    // What the desktop holds now, where it can be read, replaces the stored
    // value on the controls (a knob already in that band stays where it is).
    function showCurrent() {
        var speed = Logic.currentOf(states, Logic.stepSpeed)
        if (speed !== undefined && Logic.indexOf(speedRow.slider.position) !== speed)
            speedRow.slider.position = Logic.positionOfIndex(speed)
        var dbl = Logic.currentOf(states, Logic.stepDoubleClick)
        if (dbl !== undefined && Logic.indexOf(doubleRow.slider.position) !== dbl)
            doubleRow.slider.position = Logic.positionOfIndex(dbl)
        var lines = Logic.currentOf(states, Logic.stepScroll)
        if (lines !== undefined) {
            oneScreen = Logic.isOneScreen(lines)
            if (!oneScreen)
                rowsField.text = Logic.rowsText(lines)
        }
    }

    function init(isSendData, isRecovery) {
        connectView()
        readStates()
        var speed = Values.toInt(ui_View.getData("mouse/mouseRate", isRecovery), NaN)
        if (!isNaN(speed))
            speedRow.slider.position = Logic.clampPosition(speed)
        var dbl = Values.toInt(ui_View.getData("mouse/doubleRate", isRecovery), NaN)
        if (!isNaN(dbl))
            doubleRow.slider.position = Logic.clampPosition(dbl)
        var scroll = ui_View.getData("mouse/scrollRate", isRecovery)
        if (scroll !== undefined && scroll !== null && String(scroll) !== "") {
            oneScreen = Logic.isOneScreen(scroll)
            if (!oneScreen)
                rowsField.text = Logic.rowsText(scroll)
        }
        if (isSendData) {
            saveData(true, Logic.stepAll)
            readStates()   // what the desktop made of it
        }
        showCurrent()
    }

    function saveData(isSendData, isStep) {
        var scroll = Logic.scrollValue(oneScreen, rowsField.text)
        ui_View.setData("mouse/mouseRate", speedRow.slider.position)
        ui_View.setData("mouse/doubleRate", doubleRow.slider.position)
        ui_View.setData("mouse/scrollRate", scroll)
        if (!isSendData)
            return
        var speedIndex = Logic.indexOf(speedRow.slider.position)
        var doubleIndex = Logic.indexOf(doubleRow.slider.position)
        // What the desktop cannot take is stored but not applied.
        if (Logic.applies(isStep, Logic.stepSpeed) && speedAvailable)
            apply(Logic.stepSpeed, function () { ui_View.mouseSetCursorSpeed(speedIndex) })
        if (Logic.applies(isStep, Logic.stepDoubleClick) && doubleClickAvailable)
            apply(Logic.stepDoubleClick, function () { ui_View.mouseSetDoubleClickSpeed(doubleIndex) })
        if (Logic.applies(isStep, Logic.stepScroll) && scrollAvailable)
            apply(Logic.stepScroll, function () { ui_View.mouseSetVerticalScrollLines(scroll) })
    }

    function chooseScroll(screen) {
        oneScreen = screen
        saveData(true, Logic.stepScroll)
    }

    function rowsEdited() {
        rowsField.text = Logic.rowsText(rowsField.text)
        saveData(true, Logic.stepScroll)
    }

    onFreePressed: rowsField.endEditing()

    component Label: Text {
        height: 20
        verticalAlignment: Text.AlignVCenter
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    // Why a setting is disabled, beside its title.
    component Reason: Label {
        property int step: 0
        x: 180
        width: page.width - x - 16
        elide: Text.ElideRight
        visible: text !== ""
        text: Logic.reasonText(page.lang, page.states, step)
        color: Theme.unsaved
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    // One slider with "Slow" at its left end and "Fast" at its right end.
    component SpeedRow: Item {
        id: row
        property alias slider: rowSlider
        property string name: ""
        // Why it is disabled, told to screen readers too.
        property string reason: ""
        signal released()
        width: page.width - 32
        height: 20
        Label {
            width: 40
            text: page.lang[3]
            horizontalAlignment: Text.AlignRight
        }
        SkinSlider {
            id: rowSlider
            x: 48
            anchors.verticalCenter: parent.verticalCenter
            width: Logic.maxPos + knobSize
            height: 16
            minPos: Logic.minPos
            maxPos: Logic.maxPos
            accessibleName: row.name
            Accessible.description: row.reason
            value: Logic.indexOf(position)
            from: 0
            to: Logic.maxIndex
            onReleased: row.released()
        }
        Label {
            x: rowSlider.x + rowSlider.width + 8
            text: page.lang[4]
        }
    }

    Label {
        x: 16; y: 12
        text: page.lang[1]
        font.pixelSize: Theme.fontNormal
    }
    Reason {
        objectName: "speedReason"
        y: 12
        step: Logic.stepSpeed
    }
    SpeedRow {
        id: speedRow
        objectName: "speedRow"
        x: 16; y: 36
        enabled: page.speedAvailable
        opacity: enabled ? 1 : 0.4
        name: page.lang[1]
        reason: Logic.reasonText(page.lang, page.states, Logic.stepSpeed)
        onReleased: page.saveData(true, Logic.stepSpeed)
    }

    Label {
        x: 16; y: 68
        text: page.lang[2]
        font.pixelSize: Theme.fontNormal
    }
    Reason {
        objectName: "doubleClickReason"
        y: 68
        step: Logic.stepDoubleClick
    }
    SpeedRow {
        id: doubleRow
        objectName: "doubleClickRow"
        x: 16; y: 92
        enabled: page.doubleClickAvailable
        opacity: enabled ? 1 : 0.4
        name: page.lang[2]
        reason: Logic.reasonText(page.lang, page.states, Logic.stepDoubleClick)
        onReleased: page.saveData(true, Logic.stepDoubleClick)
    }

    Label {
        x: 16; y: 124
        text: page.lang[5]
        font.pixelSize: Theme.fontNormal
    }
    Reason {
        id: scrollReason
        objectName: "scrollReason"
        y: 124
        step: Logic.stepScroll
    }
    Row {
        x: 32; y: 150
        spacing: 12
        enabled: page.scrollAvailable
        opacity: enabled ? 1 : 0.4
        RadioButton {
            objectName: "rowsChoice"
            anchors.verticalCenter: parent.verticalCenter
            text: page.lang[6]
            Accessible.description: scrollReason.text
            checked: !page.oneScreen
            onClicked: page.chooseScroll(false)
        }
        InputField {
            id: rowsField
            objectName: "rowsField"
            width: 48
            text: "1"
            integerOnly: true
            minValue: Logic.minRows
            maxValue: Logic.maxRows
            maximumLength: 3
            accessibleName: page.lang[6]
            onEditingFinished: page.rowsEdited()
        }
    }
    RadioButton {
        objectName: "screenChoice"
        x: 32; y: 184
        enabled: page.scrollAvailable
        opacity: enabled ? 1 : 0.4
        text: page.lang[7]
        Accessible.description: scrollReason.text
        checked: page.oneScreen
        onClicked: page.chooseScroll(true)
    }

    Text {
        id: failureLine
        objectName: "pointerFailure"
        x: 16; y: 218
        width: page.width - 32 - 40
        visible: text !== ""
        text: page.failureText
        wrapMode: Text.WordWrap
        color: Theme.unsaved
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }

    SkinButton {
        x: page.width - width - 16
        y: page.height - page.titleHeight - height - 12
        width: 24
        height: 24
        baseColor: "transparent"
        iconSource: Theme.indexImage("icon_restore.png")
        accessibleName: "Restore"
        onClicked: page.init(true, true)
    }
}
