import QtQuick
import "../../basic"
import "../../mainscreen.js" as MainScreen

// Recoil presets and their three gun slots (to be completed).
DialogFrame {
    id: page
    property var lang: ["Gun editor"]
    property bool isSave: false

    width: 640
    height: 448
    title: lang[0]
    onCloseClicked: page.visible = false

    function init() {}
    function resetData() {}
    function gunControlFocus() { page.forceActiveFocus() }

    // Firing periods of the presets bound to gun slots 1, 2 and 3.
    function slotPeriods() {
        var slots = ui_View.getGlobalData("mouse/selectGun")
        var periods = []
        for (var i = 0; i < 3; ++i) {
            var row = slots && i < slots.length ? MainScreen.toInt(slots[i], i) : i
            var data = ui_View.getGunData(row)
            periods.push(data && data.length > 2 ? MainScreen.toInt(data[2], 10) : 10)
        }
        return periods
    }
}
