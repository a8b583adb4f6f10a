import QtQuick
import QtTest
import "../../modules/qml/basic"

// The shared controls as a user meets them: pointer input, bounds, values.
Item {
    id: root
    width: 600
    height: 400

    DialogFrame {
        id: frame
        width: 200
        height: 100
        title: "Frame"
        visible: true
    }

    SkinSlider {
        id: vslider
        x: 20; y: 20
        orientation: Qt.Vertical
        minPos: 3
        maxPos: 161
        width: 12
        height: 173
    }

    SkinSlider {
        id: steps
        x: 60; y: 300
        minPos: 0
        maxPos: 100
        stepCount: 5
        width: 112
        height: 12
    }

    DropDown {
        id: drop
        x: 300; y: 20
        model: ["125Hz", "250Hz", "500Hz"]
        currentIndex: 0
    }

    InputField {
        id: field
        x: 300; y: 200
        integerOnly: true
        minValue: 0
        maxValue: 255
        maximumLength: 3
    }

    DropDown {
        id: named
        x: 300; y: 100
        model: ListModel {
            ListElement { name: "Standard" }
            ListElement { name: "profile_0" }
        }
        currentIndex: 1
    }

    // Declared after the drop-downs and above them: their lists still float
    // over it.
    Rectangle {
        id: cover
        x: 290; y: 50
        width: 200; height: 40
        z: 5
        color: "gray"
        MouseArea { id: coverArea; anchors.fill: parent }
    }

    Item {
        id: menuHolder
        x: 40; y: 200
        width: 200; height: 150
        // Under the menu's border: a press there reaches it.
        MouseArea {
            id: behind
            x: 0; y: 40
            width: 200; height: 24
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            property int presses: 0
            onPressed: presses++
        }
        ContextMenu {
            id: menu
            entries: ["Delete", "Export", "Rename"]
            enabledEntries: [false, true]
        }
    }

    Flickable {
        id: flick
        x: 500; y: 100
        width: 80; height: 200
        contentHeight: 1000
        interactive: false
        clip: true
    }
    ScrollBar {
        id: bar
        x: flick.x + flick.width - width
        y: flick.y
        height: flick.height
        flickable: flick
    }

    SignalSpy { id: activatedSpy; target: drop; signalName: "activated" }
    SignalSpy { id: menuSpy; target: menu; signalName: "triggered" }
    SignalSpy { id: releasedSpy; target: vslider; signalName: "released" }

    TestCase {
        name: "Controls"
        when: windowShown

        function test_dialogStaysInsideItsBounds_data() {
            return [
                { tag: "far right", dx: 1000, dy: 0, x: 400, y: 150 },
                { tag: "far left", dx: -1000, dy: 0, x: 0, y: 150 },
                { tag: "far down", dx: 0, dy: 1000, x: 200, y: 300 },
                { tag: "far up", dx: 0, dy: -1000, x: 200, y: 0 },
                { tag: "inside", dx: 10, dy: -20, x: 210, y: 130 }
            ]
        }
        function test_dialogStaysInsideItsBounds(row) {
            frame.centre()
            compare(frame.x, 200)
            compare(frame.y, 150)
            frame.moveBy(row.dx, row.dy)
            compare(frame.x, row.x)
            compare(frame.y, row.y)
        }

        function test_dialogDragsByAFreeArea() {
            frame.centre()
            // Press below the title, on no control; the pointer moves 50
            // right and 20 down in window coordinates.
            mousePress(root, 300, 220)
            mouseMove(root, 320, 230)
            mouseMove(root, 350, 240)
            mouseRelease(root, 350, 240)
            compare(frame.x, 250)
            compare(frame.y, 170)
        }

        function test_verticalSliderCountsFromTheBottom() {
            releasedSpy.clear()
            // Knob size 12: position p sits at pixel height - 6 - p.
            mouseClick(vslider, 6, vslider.height - 6 - 3)
            compare(vslider.position, 3)
            mouseClick(vslider, 6, 0)
            compare(vslider.position, 161)
            mouseClick(vslider, 6, vslider.height - 6 - 80)
            compare(vslider.position, 80)
            compare(releasedSpy.count, 3)
        }

        function test_stepSliderSnaps() {
            steps.setStep(0)
            mouseClick(steps, 6 + 30, 6)
            compare(steps.step, 1)
            compare(steps.position, 25)
            mouseClick(steps, 6 + 90, 6)
            compare(steps.step, 4)
            steps.setStep(2)
            compare(steps.position, 50)
            steps.setStep(9)
            compare(steps.step, 4)
        }

        function test_sliderKeysNudge() {
            steps.setStep(1)
            steps.forceActiveFocus()
            keyClick(Qt.Key_Right)
            compare(steps.step, 2)
            keyClick(Qt.Key_Left)
            keyClick(Qt.Key_Left)
            compare(steps.step, 0)
            keyClick(Qt.Key_Left)
            compare(steps.step, 0)
        }

        function test_dropDownReportsOnlyUserChoices() {
            activatedSpy.clear()
            drop.currentIndex = 1
            compare(activatedSpy.count, 0)
            compare(drop.currentText, "250Hz")
            mouseClick(drop)
            verify(drop.opened)
            // The list opens below the box; its third row is "500Hz".
            mouseClick(drop, 20, drop.height + 1 + 24 * 2 + 12)
            compare(activatedSpy.count, 1)
            compare(activatedSpy.signalArguments[0][0], 2)
            compare(drop.currentIndex, 2)
            verify(!drop.opened)
        }

        function cleanup() {
            drop.close()
            named.close()
            menu.close()
            drop.visible = true
        }

        // The list lies over everything, a later and higher item included:
        // a row under the cover is still chosen.
        function test_dropDownListFloatsAboveLaterItems() {
            activatedSpy.clear()
            drop.currentIndex = 0
            mouseClick(drop)
            verify(drop.opened)
            mouseClick(drop, 20, drop.height + 1 + 24 * 1 + 12)
            compare(activatedSpy.count, 1)
            compare(activatedSpy.signalArguments[0][0], 1)
            verify(!coverArea.pressed)
            verify(!drop.opened)
        }

        function test_dropDownClosing_data() {
            return [
                { tag: "press on its box", how: "box", opened: false, other: false },
                { tag: "Escape", how: "escape", opened: false, other: false },
                { tag: "press elsewhere", how: "outside", opened: false, other: false },
                { tag: "press on another box opens that one", how: "other", opened: false, other: true },
                { tag: "press on the list's border", how: "border", opened: true, other: false },
                { tag: "its box hidden", how: "hide", opened: false, other: false }
            ]
        }
        function test_dropDownClosing(row) {
            activatedSpy.clear()
            mouseClick(drop)
            verify(drop.opened)
            if (row.how === "box")
                mouseClick(drop)
            else if (row.how === "escape")
                keyClick(Qt.Key_Escape)
            else if (row.how === "outside")
                mouseClick(root, 580, 390)
            else if (row.how === "other")
                mouseClick(named, 60, 22)   // below the open list
            else if (row.how === "border")
                mouseClick(drop, 0, drop.height + 1)
            else if (row.how === "hide")
                drop.visible = false
            compare(drop.opened, row.opened)
            compare(named.opened, row.other)
            compare(activatedSpy.count, 0)
        }

        function test_contextMenuEntries_data() {
            return [
                { tag: "disabled entry", entry: 0, triggered: [], opened: true },
                { tag: "enabled entry", entry: 1, triggered: [1], opened: false },
                { tag: "entry beyond the enabled list", entry: 2, triggered: [2], opened: false },
                { tag: "press outside", entry: -1, triggered: [], opened: false }
            ]
        }
        function test_contextMenuEntries(row) {
            menuSpy.clear()
            menu.popup(30, 20)
            verify(menu.opened)
            // Opened at that point of its parent, whatever lies above.
            var at = menuHolder.mapToItem(root, 30, 20)
            var p = menu.panel.mapToItem(root, 0, 0)
            compare(p.x, at.x)
            compare(p.y, at.y)
            if (row.entry >= 0)
                mouseClick(root, at.x + 20, at.y + 1 + 24 * row.entry + 12)
            else
                mouseClick(root, 5, 395)
            var got = []
            for (var i = 0; i < menuSpy.count; ++i)
                got.push(menuSpy.signalArguments[i][0])
            compare(got, row.triggered)
            compare(menu.opened, row.opened)
        }

        function test_contextMenuBorderLetsPressesThrough() {
            menu.popup(30, 20)
            behind.presses = 0
            var at = menuHolder.mapToItem(root, 30, 20)
            // The menu's left border column, over the area behind it.
            mouseClick(root, at.x, at.y + 30, Qt.RightButton)
            compare(behind.presses, 1)
            verify(menu.opened)
            // An entry takes its press: nothing behind sees it (the first
            // entry is disabled, the menu stays).
            mousePress(root, at.x + 20, at.y + 22, Qt.LeftButton)
            mouseRelease(root, at.x + 20, at.y + 22, Qt.LeftButton)
            compare(behind.presses, 1)
            verify(menu.opened)
        }

        function test_scrollBar_data() {
            // The view shows 200 of 1000: the handle is a fifth of the
            // 196-pixel track (2 px padding at each end).
            return [
                { tag: "drag the handle down", press: 20, to: 20 + 98, contentY: 500 },
                { tag: "drag beyond the end", press: 20, to: 400, contentY: 800 },
                { tag: "press the track below", press: 150, to: 150, contentY: 555 },
                { tag: "press the track, then drag", press: 150, to: 100, contentY: 300 },
                { tag: "drag above the start", press: 20, to: -50, contentY: 0 }
            ]
        }
        function test_scrollBar(row) {
            flick.contentY = 0
            compare(bar.size, 0.2)
            mousePress(bar, 5, row.press)
            mouseMove(bar, 5, row.to)
            mouseRelease(bar, 5, row.to)
            compare(flick.contentY, row.contentY)
            // The handle follows whatever scrolls the view.
            flick.contentY = 400
            compare(bar.position, 0.4)
        }

        function test_dropDownFollowsRenamedRows() {
            compare(named.currentText, "profile_0")
            named.model.setProperty(1, "name", "Game")
            compare(named.currentText, "Game")
            compare(named.entryText(1), "Game")
            named.model.append({ name: "Work" })
            named.currentIndex = 2
            compare(named.currentText, "Work")
        }

        function test_integerFieldRefusesZeroWhenTheRangeStartsAtOne() {
            field.minValue = 1
            field.text = ""
            field.startEditing()
            keyClick(Qt.Key_0)
            compare(field.text, "")
            keyClick(Qt.Key_7)
            keyClick(Qt.Key_0)
            compare(field.text, "70")
            field.minValue = 0
        }

        // A number typed beyond the range becomes its maximum, never a prefix
        // of what was typed; anything not a digit is refused.
        function test_integerFieldClampsToItsRange_data() {
            return [
                { tag: "one above", max: 255, length: 3, keys: [Qt.Key_2, Qt.Key_5, Qt.Key_6], text: "255" },
                { tag: "times 1000", max: 255, length: 3, keys: [Qt.Key_1, Qt.Key_0, Qt.Key_0, Qt.Key_0], text: "255" },
                { tag: "typing on at the maximum", max: 255, length: 3, keys: [Qt.Key_2, Qt.Key_5, Qt.Key_5, Qt.Key_1], text: "255" },
                { tag: "Y axis 65", max: 64, length: 2, keys: [Qt.Key_6, Qt.Key_5], text: "64" },
                { tag: "letters refused", max: 255, length: 3, keys: [Qt.Key_2, Qt.Key_A, Qt.Key_5], text: "25" }
            ]
        }
        function test_integerFieldClampsToItsRange(row) {
            field.maxValue = row.max
            field.maximumLength = row.length
            field.text = ""
            field.startEditing()
            for (var i = 0; i < row.keys.length; ++i)
                keyClick(row.keys[i])
            compare(field.text, row.text)
            field.endEditing()
            field.maxValue = 255
            field.maximumLength = 3
        }
    }
}
