// The view's device slots: thin forwarders to DeviceOps, whose driver (chosen
// once, when the mouse is accepted) does the byte work.
#include "app/myqquickview.h"

#include "bridge/profilesender.h"
#include "device/hid_thread.h"

void myQQuickView::initBridgeState()
{
    m_profileSettings = std::make_unique<StoreProfileSettings>(m_store.get());
    m_deviceOps.setProfileSettings(m_profileSettings.get());
    // The device object is set after construction; the facts are read now
    // but asked for on every call.
    m_deviceOps.setHidProvider([this] { return hidThread; });
    m_deviceOps.setFactsProvider([this] {
        DeviceFacts f;
        f.icType = icType;
        f.isColorful = isColorful;
        f.isGun = isGun;
        f.is55328 = is55328;
        return f;
    });
}

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    return QVariant(m_deviceOps.sendMacroData(macroData, macroIndex));
}

void myQQuickView::mouseSendGundata(int index, QVariantList src6)
{
    m_deviceOps.sendGunData(index, src6);
}

void myQQuickView::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    m_deviceOps.setKeyboardOption(byte1, byte2, byte3, byte4);
}

void myQQuickView::mouseSetReportRate(uchar rate)
{
    m_deviceOps.setReportRate(rate);
}

void myQQuickView::mouseSetCurrentDPI(uchar currentDPI)
{
    m_deviceOps.setCurrentDpi(currentDPI);
}

void myQQuickView::mouseResetKeyMatrix()
{
    m_deviceOps.resetKeyMatrix();
}

QVariant myQQuickView::mouseGetCurrentDPI()
{
    const int stage = m_deviceOps.currentDpi();
    // A read that did not complete names no stage; the screen shows none.
    if (!hidThread || !hidThread->lastReadOk())
        return QVariant(-1);
    return QVariant(stage);
}

void myQQuickView::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    m_deviceOps.setKeyMatrix(src64, isSendData, otherParam);
}

void myQQuickView::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    m_deviceOps.setDpi(dpiCount, sensorType, dpiValueArray);
}

void myQQuickView::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    m_deviceOps.setRgbEffect(effect, option1, option2);
}

void myQQuickView::mouseSetRGBColor(uchar type, QVariantList src24)
{
    m_deviceOps.setRgbColor(type, src24);
}

void myQQuickView::mouseSetProfile(uint profileNo)
{
    m_deviceOps.setProfile(profileNo);
}

void myQQuickView::mouseReadProfile(uint profileNo)
{
    m_deviceOps.readProfile(profileNo);
}

QVariant myQQuickView::mouseReadCurrentProfile()
{
    return QVariant(m_deviceOps.readCurrentProfile());
}

void myQQuickView::mouseSwitchKeyMatrix(int indexNo)
{
    m_deviceOps.switchKeyMatrix(indexNo);
}

QVariantList myQQuickView::GetKeyboardoption()
{
    return m_deviceOps.keyboardOption();
}

// A refused pointer setting is told to the screen as well as to the debug
// output, so the page does not pretend it took effect.
void myQQuickView::mouseSetCursorSpeed(uint cursorSpeed)
{
    if (!m_deviceOps.setCursorSpeed(cursorSpeed))
        emit pointerSettingFailed(QString::fromLatin1(PointerSettings::CursorSpeedFailed));
}

void myQQuickView::mouseSetVerticalScrollLines(uint lines)
{
    if (!m_deviceOps.setVerticalScrollLines(lines))
        emit pointerSettingFailed(QString::fromLatin1(PointerSettings::VerticalScrollLinesFailed));
}

void myQQuickView::mouseSetDoubleClickSpeed(uint speed)
{
    if (!m_deviceOps.setDoubleClickSpeed(speed))
        emit pointerSettingFailed(QString::fromLatin1(PointerSettings::DoubleClickSpeedFailed));
}

QVariantList myQQuickView::pointerSettingStates()
{
    QVariantList states;
    for (PointerSetting s : {PointerSetting::Speed, PointerSetting::DoubleClick,
                             PointerSetting::ScrollLines}) {
        QVariantMap state;
        state.insert(QStringLiteral("reason"), int(m_deviceOps.pointer().unavailable(s)));
        if (const std::optional<uint> v = m_deviceOps.pointer().current(s))
            state.insert(QStringLiteral("current"), *v);
        states << state;
    }
    return states;
}

QVariantList myQQuickView::mouseGetKeydefine(QVariant index, bool isRecovery)
{
    return m_deviceOps.keyDefine(index, isRecovery);
}

void myQQuickView::sendActiveProfile()
{
    // The screens' own rule libraries, compiled in beside them.
    if (!m_pageRules)
        m_pageRules = std::make_unique<PageRules>(QStringLiteral(":/modules/qml"));
    ProfileSender(*m_store, m_deviceOps, *m_pageRules).send();
}

void myQQuickView::noteWriteFailed()
{
    m_resendPending = true;
    emit writeFailed();
}

void myQQuickView::resendIfWriteFailed()
{
    if (!m_resendPending)
        return;
    m_resendPending = false;
    sendActiveProfile();
    emit profileResent();
}
