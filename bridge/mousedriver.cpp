#include "bridge/mousedriver.h"

#include "bridge/mousedriver553.h"
#include "bridge/mousedriver560.h"
#include "device/hid_thread.h"

MouseDriver::MouseDriver(const DeviceFacts &facts, HidProvider hid, ProfileBlocks &blocks)
    : m_facts(facts), m_hid(std::move(hid)), m_blocks(blocks)
{
}

std::unique_ptr<MouseDriver> MouseDriver::forFamily(const DeviceFacts &facts, HidProvider hid,
                                                    ProfileBlocks &blocks)
{
    if (facts.family() == CommandFamily::F560)
        return std::make_unique<MouseDriver560>(facts, std::move(hid), blocks);
    return std::make_unique<MouseDriver553>(facts, std::move(hid), blocks);
}

void MouseDriver::setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (Hid_Thread *h = hid())
        h->hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

QVariantList MouseDriver::keyboardOption()
{
    uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
    if (Hid_Thread *h = hid())
        h->hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    return {int(b1), int(b2), int(b3), int(b4)};
}

void MouseDriver::sendProfileRecord(uint record)
{
    if (Hid_Thread *h = hid())
        h->hid560_0CH_setProfile(m_blocks.data(record), static_cast<uchar>(record));
}

void MouseDriver::readProfileRecord(uint record)
{
    if (Hid_Thread *h = hid())
        h->hid560_8CH_readProfile(m_blocks.data(record), static_cast<uchar>(record));
}

int MouseDriver::readCurrentProfile()
{
    uchar byte1 = 0;
    if (Hid_Thread *h = hid())
        h->hid560_82H_GetCurrentProfile(byte1);
    return byte1;
}
