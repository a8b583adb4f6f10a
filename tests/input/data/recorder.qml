import QtQuick

// Stands in for the main screen: records the input calls it receives.
Item {
    property string log: ""

    function detectKeyboard(isDown, usbCode) {
        log += "K " + typeof isDown + " " + isDown + " " + typeof usbCode + " " + usbCode + "\n"
    }
    function detectMouse(isDown, code, x, y) {
        log += "M " + typeof isDown + " " + isDown + " " + code + " " + x + " " + y + "\n"
    }
}
