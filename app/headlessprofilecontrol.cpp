#include "app/headlessprofilecontrol.h"

#include "app/cmdline.h"
#include "app/devicetable.h"
#include "app/profileexchange.h"
#include "bridge/keymatrix.h"

namespace {
const char kConfigFile[] = "./modules/setting/apConfig.bin";
}

bool sendProfileHeadless(DeviceOps &ops, SettingsStore &store, const std::function<int()> &writeFailures)
{
    const int before = writeFailures();
    // A 560 mouse's settings go out in its profile records: start from what
    // it holds, as the program does on connecting.
    if (store.getGlobalData(QStringLiteral("mouse/icType")).toString() == QLatin1String("560")) {
        const bool isGun = store.getGlobalData(QStringLiteral("mouse/isGun")).toBool();
        for (uint block = 0; block < (isGun ? 5u : 2u); ++block)
            ops.readProfile(block);
    }
    QVariantList matrix;
    for (int slot = 0; slot < keymatrix::SlotCount; ++slot) {
        const QVariantList entry = store.getDataList(DeviceOps::keyMatrixKey(slot), false);
        for (int k = 0; k < keymatrix::EntrySize; ++k)
            matrix.append(entry.value(k, 0));
    }
    ops.setKeyMatrix(matrix, true, {});
    static const uchar interval[] = {8, 4, 2, 1};   // report rate index to milliseconds
    const int rate = store.getData(QStringLiteral("mouse/reportRate"), false).toInt();
    ops.setReportRate(rate >= 0 && rate < 4 ? interval[rate] : 1);
    const QVariantList dpiValues = store.getDataList(QStringLiteral("mouse/dpiValueArray"), false);
    if (!dpiValues.isEmpty()) {
        ops.setDpi(store.getData(QStringLiteral("mouse/currentDpiCount"), false).toInt(),
                   store.getGlobalData(QStringLiteral("mouse/sensorType")).toString(), dpiValues);
    }
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
    DeviceTable table = devicetable::read(QString::fromLatin1(kConfigFile));
    devicetable::findPaths(table);
    m_hid.deviceTable = table;
    for (int j = 0; j < table.size(); ++j) {
        if (table.at(j).path.isEmpty() || !m_hid.chkDeviceIsEnCode(j))
            continue;
        m_hid.hidIdle = 1;
        m_connected = true;
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
