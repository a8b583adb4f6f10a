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

void DeviceOps::selectDriver()
{
    // The device object may be set or replaced later: the driver asks for it.
    m_driver = MouseDriver::forFamily(facts(), [this] { return m_hid ? m_hid() : nullptr; }, m_blocks);
}

MouseDriver &DeviceOps::driver()
{
    if (!m_driver)
        selectDriver();
    return *m_driver;
}

keymatrix::LayerBuffer DeviceOps::factoryLayer() const
{
    QList<QVariantList> factory;
    for (int n = 0; n < keymatrix::SlotCount; ++n)
        factory.append(m_settings ? m_settings->list(factoryKeyMatrixKey(n), false) : QVariantList{});
    return keymatrix::factoryBuffer(factory);
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

    MouseDriver &d = driver();
    Layer layer1 = buildLayer1(src64, d.family());
    if (!hasGunSwitch(layer1)) {
        d.sendKeyLayer(layer1);
        return;
    }
    RecoilLayers r = buildRecoilLayers(layer1, factoryLayer(), otherParam, d.family());
    d.sendRecoilLayers(r);
}

void DeviceOps::resetKeyMatrix()
{
    keymatrix::LayerBuffer buf = factoryLayer();
    driver().resetKeyLayers(buf);
}

void DeviceOps::switchKeyMatrix(int indexNo)
{
    driver().selectKeyLayer(indexNo);
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
    driver().setDpiStages(dpistages::encode(sensorType, dpiValues), dpiCount, sensorType);
}

void DeviceOps::setCurrentDpi(uchar stage)
{
    driver().setCurrentStage(stage);
}

int DeviceOps::currentDpi()
{
    return driver().currentStage();
}

// ---- lighting ---------------------------------------------------------------

void DeviceOps::setRgbEffect(uchar effect, uchar option1, uchar option2)
{
    driver().setLightingEffect(effect, option1, option2);
}

void DeviceOps::setRgbColor(uchar type, const QVariantList &src24)
{
    lighting::Colours c = lighting::colourBytes(src24);
    driver().setColours(type, c);
}

// ---- macros -----------------------------------------------------------------

bool DeviceOps::sendMacroData(const QVariantList &macroData, const QVariant &macroIndex)
{
    const uint slot = macroIndex.toUInt() & 0xFF;
    if (slot >= macroimage::MacroSlotCount)
        return true;
    std::array<uchar, macroimage::MaxImageBytes> buf = macroimage::transferBuffer(macroData);
    driver().sendMacro(static_cast<uchar>(slot + 1), buf.data());
    return true;
}

// ---- recoil -----------------------------------------------------------------

void DeviceOps::sendGunData(int index, const QVariantList &src6)
{
    if (!driver().facts().isGun)
        return;
    if (!ProfileBlocks::isValidGunSlot(index)) {
        qDebug("mouseSendGundata: gun slot %d outside 1-3 ignored", index);
        return;
    }
    driver().sendRecoil(index, qmllist::byteAt(src6, 0), qmllist::byteAt(src6, 1),
                        qmllist::byteAt(src6, 2));
}

// ---- report rate, keyboard option, profiles -----------------------------------

void DeviceOps::setReportRate(uchar rate)
{
    driver().setReportRate(rate);
}

void DeviceOps::setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    driver().setKeyboardOption(byte1, byte2, byte3, byte4);
}

QVariantList DeviceOps::keyboardOption()
{
    return driver().keyboardOption();
}

void DeviceOps::setProfile(uint profileNo)
{
    if (!ProfileBlocks::isValidBlock(profileNo)) {
        qDebug("mouseSetProfile: block %u outside 0-4 ignored", profileNo);
        return;
    }
    driver().sendProfileRecord(profileNo);
}

void DeviceOps::readProfile(uint profileNo)
{
    if (!ProfileBlocks::isValidBlock(profileNo)) {
        qDebug("mouseReadProfile: block %u outside 0-4 ignored", profileNo);
        return;
    }
    driver().readProfileRecord(profileNo);
}

int DeviceOps::readCurrentProfile()
{
    return driver().readCurrentProfile();
}
