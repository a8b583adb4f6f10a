#include "bridge/mousedriver560.h"

#include "device/hid_thread.h"

void MouseDriver560::sendRecords(std::initializer_list<uint> records)
{
    for (uint r : records)
        sendProfileRecord(r);
}

void MouseDriver560::sendSettingRecords()
{
    if (m_facts.isGun)
        sendRecords({1, 2, 3, 4});
    else
        sendRecords({1});
}

void MouseDriver560::sendKeyLayer(keymatrix::Layer &layer1)
{
    if (Hid_Thread *h = hid())
        h->hid560_0DH_SetKeyMatrix(layer1.data(), 1);
}

void MouseDriver560::sendRecoilLayers(keymatrix::RecoilLayers &r)
{
    if (r.hasLayerMask)
        m_blocks.setRecoilLayerMask(r.layerMask);
    Hid_Thread *h = hid();
    if (!h)
        return;
    sendRecords({0});
    h->hid560_0DH_SetKeyMatrix(r.layer1.data(), 1);
    h->hid560_0DH_SetKeyMatrix(r.layer2.data(), 2);
    h->hid560_0DH_SetKeyMatrix(r.layer3.data(), 3);
    h->hid560_0DH_SetKeyMatrix(r.layer4.data(), 4);
    h->hid560_02H_SetCurrentProfile(1);
}

void MouseDriver560::resetKeyLayers(keymatrix::LayerBuffer &factory)
{
    if (Hid_Thread *h = hid())
        for (uchar layer = 2; layer <= 4; ++layer)
            h->hid560_0DH_SetKeyMatrix(factory.data(), layer);
}

void MouseDriver560::selectKeyLayer(int indexNo)
{
    if (Hid_Thread *h = hid())
        h->hid560_02H_SetCurrentProfile(static_cast<uchar>(indexNo & 0xFF));
}

void MouseDriver560::setDpiStages(const dpistages::StageCodes &codes, int dpiCount,
                                  const QString &sensorType)
{
    m_blocks.setDpi(codes, dpistages::enableMask(dpiCount), sensorType == QLatin1String("3389"));
    sendSettingRecords();
}

void MouseDriver560::setCurrentStage(uchar stage)
{
    if (Hid_Thread *h = hid())
        h->hid560_04H_SetCurrentDPI(stage);
}

int MouseDriver560::currentStage()
{
    uchar byte1 = 1, byte2 = 0;
    if (Hid_Thread *h = hid())
        h->hid560_84H_GetCurrentDPI(byte1, byte2);
    return byte2;
}

void MouseDriver560::setLightingEffect(uchar effect, uchar option1, uchar option2)
{
    if (m_facts.isColorful) {
        m_blocks.setLighting(lighting::multiColourTriple(effect, option1, option2));
    } else {
        const lighting::Triple t = lighting::singleColourTriple(effect, option1, option2);
        m_blocks.setLighting({t.first, t.second, 2});
        // Without recoil only record 1 is sent, and it carries option 3.
        if (!m_facts.isGun)
            m_blocks.set(1, ProfileBlocks::LightOption, 3);
    }
    sendSettingRecords();
}

void MouseDriver560::setColours(uchar, lighting::Colours &c)
{
    if (m_facts.isColorful) {
        m_blocks.setMultiColours(c);
        sendRecords({0});
    } else {
        m_blocks.setSingleColours(c);
        sendRecords({1});
    }
}

void MouseDriver560::sendMacro(uchar id, uchar *image128)
{
    if (Hid_Thread *h = hid())
        h->hid560_0FH_SetMacroKey(id, image128);
}

bool MouseDriver560::sendRecoil(int gunSlot, uchar times, uchar x, uchar y)
{
    m_blocks.setGun(gunSlot, times, x, y);
    sendRecords({uint(ProfileBlocks::gunBlock(gunSlot))});
    return hid() != nullptr;
}

void MouseDriver560::setReportRate(uchar rate)
{
    if (Hid_Thread *h = hid())
        h->hid560_03H_SetReportRate(rate);
}

void MouseDriver560::readOnConnection()
{
    for (uint record = 0; record < (m_facts.isGun ? 5u : 2u); ++record)
        readProfileRecord(record);
}
