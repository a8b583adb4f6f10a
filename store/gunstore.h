#pragma once

#include <QStringList>
#include <QVariant>

class QSettings;

class SettingsStore;

// Recoil presets in gunData.bin (shared by all profiles), which the program
// never creates: without the file every operation does nothing. Also the
// per-profile XY sensitivity and gun choices of the current profile.
class GunStore
{
public:
    // path is "./modules/gun/gunData.bin" in the program.
    explicit GunStore(const QString &path);

    // False when nothing was stored: no file, a short record, or a write
    // that failed (the file is then left as it was).
    bool mouseSaveGundata(const QVariant &index, const QVariantList &src6);
    QVariantList getGunData(const QVariant &name) const;
    QStringList getGunDataKey() const;
    bool modifyGundata(const QVariant &modifyType, const QVariantList &src6);

    static QVariant getXYSensitive(const SettingsStore &store, const QVariant &index);
    static void setXYSensitive(SettingsStore &store, const QVariant &index, const QVariant &xyData);
    static QVariant getselectGun(const SettingsStore &store, const QVariant &index);
    static void setSelectGun(SettingsStore &store, const QVariant &index, const QVariant &xyData);

private:
    bool present() const;
    bool written(QSettings &ini, const char *operation) const;
    QString m_path;
};
