import QtQuick 2.15
import "../basic"

// Report-rate choice of the left panel. The device receives the report
// interval in milliseconds, not the index.
Column {
    id: panel
    property string title: "Report Rate"
    property int currentIndex: 0
    readonly property var names: ["125Hz", "250Hz", "500Hz", "1000Hz"]

    spacing: 8

    function interval(index) {
        return index === 0 ? 8 : index === 1 ? 4 : index === 2 ? 2 : 1
    }

    // Selects the stored choice; sends it only when asked to.
    function init(send) {
        currentIndex = parseInt(ui_View.getData("mouse/reportRate", false)) || 0
        if (send)
            ui_View.mouseSetReportRate(interval(currentIndex))
    }

    function choose(index) {
        currentIndex = index
        ui_View.setData("mouse/reportRate", index)
        ui_View.mouseSetReportRate(interval(index))
    }

    Text {
        text: panel.title
        color: "#ffffff"
        font.family: "微软雅黑"
        font.pixelSize: 12
    }

    Row {
        spacing: 8
        Repeater {
            model: panel.names
            SkinButton {
                text: modelData
                selected: index === panel.currentIndex
                onClicked: panel.choose(index)
            }
        }
    }
}
