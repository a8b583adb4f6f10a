import QtQuick 2.15

// Stands in for the main screen: notes every call native code makes.
Item {
    width: 1024
    height: 640
    property var calls: []
    function record(entry) { var c = calls; c.push(entry); calls = c }
    function initUI() { record("initUI") }
    function run() { record("run") }
    function setProtectUI(interval) { record("setProtectUI " + interval) }
    function setCurrentDPI(dpiValue) { record("setCurrentDPI " + dpiValue) }
    function detectKeyboard(isDown, usbCode) { }
    function detectMouse(isDown, code, x, y) { }
}
