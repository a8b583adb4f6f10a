#include "bridge/deviceops.h"

#include <QDebug>

#include "bridge/dpistages.h"
#include "bridge/keymatrix.h"
#include "bridge/lighting.h"
#include "bridge/macroimage.h"
#include "bridge/profilesettings.h"
#include "bridge/qmllist.h"
#include "device/hid_thread.h"

DeviceOps::DeviceOps() = default;
DeviceOps::~DeviceOps() = default;

QString DeviceOps::keyMatrixKey(int slot)
{
    return QStringLiteral("mouseKeyMatrix/") + QString::number(slot);
}

QString DeviceOps::factoryKeyMatrixKey(int slot)
{
    return QStringLiteral("mouseFwKeyMatrix/") + QString::number(slot);
}

void DeviceOps::sendBlocks(Hid_Thread *h, std::initializer_list<uint> blocks)
{
    for (uint b : blocks)
        h->hid560_0CH_setProfile(m_blocks.data(b), static_cast<uchar>(b));
}

void DeviceOps::sendSettingBlocks(Hid_Thread *h, bool isGun)
{
    if (isGun)
        sendBlocks(h, {1, 2, 3, 4});
    else
        sendBlocks(h, {1});
}

keymatrix::LayerBuffer DeviceOps::factoryLayer() const
{
    QList<QVariantList> factory;
    for (int n = 0; n < keymatrix::SlotCount; ++n)
        factory.append(m_settings ? m_settings->list(factoryKeyMatrixKey(n), false) : QVariantList{});
    return keymatrix::factoryBuffer(factory);
}

static void sendKeyMatrixLayer(Hid_Thread *h, CommandFamily family, uchar *layer, uchar layerNo)
{
    if (family == CommandFamily::F560)
        h->hid560_0DH_SetKeyMatrix(layer, layerNo);
    else
        h->hid553_12H_SetKeyMatrix(layer, layerNo);
}

// ---- key matrix -----------------------------------------------------------

void DeviceOps::setKeyMatrix(const QVariantList &src64, bool isSendData,
                             const QVariantList &otherParam)
{
    using namespace keymatrix;
    if (m_settings) {
        for (int n = 0; n < SlotCount; ++n) {
            QVariantList entry;
            for (int k = 0; k < EntrySize; ++k)
                entry.append(qmllist::valueAt(src64, n * EntrySize + k));
            m_settings->setList(keyMatrixKey(n), entry);
        }
    }
    if (!isSendData)
        return;

    const CommandFamily family = facts().family();
    Layer layer1 = buildLayer1(src64, family);
    Hid_Thread *h = hid();

    if (!hasGunSwitch(layer1)) {
        if (h)
            sendKeyMatrixLayer(h, family, layer1.data(), 1);
        return;
    }

    RecoilLayers r = buildRecoilLayers(layer1, factoryLayer(), otherParam, family);

    if (family == CommandFamily::F560 && r.hasLayerMask)
        m_blocks.setRecoilLayerMask(r.layerMask);
    if (!h)
        return;
    if (family == CommandFamily::F560)
        sendBlocks(h, {0});
    sendKeyMatrixLayer(h, family, r.layer1.data(), 1);
    sendKeyMatrixLayer(h, family, r.layer2.data(), 2);
    sendKeyMatrixLayer(h, family, r.layer3.data(), 3);
    sendKeyMatrixLayer(h, family, r.layer4.data(), 4);
    if (family == CommandFamily::F560)
        h->hid560_02H_SetCurrentProfile(1);
    else
        h->hid553_02H_SetCurrentKeyMatrix(1);
}

void DeviceOps::resetKeyMatrix()
{
    keymatrix::LayerBuffer buf = factoryLayer();
    Hid_Thread *h = hid();
    if (!h)
        return;
    const CommandFamily family = facts().family();
    for (uchar layer = 2; layer <= 4; ++layer)
        sendKeyMatrixLayer(h, family, buf.data(), layer);
}

void DeviceOps::switchKeyMatrix(int indexNo)
{
    Hid_Thread *h = hid();
    if (!h)
        return;
    if (facts().family() == CommandFamily::F560)
        h->hid560_02H_SetCurrentProfile(static_cast<uchar>(indexNo & 0xFF));
    else
        h->hid553_02H_SetCurrentKeyMatrix(static_cast<uchar>((indexNo - 1) & 0xFF));
}

QVariantList DeviceOps::keyDefine(const QVariant &index, bool fromDefaults) const
{
    if (!m_settings)
        return {};
    return m_settings->list(QStringLiteral("mouseKeyMatrix/") + index.toString(), fromDefaults);
}

// ---- DPI --------------------------------------------------------------------

void DeviceOps::setDpi(int dpiCount, const QString &sensorType, const QVariantList &dpiValues)
{
    const dpistages::StageCodes codes = dpistages::encode(sensorType, dpiValues);
    const DeviceFacts f = facts();
    Hid_Thread *h = hid();
    if (f.family() == CommandFamily::F560) {
        m_blocks.setDpi(codes, dpistages::enableMask(dpiCount),
                        sensorType == QLatin1String("3389"));
        if (h)
            sendSettingBlocks(h, f.isGun);
        return;
    }
    if (!h)
        return;
    std::array<uchar, dpistages::StageCount> sent = dpistages::codesFor553(codes, dpiCount);
    h->hid553_11H_SetDPISet(static_cast<uchar>(dpiCount & 0xFF), sent.data());
}

void DeviceOps::setCurrentDpi(uchar stage)
{
    Hid_Thread *h = hid();
    if (!h)
        return;
    if (facts().family() == CommandFamily::F560)
        h->hid560_04H_SetCurrentDPI(stage);
    else
        h->hid553_0BH_SetCurrentDPI(stage);
}

int DeviceOps::currentDpi()
{
    Hid_Thread *h = hid();
    if (facts().family() == CommandFamily::F560) {
        uchar byte1 = 1, byte2 = 0;
        if (h)
            h->hid560_84H_GetCurrentDPI(byte1, byte2);
        return byte2;
    }
    uchar byte1 = 0;
    if (h)
        h->hid553_8BH_GetCurrentDPI(byte1);
    return byte1;
}

// ---- lighting ---------------------------------------------------------------

void DeviceOps::setRgbEffect(uchar effect, uchar option1, uchar option2)
{
    const DeviceFacts f = facts();
    Hid_Thread *h = hid();
    const bool is560 = f.family() == CommandFamily::F560;

    if (f.isColorful) {
        const lighting::Triple t = lighting::multiColourTriple(effect, option1, option2);
        if (is560) {
            m_blocks.setLighting(t);
            if (h)
                sendSettingBlocks(h, f.isGun);
        } else if (h) {
            h->hid553_0DH_SetRGBLedEffect(t.first, t.second, t.third);
        }
        return;
    }

    const lighting::Triple t = lighting::singleColourTriple(effect, option1, option2);
    if (is560) {
        m_blocks.setLighting({t.first, t.second, 2});
        // Without recoil only block 1 is sent, and it carries option 3.
        if (!f.isGun)
            m_blocks.set(1, ProfileBlocks::LightOption, 3);
        if (h)
            sendSettingBlocks(h, f.isGun);
        return;
    }
    if (h)
        h->hid553_0DH_SetRGBLedEffect(t.first, t.second, f.is55328 ? t.third : uchar(2));
}

void DeviceOps::setRgbColor(uchar type, const QVariantList &src24)
{
    lighting::Colours c = lighting::colourBytes(src24);
    const DeviceFacts f = facts();
    Hid_Thread *h = hid();
    if (f.family() == CommandFamily::F560) {
        if (f.isColorful) {
            m_blocks.setMultiColours(c);
            if (h)
                sendBlocks(h, {0});
        } else {
            m_blocks.setSingleColours(c);
            if (h)
                sendBlocks(h, {1});
        }
        return;
    }
    if (!h)
        return;
    if (f.is55328) {
        if (lighting::hasEighthColour(c))
            h->hid553_10H_SetLED8StageColor(0, c.data());
        else
            h->hid553_0CH_SetFixLEDColor(c.data());
        return;
    }
    h->hid553_10H_SetLED8StageColor(type, c.data());
    h->hid553_10H_SetLED8StageColor(type, c.data());
}

// ---- macros -----------------------------------------------------------------

bool DeviceOps::sendMacroData(const QVariantList &macroData, const QVariant &macroIndex)
{
    const uint slot = macroIndex.toUInt() & 0xFF;
    if (slot >= macroimage::MacroSlotCount)
        return true;
    Hid_Thread *h = hid();
    if (!h)
        return true;
    std::array<uchar, macroimage::MaxImageBytes> buf = macroimage::transferBuffer(macroData);
    const uchar id = static_cast<uchar>(slot + 1);
    if (facts().family() == CommandFamily::F560)
        h->hid560_0FH_SetMacroKey(id, buf.data());
    else
        h->hid553_13H_SetMacroKey(id, buf.data());
    return true;
}

// ---- recoil -----------------------------------------------------------------

void DeviceOps::sendGunData(int index, const QVariantList &src6)
{
    const DeviceFacts f = facts();
    if (!f.isGun)
        return;
    if (!ProfileBlocks::isValidGunSlot(index)) {
        qDebug("mouseSendGundata: gun slot %d outside 1-3 ignored", index);
        return;
    }
    const uchar times = qmllist::byteAt(src6, 0);
    const uchar x = qmllist::byteAt(src6, 1);
    const uchar y = qmllist::byteAt(src6, 2);
    Hid_Thread *h = hid();

    if (f.family() == CommandFamily::F560) {
        m_blocks.setGun(index, times, x, y);
        if (h)
            sendBlocks(h, {uint(ProfileBlocks::gunBlock(index))});
        return;
    }
    if (!h)
        return;
    uchar o1 = 0, o2 = 0, o3 = 0, o4 = 0;
    h->hid553_83H_GetKeyboardoption(o1, o2, o3, o4);
    // Without the option the Y direction is unknown: sending a guess could
    // pull the aim the wrong way.
    if (!h->lastReadOk()) {
        qDebug("mouseSendGundata: keyboard option not read; recoil data of slot %d not sent", index);
        h->reportWriteFailure();
        return;
    }
    // The mouse reports whether its Y axis runs the other way.
    const uchar ySent = o3 != 0 ? static_cast<uchar>(-int(y)) : y;
    h->hid553_04H_SetGunData(times, x, ySent, static_cast<uchar>(index - 1));
}

// ---- report rate, keyboard option, profiles -----------------------------------

void DeviceOps::setReportRate(uchar rate)
{
    Hid_Thread *h = hid();
    if (!h)
        return;
    if (facts().family() == CommandFamily::F560)
        h->hid560_03H_SetReportRate(rate);
    else
        h->hid553_01H_SetReportRate(rate);
}

void DeviceOps::setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (Hid_Thread *h = hid())
        h->hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

QVariantList DeviceOps::keyboardOption()
{
    uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
    if (Hid_Thread *h = hid())
        h->hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    return {int(b1), int(b2), int(b3), int(b4)};
}

void DeviceOps::setProfile(uint profileNo)
{
    if (!ProfileBlocks::isValidBlock(profileNo)) {
        qDebug("mouseSetProfile: block %u outside 0-4 ignored", profileNo);
        return;
    }
    if (Hid_Thread *h = hid())
        sendBlocks(h, {profileNo});
}

void DeviceOps::readProfile(uint profileNo)
{
    if (!ProfileBlocks::isValidBlock(profileNo)) {
        qDebug("mouseReadProfile: block %u outside 0-4 ignored", profileNo);
        return;
    }
    if (Hid_Thread *h = hid())
        h->hid560_8CH_readProfile(m_blocks.data(profileNo), static_cast<uchar>(profileNo));
}

int DeviceOps::readCurrentProfile()
{
    uchar byte1 = 0;
    if (Hid_Thread *h = hid())
        h->hid560_82H_GetCurrentProfile(byte1);
    return byte1;
}
