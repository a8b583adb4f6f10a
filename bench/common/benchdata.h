#pragma once

// The screens' values the bridge benchmarks send: a key matrix (with a gun
// switch on button 8 when asked), eight DPI stages, 24 colour bytes and a
// short macro image.

#include <QVariantList>

#include "bridge/macroimage.h"

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

} // namespace benchdata
