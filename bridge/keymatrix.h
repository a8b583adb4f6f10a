#pragma once

#include <QVariantList>
#include <array>

#include "bridge/family.h"

// Key entries: four bytes, function type first. The screens keep them in an
// interface encoding; the mouse wants its own device encoding. A layer is the
// device form of all sixteen button slots.
namespace keymatrix {

constexpr int SlotCount = 16;
constexpr int EntrySize = 4;
constexpr int LayerSize = SlotCount * EntrySize;   // 64
// Layers 2-4 and the reset travel in zero-filled buffers of this size.
constexpr int LayerBufferSize = 128;

using Entry = std::array<uchar, EntrySize>;
using Layer = std::array<uchar, LayerSize>;
using LayerBuffer = std::array<uchar, LayerBufferSize>;

// Interface function types (first byte of an interface entry).
enum InterfaceType : uchar {
    IfMouseButton = 0, IfRapidFire = 1, IfKeyCombo = 2, IfMedia = 3, IfMacro = 4,
    IfDpi = 5, IfWindows = 6, IfShortcut = 7, IfGunSwitch = 8, IfReserved = 0xFF
};

// Device function types (first byte of a device entry).
enum DeviceType : uchar {
    DevKeyboard = 0x00, DevMouseButton = 0x01, DevMedia = 0x03, DevReserved = 0x04,
    DevDpi = 0x07, DevGunSwitch = 0x08, DevMacro = 0x09, DevRapidFire = 0x0A,
    DevSpecial = 0x0B
};

constexpr uchar LightingSwitchCode = 0xFF;   // mouse-button entry that toggles the lights
constexpr uchar SniperFunction = 4;          // DPI function number of "sniper"

// One interface entry in device encoding.
Entry toDevice(const Entry &in, CommandFamily family);

// Layer 1 from the flat list of 64 interface values; missing values count as 0.
Layer buildLayer1(const QVariantList &src64, CommandFamily family);

bool hasGunSwitch(const Layer &layer);

// The factory matrix as a zero-filled 128-byte buffer: entry n from
// factory[n] (four values, missing ones 0). factory may hold fewer than 16.
LayerBuffer factoryBuffer(const QList<QVariantList> &factory);

// The recoil layers built from layer 1 and the factory matrix.
struct RecoilLayers
{
    Layer layer1{};
    LayerBuffer layer2{}, layer3{}, layer4{};
    // The 560 family records the number of guns in profile block 0; unset
    // when no gun switch had a count of 1 to 3.
    bool hasLayerMask = false;
    uchar layerMask = 0;
};

// Layer mask for a gun count of 1, 2 or 3 (0x07, 0x0F, 0x1F); 0 otherwise.
uchar layerMaskForGuns(uchar guns);

// periods: firing periods of gun slots 1, 2 and 3; missing values count as 0.
RecoilLayers buildRecoilLayers(const Layer &layer1, const LayerBuffer &factory,
                               const QVariantList &periods, CommandFamily family);

} // namespace keymatrix
