#include "store/settingsstore.h"

#include "store/fileops.h"
#include "store/inicompat.h"

#include <QDebug>
#include <QStringList>

namespace {
constexpr int kProfileCount = 10;

// A new store on the same file. It is made before the old one goes, so the
// file's shared cached copy, pending changes included, lives on.
void renew(std::unique_ptr<QSettings> &slot)
{
    std::unique_ptr<QSettings> fresh = IniCompat::open(slot->fileName());
    slot.swap(fresh);
}

// A store keeps the first error it ever met; only a fresh one tells whether
// the pending changes can be written now. A store that failed is renewed
// again, so that the next flush reports its own attempt.
bool flushStore(std::unique_ptr<QSettings> &slot)
{
    slot->sync();
    if (slot->status() != QSettings::AccessError)
        return true;
    renew(slot);
    slot->sync();
    if (slot->status() != QSettings::AccessError)
        return true;
    renew(slot);
    return false;
}

} // namespace

SettingsStore::SettingsStore(const QString &settingDir)
    : m_dir(settingDir)
{
    m_config = IniCompat::open(configPath());
    m_default = IniCompat::open(defaultPath());
    m_profiles.reserve(kProfileCount);
    for (int n = 0; n < kProfileCount; ++n)
        m_profiles.push_back(IniCompat::open(profilePath(n)));
}

SettingsStore::~SettingsStore()
{
    // Changes an earlier write could not put on disk get a last try.
    syncAll();
}

QString SettingsStore::configPath() const
{
    return m_dir + QStringLiteral("/apConfig.bin");
}

QString SettingsStore::defaultPath() const
{
    return m_dir + QStringLiteral("/pD.bin");
}

QString SettingsStore::profilePath(int n) const
{
    return m_dir + QStringLiteral("/p") + QString::number(n + 1) + QStringLiteral(".bin");
}

QSettings *SettingsStore::profile(int n) const
{
    if (n < 0 || n >= int(m_profiles.size()))
        return nullptr;
    return m_profiles[size_t(n)].get();
}

QSettings *SettingsStore::readStore(bool isRecovery, const char *operation) const
{
    if (isRecovery)
        return m_default.get();
    return currentStoreFor(operation);
}

QSettings *SettingsStore::currentStoreFor(const char *operation) const
{
    QSettings *store = currentStore();
    if (!store)
        qDebug() << operation << "ignored: no profile" << m_current;
    return store;
}

QVariant SettingsStore::getData(const QString &key, bool isRecovery) const
{
    QSettings *store = readStore(isRecovery, "getData");
    return store ? store->value(key) : QVariant();
}

QVariant SettingsStore::getGlobalData(const QString &key) const
{
    return m_config->value(key);
}

QVariantList SettingsStore::getDataList(const QString &key, bool isRecovery) const
{
    QSettings *store = readStore(isRecovery, "getDataList");
    return store ? IniCompat::toList(store->value(key)) : QVariantList();
}

void SettingsStore::setData(const QString &key, const QVariant &data)
{
    if (QSettings *store = currentStoreFor("setData")) {
        store->setValue(key, data);
        written();
    }
}

void SettingsStore::setGlobalData(const QString &key, const QVariant &data)
{
    m_config->setValue(key, data);
    written();
}

void SettingsStore::setDataList(const QString &key, const QVariantList &list)
{
    if (QSettings *store = currentStoreFor("setDataList")) {
        store->setValue(key, QVariant(list));
        written();
    }
}

void SettingsStore::setCurrentProfile(int profile)
{
    // Kept as given; the profile operations check it on use.
    m_current = profile;
}

void SettingsStore::resetApconfig()
{
    const QString target = m_config->fileName();
    // Pending writes must not land in the new file after the swap.
    m_config->sync();
    if (!FileOps::replaceFile(m_dir + QStringLiteral("/apConfigD.bin"), target)) {
        qDebug() << "resetApconfig: factory configuration cannot be copied; kept" << target;
        return;
    }
    m_config.reset();
    m_config = IniCompat::open(target);
}

void SettingsStore::reopenProfile(int n)
{
    if (!profile(n))
        return;
    auto &slot = m_profiles[size_t(n)];
    const QString path = slot->fileName();
    slot->sync();
    slot.reset();
    slot = IniCompat::open(path);
}

bool SettingsStore::replaceProfile(int n, const QString &source)
{
    QSettings *store = profile(n);
    if (!store) {
        qDebug() << "profile replacement ignored: no profile" << n;
        return false;
    }
    // Flush first: the store's own pending writes would otherwise overwrite
    // the new file when it is released, and a copy of a profile must hold
    // what the screens wrote into it.
    syncAll();
    if (!FileOps::replaceFile(source, store->fileName()))
        return false;
    reopenProfile(n);
    return true;
}

void SettingsStore::syncAll()
{
    m_config->sync();
    m_default->sync();
    for (auto &p : m_profiles)
        p->sync();
}

QStringList SettingsStore::flush()
{
    QStringList failed;
    if (!flushStore(m_config))
        failed << m_config->fileName();
    for (auto &p : m_profiles) {
        if (!flushStore(p))
            failed << p->fileName();
    }
    return failed;
}
