pragma Singleton
import QtQuick

// Colours, fonts, sizes and image locations of every screen, so pages never
// repeat literals.
QtObject {
    // The installed CJK font stands in where this family is missing.
    readonly property string fontFamily: "微软雅黑"
    readonly property int fontSmall: 10
    readonly property int fontNormal: 12
    readonly property int fontMiddle: 14
    readonly property int fontLarge: 16

    readonly property color text: "#ffffff"
    readonly property color textDim: gray2
    readonly property color gray0: "#1a1a1a"
    readonly property color gray1: "#3c3c3c"
    readonly property color gray2: "#969696"
    readonly property color gray3: "#d1d1d1"
    readonly property color blue: "#09347f"
    readonly property color orange: "#cf3e00"
    readonly property color black: "#000000"
    // "Save" while a page holds unsaved changes.
    readonly property color unsaved: "#ff3030"
    // The dark mask under every dialog: black with alpha 0x90.
    readonly property color mask: "#90000000"
    readonly property color panel: "#cc1a1a1a"
    readonly property color field: "#101010"
    readonly property color scrollHandle: "#bdbebf"
    readonly property color scrollHandlePressed: "#353637"

    readonly property int radius: 3
    readonly property int rowHeight: 24
    readonly property int spacing: 8

    // Images are compiled in; their address is prefix + skin + folder + file.
    readonly property int skin: 1
    // False while the window is hidden: every picture is then let go (an
    // empty address) and comes back when the window shows again.
    property bool picturesShown: true
    function image(prefix, folder, file) {
        if (!picturesShown)
            return ""
        return "qrc:/" + prefix + "/modules/img/skin" + skin + "/" + folder + "/" + file
    }
    function indexImage(file) { return image("index", "index", file) }
    function mouseImage(file) { return image("mouse", "mouse", file) }
    function gunImage(file) { return image("gun", "gun", file) }
}
