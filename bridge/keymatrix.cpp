#include "bridge/keymatrix.h"

#include "bridge/qmllist.h"

namespace keymatrix {

Entry toDevice(const Entry &in, CommandFamily family)
{
    const uchar b1 = in[1], b2 = in[2], b3 = in[3];
    switch (in[0]) {
    case IfMouseButton:
        if (b2 == LightingSwitchCode)
            return {DevSpecial, b1, 0x00, b3};
        return {DevMouseButton, b1, b2, b3};
    case IfRapidFire:
        return {DevRapidFire, b1, b2, b3};
    case IfKeyCombo:
    case IfWindows:
    case IfShortcut:
        return {DevKeyboard, b1, b2, b3};
    case IfMacro:
        // The device numbers its macros from 1; the entry holds the slot.
        return {DevMacro, b1, static_cast<uchar>(b2 + 1), b3};
    case IfDpi:
        if (b2 == SniperFunction) {
            if (family == CommandFamily::F560)
                return {DevSpecial, 0x00, 0x01, 0x01};
            return {DevDpi, 0x00, 0x04, 0x01};
        }
        return {DevDpi, b1, b2, b3};
    case IfReserved:
        return {DevReserved, b1, b2, b3};
    default:
        // Media keys and gun switches already are in device form; the gun
        // switch is completed by the recoil layers.
        return in;
    }
}

Layer buildLayer1(const QVariantList &src64, CommandFamily family)
{
    Layer layer{};
    for (int n = 0; n < SlotCount; ++n) {
        Entry in;
        for (int k = 0; k < EntrySize; ++k)
            in[k] = qmllist::byteAt(src64, n * EntrySize + k);
        const Entry out = toDevice(in, family);
        for (int k = 0; k < EntrySize; ++k)
            layer[n * EntrySize + k] = out[k];
    }
    return layer;
}

bool hasGunSwitch(const Layer &layer)
{
    for (int n = 0; n < SlotCount; ++n)
        if (layer[n * EntrySize] == DevGunSwitch)
            return true;
    return false;
}

LayerBuffer factoryBuffer(const QList<QVariantList> &factory)
{
    LayerBuffer buf{};
    for (int n = 0; n < SlotCount && n < factory.size(); ++n)
        for (int k = 0; k < EntrySize; ++k)
            buf[n * EntrySize + k] = qmllist::byteAt(factory.at(n), k);
    return buf;
}

uchar layerMaskForGuns(uchar guns)
{
    switch (guns) {
    case 1: return 0x07;
    case 2: return 0x0F;
    case 3: return 0x1F;
    default: return 0;
    }
}

namespace {

// The "next layer" byte of a gun switch in layers 1-4 for g guns, or -1 when
// the byte keeps its value (g outside 1-3). The families differ only in what
// layer 2 points to when a second gun exists.
int nextLayer(int layerNo, uchar g, CommandFamily family)
{
    if (g < 1 || g > 3)
        return -1;
    switch (layerNo) {
    case 1: return 1;
    case 2: return g == 1 ? 0 : (family == CommandFamily::F560 ? 3 : 2);
    case 3: return g == 3 ? 3 : 0;
    default: return 0;
    }
}

} // namespace

RecoilLayers buildRecoilLayers(const Layer &layer1, const LayerBuffer &factory,
                               const QVariantList &periods, CommandFamily family)
{
    RecoilLayers r;
    r.layer1 = layer1;
    r.layer2 = factory;
    r.layer3 = factory;
    r.layer4 = factory;
    uchar *layers[4] = {r.layer1.data(), r.layer2.data(), r.layer3.data(), r.layer4.data()};

    for (int n = 0; n < SlotCount; ++n) {
        const int at = n * EntrySize;
        if (layer1[at] != DevGunSwitch)
            continue;
        const uchar g = layer1[at + 2];
        for (int l = 1; l < 4; ++l)
            layers[l][at] = DevGunSwitch;
        for (int l = 0; l < 4; ++l) {
            uchar *e = layers[l] + at;
            const int next = nextLayer(l + 1, g, family);
            if (family == CommandFamily::F553) {
                if (next >= 0)
                    e[3] = static_cast<uchar>(next);
                e[2] = 0x01;
                e[1] = 0x00;
            } else if (next >= 0) {
                e[2] = static_cast<uchar>(next);
            }
        }
        if (family == CommandFamily::F560 && layerMaskForGuns(g) != 0) {
            // The last gun switch in slot order decides.
            r.hasLayerMask = true;
            r.layerMask = layerMaskForGuns(g);
        }
    }

    // The left button fires the selected gun in each recoil layer.
    for (int l = 1; l < 4; ++l) {
        uchar *e = layers[l];
        e[0] = DevSpecial;
        e[1] = static_cast<uchar>(l - 1);
        e[2] = qmllist::byteAt(periods, l - 1);
        e[3] = 0x00;
    }
    return r;
}

} // namespace keymatrix
