import QtQuick
import "keycodes.js" as KeyCodes

// The key-name table the key pages share. The language file may rename the
// keys; the codes never change.
QtObject {
    readonly property var keyCode: KeyCodes.codes()
    property var keyCodeStr: KeyCodes.names()

    function strTokeycode(str) {
        return KeyCodes.strTokeycode(keyCode, keyCodeStr, str)
    }

    function keycodeTostr(keycode) {
        return KeyCodes.keycodeTostr(keyCode, keyCodeStr, keycode)
    }
}
