#include "store/inicompat.h"

#include <QStringList>

namespace IniCompat {

std::unique_ptr<QSettings> open(const QString &path)
{
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QVariantList toList(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantList:
        return value.toList();
    case QMetaType::QStringList: {
        QVariantList out;
        const QStringList strings = value.toStringList();
        for (const QString &s : strings)
            out.append(s);
        return out;
    }
    default:
        return {};
    }
}

} // namespace IniCompat
