import QtQuick
import "../common"

// A closed box showing the chosen entry; pressing it opens the list below.
// activated(index) reports a user's choice; setting currentIndex does not.
Rectangle {
    id: box
    property var model: []
    property int currentIndex: -1
    property string accessibleName: ""
    property int listWidth: width
    property int maxVisible: 8
    property alias opened: popup.opened
    // Bumped when a ListModel's rows change, so texts shown follow renames.
    property int revision: 0
    readonly property string currentText: entryText(currentIndex, revision)
    signal activated(int index)

    width: 120
    height: 24
    radius: Theme.radius
    color: area.containsMouse || popup.opened ? Theme.orange : Theme.blue

    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName : currentText
    Accessible.description: currentText
    Accessible.onPressAction: toggle()

    function count() {
        return model === undefined || model === null ? 0
             : (model.count !== undefined ? model.count : model.length)
    }

    function entryText(i, revision) {
        if (i < 0 || i >= count())
            return ""
        var e = model.get !== undefined ? model.get(i) : model[i]
        if (e === undefined || e === null)
            return ""
        return typeof e === "object" ? String(e.text !== undefined ? e.text : e.name) : String(e)
    }

    Connections {
        target: box.model !== null && typeof box.model === "object" && box.model.count !== undefined
                ? box.model : null
        function onDataChanged() { box.revision++ }
    }

    function open() { popup.open() }
    function close() { popup.close() }
    function toggle() { if (popup.opened) popup.close(); else popup.open() }

    Text {
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.right: arrow.left
        anchors.verticalCenter: parent.verticalCenter
        text: box.currentText
        elide: Text.ElideRight
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    Image {
        id: arrow
        anchors.right: parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        source: Theme.indexImage("arrow_down.png")
        rotation: popup.opened ? 180 : 0
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: box.toggle()
    }

    PopupLayer {
        id: popup
        y: box.height
        width: box.listWidth
        height: Math.min(box.count(), box.maxVisible) * Theme.rowHeight + 2
        // The box toggles the list itself.
        keepOpenOn: box

        Rectangle {
            anchors.fill: parent
            color: Theme.gray0
            border.color: Theme.gray1
        }

        ListView {
            id: list
            x: 1
            y: 1
            width: parent.width - 2
            height: parent.height - 2
            clip: true
            model: box.model
            boundsBehavior: Flickable.StopAtBounds
            Accessible.role: Accessible.List
            Accessible.name: box.accessibleName
            delegate: Rectangle {
                id: row
                required property int index
                readonly property string rowText: box.entryText(index, box.revision)
                width: list.width
                height: Theme.rowHeight
                color: rowArea.containsMouse ? Theme.orange
                     : index === box.currentIndex ? Theme.blue : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: rowText
                Accessible.selected: index === box.currentIndex
                Accessible.onPressAction: choose()
                function choose() {
                    popup.close()
                    box.currentIndex = index
                    box.activated(index)
                }
                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    verticalAlignment: Text.AlignVCenter
                    text: row.rowText
                    elide: Text.ElideRight
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: row.choose()
                }
            }
        }
    }
}
