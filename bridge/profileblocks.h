#pragma once

#include <QtGlobal>
#include <array>

#include "bridge/dpistages.h"
#include "bridge/lighting.h"

// The view's mirror of the five on-device profile records of a 560-family
// mouse. Operations write their fields here and send whole blocks, so every
// byte they do not own goes back to the mouse as it was read.
class ProfileBlocks
{
public:
    static constexpr int BlockCount = 5;
    static constexpr int BlockSize = 128;

    // Field offsets within a block (and which blocks carry them).
    enum Offset : int {
        RecoilLayerMask = 2,    // block 0
        MultiColours = 24,      // block 0, 24 bytes R,G,B x 8
        GunFlags = 65,          // blocks 2-4, bit 2 cleared by recoil data
        LightEffect = 71,       // blocks 1-4
        LightValue = 72,        // blocks 1-4
        LightOption = 73,       // blocks 1-4
        GunMarker = 78,         // blocks 2-4, 0xF0 when recoil data present
        GunTimes = 79,          // blocks 2-4
        GunX = 80,              // blocks 2-4
        GunY = 81,              // blocks 2-4
        DpiHighMaskX = 82,      // blocks 1-4, sensor "3389"
        DpiHighMaskY = 83,
        DpiCodesX = 84,         // blocks 1-4, 8 stage codes
        DpiCodesY = 92,         // blocks 1-4, the same 8 codes
        DpiEnableMask = 100,    // blocks 1-4
        SingleColours = 104,    // block 1, 24 bytes R,G,B x 8
    };
    static constexpr uchar GunMarkerValue = 0xF0;
    static constexpr uchar GunFlagCleared = 0x04;

    using Block = std::array<uchar, BlockSize>;

    static bool isValidBlock(uint block) { return block < BlockCount; }

    // Zero-filled until the first read from the mouse.
    uchar *data(uint block) { return m_blocks[block].data(); }
    const Block &block(uint block) const { return m_blocks[block]; }
    uchar at(uint block, int offset) const { return m_blocks[block][offset]; }
    void set(uint block, int offset, uchar value) { m_blocks[block][offset] = value; }

    void setRecoilLayerMask(uchar mask) { set(0, RecoilLayerMask, mask); }
    // DPI fields in blocks 1-4; the high-bit mask only when writeHighMask.
    void setDpi(const dpistages::StageCodes &codes, uchar enableMask, bool writeHighMask);
    // Lighting triple in blocks 1-4.
    void setLighting(const lighting::Triple &t);
    void setMultiColours(const lighting::Colours &c);
    void setSingleColours(const lighting::Colours &c);
    // Recoil data of gun slot 1-3 into block slot+1; false (nothing
    // written) for any other slot.
    bool setGun(int gunSlot, uchar times, uchar x, uchar y);

    static constexpr bool isValidGunSlot(int gunSlot) { return gunSlot >= 1 && gunSlot <= 3; }
    static constexpr int gunBlock(int gunSlot) { return gunSlot + 1; }

private:
    std::array<Block, BlockCount> m_blocks{};
};
