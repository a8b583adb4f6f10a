#include "bridge/dpistages.h"

#include "bridge/qmllist.h"

namespace dpistages {

namespace {

struct Row3050 { qint64 limit; uchar code; };
constexpr Row3050 kTable3050[] = {
    {250, 0x01},  {500, 0x02},  {750, 0x03},  {1000, 0x04},
    {1250, 0x05}, {1500, 0x06}, {1750, 0x07}, {2000, 0x08},
    {2500, 0x45}, {3000, 0x46}, {3500, 0x47}, {4000, 0x48},
};

uchar low8(qint64 v) { return static_cast<uchar>(v & 0xFF); }

} // namespace

uchar stageCode(const QString &sensorType, qint64 v, bool *needsHighBit)
{
    if (needsHighBit)
        *needsHighBit = false;
    if (sensorType == QLatin1String("3360"))
        return low8(v / 100 - 1);
    if (sensorType == QLatin1String("3050")) {
        for (const Row3050 &row : kTable3050)
            if (row.limit >= v)
                return row.code;
        return 0;   // above 4000: no row matches
    }
    if (sensorType == QLatin1String("3389")) {
        if (needsHighBit)
            *needsHighBit = v > 12799;
        return low8(v / 50);
    }
    // "4090" and every unknown sensor.
    if (v > 5000)
        return low8((v / 200) | 0x40);
    return low8(v / 100 - 1);
}

StageCodes encode(const QString &sensorType, const QVariantList &dpiValues)
{
    StageCodes out;
    for (int i = 0; i < StageCount; ++i) {
        bool high = false;
        out.codes[i] = stageCode(sensorType, qmllist::intAt(dpiValues, i), &high);
        if (high)
            out.highBitMask |= static_cast<uchar>(1u << i);
    }
    return out;
}

uchar enableMask(int dpiCount)
{
    if (dpiCount <= 0)
        return 0;
    if (dpiCount >= StageCount)
        return 0xFF;
    return static_cast<uchar>((1u << dpiCount) - 1);
}

std::array<uchar, StageCount> codesFor553(const StageCodes &codes, int dpiCount)
{
    std::array<uchar, StageCount> out = codes.codes;
    for (int i = 0; i < StageCount; ++i)
        if (i >= dpiCount)
            out[i] = StageOff;
    return out;
}

} // namespace dpistages
