import QtQuick

// Stands in for the native view object (`ui_View`) when a screen is tested
// without the program: settings live in plain maps, and every call that
// writes or sends is recorded in `calls` as "name arg1 arg2 ...".
// Declare it with `id: ui_View` in the test file; screens loaded below it
// find it like the real context property.
QtObject {
    id: fake

    property var calls: []
    property bool enabled: true
    // Current profile, factory profile (pD.bin) and configuration.
    property var profile: ({})
    property var factory: ({})
    property var global: ({})
    // Language sections by name; nameLists by type; gun rows by index.
    property var lang: ({})
    property var nameLists: ({})
    property var gunRows: ({})
    // Macro files: name -> [rows..., repeat count].
    property var macros: ({})
    property int currentDpi: 1
    property int deviceProfile: 1
    property int currentProfile: 0
    // Import answers: loadMacroFile / loadProfile return this.
    property bool importResult: true
    // Pointer settings the desktop refuses, by slot name; each refusal is
    // signalled with the slot's failure text like the real view does.
    property var refusedPointer: []
    // False: settings files cannot be written (read-only folder, full disk).
    property bool filesWritable: true

    signal pointerSettingFailed(string message)
    signal writeFailed()
    signal profileResent()
    property bool deviceBusy: false

    function reset() {
        calls = []
    }

    function text(v) {
        if (v === undefined || v === null)
            return ""
        if (Array.isArray(v))
            return "[" + v.map(text).join(",") + "]"
        return String(v)
    }

    function record(name, args) {
        var parts = [name]
        for (var i = 0; i < args.length; ++i)
            parts.push(text(args[i]))
        var list = calls.slice()
        list.push(parts.join(" "))
        calls = list
    }

    // Calls whose name starts with prefix.
    function callsOf(prefix) {
        return calls.filter(function (c) { return c.split(" ")[0] === prefix })
    }

    function copy(v) {
        return v === undefined ? undefined : JSON.parse(JSON.stringify(v))
    }

    // --- settings -----------------------------------------------------------
    function getData(key, isRecovery) { return copy((isRecovery ? factory : profile)[key]) }
    function getDataList(key, isRecovery) {
        var v = (isRecovery ? factory : profile)[key]
        return v === undefined ? [] : copy(v)
    }
    function getGlobalData(key) { return copy(global[key]) }
    function setData(key, data) { profile[key] = copy(data); record("setData", [key, data]) }
    function setDataList(key, list) { profile[key] = copy(list); record("setDataList", [key, list]) }
    function setGlobalData(key, data) { global[key] = copy(data); record("setGlobalData", [key, data]) }
    function getLangStrings(section, code) {
        record("getLangStrings", [section, code])
        return lang[section] === undefined ? [] : lang[section]
    }
    function setCurrentProfile(n) { currentProfile = n; record("setCurrentProfile", [n]) }
    function resetProfile(n) { record("resetProfile", [n]); return filesWritable }
    function flushSettings() { return filesWritable }
    function loadProfile(n) { record("loadProfile", [n]); return importResult }
    function saveProfile(n) { record("saveProfile", [n]) }
    function getNameList(type) { return nameLists[type] === undefined ? [] : copy(nameLists[type]) }
    function updataNameList(type, list) { nameLists[type] = copy(list); record("updataNameList", [type, list]); return true }
    function setEnabled(on) { enabled = on }

    // --- key matrix -----------------------------------------------------------
    function mouseGetKeydefine(index, fromDefaults) {
        var v = (fromDefaults ? factory : profile)["mouseKeyMatrix/" + index]
        return v === undefined ? [] : copy(v)
    }
    function mouseSetKeyMatrix(values, isSendData, periods) {
        for (var n = 0; n < 16; ++n)
            profile["mouseKeyMatrix/" + n] = values.slice(4 * n, 4 * n + 4)
        record("mouseSetKeyMatrix", [values, isSendData, periods])
    }
    function mouseResetKeyMatrix() { record("mouseResetKeyMatrix", []) }
    function sendActiveProfile() { record("sendActiveProfile", []) }
    function mouseSwitchKeyMatrix(n) { record("mouseSwitchKeyMatrix", [n]) }

    // --- device-wide ------------------------------------------------------------
    function mouseSetReportRate(rate) { record("mouseSetReportRate", [rate]) }
    function mouseSetCurrentDPI(stage) { currentDpi = stage; record("mouseSetCurrentDPI", [stage]) }
    function mouseGetCurrentDPI() { return currentDpi }
    function mouseReadCurrentProfile() { return deviceProfile }
    function mouseSetDpi(count, sensor, values) { record("mouseSetDpi", [count, sensor, values]) }
    function mouseSetRGBEffect(effect, o1, o2) { record("mouseSetRGBEffect", [effect, o1, o2]) }
    function mouseSetRGBColor(type, colours) { record("mouseSetRGBColor", [type, colours]) }
    function pointerCall(name, v, failure) {
        record(name, [v])
        if (refusedPointer.indexOf(name) >= 0)
            pointerSettingFailed(failure)
    }
    function mouseSetCursorSpeed(v) { pointerCall("mouseSetCursorSpeed", v, "setCursorSpeed Failed") }
    function mouseSetDoubleClickSpeed(v) { pointerCall("mouseSetDoubleClickSpeed", v, "setDoubleClickSpeed Failed") }
    function mouseSetVerticalScrollLines(v) { pointerCall("mouseSetVerticalScrollLines", v, "setVerticalScrollLines Failed") }

    // --- macros -------------------------------------------------------------------
    function createMacroIni(name, index) {
        record("createMacroIni", [name, index])
        if (filesWritable)
            macros[name] = ["1"]
        return filesWritable
    }
    function saveMacroIni(name, rows, repeat) {
        var stored = rows.slice()
        stored.push(String(repeat))
        macros[name] = stored
        record("saveMacroIni", [name, rows, repeat])
        return true
    }
    function loadMacroIni(name) { return macros[name] === undefined ? [] : copy(macros[name]) }
    function deleteMacroIni(name) { var had = macros[name] !== undefined; delete macros[name]; record("deleteMacroIni", [name]); return had }
    function loadMacroFile(name) { record("loadMacroFile", [name]); if (importResult) macros[name] = ["1"]; return importResult }
    function saveMacroFile(name) { record("saveMacroFile", [name]) }
    function deleteMacroUpdateProfile(name) { record("deleteMacroUpdateProfile", [name]) }
    // Like the library: unsafe names, a missing macro or a taken name are
    // refused; otherwise the macro and the profile's references follow.
    function validMacroName(name) {
        var s = String(name)
        return s !== "" && s !== "." && s !== ".." && !/[\x00-\x1f\/\\<>:"|?*]/.test(s)
    }
    function modifyMacroNameUpdateProfile(oldName, newName) {
        record("modifyMacroNameUpdateProfile", [oldName, newName])
        if (!validMacroName(oldName) || !validMacroName(newName)
                || macros[oldName] === undefined || macros[newName] !== undefined)
            return false
        macros[newName] = macros[oldName]
        delete macros[oldName]
        for (var key in profile) {
            if (key.indexOf("mouseMacroKey/") === 0 && profile[key] === oldName)
                profile[key] = newName
        }
        return true
    }
    function mouseSendMacroData(bytes, index) { record("mouseSendMacroData", [bytes, index]); return true }

    // --- recoil -------------------------------------------------------------------
    function getGunData(row) { return gunRows[row] === undefined ? [] : copy(gunRows[row]) }
    function mouseSaveGundata(row, values) { gunRows[row] = copy(values); record("mouseSaveGundata", [row, values]) }
    function mouseSendGundata(slot, values) { record("mouseSendGundata", [slot, values]) }
}
