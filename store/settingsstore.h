#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

// The INI stores the view keeps open for its whole life: the configuration
// (apConfig.bin), the factory profile (pD.bin) and the ten profiles
// (p1.bin .. p10.bin), plus the current profile number that selects one.
class SettingsStore
{
public:
    // settingDir is "./modules/setting" in the program; tests pass a copy.
    explicit SettingsStore(const QString &settingDir = QStringLiteral("./modules/setting"));
    ~SettingsStore();

    QVariant getData(const QString &key, bool isRecovery) const;
    QVariant getGlobalData(const QString &key) const;
    QVariantList getDataList(const QString &key, bool isRecovery) const;
    void setData(const QString &key, const QVariant &data);
    void setGlobalData(const QString &key, const QVariant &data);
    void setDataList(const QString &key, const QVariantList &list);

    void setCurrentProfile(int profile);
    int currentProfile() const { return m_current; }

    // Replaces apConfig.bin by apConfigD.bin without ever losing apConfig.bin.
    void resetApconfig();

    QSettings *config() const { return m_config.get(); }
    QSettings *defaults() const { return m_default.get(); }
    QSettings *profile(int n) const;          // null outside 0..9
    QSettings *currentStore() const { return profile(m_current); }
    // The current store for a profile operation, or null (with a debug line)
    // when the current profile number names no profile.
    QSettings *currentStoreFor(const char *operation) const;
    QString profilePath(int n) const;         // ./modules/setting/p<n+1>.bin
    QString configPath() const;               // ./modules/setting/apConfig.bin
    QString defaultPath() const;              // ./modules/setting/pD.bin
    // Releases and reopens profile store n (after its file was replaced).
    void reopenProfile(int n);
    // Replaces profile file n by a copy of source and reopens its store. When
    // source cannot be copied the file and its open store stay as they were.
    bool replaceProfile(int n, const QString &source);
    // Writes pending changes of every store to disk.
    void syncAll();
    // Writes pending changes of every store now and returns the files that
    // could not be written. Their changes stay pending (and read back as
    // written) and are tried again by the next flush.
    QStringList flush();
    // Called after every write through setData, setGlobalData, setDataList.
    void setWriteHook(std::function<void()> hook) { m_writeHook = std::move(hook); }

private:
    QString m_dir;
    std::unique_ptr<QSettings> m_config;
    std::unique_ptr<QSettings> m_default;
    std::vector<std::unique_ptr<QSettings>> m_profiles;
    int m_current = 0;
    std::function<void()> m_writeHook;

    void written() const
    {
        if (m_writeHook)
            m_writeHook();
    }

    // The factory store for recovery reads, the current store otherwise.
    QSettings *readStore(bool isRecovery, const char *operation) const;
};
