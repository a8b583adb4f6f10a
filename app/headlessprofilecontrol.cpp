#include "app/headlessprofilecontrol.h"

#include "bridge/pagerules.h"
#include "bridge/profilesender.h"

#include "app/cmdline.h"
#include "device/devicecheck.h"
#include "app/profileexchange.h"
#include "bridge/keymatrix.h"

namespace {
const char kConfigFile[] = "./modules/setting/apConfig.bin";
}

bool sendProfileHeadless(DeviceOps &ops, SettingsStore &store, const std::function<int()> &writeFailures)
{
    const int before = writeFailures();
    // The screens' rule libraries are compiled into the program.
    PageRules rules(QStringLiteral(":/modules/qml"));
    ProfileSender(store, ops, rules).send();
    return writeFailures() == before;
}

HeadlessProfileControl::HeadlessProfileControl(const QString &settingDir)
    : m_store(settingDir)
{
    m_hid.setOwner(this);
    m_ops.setProfileSettings(&m_settings);
    m_ops.setHidProvider([this] { return m_connected ? &m_hid : nullptr; });
    m_ops.setFactsProvider([this] {
        DeviceFacts f;
        f.icType = icType();
        f.isGun = isGun();
        f.isColorful = m_store.getGlobalData(QStringLiteral("mouse/isColorful")).toBool();
        f.is55328 = m_store.getGlobalData(QStringLiteral("mouse/is55328")).toBool();
        return f;
    });
    m_store.setCurrentProfile(activeProfile());
}

HeadlessProfileControl::~HeadlessProfileControl()
{
    m_store.syncAll();
}

QString HeadlessProfileControl::icType() const
{
    return m_store.getGlobalData(QStringLiteral("mouse/icType")).toString();
}

bool HeadlessProfileControl::isGun() const
{
    return m_store.getGlobalData(QStringLiteral("mouse/isGun")).toBool();
}

bool HeadlessProfileControl::connected()
{
    if (m_checked)
        return m_connected;
    m_checked = true;
    if (devicecheck::findDevice(m_hid, QString::fromLatin1(kConfigFile)) >= 0) {
        m_hid.hidIdle = 1;
        m_connected = true;
        // As when the program connects: the family's driver, chosen once,
        // and what it reads first (a 560 mouse's profile records, which its
        // settings are written into).
        m_ops.selectDriver();
        m_ops.driver().readOnConnection();
        return true;
    }
    return false;
}

bool HeadlessProfileControl::sendProfile()
{
    return sendProfileHeadless(m_ops, m_store, [this] { return m_writeFailures; });
}

ProfileControl::Status HeadlessProfileControl::outcome(int failuresBefore) const
{
    return m_writeFailures == failuresBefore ? Done : WriteFailed;
}

QList<QPair<int, QString>> HeadlessProfileControl::profiles() const
{
    return profileexchange::rows();
}

int HeadlessProfileControl::activeProfile() const
{
    return m_store.getGlobalData(QStringLiteral("mouse/profileNo")).toInt();
}

ProfileControl::Status HeadlessProfileControl::activateProfile(int profile)
{
    if (!connected())
        return NoMouse;
    const int before = m_writeFailures;
    m_store.setGlobalData(QStringLiteral("mouse/profileNo"), profile);
    m_store.setCurrentProfile(profile);
    sendProfile();
    return outcome(before);
}

ProfileControl::Status HeadlessProfileControl::setDpiStage(int stage)
{
    if (!connected())
        return NoMouse;
    const int before = m_writeFailures;
    m_ops.setCurrentDpi(uchar(stage));
    return outcome(before);
}

ProfileControl::DeviceStatus HeadlessProfileControl::status()
{
    DeviceStatus s;
    const QString ic = icType();
    s.family = ic.isEmpty() ? QString() : ic == QLatin1String("560") ? QStringLiteral("560") : QStringLiteral("553");
    s.activeProfile = activeProfile();
    bool ok = false;
    const int rate = m_store.getData(QStringLiteral("mouse/reportRate"), false).toInt(&ok);
    s.reportRate = ok ? cmdline::reportRateHz(rate) : 0;
    s.connected = connected();
    if (s.connected) {
        const int stage = m_ops.currentDpi();
        s.currentStage = m_hid.lastReadOk() && stage >= 1 && stage <= cmdline::MaxStage ? stage : 0;
    }
    return s;
}

bool HeadlessProfileControl::exportProfile(int profile, const QString &file, QString *error)
{
    return profileexchange::exportTo(m_store, profile, file, error);
}

bool HeadlessProfileControl::importProfile(int profile, const QString &file, QString *error)
{
    if (!profileexchange::importFrom(m_store, profile, file, nullptr, error))
        return false;
    // The profile in use goes to the mouse at once, as it would on the screens;
    // without a mouse it goes when the program next sends it.
    if (profile == activeProfile() && connected())
        sendProfile();
    return true;
}
