import QtQuick 2.15

// Moving with the button held sends the distance from the press point to the
// window controller; the frameless window follows the pointer.
MouseArea {
    property point pressPoint
    signal pressedArea()

    onPressed: (mouse) => {
        pressPoint = Qt.point(mouse.x, mouse.y)
        pressedArea()
    }
    onPositionChanged: (mouse) => {
        ui_Ctl.onXChanged(mouse.x - pressPoint.x)
        ui_Ctl.onYChanged(mouse.y - pressPoint.y)
    }
}
