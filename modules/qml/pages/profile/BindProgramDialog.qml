import QtQuick
import "../../basic"
import "../../common"
import "profile.js" as Logic

// Binds programs to one profile: while a bound program runs, its profile is
// the one in use. A program is picked from the running ones or typed as a
// name or a folder (games under Wine or Proton are found by their folder).
DialogFrame {
    id: dialog
    property var lang: Logic.builtInTexts
    // The profile being bound, and its row's name for the title.
    property int profile: -1
    property string profileName: ""
    property var programs: []
    property var bound: []
    readonly property var shownPrograms: Logic.filterPrograms(programs, field.text)

    width: 460
    height: 380
    title: lang[7] + (profileName !== "" ? " - " + profileName : "")
    onCloseClicked: visible = false

    function openFor(number, name) {
        profile = number
        profileName = name
        field.text = ""
        refresh()
        centre()
        visible = true
        forceActiveFocus()
    }

    function refresh() {
        programs = ui_View.runningPrograms()
        bound = ui_View.gameBindings(profile)
    }

    function bind() {
        if (!Logic.canBind(field.text, bound))
            return
        if (ui_View.addGameBinding(Logic.bindingText(field.text), profile))
            field.text = ""
        bound = ui_View.gameBindings(profile)
    }

    function unbind(program) {
        ui_View.removeGameBinding(program, profile)
        bound = ui_View.gameBindings(profile)
    }

    Text {
        id: runningTitle
        x: 16
        y: 8
        text: dialog.lang[8]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    Rectangle {
        id: runningBox
        x: 16
        y: runningTitle.y + 20
        width: 200
        height: 220
        color: Theme.field
        border.color: Theme.gray1

        ListView {
            id: runningList
            objectName: "runningPrograms"
            anchors.fill: parent
            anchors.margins: 1
            anchors.rightMargin: 11
            clip: true
            model: dialog.shownPrograms
            Accessible.role: Accessible.List
            Accessible.name: dialog.lang[8]
            delegate: Rectangle {
                id: program
                required property var modelData
                width: runningList.width
                height: Theme.rowHeight
                color: programArea.containsMouse ? Theme.orange : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: String(modelData)
                Accessible.onPressAction: field.text = String(modelData)
                Text {
                    x: 6
                    width: parent.width - 12
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: String(program.modelData)
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                MouseArea {
                    id: programArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: field.text = String(program.modelData)
                    onDoubleClicked: {
                        field.text = String(program.modelData)
                        dialog.bind()
                    }
                }
            }
        }
        ScrollBar {
            x: parent.width - width
            height: parent.height
            flickable: runningList
            accessibleName: dialog.lang[8]
        }
    }

    SkinButton {
        x: 16
        y: runningBox.y + runningBox.height + 8
        width: 80
        text: dialog.lang[13]
        onClicked: dialog.refresh()
    }

    Text {
        id: boundTitle
        x: 232
        y: 8
        text: dialog.lang[12]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    Rectangle {
        x: 232
        y: boundTitle.y + 20
        width: dialog.width - 248
        height: 220
        color: Theme.field
        border.color: Theme.gray1

        ListView {
            id: boundList
            objectName: "boundPrograms"
            anchors.fill: parent
            anchors.margins: 1
            clip: true
            model: dialog.bound
            Accessible.role: Accessible.List
            Accessible.name: dialog.lang[12]
            delegate: Item {
                id: binding
                required property var modelData
                required property int index
                width: boundList.width
                height: Theme.rowHeight + 2
                Text {
                    x: 6
                    width: parent.width - removeButton.width - 16
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideLeft
                    text: String(binding.modelData)
                    color: Theme.text
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSmall
                }
                SkinButton {
                    id: removeButton
                    objectName: "removeBinding" + binding.index
                    anchors.right: parent.right
                    anchors.rightMargin: 4
                    anchors.verticalCenter: parent.verticalCenter
                    width: 56
                    height: Theme.rowHeight - 4
                    text: dialog.lang[11]
                    accessibleName: dialog.lang[11] + " " + String(binding.modelData)
                    onClicked: dialog.unbind(String(binding.modelData))
                }
            }
        }
    }

    Text {
        x: 16
        anchors.bottom: field.top
        anchors.bottomMargin: 4
        text: dialog.lang[9]
        color: Theme.text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSmall
    }

    InputField {
        id: field
        objectName: "bindProgramField"
        x: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16
        width: dialog.width - 32 - bindButton.width - 8
        maximumLength: 1024
        horizontalAlignment: TextInput.AlignLeft
        accessibleName: dialog.lang[9]
        onAccepted: dialog.bind()
    }

    SkinButton {
        id: bindButton
        objectName: "bindProgramButton"
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.verticalCenter: field.verticalCenter
        width: 80
        text: dialog.lang[10]
        enabled: Logic.canBind(field.text, dialog.bound)
        onClicked: dialog.bind()
    }
}
