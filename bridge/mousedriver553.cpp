#include "bridge/mousedriver553.h"

#include <QDebug>

#include "device/hid_thread.h"

void MouseDriver553::sendKeyLayer(keymatrix::Layer &layer1)
{
    if (Hid_Thread *h = hid())
        h->hid553_12H_SetKeyMatrix(layer1.data(), 1);
}

void MouseDriver553::sendRecoilLayers(keymatrix::RecoilLayers &r)
{
    Hid_Thread *h = hid();
    if (!h)
        return;
    h->hid553_12H_SetKeyMatrix(r.layer1.data(), 1);
    h->hid553_12H_SetKeyMatrix(r.layer2.data(), 2);
    h->hid553_12H_SetKeyMatrix(r.layer3.data(), 3);
    h->hid553_12H_SetKeyMatrix(r.layer4.data(), 4);
    h->hid553_02H_SetCurrentKeyMatrix(1);
}

void MouseDriver553::resetKeyLayers(keymatrix::LayerBuffer &factory)
{
    if (Hid_Thread *h = hid())
        for (uchar layer = 2; layer <= 4; ++layer)
            h->hid553_12H_SetKeyMatrix(factory.data(), layer);
}

void MouseDriver553::selectKeyLayer(int indexNo)
{
    // This family counts its key matrices from 0.
    if (Hid_Thread *h = hid())
        h->hid553_02H_SetCurrentKeyMatrix(static_cast<uchar>((indexNo - 1) & 0xFF));
}

void MouseDriver553::setDpiStages(const dpistages::StageCodes &codes, int dpiCount, const QString &)
{
    Hid_Thread *h = hid();
    if (!h)
        return;
    std::array<uchar, dpistages::StageCount> sent = dpistages::codesFor553(codes, dpiCount);
    h->hid553_11H_SetDPISet(static_cast<uchar>(dpiCount & 0xFF), sent.data());
}

void MouseDriver553::setCurrentStage(uchar stage)
{
    if (Hid_Thread *h = hid())
        h->hid553_0BH_SetCurrentDPI(stage);
}

int MouseDriver553::currentStage()
{
    uchar byte1 = 0;
    if (Hid_Thread *h = hid())
        h->hid553_8BH_GetCurrentDPI(byte1);
    return byte1;
}

void MouseDriver553::setLightingEffect(uchar effect, uchar option1, uchar option2)
{
    Hid_Thread *h = hid();
    if (!h)
        return;
    if (m_facts.isColorful) {
        const lighting::Triple t = lighting::multiColourTriple(effect, option1, option2);
        h->hid553_0DH_SetRGBLedEffect(t.first, t.second, t.third);
        return;
    }
    const lighting::Triple t = lighting::singleColourTriple(effect, option1, option2);
    h->hid553_0DH_SetRGBLedEffect(t.first, t.second, m_facts.is55328 ? t.third : uchar(2));
}

void MouseDriver553::setColours(uchar type, lighting::Colours &c)
{
    Hid_Thread *h = hid();
    if (!h)
        return;
    if (m_facts.is55328) {
        if (lighting::hasEighthColour(c))
            h->hid553_10H_SetLED8StageColor(0, c.data());
        else
            h->hid553_0CH_SetFixLEDColor(c.data());
        return;
    }
    h->hid553_10H_SetLED8StageColor(type, c.data());
    h->hid553_10H_SetLED8StageColor(type, c.data());
}

void MouseDriver553::sendMacro(uchar id, uchar *image128)
{
    if (Hid_Thread *h = hid())
        h->hid553_13H_SetMacroKey(id, image128);
}

bool MouseDriver553::sendRecoil(int gunSlot, uchar times, uchar x, uchar y)
{
    Hid_Thread *h = hid();
    if (!h)
        return false;
    uchar o1 = 0, o2 = 0, o3 = 0, o4 = 0;
    h->hid553_83H_GetKeyboardoption(o1, o2, o3, o4);
    // Without the option the Y direction is unknown: sending a guess could
    // pull the aim the wrong way.
    if (!h->lastReadOk()) {
        qDebug("mouseSendGundata: keyboard option not read; recoil data of slot %d not sent", gunSlot);
        h->reportWriteFailure();
        return false;
    }
    // The mouse reports whether its Y axis runs the other way.
    const uchar ySent = o3 != 0 ? static_cast<uchar>(-int(y)) : y;
    h->hid553_04H_SetGunData(times, x, ySent, static_cast<uchar>(gunSlot - 1));
    return true;
}

void MouseDriver553::setReportRate(uchar rate)
{
    if (Hid_Thread *h = hid())
        h->hid553_01H_SetReportRate(rate);
}
