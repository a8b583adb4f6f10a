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

    SignalSpy { id: activatedSpy; target: drop; signalName: "activated" }
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

        function test_integerFieldRefusesWhatIsOutOfRange() {
            field.text = ""
            field.startEditing()
            keyClick(Qt.Key_2)
            keyClick(Qt.Key_5)
            keyClick(Qt.Key_6)
            compare(field.text, "25")
            keyClick(Qt.Key_A)
            compare(field.text, "25")
            keyClick(Qt.Key_5)
            compare(field.text, "255")
            keyClick(Qt.Key_1)
            compare(field.text, "255")
        }
    }
}
