import QtQuick
import "../../basic"
import "../../common"
import "../../mainscreen.js" as MainScreen
import "../../common/values.js" as Values

// Report-rate box of the left panel. The device receives the report
// interval in milliseconds, not the index.
Rectangle {
    id: box
    property string title: "Report Rate"
    property alias currentIndex: list.currentIndex

    width: 232
    height: 42
    radius: 6
    color: Theme.panel
    border.color: Theme.gray1

    function closeList() { list.close() }

    // Selects the stored choice; sends it only when asked to.
    function init(isSendData) {
        list.currentIndex = Math.max(0, Math.min(3, Values.toInt(ui_View.getData("mouse/reportRate", false), 0)))
        if (isSendData)
            ui_View.mouseSetReportRate(MainScreen.reportInterval(list.currentIndex))
    }

    function choose(index) {
        list.currentIndex = index
        ui_View.setData("mouse/reportRate", index)
        ui_View.mouseSetReportRate(MainScreen.reportInterval(index))
    }

    Text {
        x: 12
        height: parent.height
        verticalAlignment: Text.AlignVCenter
        text: box.title
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormal
    }

    DropDown {
        id: list
        x: box.width - width - 9
        anchors.verticalCenter: parent.verticalCenter
        width: 120
        model: MainScreen.reportRateNames
        currentIndex: 0
        accessibleName: box.title
        onActivated: (index) => box.choose(index)
    }
}
