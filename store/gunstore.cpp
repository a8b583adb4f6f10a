#include "store/gunstore.h"

#include "store/inicompat.h"
#include "store/settingsstore.h"

#include <QDebug>
#include <QFileInfo>

namespace {

QString recordKey(const QVariant &name)
{
    return QStringLiteral("gunData/") + name.toString();
}

} // namespace

GunStore::GunStore(const QString &path)
    : m_path(path)
{
}

bool GunStore::present() const
{
    return QFileInfo(m_path).isFile();
}

void GunStore::mouseSaveGundata(const QVariant &index, const QVariantList &src6)
{
    if (!present())
        return;
    if (src6.size() < 6) {
        qDebug() << "mouseSaveGundata ignored: record of" << src6.size() << "values";
        return;
    }
    auto ini = IniCompat::open(m_path);
    ini->setValue(recordKey(index), QVariant(src6.mid(0, 6)));
    ini->sync();
}

QVariantList GunStore::getGunData(const QVariant &name) const
{
    if (!present())
        return {};
    auto ini = IniCompat::open(m_path);
    return IniCompat::toList(ini->value(recordKey(name), 0));
}

QStringList GunStore::getGunDataKey() const
{
    if (!present())
        return {};
    auto ini = IniCompat::open(m_path);
    ini->beginGroup(QStringLiteral("gunData"));
    return ini->childKeys();
}

void GunStore::modifyGundata(const QVariant &modifyType, const QVariantList &src6)
{
    if (!present())
        return;
    const int type = modifyType.toInt();
    if (type == 0 && !src6.isEmpty()) {
        auto ini = IniCompat::open(m_path);
        ini->remove(recordKey(src6.at(0)));
        ini->sync();
    } else if (type == 1 && src6.size() >= 7) {
        auto ini = IniCompat::open(m_path);
        ini->remove(recordKey(src6.at(6)));
        ini->setValue(recordKey(src6.at(0)), QVariant(src6.mid(1, 5)));
        ini->sync();
    } else if (type == 0 || type == 1) {
        qDebug() << "modifyGundata ignored: record of" << src6.size() << "values";
    }
}

QVariant GunStore::getXYSensitive(const SettingsStore &store, const QVariant &index)
{
    QSettings *s = store.currentStoreFor("getXYSensitive");
    return s ? s->value(QStringLiteral("XYSensitive/") + index.toString(), 4) : QVariant();
}

void GunStore::setXYSensitive(SettingsStore &store, const QVariant &index, const QVariant &xyData)
{
    if (QSettings *s = store.currentStoreFor("setXYSensitive"))
        s->setValue(QStringLiteral("XYSensitive/") + index.toString(), xyData);
}

QVariant GunStore::getselectGun(const SettingsStore &store, const QVariant &index)
{
    QSettings *s = store.currentStoreFor("getselectGun");
    return s ? s->value(QStringLiteral("selectGun/") + index.toString(), QString()) : QVariant();
}

void GunStore::setSelectGun(SettingsStore &store, const QVariant &index, const QVariant &xyData)
{
    if (QSettings *s = store.currentStoreFor("setSelectGun"))
        s->setValue(QStringLiteral("selectGun/") + index.toString(), xyData);
}
