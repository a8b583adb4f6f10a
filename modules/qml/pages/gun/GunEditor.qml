import QtQuick
import "../../basic"
import "../../common"
import "gun.js" as Logic

// Six recoil presets and the three gun slots they are bound to. Every edit
// is stored at once; the slots reach the mouse when the panel closes.
DialogFrame {
    id: page
    property var lang: Logic.builtInTexts
    // Something was stored since the slots were last sent.
    property bool isSave: false
    // The key matrix list: its recoil layers carry the slots' periods.
    property var keyMatrix: null
    // Rows bound to gun slots 1, 2 and 3.
    property var selectGun: Logic.resetSlots.slice()
    property int currentSlot: 0
    property int currentRow: 0
    // Vertical pixel of the target marker's centre.
    property real markerPixel: Logic.markerOfY(10)
    readonly property var current: gunModel.count > currentRow ? gunModel.get(currentRow) : null

    width: 640
    height: 448
    title: lang[0]
    onCloseClicked: close()
    onFreePressed: slotBox.close()

    ListModel { id: gunModel }
    property alias model: gunModel

    Component.onCompleted: {
        for (var row = 0; row < Logic.rowCount; ++row)
            gunModel.append(Logic.builtInRow(row))
    }

    function init() {
        for (var row = 0; row < Logic.rowCount; ++row)
            gunModel.set(row, Logic.rowFromRecord(row, ui_View.getGunData(row)))
        selectGun = Logic.slotsOf(ui_View.getGlobalData("mouse/selectGun"))
        chooseSlot(0)
        isSave = false
    }

    // Firing periods of the presets bound to gun slots 1, 2 and 3.
    function slotPeriods() {
        var periods = []
        for (var i = 0; i < Logic.slotCount; ++i)
            periods.push(Number(gunModel.get(selectGun[i]).gunPeriod))
        return periods
    }

    function gunControlFocus() {
        slotBox.close()
        page.forceActiveFocus()
    }

    function loadRow(row) {
        currentRow = row
        var r = gunModel.get(row)
        xField.text = String(r.gunX)
        yField.text = String(r.gunY)
        markerPixel = Logic.markerOfY(r.gunY)
        rate.setPeriod(r.gunPeriod)
        timesField.text = String(r.gunTimes)
        endness.checked = Logic.isEndless(r.gunTimes)
    }

    function chooseSlot(slot) {
        currentSlot = slot
        slotBox.currentIndex = slot
        loadRow(selectGun[slot])
    }

    // Binds a preset to the current slot.
    function chooseRow(row) {
        endEditing()
        var slots = selectGun.slice()
        slots[currentSlot] = row
        selectGun = slots
        ui_View.setGlobalData("mouse/selectGun", slots)
        isSave = true
        loadRow(row)
    }

    // Stores one field of the current preset when it changed.
    function setField(field, value) {
        if (Number(gunModel.get(currentRow)[field]) === value)
            return false
        gunModel.setProperty(currentRow, field, value)
        ui_View.mouseSaveGundata(currentRow, Logic.recordOf(gunModel.get(currentRow)))
        isSave = true
        return true
    }

    function setY(y) {
        var v = Logic.clampInt(y, 0, Logic.maxY, 0)
        yField.text = String(v)
        markerPixel = Logic.markerOfY(v)
        setField("gunY", v)
    }

    function setPeriod(period) {
        setField("gunPeriod", period)
    }

    function setTimes(times) {
        var v = Logic.clampInt(times, 0, Logic.maxTimes, 0)
        timesField.text = String(v)
        endness.checked = Logic.isEndless(v)
        setField("gunTimes", v)
    }

    // A field left empty shows the stored value again.
    function yEdited() {
        if (yField.text === "")
            loadRow(currentRow)
        else
            setY(yField.text)
    }

    function timesEdited() {
        if (timesField.text === "")
            timesField.text = String(gunModel.get(currentRow).gunTimes)
        else
            setTimes(timesField.text)
    }

    function endnessToggled(checked) {
        if (checked)
            setTimes(0)
    }

    function endEditing() {
        yField.endEditing()
        timesField.endEditing()
    }

    function sendData(slot) {
        ui_View.mouseSendGundata(slot + 1, Logic.sendValuesOf(gunModel.get(selectGun[slot])))
    }

    function sendSlots() {
        for (var slot = 0; slot < Logic.slotCount; ++slot)
            sendData(slot)
    }

    // Closing sends the slots and the key matrix only after a change.
    function close() {
        endEditing()
        slotBox.close()
        page.visible = false
        if (!isSave)
            return
        isSave = false
        sendSlots()
        if (keyMatrix)
            keyMatrix.modKeys.saveData()
    }

    function resetData() {
        endEditing()
        selectGun = Logic.resetSlots.slice()
        ui_View.setGlobalData("mouse/selectGun", selectGun)
        for (var i = 0; i < Logic.resetSlots.length; ++i) {
            var row = Logic.resetSlots[i]
            gunModel.setProperty(row, "gunY", Logic.resetY[i])
            gunModel.setProperty(row, "gunPeriod", Logic.resetPeriod)
            ui_View.mouseSaveGundata(row, Logic.recordOf(gunModel.get(row)))
        }
        sendSlots()
        isSave = false
        chooseSlot(0)
    }

    function slotsOfRow(row) {
        var names = []
        for (var i = 0; i < Logic.slotCount; ++i) {
            if (selectGun[i] === row)
                names.push(slotBox.model[i])
        }
        return names.join(", ")
    }

    // --- slot chooser and presets ---------------------------------------------

    Text {
        x: 16
        y: 12
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: page.lang[2]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }
    DropDown {
        id: slotBox
        objectName: "gunSlot"
        x: 116
        y: 12
        z: 2
        width: 120
        model: Logic.slotNames(page.lang[1])
        currentIndex: 0
        accessibleName: page.lang[2]
        onActivated: (index) => {
            page.endEditing()
            page.chooseSlot(index)
        }
    }

    Column {
        id: presetList
        x: 16
        y: 48
        width: 220
        spacing: 2
        Accessible.role: Accessible.List
        Accessible.name: page.lang[1]

        Repeater {
            model: gunModel
            Rectangle {
                id: presetRow
                objectName: "gunRow" + index
                required property int index
                required property string gunName
                required property string image
                width: presetList.width
                height: 56
                radius: Theme.radius
                color: index === page.currentRow || rowArea.containsMouse ? Theme.orange : Theme.blue

                Accessible.role: Accessible.ListItem
                Accessible.name: gunName
                Accessible.description: page.slotsOfRow(index)
                Accessible.selected: index === page.currentRow
                Accessible.onPressAction: page.chooseRow(index)

                Image {
                    x: 6
                    anchors.verticalCenter: parent.verticalCenter
                    width: 110
                    height: 44
                    fillMode: Image.PreserveAspectFit
                    source: Theme.gunImage(presetRow.image)
                }
                Text {
                    x: 122
                    width: parent.width - 128
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: presetRow.gunName
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormal
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: page.chooseRow(presetRow.index)
                }
            }
        }
    }

    // --- the chosen preset --------------------------------------------------------

    Image {
        x: 260
        y: 8
        width: 200
        height: 80
        source: page.current ? Theme.gunImage(page.current.image) : ""
    }
    Text {
        x: 476
        y: 24
        text: page.current ? page.current.gunName : ""
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontLarge
    }
    Text {
        x: 476
        y: 52
        text: (page.current ? page.current.gunKey : "") + "  " + slotBox.currentText
        color: Theme.textDim
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    Text {
        x: 260
        y: 96
        text: page.lang[3]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    // The aim point sits at the top of the track; the marker below it shows
    // how far each shot pulls the cursor down.
    Rectangle {
        id: target
        objectName: "gunTarget"
        x: 260
        y: 116
        width: 160
        height: 200
        radius: Theme.radius
        color: Theme.field
        border.color: Theme.gray1

        Rectangle {
            x: target.width / 2 - 1
            y: Logic.markerTop
            width: 2
            height: Logic.markerBottom - Logic.markerTop
            color: Theme.gray1
        }
        Rectangle {
            // The aim point.
            x: target.width / 2 - width / 2
            y: Logic.markerTop - height / 2
            width: 28
            height: 28
            radius: 14
            color: "transparent"
            border.color: Theme.gray2
        }
        Rectangle {
            id: marker
            x: target.width / 2 - width / 2
            y: page.markerPixel - height / 2
            width: 16
            height: 16
            radius: 8
            color: Theme.orange
            border.color: Theme.text
        }

        Accessible.role: Accessible.Slider
        Accessible.name: page.lang[3]
        Accessible.onIncreaseAction: page.setY(Logic.clampInt(yField.text, 0, Logic.maxY, 0) + 1)
        Accessible.onDecreaseAction: page.setY(Logic.clampInt(yField.text, 0, Logic.maxY, 0) - 1)
        property real value: Logic.yOfMarker(page.markerPixel)
        property real from: 0
        property real to: Logic.maxY

        MouseArea {
            anchors.fill: parent
            preventStealing: true
            function follow(mouse) {
                page.markerPixel = Math.max(Logic.markerTop, Math.min(Logic.markerBottom, mouse.y))
                yField.text = String(Logic.yOfMarker(page.markerPixel))
            }
            onPressed: (mouse) => {
                page.endEditing()
                page.forceActiveFocus()
                follow(mouse)
            }
            onPositionChanged: (mouse) => follow(mouse)
            onReleased: page.setY(Logic.yOfMarker(page.markerPixel))
        }
    }

    Column {
        x: 440
        y: 116
        spacing: 6
        Text {
            text: page.lang[4]
            color: Theme.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontSmall
        }
        InputField {
            id: xField
            objectName: "gunX"
            readOnly: true
            accessibleName: page.lang[4]
        }
        Item { width: 1; height: 8 }
        Text {
            text: page.lang[5]
            color: Theme.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontSmall
        }
        InputField {
            id: yField
            objectName: "gunY"
            integerOnly: true
            minValue: 0
            maxValue: Logic.maxY
            maximumLength: 2
            accessibleName: page.lang[5]
            onTextChanged: {
                if (editing && text !== "")
                    page.markerPixel = Logic.markerOfY(text)
            }
            onEditingFinished: page.yEdited()
        }
    }

    // --- firing ------------------------------------------------------------------

    Text {
        x: 260
        y: 328
        text: page.lang[6]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }
    Text {
        x: 260
        y: 352
        width: 56
        height: 16
        verticalAlignment: Text.AlignVCenter
        text: page.lang[7]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }
    RateSlider {
        id: rate
        objectName: "gunRate"
        x: 320
        y: 352
        accessibleName: page.lang[7]
        onReleased: (period) => page.setPeriod(period)
    }
    Text {
        x: 260
        y: 380
        width: 56
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: page.lang[8]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }
    InputField {
        id: timesField
        objectName: "gunTimes"
        x: 320
        y: 380
        integerOnly: true
        minValue: 0
        maxValue: Logic.maxTimes
        maximumLength: 3
        accessibleName: page.lang[8]
        onEditingFinished: page.timesEdited()
    }
    CheckBox {
        id: endness
        objectName: "gunEndness"
        x: 400
        y: 380
        height: 24
        text: page.lang[9]
        onToggled: (checked) => page.endnessToggled(checked)
    }
}
