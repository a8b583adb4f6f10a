// The native side's own balloon texts. The screens carry their own built-in
// texts and fill in what a language file leaves out themselves.
#include "store/langstrings.h"

namespace LangStrings {

QString builtInMessage(MessageText id)
{
    switch (id) {
    case MouseRejectedSetting:
        return QStringLiteral("The mouse did not accept the setting");
    case FileMissing:
        return QStringLiteral("File missing: %1");
    case FileUnreadable:
        return QStringLiteral("File unreadable: %1");
    case FileDamaged:
        return QStringLiteral("File damaged: %1");
    case GameStarted:
        return QStringLiteral("Profile %1: %2 is running");
    case GameEnded:
        return QStringLiteral("Back to profile %1: %2 has ended");
    case GameProfilesMenu:
        return QStringLiteral("Switch profiles for games");
    case FileNotWritten:
        return QStringLiteral("Changes not saved to %1: %2");
    case ProblemReadOnly:
        return QStringLiteral("the file or its folder is read-only");
    case ProblemDiskFull:
        return QStringLiteral("the disk is full");
    case ProblemOther:
        return QStringLiteral("the file cannot be written");
    }
    return QString();
}

QString messageText(const QString &i18nDir, const QString &langCode, MessageText id)
{
    const QString text = langCode.isEmpty()
                             ? QString()
                             : getLangStrings(i18nDir, QStringLiteral("message"), langCode)
                                   .value(int(id));
    return text.trimmed().isEmpty() ? builtInMessage(id) : text;
}

} // namespace LangStrings
