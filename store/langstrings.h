#pragma once

#include <QStringList>

// User-interface strings of one language: ./modules/i18n/<code>.ini, UTF-8,
// one group per screen with "total" and the strings "0".."total-1".
namespace LangStrings {

// i18nDir is "./modules/i18n" in the program.
QStringList getLangStrings(const QString &i18nDir, const QString &typeStr,
                           const QString &langCode);

// The eight DPI-switch balloon texts after a language's "other" section:
// its first eight strings, and "DPI Switch to" where it has fewer.
QStringList dpiSwitchTextsFrom(const QStringList &otherSection);

// The native side's own balloon texts: entries of the "message" section.
enum MessageText {
    MouseRejectedSetting = 0,   // a device write failed
    FileMissing = 1,            // %1: the file
    FileUnreadable = 2,
    FileDamaged = 3,
    GameStarted = 4,            // %1: the profile, %2: the program
    GameEnded = 5,              // %1: the profile, %2: the program
    GameProfilesMenu = 6,       // the tray-menu entry
    FileNotWritten = 7,         // %1: the file, %2: one of the three below
    ProblemReadOnly = 8,
    ProblemDiskFull = 9,
    ProblemOther = 10,
};

// The built-in English text of message `id`.
QString builtInMessage(MessageText id);

// Message `id` in language `langCode`; the built-in English text where the
// language file, its section or the entry is missing or empty.
QString messageText(const QString &i18nDir, const QString &langCode, MessageText id);

inline QString defaultDpiSwitchText() { return QStringLiteral("DPI Switch to"); }
constexpr int kDpiSwitchTextCount = 8;

} // namespace LangStrings
