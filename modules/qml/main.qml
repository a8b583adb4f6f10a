import QtQuick
import "basic"
import "common"
import "pages/main"
import "pages/mouse"
import "pages/keymatrix"
import "pages/keyassign"
import "pages/dpi"
import "pages/light"
import "pages/system"
import "pages/macro"
import "pages/profile"
import "pages/gun"
import "mainscreen.js" as MainScreen
import "common/values.js" as Values
import "common/keycodes.js" as KeyCodes

// Root of the screen. Native code reaches it only through initUI, run,
// setProtectUI, setCurrentDPI, detectKeyboard and detectMouse; it reaches
// native code through ui_View and ui_Ctl.
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
    property string url: "https://www.torvale.example/quill"
    property bool isPownOn: false
    readonly property var builtInMainLang: ["Editor", "Macro Editor", "Gun Editor", "Report Rate",
        "Config", "Reset", "Reset factory setting", "Cancel", "OK", "System setting", "Save",
        "", "", "", ""]
    property var mainLang: builtInMainLang
    property int keyCount: 8
    property int profileNo: 0
    // False until the start-up picture has given way to the screen.
    property bool started: false
    // The DPI page counts stages from 0, the device from 1.
    readonly property int currentDpiStage: dpiPage.currentDPI
    readonly property bool anyUnsaved: keyMatrix.isSave || dpiPage.isSave || lightPage.isSave
    readonly property var dialogs: [macroEditor, gunEditor, systemSetting, keyAssigment, bindProgram, profilePage,
                                    resetBox]
    readonly property bool dialogOpen: macroEditor.visible || gunEditor.visible || systemSetting.visible
                                       || keyAssigment.visible || profilePage.visible || resetBox.visible

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int code, int x, int y)

    // --- functions native code calls --------------------------------------

    function initUI() {
        setProtectUI(1000)
        mainIten.visible = true
        if (!isPownOn)
            loadScreens(true)
        dpiPage.currentDPI = MainScreen.readStage(ui_View.mouseGetCurrentDPI())
    }

    // The screen built again after the program let it go while it waited in
    // the tray: the pages as the first initialisation leaves them, shown at
    // once, without the start-up picture, the busy lock or device commands.
    function rebuildUI() {
        started = true
        mainIten.visible = true
        loadScreens(false)
        var stage = MainScreen.pageStage(ui_View.mouseGetCurrentDPI())
        dpiPage.currentDPI = Math.max(0, stage)
    }

    // The first initialisation of every page; withDevice also has a 560
    // mouse work from its profile 1.
    function loadScreens(withDevice) {
        connectView()
        isColorful = Values.toBool(ui_View.getGlobalData("mouse/isColorful"))
        icType = Values.toText(ui_View.getGlobalData("mouse/icType"), "")
        is55328 = Values.toBool(ui_View.getGlobalData("mouse/is55328"))
        isGun = Values.toBool(ui_View.getGlobalData("mouse/isGun"))
        keyCount = Values.toInt(ui_View.getGlobalData("mouse/keyCount"), 8)
        language = Values.toText(ui_View.getGlobalData("common/language"), "")
        url = Values.toText(ui_View.getGlobalData("common/url"), "")
        if (withDevice && icType === "560") {
            // The device always works from its profile 1.
            if (Values.toInt(ui_View.mouseReadCurrentProfile(), 1) !== 1)
                ui_View.mouseSwitchKeyMatrix(1)
        }
        loadLanguage()
        profileNo = Values.toInt(ui_View.getGlobalData("mouse/profileNo"), 0)
        profilePage.profileNo = profileNo
        profilePage.init()
        profileList.currentIndex = profilePage.indexOfNumber(profileNo)
        profileList.close()
        // Every page reads the active profile: select it first.
        ui_View.setCurrentProfile(profileNo)
        reportRate.init(false)
        macroEditor.init()
        gunEditor.init()
        keyAssigment.init()
        keyMatrix.init(false, false)
        dpiPage.init(false, false)
        lightPage.init(false, false)
        systemSetting.init(false, false)
        isPownOn = true
    }

    function run() {
    }

    function setProtectUI(interval) {
        busyText.visible = true
        ui_View.setEnabled(false)
        protectTimer.interval = Math.max(0, Values.toInt(interval, 0))
        protectTimer.restart()
    }

    function setCurrentDPI(dpiValue) {
        var stage = MainScreen.pageStage(dpiValue)
        if (stage >= 0)
            dpiPage.currentDPI = stage
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, code, x, y) {
        msg_MS(isDown, code, x, y)
    }

    // --- functions of the screen ------------------------------------------

    // Device writes go out on their own thread; while they do, the busy text
    // shows, and what the user does meanwhile is queued behind them. A write
    // the mouse did not take keeps Save red until the profile is resent.
    function connectView() {
        ui_View.deviceBusyChanged.connect(function (busy) {
            busyText.visible = busy || protectTimer.running
        })
        ui_View.writeFailed.connect(function () {
            keyMatrix.isSave = true
            dpiPage.isSave = true
            lightPage.isSave = true
        })
        ui_View.profileResent.connect(function () {
            keyMatrix.isSave = false
            dpiPage.isSave = false
            lightPage.isSave = false
        })
    }

    function controlUIEnable(isEnable) {
        busyText.visible = !isEnable || !!ui_View.deviceBusy
        ui_View.setEnabled(isEnable)
    }

    function mainFocus() {
        reportRate.closeList()
        dpiPage.closeList()
        profileList.close()
        lightPage.closeList()
        helpMenu.visible = false
    }

    function askMenuCmd(cmd) {
        helpMenu.visible = false
        if (cmd === 0)
            Qt.openUrlExternally(url)
    }

    // Each section goes to the page of that name; a text the language file
    // lacks keeps its built-in wording.
    function loadLanguage() {
        function texts(section, builtIn) {
            return MainScreen.mergeTexts(builtIn, ui_View.getLangStrings(section, language))
        }
        mainLang = texts("main", builtInMainLang)
        keyMatrix.lang = texts("keyMatrix", keyMatrix.lang)
        keyAssigment.keyAssigmentLang = texts("keyAssigment", keyAssigment.keyAssigmentLang)
        dpiPage.lang = texts("dpiSetting", dpiPage.lang)
        lightPage.lang = texts("lightControl", lightPage.lang)
        macroEditor.lang = texts("macroEditor", macroEditor.lang)
        systemSetting.lang = texts("systemSetting", systemSetting.lang)
        gunEditor.lang = texts("gunControl", gunEditor.lang)
        profilePage.lang = texts("profile", profilePage.lang)
        _KeyCodeString.keyCodeStr = texts("keyCode", KeyCodes.names())
        ui_View.getLangStrings("other", language)
    }

    function openDialog(dialog) {
        mainFocus()
        dialog.visible = true
        dialog.forceActiveFocus()
    }

    function openDialogFocus() {
        for (var i = 0; i < dialogs.length; ++i) {
            if (dialogs[i].visible) {
                dialogs[i].forceActiveFocus()
                return
            }
        }
    }

    // Opens the key assignment page for a button. From the list, the only
    // button that still carries the left-button function opens nothing.
    function openKey(index, fromList) {
        if (fromList && keyMatrix.modKeys.checkOneLeftKey(index))
            return
        mainFocus()
        keyMatrix.selectedKey = index
        keyAssigment.show(index)
    }

    function save() {
        mainFocus()
        if (!anyUnsaved)
            return
        controlUIEnable(false)
        var pages = [keyMatrix, dpiPage, lightPage]
        var pending = pages.map(function (p) { return p.isSave })
        if (keyMatrix.isSave) {
            keyMatrix.isSave = false
            keyMatrix.modKeys.saveData()
        }
        if (dpiPage.isSave) {
            dpiPage.isSave = false
            dpiPage.saveData(true)
        }
        if (lightPage.isSave) {
            lightPage.isSave = false
            lightPage.saveData(true, 0)
        }
        // What did not reach the disk stays marked unsaved (the view has
        // told the user which file and why).
        if (ui_View.flushSettings() === false)
            pages.forEach(function (p, i) { p.isSave = p.isSave || pending[i] })
        controlUIEnable(true)
    }

    // The active profile goes to the mouse whole (one native operation: its
    // macros, key layers, rate, DPI and lighting), then the pages show it;
    // the system page applies its desktop settings itself.
    function sendProfile() {
        ui_View.sendActiveProfile()
        keyMatrix.init(false, false)
        reportRate.init(false)
        dpiPage.init(false, false)
        lightPage.init(false, false)
        systemSetting.init(true, false)
    }

    function factoryReset() {
        controlUIEnable(false)
        resetBox.visible = false
        keyMatrix.isSave = false
        dpiPage.isSave = false
        lightPage.isSave = false
        ui_View.resetProfile(profileNo)
        sendProfile()
        ui_View.mouseSetCurrentDPI(2)
        dpiPage.currentDPI = 1
        gunEditor.resetData()
        controlUIEnable(true)
    }

    function changeProfile(number) {
        if (number === profileNo || number < 0)
            return
        applyProfile(number)
    }

    // Makes `number` the profile in use and sends it whole; also called from
    // native code (the command line), so the drop-down is set here too.
    function applyProfile(number) {
        controlUIEnable(false)
        profileNo = number
        profilePage.profileNo = number
        profilePage.syncProfileList()
        ui_View.setGlobalData("mouse/profileNo", number)
        ui_View.setCurrentProfile(number)
        sendProfile()
        controlUIEnable(true)
    }

    // The stored profile list changed outside the screens.
    function reloadProfiles() {
        profilePage.init()
    }

    function macroNameOfSlot(slot) {
        var name = ui_View.getData("mouseMacroKey/" + slot, false)
        return name === undefined || name === null ? "" : String(name)
    }

    function slotsHoldingMacro(name) {
        return MainScreen.slotsHoldingMacro(keyMatrix.rows(keyMatrix.modKeys), name, macroNameOfSlot)
    }

    // A deleted macro leaves its buttons with their factory assignment, on
    // the screen, in the profiles and on the mouse alike.
    function onMacroDeleted(name) {
        var slots = slotsHoldingMacro(name)
        for (var i = 0; i < slots.length; ++i) {
            var slot = slots[i]
            keyMatrix.setEntry(slot, keyMatrix.factoryEntryAt(slot), keyMatrix.modKeys_tmp.get(slot).keyText)
        }
        if (slots.length > 0)
            keyMatrix.modKeys.saveData()
        ui_View.deleteMacroUpdateProfile(name)
    }

    // The editor raises this only after the library took the new name: it
    // renamed the file and the profiles' references, so the keys that held
    // the old name hold the new one; their texts follow. A name the library
    // refused changes nothing anywhere.
    function onMacroRenamed(oldName, newName) {
        keyAssigment.macroRenamed(oldName, newName)
        var slots = slotsHoldingMacro(newName)
        for (var i = 0; i < slots.length; ++i)
            keyMatrix.modKeys.setProperty(slots[i], "keyText", newName)
    }

    function onMacroChanged(name) {
        var slots = slotsHoldingMacro(name)
        for (var i = 0; i < slots.length; ++i)
            macroEditor.sendMacro(slots[i], name)
    }

    onMsg_KB: (isDown, usbCode) => {
        if (macroEditor.isInsertting)
            macroEditor.detectInput(isDown, usbCode)
        else if (macroEditor.isInputting && macroEditor.getCurrentMacroName() !== "")
            macroEditor.detectKeyboard(isDown, usbCode)
        if (keyAssigment.isFireInput)
            keyAssigment.detectKeyboard(isDown, usbCode, 0)
        else if (keyAssigment.isComboInput)
            keyAssigment.detectKeyboard(isDown, usbCode, 1)
    }

    onMsg_MS: (isDown, code, x, y) => {
        // Mouse buttons belong in a recorded macro as well.
        if (macroEditor.isInputting && macroEditor.getCurrentMacroName() !== "")
            macroEditor.detectKeyboard(isDown, code)
    }

    KeyCodeString { id: _KeyCodeString }

    // Hidden in the tray the screen holds no pictures; they come back, the
    // same, when the window shows again.
    Binding {
        target: Theme
        property: "picturesShown"
        value: mainIten.Window.visibility !== Window.Hidden
    }

    Timer {
        id: protectTimer
        repeat: false
        onTriggered: {
            ui_View.setEnabled(true)
            busyText.visible = !!ui_View.deviceBusy
            mainIten.started = true
        }
    }

    // --- the screen ---------------------------------------------------------

    Item {
        id: screen
        anchors.fill: parent
        visible: mainIten.started

        // Background: a press closes drop-downs, a drag moves the window.
        Image {
            anchors.fill: parent
            source: Theme.indexImage("background.png")
        }
        WindowDragArea {
            anchors.fill: parent
            onPressedArea: mainIten.mainFocus()
        }
        Image {
            width: parent.width
            source: Theme.indexImage("titlebar.png")
        }
        Image {
            x: 52; y: 24
            source: Theme.indexImage("logo.png")
        }

        MousePicture {
            id: mousePicture

            objectName: "mousePicture"
            x: 272 + (480 - width) / 2
            y: 64 + (536 - height) / 2
            keyCount: mainIten.keyCount
            listHoveredKey: keyMatrix.hoveredKey
            selectedKey: keyMatrix.selectedKey
            onClickBtn: (index) => mainIten.openKey(index, false)
        }

        Column {
            id: leftPanel
            x: 24; y: 88
            spacing: 8

            KeyMatrix {
                id: keyMatrix

                objectName: "keyMatrix"
                keyCount: mainIten.keyCount
                keyAssigment: keyAssigment
                gunEditor: gunEditor
                macroEditor: macroEditor
                onEnterBtn: (index) => keyMatrix.hoveredKey = index
                onLeaveBtn: (index) => {
                    if (keyMatrix.hoveredKey === index)
                        keyMatrix.hoveredKey = -1
                }
                onClickBtn: (index) => mainIten.openKey(index, true)
            }
            EditorBox {
                texts: mainIten.mainLang
                isGun: mainIten.isGun
                onMacroEditorClicked: mainIten.openDialog(macroEditor)
                onGunEditorClicked: mainIten.openDialog(gunEditor)
            }
            ReportRate {
                id: reportRate
                objectName: "reportRate"
                z: 2
                title: mainIten.mainLang[3]
            }
            SkinButton {
                width: 232
                text: mainIten.mainLang[9]
                onClicked: {
                    mainIten.openDialog(systemSetting)
                }
            }
        }

        Column {
            id: rightPanel
            x: 768; y: 56
            spacing: 8
            DpiPanel {
                id: dpiPage
                objectName: "dpiPage"
                z: 2
            }
            LightPanel {
                id: lightPage
                objectName: "lightPage"
                isColorful: mainIten.isColorful
                is55328: mainIten.is55328
                started: mainIten.isPownOn
            }
        }

        Row {
            id: bottomBar
            anchors.right: parent.right
            anchors.rightMargin: 24
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            spacing: 16
            SkinButton {
                text: mainIten.mainLang[4]
                onClicked: mainIten.openDialog(profilePage)
            }
            SkinButton {
                text: mainIten.mainLang[5]
                onClicked: mainIten.openDialog(resetBox)
            }
            SkinButton {
                objectName: "saveButton"
                text: mainIten.mainLang[10]
                baseColor: mainIten.anyUnsaved ? Theme.unsaved : Theme.blue
                // What the red colour says, for screen readers too.
                Accessible.description: mainIten.anyUnsaved ? "unsaved" : ""
                onClicked: mainIten.save()
            }
        }

        DropDown {
            id: profileList

            objectName: "profileList"
            x: 920 - 8 - width
            y: 16
            width: 144
            model: profilePage.model
            accessibleName: "Profile"
            onActivated: (index) => mainIten.changeProfile(profilePage.numberAt(index))
        }

        Row {
            id: topBar
            x: 920; y: 16
            spacing: 8
            SkinButton {
                width: 24
                baseColor: "transparent"
                iconSource: Theme.indexImage("icon_help.png")
                accessibleName: "Help"
                onClicked: {
                    var show = !helpMenu.visible
                    mainIten.mainFocus()
                    helpMenu.visible = show
                }
            }
            SkinButton {
                width: 24
                baseColor: "transparent"
                iconSource: Theme.indexImage("icon_min.png")
                accessibleName: "Minimize"
                onClicked: ui_Ctl.onMinimize()
            }
            SkinButton {
                width: 24
                baseColor: "transparent"
                iconSource: Theme.indexImage("icon_close.png")
                accessibleName: "Close"
                onClicked: ui_Ctl.onClose()
            }
        }

        HelpMenu {
            id: helpMenu

            objectName: "helpMenu"
            x: mainIten.width - 24 - width
            y: 44
            url: mainIten.url
            onChosen: (cmd) => mainIten.askMenuCmd(cmd)
        }

        // Under every dialog: a press gives the focus back to the dialog, a
        // drag moves the window.
        Rectangle {
            id: mask
            objectName: "mask"
            anchors.fill: parent
            color: Theme.mask
            visible: mainIten.dialogOpen
            WindowDragArea {
                anchors.fill: parent
                onPressedArea: mainIten.openDialogFocus()
            }
        }

        MacroEditor {
            id: macroEditor

            objectName: "macroEditor"
            keyNames: _KeyCodeString
            keyAssigment: keyAssigment
            // Opened from the key assignment page it comes over that dialog.
            z: visible ? 1 : 0
            onDeleteMacro: (name) => mainIten.onMacroDeleted(name)
            onModifyMacroName: (oldName, newName) => mainIten.onMacroRenamed(oldName, newName)
            onModifyMacroData: (name) => mainIten.onMacroChanged(name)
        }
        GunEditor {
            id: gunEditor
            objectName: "gunEditor"
            keyMatrix: keyMatrix
        }
        SystemSetting { id: systemSetting; objectName: "systemSetting" }
        KeyAssigment {
            id: keyAssigment
            objectName: "keyAssigment"
            keyNames: _KeyCodeString
            keyMatrix: keyMatrix
            macroEditor: macroEditor
            isGun: mainIten.isGun
            onVisibleChanged: if (!visible) keyMatrix.selectedKey = -1
            onOpenMacroEditor: mainIten.openDialog(macroEditor)
        }
        ProfilePage {
            id: profilePage
            objectName: "profilePage"
            profileList: profileList
            bindDialog: bindProgram
            onVisibleChanged: if (!visible) bindProgram.visible = false
        }
        // Over the profile page, which opens it.
        BindProgramDialog {
            id: bindProgram
            objectName: "bindProgram"
            lang: profilePage.lang
            z: visible ? 1 : 0
        }
        ResetBox {
            id: resetBox
            objectName: "resetBox"
            texts: [mainIten.mainLang[5], mainIten.mainLang[6], mainIten.mainLang[7], mainIten.mainLang[8]]
            onConfirmed: mainIten.factoryReset()
        }
    }

    // Start-up picture, shown until the first lock ends.
    Image {
        id: startupPicture
        objectName: "startupPicture"
        anchors.centerIn: parent
        Accessible.role: Accessible.Graphic
        Accessible.name: "TORVALE QUILL K270"
        visible: !mainIten.started
        // Needed for the first second only: let it go once the screen shows.
        source: mainIten.started ? "" : Theme.indexImage("startup.png")
    }

    BusyText {
        id: busyText

        objectName: "busyText"
        anchors.centerIn: parent
        z: 100
    }
}
