#pragma once

#include <QString>
#include <QVariantList>

class SettingsStore;

// What the key-matrix operations read and write in the profile files: the
// current profile, or the factory profile when fromDefaults is set.
class ProfileSettings
{
public:
    virtual ~ProfileSettings() = default;
    virtual QVariantList list(const QString &key, bool fromDefaults) const = 0;
    virtual void setList(const QString &key, const QVariantList &values) = 0;
};

// The view's settings stores as ProfileSettings.
class StoreProfileSettings : public ProfileSettings
{
public:
    explicit StoreProfileSettings(SettingsStore *store) : m_store(store) {}
    QVariantList list(const QString &key, bool fromDefaults) const override;
    void setList(const QString &key, const QVariantList &values) override;

private:
    SettingsStore *m_store;
};
