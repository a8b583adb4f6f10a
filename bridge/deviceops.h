#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

#include "bridge/family.h"
#include "bridge/keymatrix.h"
#include "bridge/mousedriver.h"
#include "bridge/pointersettings.h"
#include "bridge/profileblocks.h"

class Hid_Thread;
class ProfileSettings;

// The view's device operations: each turns the screens' values into stored
// settings and the driver's operations; the driver of the mouse's family,
// chosen once when a device is accepted, decides the commands. Lists from
// QML may be short; missing values count as 0. Results of device commands are
// not reported to the caller.
class DeviceOps
{
public:
    using HidProvider = std::function<Hid_Thread *()>;
    using FactsProvider = std::function<DeviceFacts()>;

    DeviceOps();
    ~DeviceOps();

    // The device object is set on the view after construction; the facts
    // are read when a driver is chosen.
    void setHidProvider(HidProvider p) { m_hid = std::move(p); }
    void setFactsProvider(FactsProvider p) { m_facts = std::move(p); }
    // Chooses the driver for the facts as they are now: when a device is
    // accepted (and, once, before the first operation).
    void selectDriver();
    MouseDriver &driver();
    void setProfileSettings(ProfileSettings *s) { m_settings = s; }

    ProfileBlocks &blocks() { return m_blocks; }
    PointerSettings &pointer() { return m_pointer; }

    // Key matrix.
    void setKeyMatrix(const QVariantList &src64, bool isSendData, const QVariantList &otherParam);
    void resetKeyMatrix();
    void switchKeyMatrix(int indexNo);
    QVariantList keyDefine(const QVariant &index, bool fromDefaults) const;

    // DPI stages.
    void setDpi(int dpiCount, const QString &sensorType, const QVariantList &dpiValues);
    void setCurrentDpi(uchar stage);
    int currentDpi();

    // Lighting.
    void setRgbEffect(uchar effect, uchar option1, uchar option2);
    void setRgbColor(uchar type, const QVariantList &src24);

    // Macros: always true, whether sent or not.
    bool sendMacroData(const QVariantList &macroData, const QVariant &macroIndex);

    // Recoil data of gun slot 1-3: [times, x, y].
    void sendGunData(int index, const QVariantList &src6);

    // Report rate, keyboard option, on-device profiles.
    void setReportRate(uchar rate);
    void setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    QVariantList keyboardOption();
    void setProfile(uint profileNo);
    void readProfile(uint profileNo);
    int readCurrentProfile();

    // Pointer settings of the desktop.
    bool setCursorSpeed(uint index) { return m_pointer.setCursorSpeed(index); }
    bool setDoubleClickSpeed(uint index) { return m_pointer.setDoubleClickSpeed(index); }
    bool setVerticalScrollLines(uint lines) { return m_pointer.setVerticalScrollLines(lines); }

    static QString keyMatrixKey(int slot);
    static QString factoryKeyMatrixKey(int slot);

private:
    DeviceFacts facts() const { return m_facts ? m_facts() : DeviceFacts{}; }
    // The factory key matrix of the current profile.
    keymatrix::LayerBuffer factoryLayer() const;

    HidProvider m_hid;
    FactsProvider m_facts;
    ProfileSettings *m_settings = nullptr;
    ProfileBlocks m_blocks;
    std::unique_ptr<MouseDriver> m_driver;
    PointerSettings m_pointer;
};
