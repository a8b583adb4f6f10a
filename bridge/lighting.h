#pragma once

#include <QVariantList>
#include <array>

// Lighting: the effect triple the firmware expects for the page's choice of
// effect, speed step and brightness step, and the colour bytes.
namespace lighting {

struct Triple
{
    uchar first = 0, second = 0, third = 0;
    bool operator==(const Triple &o) const
    {
        return first == o.first && second == o.second && third == o.third;
    }
};

// Slider tables; positions above 4 give 0.
uchar brightness(uchar position);
uchar speed1(uchar position);
uchar speed2(uchar position);
uchar speed3(uchar position);
uchar speed4(uchar position);
uchar staticLevel(uchar position);
uchar neonSpeed(uchar position);

// Multi-colour models: (mode, brightness, speed).
Triple multiColourTriple(uchar effect, uchar option1, uchar option2);

// Single-colour models: (mode, value, extra). extra is what an is55328
// model receives as its third byte.
Triple singleColourTriple(uchar effect, uchar option1, uchar option2);

constexpr int ColourBytes = 24;
using Colours = std::array<uchar, ColourBytes>;

// The colour list as 24 bytes, zero-filled when the list is short.
Colours colourBytes(const QVariantList &src24);

// is55328 models: colour 8 set selects the eight-colour command.
bool hasEighthColour(const Colours &c);

} // namespace lighting
