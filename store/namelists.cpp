#include "store/namelists.h"

#include "store/inicompat.h"

#include <QDebug>

NameLists::NameLists(const QString &path)
    : m_path(path)
{
}

QString NameLists::keyOf(const QVariant &type)
{
    bool ok = false;
    const qlonglong t = type.toLongLong(&ok);
    if (!ok)
        return QString();
    switch (t) {
    case 0: return QStringLiteral("macro/macroName");
    case 1: return QStringLiteral("gun/gunName");
    case 2: return QStringLiteral("profile/profileName");
    case 3: return QStringLiteral("gun/selectGun");
    default: return QString();
    }
}

bool NameLists::updataNameList(const QVariant &type, const QStringList &nameList)
{
    const QString key = keyOf(type);
    if (key.isEmpty())
        return true;
    QStringList stored = nameList;
    if (stored.size() == 1)
        stored.append(marker());
    auto ini = IniCompat::open(m_path);
    if (stored.isEmpty())
        ini->remove(key);
    else
        ini->setValue(key, stored);
    ini->sync();
    // The file is replaced whole or not at all; say which.
    if (ini->status() != QSettings::NoError) {
        qDebug() << "updataNameList:" << m_path << "not written";
        return false;
    }
    return true;
}

QVariantList NameLists::getNameList(const QVariant &type) const
{
    const QString key = keyOf(type);
    if (key.isEmpty())
        return {};
    auto ini = IniCompat::open(m_path);
    return IniCompat::toList(ini->value(key, 0));
}
