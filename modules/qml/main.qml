import QtQuick 2.15
import "basic"
import "common"
import "pages"

// Root of the screen. Native code reaches it only through the functions
// initUI, run, setProtectUI, setCurrentDPI, detectKeyboard and detectMouse.
Item {
    id: mainIten
    width: 1024
    height: 640
    visible: false

    property bool isColorful: false
    property string icType: "553"
    property bool is55328: false
    property bool isGun: true
    property string language: "ChineseSimplified"
    property string url: "https://www.torvale.example"
    property bool isPownOn: false
    property var mainLang: ["Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config",
                            "Reset", "Reset factory setting", "Cancel", "OK", "System setting",
                            "Save", "", "", "", ""]
    property int keyCount: 8
    property int profileNo: 0
    // The DPI page counts stages from 0, the device from 1.
    property int currentDpiStage: 0
    property bool started: false

    readonly property string fontFamily: "微软雅黑"
    readonly property color gray0: "#1a1a1a"
    readonly property color gray1: "#3c3c3c"
    readonly property color gray2: "#969696"
    readonly property color blue: "#09347f"
    readonly property color orange: "#cf3e00"

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int code, int x, int y)

    function initUI() {
        setProtectUI(1000)
        mainIten.visible = true
        if (!isPownOn) {
            isColorful = toBool(ui_View.getGlobalData("mouse/isColorful"))
            icType = String(ui_View.getGlobalData("mouse/icType") || "553")
            is55328 = toBool(ui_View.getGlobalData("mouse/is55328"))
            isGun = toBool(ui_View.getGlobalData("mouse/isGun"))
            keyCount = parseInt(ui_View.getGlobalData("mouse/keyCount")) || 8
            language = String(ui_View.getGlobalData("common/language") || language)
            url = String(ui_View.getGlobalData("common/url") || url)
            if (icType === "560") {
                var current = parseInt(ui_View.mouseReadCurrentProfile())
                if (current !== 1)
                    hid.hid560_02H_SetCurrentProfile(1)
            }
            var texts = ui_View.getLangStrings("main", language)
            if (texts.length > 0)
                mainLang = texts
            ui_View.getLangStrings("other", language)
            reportRate.init(false)
            profileNo = parseInt(ui_View.getGlobalData("mouse/profileNo")) || 0
            ui_View.setCurrentProfile(profileNo)
            isPownOn = true
        }
        currentDpiStage = Math.max(0, parseInt(ui_View.mouseGetCurrentDPI()) - 1 || 0)
    }

    function run() {
    }

    function setProtectUI(interval) {
        busyText.visible = true
        ui_View.setEnabled(false)
        protectTimer.interval = Math.max(0, interval)
        protectTimer.restart()
    }

    function setCurrentDPI(dpiValue) {
        if (dpiValue !== 0)
            currentDpiStage = dpiValue - 1
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, code, x, y) {
        msg_MS(isDown, code, x, y)
    }

    function controlUIEnable(isEnable) {
        busyText.visible = !isEnable
        ui_View.setEnabled(isEnable)
    }

    function toBool(value) {
        return value === true || value === "true" || value === 1 || value === "1"
    }

    Timer {
        id: protectTimer
        repeat: false
        onTriggered: {
            ui_View.setEnabled(true)
            busyText.visible = false
            mainIten.started = true
        }
    }

    // Background and drag area: the window follows the pointer.
    Rectangle {
        anchors.fill: parent
        radius: 8
        color: gray0
        border.color: gray1
        visible: mainIten.started

        WindowDragArea {
            anchors.fill: parent
        }

        Text {
            x: 52; y: 24
            text: "TORVALE QUILL"
            color: "#ffffff"
            font.family: fontFamily
            font.pixelSize: 16
        }

        Row {
            x: 920; y: 16
            spacing: 8
            SkinButton { width: 32; text: "–"; onClicked: ui_Ctl.onMinimize() }
            SkinButton { width: 32; text: "×"; onClicked: ui_Ctl.onClose() }
        }

        ReportRate {
            id: reportRate
            objectName: "reportRate"
            x: 24; y: 88
            title: mainLang[3]
        }

        Text {
            x: 768; y: 88
            text: "DPI " + (currentDpiStage + 1)
            color: "#ffffff"
            font.family: fontFamily
            font.pixelSize: 14
        }
    }

    // Start-up picture, shown until the first lock ends.
    Text {
        anchors.centerIn: parent
        visible: !mainIten.started
        text: "TORVALE"
        color: "#ffffff"
        font.family: fontFamily
        font.pixelSize: 48
    }

    BusyText {
        id: busyText
        anchors.centerIn: parent
        z: 100
    }
}
