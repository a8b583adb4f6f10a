#pragma once

#include <QList>
#include <QString>
#include <cstdint>

// One row of the device table read from ./modules/setting/apConfig.bin.
struct DeviceEntry
{
    int32_t type = -1;
    uint16_t vid = 0;
    uint16_t pid = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t usagePage2 = 0;
    uint16_t usage2 = 0;
    int32_t reportLength = 32;
    bool isEncode = false;
    QString sCode = QStringLiteral("418205");
    QString path;   // command interface, found by enumeration
    QString path2;  // notification interface, found by enumeration
    // A row whose device ids cannot be read is kept in its place (rows are
    // addressed by index) but never matched to any interface.
    bool refused = false;
};

using DeviceTable = QList<DeviceEntry>;
