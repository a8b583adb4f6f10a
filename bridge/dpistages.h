#pragma once

#include <QString>
#include <QVariantList>
#include <array>

// DPI stage codes: the one-byte value per stage that the sensor's firmware
// expects, and the enable mask of the active stages.
namespace dpistages {

constexpr int StageCount = 8;
constexpr uchar StageOff = 0x80;   // 553 family: a stage beyond the count

struct StageCodes
{
    std::array<uchar, StageCount> codes{};
    // Sensor "3389" only: bit i set when stage i+1 needs a ninth bit.
    uchar highBitMask = 0;
};

// Code of one value for a sensor type; *needsHighBit reports the ninth bit
// of the "3389" rule. Unknown sensor texts follow the "4090" rule.
uchar stageCode(const QString &sensorType, qint64 dpi, bool *needsHighBit = nullptr);

// Codes of all eight stages; missing values count as 0.
StageCodes encode(const QString &sensorType, const QVariantList &dpiValues);

// Bits 0 .. count-1 set; 0 for a count below 1, 0xFF for 8 or more.
uchar enableMask(int dpiCount);

// The 553 family's eight codes: stages at index dpiCount and above are off.
std::array<uchar, StageCount> codesFor553(const StageCodes &codes, int dpiCount);

} // namespace dpistages
