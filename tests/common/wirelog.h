#pragma once

#include "device/deviceentry.h"
#include "tools/simmouse/simmouse.h"

#include <QString>

// Resets the simulated mouse to one device built from `config` and returns
// the device-table entry that reaches it: both interfaces, with the device's
// report length, scrambling and code text. Callers change the entry where it
// is meant to disagree with the device.
inline DeviceEntry resetSimulatedMouse(const simmouse::Config &config)
{
    simmouse::reset(config);
    DeviceEntry e;
    e.path = QString::fromStdString(simmouse::path(0, 0));
    e.path2 = QString::fromStdString(simmouse::path(0, 1));
    e.reportLength = config.reportLength;
    e.isEncode = config.isEncode;
    e.sCode = QString::fromStdString(config.code);
    return e;
}
