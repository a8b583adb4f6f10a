import QtQuick
import "../../basic"
import "../../common"
import "light.js" as Logic
import "../../common/values.js" as Values

// Lighting of the right panel: the effect, its speed and brightness, and
// eight colours picked on a colour bar or typed as red, green and blue.
// Edits stay here until the main screen's "Save".
Rectangle {
    id: page
    property var lang: Logic.builtInTexts
    property bool isSave: false
    property bool isColorful: false
    property bool is55328: false
    // False until the main screen's first start-up has finished.
    property bool started: false

    property var effectNames: Logic.effectNames(Logic.builtInTexts, false, false, false, null)
    property bool speedShown: true
    property bool brightnessShown: false
    property var colours: Logic.defaultColours
    property int selectedBlock: 0
    readonly property int effect: effectList.currentIndex
    readonly property int speedStep: speedRow.slider.step
    readonly property int brightnessStep: brightnessRow.slider.step
    readonly property alias barPosition: bar.position
    readonly property var selectedColour: colours[selectedBlock]

    width: 232
    height: Logic.panelHeight(speedShown, brightnessShown)
    radius: 6
    color: Theme.panel
    border.color: Theme.gray1

    Accessible.role: Accessible.Grouping
    Accessible.name: lang[0]

    function applyRule(rule, setSteps) {
        if (!rule)
            return
        speedShown = rule.speed
        brightnessShown = rule.brightness
        if (!setSteps)
            return
        if (rule.setSpeed >= 0)
            speedRow.slider.setStep(rule.setSpeed)
        if (rule.setBrightness >= 0)
            brightnessRow.slider.setStep(rule.setBrightness)
    }

    function showFields(c) {
        redField.text = c[0]
        greenField.text = c[1]
        blueField.text = c[2]
    }

    // Shows the selected block's colour in the fields and on the bar.
    function placeSelected() {
        var c = colours[selectedBlock]
        showFields(c)
        bar.position = Logic.positionOf(c)
    }

    function selectBlock(i) {
        selectedBlock = i
        placeSelected()
    }

    function setSelectedColour(c) {
        var list = colours.slice()
        list[selectedBlock] = c
        colours = list
    }

    function init(isSendData, isRecovery) {
        var first = !started && !isSendData && !isRecovery
        effectNames = Logic.effectNames(lang, isColorful, is55328, first, effectNames)
        var value = ui_View.getDataList("mouse/lightValue", isRecovery)
        if (value && value.length >= 3) {
            effectList.currentIndex = Values.toInt(value[0], effectList.currentIndex)
            speedRow.slider.setStep(Values.toInt(value[1], speedRow.slider.step))
            brightnessRow.slider.setStep(Values.toInt(value[2], brightnessRow.slider.step))
            applyRule(Logic.initRule(effectList.currentIndex, is55328), false)
        }
        var stored = ui_View.getDataList("mouse/colorValue", isRecovery)
        if (stored && stored.length > 0)
            colours = Logic.blocksOf(stored)
        selectBlock(0)
        if (isSendData)
            saveData(true, 0)
    }

    function saveData(isSendData, isStep) {
        var step = Values.toInt(isStep, 0)
        var value = [effect, speedStep, brightnessStep]
        if (step === 0 || step === 1)
            ui_View.setDataList("mouse/lightValue", value)
        var list = Logic.savedColours(colours, is55328, effect)
        if (step === 0 || step === 2)
            ui_View.setDataList("mouse/colorValue", list)
        if (!isSendData)
            return
        if (step === 0 || step === 1)
            ui_View.mouseSetRGBEffect(value[0], value[1], value[2])
        if (step === 0 || step === 2)
            ui_View.mouseSetRGBColor(Logic.colourType(isColorful), list)
    }

    function closeList() {
        effectList.close()
    }

    function chooseEffect(index) {
        applyRule(Logic.effectRule(index, is55328), true)
        selectBlock(0)
        isSave = true
    }

    function restore() {
        init(false, true)
        isSave = true
    }

    function barMoved(position) {
        setSelectedColour(Logic.colourAt(position))
        showFields(colours[selectedBlock])
    }

    // A typed colour colours the block; the bar shows it where it can.
    function fieldsEdited() {
        var c = [Logic.component(redField.text), Logic.component(greenField.text),
                 Logic.component(blueField.text)]
        var old = colours[selectedBlock]
        showFields(c)
        if (c[0] === old[0] && c[1] === old[1] && c[2] === old[2])
            return
        setSelectedColour(c)
        bar.position = Logic.positionOf(c)
        isSave = true
    }

    component FieldLabel: Text {
        width: 10
        height: 24
        verticalAlignment: Text.AlignVCenter
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    // One of the five-step sliders: its name, the slider, its percentage.
    component StepRow: Item {
        id: row
        property string label: ""
        readonly property alias slider: rowSlider
        width: parent.width
        height: 40
        Text {
            width: 64
            height: parent.height
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            text: row.label
            color: Theme.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontSmall
        }
        SkinSlider {
            id: rowSlider
            x: 68
            anchors.verticalCenter: parent.verticalCenter
            width: 104
            height: 12
            minPos: 0
            maxPos: 92
            stepCount: Logic.stepCount
            accessibleName: row.label
            value: step * 25
            from: 0
            to: 100
            stepSize: 25
            onReleased: page.isSave = true
        }
        Text {
            anchors.right: parent.right
            width: 36
            height: parent.height
            horizontalAlignment: Text.AlignRight
            verticalAlignment: Text.AlignVCenter
            text: Logic.percentText(rowSlider.step)
            color: Theme.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontSmall
        }
    }

    component ColourField: InputField {
        width: 44
        integerOnly: true
        minValue: 0
        maxValue: 255
        maximumLength: 3
        onEditingFinished: page.fieldsEdited()
    }

    Component.onCompleted: {
        effectList.currentIndex = Logic.defaultEffect[0]
        speedRow.slider.setStep(Logic.defaultEffect[1])
        brightnessRow.slider.setStep(Logic.defaultEffect[2])
        applyRule(Logic.effectRule(Logic.defaultEffect[0], false), false)
        selectBlock(0)
    }

    Text {
        x: 12; y: 8
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: page.lang[0]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    DropDown {
        id: effectList
        objectName: "effectList"
        x: restoreButton.x - width - 8
        y: 8
        width: 132
        model: page.effectNames
        accessibleName: page.lang[0]
        maxVisible: 12
        onActivated: (index) => page.chooseEffect(index)
    }

    SkinButton {
        id: restoreButton
        x: page.width - width - 8
        y: 8
        width: 24
        height: 24
        baseColor: "transparent"
        iconSource: Theme.indexImage("icon_restore.png")
        accessibleName: "Restore"
        onClicked: page.restore()
    }

    Column {
        id: sliderRows
        x: 12
        y: 44
        width: page.width - 24

        StepRow {
            id: speedRow
            visible: page.speedShown
            label: page.lang[5]
            slider.objectName: "speedSlider"
        }
        StepRow {
            id: brightnessRow
            visible: page.brightnessShown
            label: page.lang[7]
            slider.objectName: "brightnessSlider"
        }
    }

    // Colours: eight blocks, the bar, and the red, green and blue fields.
    Item {
        id: colourArea
        x: 0
        width: page.width
        height: 124
        anchors.bottom: parent.bottom

        Text {
            x: 12
            height: 16
            verticalAlignment: Text.AlignVCenter
            text: page.lang[6]
            color: Theme.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontSmall
        }

        Row {
            id: blocks
            x: (page.width - width) / 2
            y: 20
            spacing: 6
            Repeater {
                model: Logic.blockCount
                Rectangle {
                    id: block
                    required property int index
                    readonly property var rgb: page.colours[index]
                    readonly property bool selected: index === page.selectedBlock
                    width: 20
                    height: 20
                    radius: 3
                    color: Logic.hex(rgb)
                    border.width: selected ? 2 : 1
                    border.color: selected ? Theme.orange : blockArea.containsMouse ? Theme.gray3 : Theme.gray1
                    Accessible.role: Accessible.Button
                    Accessible.name: page.lang[6] + " " + (index + 1)
                    Accessible.description: rgb.join(", ")
                    Accessible.checkable: true
                    Accessible.checked: selected
                    Accessible.onPressAction: page.selectBlock(index)
                    MouseArea {
                        id: blockArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: page.selectBlock(block.index)
                    }
                }
            }
        }

        Rectangle {
            id: barTrack
            x: Math.floor((page.width - Logic.barWidth) / 2)
            y: 50
            width: Logic.barWidth
            height: 12
            radius: 2
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0 / 6; color: "#ff0000" }
                GradientStop { position: 1 / 6; color: "#ffff00" }
                GradientStop { position: 2 / 6; color: "#00ff00" }
                GradientStop { position: 3 / 6; color: "#00ffff" }
                GradientStop { position: 4 / 6; color: "#0000ff" }
                GradientStop { position: 5 / 6; color: "#ff00ff" }
                GradientStop { position: 0.985; color: "#ff0000" }
                GradientStop { position: 1.0; color: "#ffffff" }
            }
        }

        SkinSlider {
            id: bar
            objectName: "colourBar"
            x: barTrack.x - knobSize / 2
            y: barTrack.y + (barTrack.height - height) / 2
            knobSize: 8
            width: Logic.barMax + knobSize
            height: 16
            minPos: 0
            maxPos: Logic.barMax
            trackColor: "transparent"
            fillColor: "transparent"
            knobColor: "transparent"
            accessibleName: page.lang[6]
            Accessible.description: page.selectedColour.join(", ")
            onMoved: (position) => page.barMoved(position)
            onReleased: page.isSave = true
            Rectangle {
                // The marker: a frame around the bar at its position.
                x: bar.pixelOf(bar.position) - width / 2
                y: 0
                width: 6
                height: bar.height
                radius: 2
                color: "transparent"
                border.width: 2
                border.color: Theme.text
            }
        }

        Row {
            x: 12
            y: 84
            spacing: 6
            FieldLabel { text: "R" }
            ColourField {
                id: redField
                objectName: "redField"
                accessibleName: "R"
            }
            FieldLabel { text: "G" }
            ColourField {
                id: greenField
                objectName: "greenField"
                accessibleName: "G"
            }
            FieldLabel { text: "B" }
            ColourField {
                id: blueField
                objectName: "blueField"
                accessibleName: "B"
            }
        }
    }
}
