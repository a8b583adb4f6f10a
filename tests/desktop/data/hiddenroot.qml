import QtQuick 2.15

// Hidden at load, like the main screen before its first initialisation.
Rectangle {
    width: 120
    height: 80
    visible: false
    color: "#cf3e00"
}
