#pragma once

// The screens' values the bridge benchmarks send: a key matrix (with a gun
// switch on button 8 when asked), eight DPI stages, 24 colour bytes and a
// short macro image.

#include <QVariantList>
#include <cstring>

#include "bridge/deviceops.h"
#include "bridge/macroimage.h"
#include "device/hid_thread.h"
#include "device/protocol.h"
#include "device/protocolclock.h"
#include "tests/bridge/bridgefakes.h"

namespace benchdata {

inline QVariantList keyMatrix(bool withRecoil)
{
    QVariantList m;
    for (int n = 0; n < 16; ++n)
        m << 0 << 0 << 0xF0 + n % 5 << 0;
    if (withRecoil) {
        m[28] = 8;
        m[30] = 3;
    }
    return m;
}

inline QVariantList dpiValues()
{
    return {400, 800, 1600, 3200, 6400, 8000, 10000, 12000};
}

inline QVariantList colours()
{
    QVariantList c;
    for (int i = 0; i < 24; ++i)
        c << i * 10;
    return c;
}

inline QVariantList macroImage()
{
    QVariantList image;
    for (uchar b : macroimage::encode({{macroimage::KeyPress, 4}, {macroimage::Pause, 50},
                                       {macroimage::KeyRelease, 4}}, 1))
        image << int(b);
    return image;
}

// The device object talking to the simulated mouse (scrambled, gun model)
// as its only, current entry.
inline void attachSim(Hid_Thread &hid, FakeHost &host, ProtocolClock &clock, int family, int reportLength)
{
    host.ic = QString::number(family);
    host.gun = true;
    hid.setClock(&clock);
    hid.setOwner(&host);
    DeviceEntry e;
    e.path = QString::fromStdString(simmouse::path(0, 0));
    e.reportLength = reportLength;
    e.isEncode = true;
    hid.deviceTable = {e};
    hid.currentIndex = 0;
    std::memset(SecrecyCode, 0, sizeof SecrecyCode);
    proto::applyCodeText(e.sCode, SecrecyCode);
}

// Factory entries for the recoil layers, and the operations of a colourful
// gun model of `family` over `hid`.
inline void setUpOps(DeviceOps &ops, MapSettings &settings, Hid_Thread *hid, int family)
{
    for (int n = 0; n < 16; ++n)
        settings.current.insert(DeviceOps::factoryKeyMatrixKey(n), {1, 0, 0xF0, 0});
    ops.setHidProvider([hid] { return hid; });
    ops.setFactsProvider([family] {
        DeviceFacts f;
        f.icType = QString::number(family);
        f.isColorful = true;
        f.isGun = true;
        return f;
    });
    ops.setProfileSettings(&settings);
    ops.selectDriver();
}

} // namespace benchdata
