#include "store/langstrings.h"

#include "store/inicompat.h"

#include <QDebug>

namespace LangStrings {

namespace {
// A damaged file must not make the program build a list of billions of
// empty texts; real sections hold a few hundred at most.
constexpr int kMaxStrings = 10000;
}

QStringList getLangStrings(const QString &i18nDir, const QString &typeStr,
                           const QString &langCode)
{
    auto ini = IniCompat::open(i18nDir + QLatin1Char('/') + langCode + QStringLiteral(".ini"));
    int total = ini->value(typeStr + QStringLiteral("/total"), 0).toInt();
    if (total > kMaxStrings) {
        qDebug() << "language section" << typeStr << "announces" << total << "strings; read"
                 << kMaxStrings;
        total = kMaxStrings;
    }
    QStringList out;
    for (int i = 0; i < total; ++i) {
        const QVariant v = ini->value(typeStr + QLatin1Char('/') + QString::number(i), QString());
        // A translator's text with an unquoted comma reads as a list; show
        // it as written rather than as nothing.
        out.append(v.typeId() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", "))
                                                        : v.toString());
    }
    return out;
}

QStringList dpiSwitchTextsFrom(const QStringList &otherSection)
{
    QStringList texts;
    for (int i = 0; i < kDpiSwitchTextCount; ++i)
        texts.append(i < otherSection.size() ? otherSection.at(i) : defaultDpiSwitchText());
    return texts;
}

} // namespace LangStrings
