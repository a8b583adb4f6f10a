import QtQuick
import "../common"

// A right-button menu: popup(x, y) opens it at a point of its parent;
// triggered(index) reports the chosen entry. `entries` lists the texts,
// `enabledEntries` (optional) which of them can be chosen.
PopupLayer {
    id: menu
    property var entries: []
    property var enabledEntries: []
    property string accessibleName: "Context menu"
    signal triggered(int index)

    width: 160
    height: entries.length * Theme.rowHeight + 2

    function popup(px, py) {
        x = px
        y = py
        open()
    }
    function entryEnabled(i) {
        return enabledEntries.length <= i || enabledEntries[i] !== false
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.gray0
        border.color: Theme.gray2
    }

    Column {
        x: 1
        y: 1
        Accessible.role: Accessible.PopupMenu
        Accessible.name: menu.accessibleName
        Repeater {
            model: menu.entries
            Rectangle {
                id: entry
                required property int index
                required property var modelData
                readonly property bool usable: menu.entryEnabled(index)
                width: menu.width - 2
                height: Theme.rowHeight
                color: usable && entryArea.containsMouse ? Theme.orange : "transparent"
                Accessible.role: Accessible.MenuItem
                Accessible.name: String(modelData)
                Accessible.onPressAction: choose()
                function choose() {
                    if (!usable)
                        return
                    menu.close()
                    menu.triggered(index)
                }
                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    verticalAlignment: Text.AlignVCenter
                    text: String(entry.modelData)
                    color: entry.usable ? Theme.text : Theme.gray2
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: entryArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: entry.choose()
                }
            }
        }
    }
}
