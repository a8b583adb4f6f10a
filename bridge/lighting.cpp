#include "bridge/lighting.h"

#include "bridge/qmllist.h"

namespace lighting {

namespace {

uchar fromTable(const uchar (&table)[5], uchar position)
{
    return position < 5 ? table[position] : 0;
}

constexpr uchar kBrightness[5] = {0, 64, 128, 192, 255};
constexpr uchar kSpeed1[5] = {10, 7, 5, 3, 1};
constexpr uchar kSpeed2[5] = {20, 17, 15, 13, 11};
constexpr uchar kSpeed3[5] = {15, 13, 10, 7, 5};
constexpr uchar kSpeed4[5] = {30, 27, 24, 22, 20};
constexpr uchar kStaticLevel[5] = {1, 3, 5, 7, 10};
constexpr uchar kNeonSpeed[5] = {30, 24, 18, 12, 6};

} // namespace

uchar brightness(uchar p) { return fromTable(kBrightness, p); }
uchar speed1(uchar p) { return fromTable(kSpeed1, p); }
uchar speed2(uchar p) { return fromTable(kSpeed2, p); }
uchar speed3(uchar p) { return fromTable(kSpeed3, p); }
uchar speed4(uchar p) { return fromTable(kSpeed4, p); }
uchar staticLevel(uchar p) { return fromTable(kStaticLevel, p); }
uchar neonSpeed(uchar p) { return fromTable(kNeonSpeed, p); }

Triple multiColourTriple(uchar effect, uchar option1, uchar option2)
{
    switch (effect) {
    case 0: return {1, brightness(option2), 0};                 // Static
    case 1: return {3, 0, speed1(option1)};                     // Breath
    case 2: return {4, 0, speed1(option1)};                     // Neon
    case 3: return {0, 0, 0};                                   // OFF
    case 4: return {2, brightness(option2), 0};                 // Twinkling
    case 5: return {5, brightness(option2), speed1(option1)};   // Wave
    case 6: return {6, 0, 0};                                   // Gliding
    case 7: return {7, brightness(option2), 0};                 // Finger Moving
    case 8: return {8, brightness(option2), speed2(option1)};   // Vertical Flipping
    case 9: return {9, brightness(option2), speed3(option1)};   // YO-YO
    case 10: return {10, brightness(option2), speed4(option1)}; // Spotlight
    default: return {0, 0, 0};
    }
}

Triple singleColourTriple(uchar effect, uchar option1, uchar option2)
{
    switch (effect) {
    case 0: return {1, staticLevel(option2), 1};                       // Static
    case 1: return {2, static_cast<uchar>(option1 + 1), 1};            // Breath
    case 2: return {3, neonSpeed(option1), 1};                         // Neon
    case 4: return {2, static_cast<uchar>(option1 + 1), 3};            // Breath Loop
    default: return {0, 0, 0};                                         // OFF and others
    }
}

Colours colourBytes(const QVariantList &src24)
{
    return qmllist::bytes<ColourBytes>(src24);
}

bool hasEighthColour(const Colours &c)
{
    return c[21] != 0 || c[22] != 0 || c[23] != 0;
}

} // namespace lighting
