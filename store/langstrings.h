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

inline QString defaultDpiSwitchText() { return QStringLiteral("DPI Switch to"); }
constexpr int kDpiSwitchTextCount = 8;

} // namespace LangStrings
