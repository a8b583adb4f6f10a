import QtQuick
import "../../common"

// The help menu of the top bar: the maker's address and the version.
Rectangle {
    id: menu
    property string url: ""
    signal chosen(int cmd)

    width: 200
    height: entries.count * 24 + 2
    visible: false
    color: Theme.gray0
    border.color: Theme.gray2

    Accessible.role: Accessible.PopupMenu
    Accessible.name: "Help"

    Column {
        x: 1; y: 1
        Repeater {
            id: entries
            model: [menu.url, "verison:1.0"]
            Rectangle {
                id: entry
                required property int index
                required property string modelData
                width: menu.width - 2
                height: 24
                color: entryArea.containsMouse ? Theme.orange : "transparent"
                Accessible.role: Accessible.MenuItem
                Accessible.name: modelData
                Accessible.onPressAction: menu.chosen(index)
                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: entry.modelData
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: entryArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.chosen(entry.index)
                }
            }
        }
    }
}
