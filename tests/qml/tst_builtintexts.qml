import QtQuick
import QtTest
import "../../modules/qml/common/keytext.js" as KeyText
import "../../modules/qml/pages/dpi/dpi.js" as Dpi
import "../../modules/qml/pages/gun/gun.js" as Gun
import "../../modules/qml/pages/keymatrix/keymatrix.js" as KeyMatrix
import "../../modules/qml/pages/light/light.js" as Light
import "../../modules/qml/pages/macro/macro.js" as Macro
import "../../modules/qml/pages/profile/profile.js" as Profile
import "../../modules/qml/pages/system/system.js" as System

// A screen shows its built-in texts wherever a language file falls short, so
// they must say what the English file says, entry for entry. (The key names
// are not among them: the built-in table names 0x32 "\" where the file
// says "Eur1".)
TestCase {
    name: "BuiltInTexts"

    function test_builtInTextsAreTheEnglishFile_data() {
        return [
            { tag: "keyAssigment", section: "keyAssigment", texts: KeyText.builtInTexts },
            { tag: "dpiSetting", section: "dpiSetting", texts: Dpi.builtInTexts },
            { tag: "gunControl", section: "gunControl", texts: Gun.builtInTexts },
            { tag: "keyMatrix", section: "keyMatrix", texts: KeyMatrix.builtInTexts },
            { tag: "lightControl", section: "lightControl", texts: Light.builtInTexts },
            { tag: "macroEditor", section: "macroEditor", texts: Macro.builtInTexts },
            { tag: "profile", section: "profile", texts: Profile.builtInTexts },
            { tag: "systemSetting", section: "systemSetting", texts: System.builtInTexts },
        ]
    }

    function test_builtInTextsAreTheEnglishFile(data) {
        var english = englishTexts[data.section]
        verify(english.length > 0, "English file has no " + data.section)
        verify(data.texts.length >= english.length)
        for (var i = 0; i < english.length; ++i)
            compare(data.texts[i], english[i], data.section + "/" + i)
    }
}
