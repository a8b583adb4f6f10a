import QtQuick
import "../../basic"
import "../../common"
import "dpi.js" as Logic
import "../../common/values.js" as Values

// DPI stages of the right panel: one slider per active stage with its value
// under it, the number of active stages and the factory values. Edits stay
// here until the main screen's "Save"; the stage the mouse uses (currentDPI,
// counted from 0, set by the main screen) is drawn orange.
Rectangle {
    id: page
    property var lang: Logic.builtInTexts
    property bool isSave: false
    property int currentDPI: 0

    property int dpiCount: Logic.defaults.dpiCount
    property int currentDpiCount: Logic.defaults.currentDpiCount
    property int minDPI: Logic.defaults.minDPI
    property int maxDPI: Logic.defaults.maxDPI
    property string sensorType: Logic.defaults.sensorType
    property int dpiBase: Logic.defaults.dpiBase

    readonly property int margin: 8
    readonly property real columnWidth: Logic.columnWidth(width, margin, currentDpiCount)

    width: 232
    height: 260
    radius: 6
    color: Theme.panel
    border.color: Theme.gray1

    Accessible.role: Accessible.Grouping
    Accessible.name: lang[0]

    function sliderAt(stage) {
        var column = stages.itemAt(stage)
        return column ? column.slider : null
    }

    // The DPI each stage's text shows (hidden stages included).
    function values() {
        var list = []
        for (var i = 0; i < Logic.stageCount; ++i)
            list.push(stages.itemAt(i).value)
        return list
    }

    function placeValues(stored) {
        for (var i = 0; i < Logic.stageCount; ++i) {
            var v = parseInt(stored[i], 10)
            // A missing value leaves its slider where it is.
            if (!isNaN(v))
                sliderAt(i).position = Logic.positionOfValue(v, minDPI, maxDPI)
        }
    }

    function init(isSendData, isRecovery) {
        var offered = dpiCount
        var active = currentDpiCount
        if (!isRecovery) {
            offered = Logic.validStageCount(ui_View.getData("mouse/dpiCount", false))
            active = Values.toInt(ui_View.getData("mouse/currentDpiCount", false), currentDpiCount)
            minDPI = Values.toInt(ui_View.getGlobalData("mouse/minDPI"), minDPI)
            maxDPI = Values.toInt(ui_View.getGlobalData("mouse/maxDPI"), maxDPI)
            var sensor = ui_View.getGlobalData("mouse/sensorType")
            if (sensor !== undefined && sensor !== null)
                sensorType = String(sensor)
            dpiBase = Values.toInt(ui_View.getGlobalData("mouse/dpiBase"), dpiBase)
        }
        var stored = ui_View.getDataList("mouse/dpiValueArray", isRecovery)
        if (offered === 0)
            return
        if (!isRecovery) {
            dpiCount = offered
            currentDpiCount = Logic.activeCount(active, offered, currentDpiCount)
            stageList.model = Logic.stageNames(dpiCount)
            stageList.currentIndex = currentDpiCount - 1
        }
        placeValues(stored)
        if (isSendData)
            saveData(true)
    }

    function saveData(isSendData) {
        var list = values()
        ui_View.setDataList("mouse/dpiValueArray", list)
        ui_View.setData("mouse/currentDpiCount", currentDpiCount)
        if (isSendData)
            ui_View.mouseSetDpi(currentDpiCount, sensorType, list)
    }

    function closeList() {
        stageList.close()
    }

    function chooseStageCount(index) {
        currentDpiCount = index + 1
        isSave = true
    }

    function restore() {
        init(false, true)
        isSave = true
    }

    Component.onCompleted: placeValues(Logic.defaults.values)

    Text {
        x: 12; y: 8
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: page.lang[0]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    Text {
        anchors.right: stageList.left
        anchors.rightMargin: 6
        y: 8
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: page.lang[1]
        color: Theme.textDim
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    DropDown {
        id: stageList
        objectName: "dpiStageList"
        anchors.right: restoreButton.left
        anchors.rightMargin: 8
        y: 8
        width: 48
        model: Logic.stageNames(Logic.stageCount)
        currentIndex: Logic.defaults.currentDpiCount - 1
        accessibleName: page.lang[1]
        onActivated: (index) => page.chooseStageCount(index)
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

    Repeater {
        id: stages
        model: Logic.stageCount

        Item {
            id: column
            required property int index
            readonly property alias slider: stageSlider
            readonly property bool current: index === page.currentDPI
            readonly property int value: Logic.valueOfPosition(stageSlider.position, page.minDPI,
                                                               page.maxDPI, page.dpiBase)
            x: page.margin + index * page.columnWidth
            y: 40
            width: page.columnWidth
            height: page.height - y - 8
            visible: index < page.currentDpiCount

            Text {
                width: parent.width
                height: 16
                horizontalAlignment: Text.AlignHCenter
                text: column.index + 1
                color: column.current ? Theme.orange : Theme.textDim
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontSmall
            }

            SkinSlider {
                id: stageSlider
                objectName: "dpiSlider" + column.index
                x: (parent.width - width) / 2
                y: 20
                width: 12
                height: Logic.maxPos + knobSize
                orientation: Qt.Vertical
                minPos: Logic.minPos
                maxPos: Logic.maxPos
                fillColor: column.current ? Theme.orange : Theme.blue
                knobColor: column.current ? Theme.orange : Theme.gray3
                accessibleName: page.lang[0] + " " + (column.index + 1)
                value: column.value
                from: page.minDPI
                to: page.maxDPI
                stepSize: page.dpiBase
                Accessible.description: Logic.stageDescription(column.index, page.currentDPI)
                onReleased: page.isSave = true
            }

            Text {
                y: stageSlider.y + stageSlider.height + 4
                width: parent.width
                height: 16
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 7
                text: column.value
                color: column.current ? Theme.orange : Theme.text
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontSmall
            }
        }
    }
}
