#include "bridge/profileblocks.h"

#include <algorithm>

void ProfileBlocks::setDpi(const dpistages::StageCodes &codes, uchar enableMask, bool writeHighMask)
{
    for (uint b = 1; b < BlockCount; ++b) {
        Block &blk = m_blocks[b];
        std::copy(codes.codes.begin(), codes.codes.end(), blk.begin() + DpiCodesX);
        std::copy(codes.codes.begin(), codes.codes.end(), blk.begin() + DpiCodesY);
        blk[DpiEnableMask] = enableMask;
        if (writeHighMask) {
            blk[DpiHighMaskX] = codes.highBitMask;
            blk[DpiHighMaskY] = codes.highBitMask;
        }
    }
}

void ProfileBlocks::setLighting(const lighting::Triple &t)
{
    for (uint b = 1; b < BlockCount; ++b) {
        m_blocks[b][LightEffect] = t.first;
        m_blocks[b][LightValue] = t.second;
        m_blocks[b][LightOption] = t.third;
    }
}

void ProfileBlocks::setMultiColours(const lighting::Colours &c)
{
    std::copy(c.begin(), c.end(), m_blocks[0].begin() + MultiColours);
}

void ProfileBlocks::setSingleColours(const lighting::Colours &c)
{
    std::copy(c.begin(), c.end(), m_blocks[1].begin() + SingleColours);
}

bool ProfileBlocks::setGun(int gunSlot, uchar times, uchar x, uchar y)
{
    if (!isValidGunSlot(gunSlot))
        return false;
    Block &blk = m_blocks[gunBlock(gunSlot)];
    blk[GunMarker] = GunMarkerValue;
    blk[GunTimes] = times;
    blk[GunX] = x;
    blk[GunY] = y;
    blk[GunFlags] = static_cast<uchar>(blk[GunFlags] & ~GunFlagCleared);
    return true;
}
