#pragma once

#include "tools/simmouse/simmouse.h"

// The simulated device answering the sample table's first row (vid 04d9,
// pid 8008, interfaces ff01/0001 and ff02/0001, 64-byte reports, clear).
inline simmouse::Config keyboardSample()
{
    simmouse::Config c;
    c.pid = 0x8008;
    c.usagePage = 0xFF01;
    c.usage = 0x0001;
    c.usagePage2 = 0xFF02;
    c.usage2 = 0x0001;
    c.reportLength = 64;
    c.isEncode = false;
    return c;
}
