#pragma once

#include <functional>
#include <memory>

#include "app/profilecontrol.h"
#include "bridge/deviceops.h"
#include "bridge/profilesettings.h"
#include "device/devicehost.h"
#include "device/hid_thread.h"
#include "store/settingsstore.h"

// ProfileControl without a display: for a command given while the program
// does not run. Works from the data tree in the current directory and finds
// the mouse itself (the device table and its handshake), on first need.
class HeadlessProfileControl : public ProfileControl, private DeviceHost
{
public:
    explicit HeadlessProfileControl(const QString &settingDir = QStringLiteral("./modules/setting"));
    ~HeadlessProfileControl() override;

    QList<QPair<int, QString>> profiles() const override;
    int activeProfile() const override;
    Status activateProfile(int profile) override;
    Status setDpiStage(int stage) override;
    DeviceStatus status() override;
    bool exportProfile(int profile, const QString &file, QString *error) override;
    bool importProfile(int profile, const QString &file, QString *error) override;

private:
    // Finds and greets the mouse once; false when none answers.
    bool connected();
    bool sendProfile();
    Status outcome(int failuresBefore) const;

    // DeviceHost: nothing to show here; failed writes are counted.
    QString icType() const override;
    bool isGun() const override;
    void setViewEnabled(bool) override {}
    void setCurrentDPI(int) override {}
    void showBalloon(const QString &, const QString &) override {}
    void deviceWriteFailed() override { ++m_writeFailures; }

    SettingsStore m_store;
    StoreProfileSettings m_settings{&m_store};
    Hid_Thread m_hid;
    DeviceOps m_ops;
    bool m_checked = false;
    bool m_connected = false;
    int m_writeFailures = 0;
};

// Sends the store's current profile to the mouse; false when a write failed
// (writeFailures counts them). The one place a profile goes to the mouse
// without the screens.
// The same whole-profile operation the screens use (macros, key layers,
// rate, DPI, lighting); the desktop pointer settings stay with the screens.
bool sendProfileHeadless(DeviceOps &ops, SettingsStore &store, const std::function<int()> &writeFailures);
