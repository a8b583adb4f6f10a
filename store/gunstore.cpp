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

bool GunStore::written(QSettings &ini, const char *operation) const
{
    ini.sync();
    if (ini.status() == QSettings::NoError)
        return true;
    qDebug().noquote() << QStringLiteral("%1: %2 not written").arg(QLatin1String(operation), m_path);
    return false;
}

bool GunStore::mouseSaveGundata(const QVariant &index, const QVariantList &src6)
{
    if (!present())
        return false;
    if (src6.size() < 6) {
        qDebug() << "mouseSaveGundata ignored: record of" << src6.size() << "values";
        return false;
    }
    auto ini = IniCompat::open(m_path);
    ini->setValue(recordKey(index), QVariant(src6.mid(0, 6)));
    return written(*ini, "mouseSaveGundata");
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

bool GunStore::modifyGundata(const QVariant &modifyType, const QVariantList &src6)
{
    if (!present())
        return false;
    const int type = modifyType.toInt();
    if (type == 0 && !src6.isEmpty()) {
        auto ini = IniCompat::open(m_path);
        ini->remove(recordKey(src6.at(0)));
        return written(*ini, "modifyGundata");
    }
    if (type == 1 && src6.size() >= 7) {
        auto ini = IniCompat::open(m_path);
        ini->remove(recordKey(src6.at(6)));
        ini->setValue(recordKey(src6.at(0)), QVariant(src6.mid(1, 5)));
        return written(*ini, "modifyGundata");
    }
    if (type == 0 || type == 1)
        qDebug() << "modifyGundata ignored: record of" << src6.size() << "values";
    return false;
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
