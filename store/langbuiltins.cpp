// The screens' built-in English texts, section by section, in the order of
// the language files. They fill in what a language file leaves out.
#include "store/langstrings.h"

#include <QHash>

namespace LangStrings {

namespace {

// Built once; each list is copied out of its braces while they still exist.
const QHash<QString, QStringList> &tables()
{
    static const QHash<QString, QStringList> builtIns = {
        {QStringLiteral("main"),
         {
          QStringLiteral("Editor"), QStringLiteral("Macro Editor"), QStringLiteral("Gun Editor"),
          QStringLiteral("Report Rate"), QStringLiteral("Config"), QStringLiteral("Reset"),
          QStringLiteral("Reset factory setting"), QStringLiteral("Cancel"), QStringLiteral("OK"),
          QStringLiteral("System setting"), QStringLiteral("Save")
         }},
        {QStringLiteral("keyMatrix"),
         {
          QStringLiteral("Key "), QStringLiteral("Key Function")
         }},
        {QStringLiteral("keyAssigment"),
         {
          QStringLiteral("Key "), QStringLiteral("Mouse Function"), QStringLiteral("Left Key"),
          QStringLiteral("Middle Key"), QStringLiteral("Right Key"), QStringLiteral("Forward Key"),
          QStringLiteral("Back Key"), QStringLiteral("Light Control"),
          QStringLiteral("Fire Function"), QStringLiteral("Key Value"),
          QStringLiteral("Click Input"), QStringLiteral("Rate"), QStringLiteral("Times"),
          QStringLiteral("Endness"), QStringLiteral("Group Function"),
          QStringLiteral("Media Function"), QStringLiteral("Macro Function"),
          QStringLiteral("Macro Editor"),
          QStringLiteral("Macro runs one-time after pressing the button"),
          QStringLiteral("Macro runs endless loop until any button is pressed"),
          QStringLiteral("Macro runs endless loop until button is released"),
          QStringLiteral("DPI Function"), QStringLiteral("DPI+"), QStringLiteral("DPI-"),
          QStringLiteral("DPI LOOP"), QStringLiteral("Windows Function"),
          QStringLiteral("Shortcut Function"), QStringLiteral("Player"), QStringLiteral("Next"),
          QStringLiteral("Privous"), QStringLiteral("Stop"), QStringLiteral("Mute"),
          QStringLiteral("Play/Pause"), QStringLiteral("Volumn+"), QStringLiteral("Volumn-"),
          QStringLiteral("My PC"), QStringLiteral("Index"), QStringLiteral("Search"),
          QStringLiteral("Max"), QStringLiteral("Min"), QStringLiteral("Desktop"),
          QStringLiteral("Run"), QStringLiteral("New"), QStringLiteral("Cut"),
          QStringLiteral("Copy"), QStringLiteral("Paste"), QStringLiteral("Save"),
          QStringLiteral("Print"), QStringLiteral("Find"), QStringLiteral("Redo"),
          QStringLiteral("Undo"), QStringLiteral("Select All"), QStringLiteral("Gun Function"),
          QStringLiteral("One Gun"), QStringLiteral("Two Gun"), QStringLiteral("Three Gun"),
          QStringLiteral("Sniper Key")
         }},
        {QStringLiteral("dpiSetting"),
         {
          QStringLiteral("DPI"), QStringLiteral("Stages")
         }},
        {QStringLiteral("lightControl"),
         {
          QStringLiteral("Light"), QStringLiteral("Static"), QStringLiteral("Breath"),
          QStringLiteral("Neon"), QStringLiteral("OFF"), QStringLiteral("Speed"),
          QStringLiteral("Color"), QStringLiteral("Brightness"), QStringLiteral("Twinkling"),
          QStringLiteral("Wave"), QStringLiteral("Gliding"), QStringLiteral("Finger Moving"),
          QStringLiteral("Vertical Flipping"), QStringLiteral("YO-YO"),
          QStringLiteral("Spotlight"), QStringLiteral("Breath Loop")
         }},
        {QStringLiteral("macroEditor"),
         {
          QStringLiteral("Macro Editor"), QStringLiteral("Macro Name"), QStringLiteral("New"),
          QStringLiteral("Delete"), QStringLiteral("Action"), QStringLiteral("Stop Record"),
          QStringLiteral("Times"), QStringLiteral("OK"), QStringLiteral("Start Record"),
          QStringLiteral("Delay"), QStringLiteral("Delete"), QStringLiteral("Import"),
          QStringLiteral("Export"), QStringLiteral("Insert Delay"), QStringLiteral("Insert Key"),
          QStringLiteral("Insert Left Key"), QStringLiteral("Insert Middle Key"),
          QStringLiteral("Insert Right Key")
         }},
        {QStringLiteral("systemSetting"),
         {
          QStringLiteral("System Setting"), QStringLiteral("Mouse Speed"),
          QStringLiteral("Double Click Speed"), QStringLiteral("Slow"), QStringLiteral("Fast"),
          QStringLiteral("Scroll Speed"), QStringLiteral("Number of Rows"),
          QStringLiteral("Scroll one Screen")
         }},
        {QStringLiteral("gunControl"),
         {
          QStringLiteral("Gun editor"), QStringLiteral("Gun"), QStringLiteral("Select gun"),
          QStringLiteral("Cursor Adjust"), QStringLiteral("X Axis"), QStringLiteral("Y axis"),
          QStringLiteral("Fire adjust"), QStringLiteral("Rate"), QStringLiteral("Times"),
          QStringLiteral("Endness")
         }},
        {QStringLiteral("profile"),
         {
          QStringLiteral("config"), QStringLiteral("New"), QStringLiteral("Import"),
          QStringLiteral("Delete"), QStringLiteral("Export"), QStringLiteral("Standard")
         }},
        {QStringLiteral("keyCode"),
         {
          QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
          QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G"), QStringLiteral("H"),
          QStringLiteral("I"), QStringLiteral("J"), QStringLiteral("K"), QStringLiteral("L"),
          QStringLiteral("M"), QStringLiteral("N"), QStringLiteral("O"), QStringLiteral("P"),
          QStringLiteral("Q"), QStringLiteral("R"), QStringLiteral("S"), QStringLiteral("T"),
          QStringLiteral("U"), QStringLiteral("V"), QStringLiteral("W"), QStringLiteral("X"),
          QStringLiteral("Y"), QStringLiteral("Z"), QStringLiteral("1"), QStringLiteral("2"),
          QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
          QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("0"),
          QStringLiteral("Enter"), QStringLiteral("Esc"), QStringLiteral("Back"),
          QStringLiteral("Tab"), QStringLiteral("Space"), QStringLiteral("-"), QStringLiteral("="),
          QStringLiteral("["), QStringLiteral("]"), QStringLiteral("\\"), QStringLiteral("Eur1"),
          QStringLiteral(";"), QStringLiteral("'"), QStringLiteral("`"), QStringLiteral(","),
          QStringLiteral("."), QStringLiteral("/"), QStringLiteral("Caps"), QStringLiteral("F1"),
          QStringLiteral("F2"), QStringLiteral("F3"), QStringLiteral("F4"), QStringLiteral("F5"),
          QStringLiteral("F6"), QStringLiteral("F7"), QStringLiteral("F8"), QStringLiteral("F9"),
          QStringLiteral("F10"), QStringLiteral("F11"), QStringLiteral("F12"),
          QStringLiteral("Prt"), QStringLiteral("Scr"), QStringLiteral("Pau"),
          QStringLiteral("Ins"), QStringLiteral("Hom"), QStringLiteral("Pgu"),
          QStringLiteral("Del"), QStringLiteral("End"), QStringLiteral("PgD"),
          QStringLiteral("\u25BA"), QStringLiteral("\u25C4"), QStringLiteral("\u25BC"),
          QStringLiteral("\u25B2"), QStringLiteral("Num"), QStringLiteral("KP/"),
          QStringLiteral("KP*"), QStringLiteral("KP-"), QStringLiteral("KP+"),
          QStringLiteral("KPEnter"), QStringLiteral("KP1"), QStringLiteral("KP2"),
          QStringLiteral("KP3"), QStringLiteral("KP4"), QStringLiteral("KP5"),
          QStringLiteral("KP6"), QStringLiteral("KP7"), QStringLiteral("KP8"),
          QStringLiteral("KP9"), QStringLiteral("KP0"), QStringLiteral("KP."),
          QStringLiteral("Eur2"), QStringLiteral("App"), QStringLiteral("Power"),
          QStringLiteral("KP="), QStringLiteral("F13"), QStringLiteral("F14"),
          QStringLiteral("F15"), QStringLiteral("F16"), QStringLiteral("F17"),
          QStringLiteral("F18"), QStringLiteral("F19"), QStringLiteral("F20"),
          QStringLiteral("F21"), QStringLiteral("F22"), QStringLiteral("F23"),
          QStringLiteral("F24"), QStringLiteral("Keypad"), QStringLiteral("Intl1"),
          QStringLiteral("Intl2"), QStringLiteral("Intl3"), QStringLiteral("Intl4"),
          QStringLiteral("Intl5"), QStringLiteral("Lang1"), QStringLiteral("Lang2"),
          QStringLiteral("LCtrl"), QStringLiteral("LShift"), QStringLiteral("LAlt"),
          QStringLiteral("LWin"), QStringLiteral("RCtrl"), QStringLiteral("RShift"),
          QStringLiteral("RAlt"), QStringLiteral("RWin"), QStringLiteral("MS-L"),
          QStringLiteral("MS-R"), QStringLiteral("MS-M"), QStringLiteral("MS-B4"),
          QStringLiteral("MS-B5")
         }},
        {QStringLiteral("other"),
         {
          QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
          QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
          QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
          QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to")
         }},
        {QStringLiteral("message"),
         {
          QStringLiteral("The mouse did not accept the setting"),
          QStringLiteral("File missing: %1"), QStringLiteral("File unreadable: %1"),
          QStringLiteral("File damaged: %1")
         }},
    };
    return builtIns;
}

} // namespace

QStringList builtInTexts(const QString &section)
{
    return tables().value(section);
}

QStringList withBuiltInTexts(const QString &section, const QStringList &strings)
{
    if (strings.isEmpty())
        return strings;
    const QStringList builtIn = builtInTexts(section);
    QStringList out = strings;
    for (int i = int(out.size()); i < builtIn.size(); ++i)
        out << builtIn.at(i);
    return out;
}

QString messageText(const QString &i18nDir, const QString &langCode, MessageText id)
{
    const QString section = QStringLiteral("message");
    const QString text = langCode.isEmpty()
                             ? QString()
                             : getLangStrings(i18nDir, section, langCode).value(int(id));
    return text.trimmed().isEmpty() ? builtInTexts(section).value(int(id)) : text;
}

} // namespace LangStrings
