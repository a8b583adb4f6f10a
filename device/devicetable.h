#pragma once

#include <QString>

#include "device/deviceentry.h"

class QSettings;

// The device table: rows [0], [1], ... of the configuration file, counted by
// common/deviceCount. Reading and matching are plain functions so they can be
// checked without a window.
namespace devicetable {

// The count is user-editable; more rows than this are never read.
constexpr int MaxRows = 256;

// Hexadecimal field text ("04d9", "ff01") to its value; 0 when it does not
// convert (`ok` tells which). Callers keep the bits they need.
quint64 parseHex(const QString &text, bool *ok = nullptr);
// "0", "false" in any case and "" are false; every other text is true.
bool parseBool(const QString &text);
// The number of rows to read for a deviceCount text: not a number or
// negative gives 0, more than MaxRows gives MaxRows. `valid` tells whether
// the text was used as it stands.
int rowCount(const QString &text, bool *valid = nullptr);

// Reads the table (paths left empty) from an open INI settings object. A row
// whose vendor or product ID, usage page or usage is given but is not
// hexadecimal is refused (one debug line names the row and the field): read
// as 0 it would match any device.
DeviceTable read(QSettings &settings);
// Same, from the INI file at `fileName` (missing file: empty table).
DeviceTable read(const QString &fileName);

// One HID interface as the enumeration reports it.
struct HidInterface
{
    QString path;
    quint16 usagePage = 0;
    quint16 usage = 0;
};

// Fills `path` and `path2` of `entry` from a list of interfaces in
// enumeration order: the last interface matching each usage pair wins, and
// one interface may fill both.
void matchInterfaces(DeviceEntry &entry, const QList<HidInterface> &interfaces);

// Enumerates the HID interfaces (hidapi) of every row's vid/pid and fills the
// rows' paths; 0 in vid or pid matches any value. Refused rows get no path.
void findPaths(DeviceTable &table);

} // namespace devicetable
