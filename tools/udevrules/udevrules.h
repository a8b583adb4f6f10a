#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The udev rule that lets the user at the seat open the configured mice
// without root: one line per vendor:product pair of the device table, for
// their hidraw nodes, tagged "uaccess".
namespace udevrules {

struct Result
{
    QString rules;        // the rule file's text; empty when refused
    QStringList errors;   // why the table was refused, one text per fault
};

// Builds the rules from the device table in `table` (rows [0], [1], ...
// counted by common/deviceCount, as the program reads them). A row the
// program could not use exactly (missing, not hexadecimal, out of range, or
// 0, which matches any device) refuses the whole table.
Result fromTable(QSettings &table);

// Same, from the INI file at `fileName`.
Result fromFile(const QString &fileName);

} // namespace udevrules
