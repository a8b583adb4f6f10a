#include "udevrules.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include "device/devicetable.h"

namespace udevrules {

namespace {

// Values holding a comma come back as lists; take the text as written.
QString text(const QSettings &settings, const QString &key, bool *present)
{
    const QVariant v = settings.value(key);
    *present = v.isValid();
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString().trimmed();
}

// A 16-bit ID as sysfs writes it ("04d9"), or empty when `value` is not one.
QString id16(const QString &value)
{
    static const QRegularExpression hex(QStringLiteral("^(0[xX])?([0-9A-Fa-f]{1,4})$"));
    const QRegularExpressionMatch m = hex.match(value);
    if (!m.hasMatch())
        return {};
    return QStringLiteral("%1").arg(m.captured(2).toUInt(nullptr, 16), 4, 16, QLatin1Char('0'));
}

} // namespace

Result fromTable(QSettings &table)
{
    Result result;
    bool present = false;
    const QString countText = text(table, QStringLiteral("common/deviceCount"), &present);
    bool ok = false;
    const int count = countText.toInt(&ok);
    if (!present) {
        result.errors << QStringLiteral("common/deviceCount is missing");
        return result;
    }
    if (!ok || count < 1 || count > devicetable::MaxRows) {
        result.errors << QStringLiteral("common/deviceCount \"%1\" is not a row count from 1 to %2")
                             .arg(countText).arg(devicetable::MaxRows);
        return result;
    }

    QStringList lines;
    for (int n = 0; n < count; ++n) {
        QString ids[2];
        const char *keys[2] = {"vid", "pid"};
        for (int k = 0; k < 2; ++k) {
            const QString value = text(table, QStringLiteral("%1/%2").arg(n).arg(QLatin1String(keys[k])), &present);
            if (!present) {
                result.errors << QStringLiteral("row %1 has no %2").arg(n).arg(QLatin1String(keys[k]));
                continue;
            }
            ids[k] = id16(value);
            if (ids[k].isEmpty())
                result.errors << QStringLiteral("row %1: %2 \"%3\" is not a hexadecimal ID of up to four digits")
                                     .arg(n).arg(QLatin1String(keys[k]), value);
            else if (ids[k] == QLatin1String("0000"))
                result.errors << QStringLiteral("row %1: %2 0 matches any device; a permission rule needs the exact ID")
                                     .arg(n).arg(QLatin1String(keys[k]));
        }
        const QString line = QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", "
                                            "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
                                 .arg(ids[0], ids[1]);
        if (!lines.contains(line))
            lines << line;
    }
    if (!result.errors.isEmpty())
        return result;

    result.rules = QStringLiteral(
        "# Lets the user logged in at the seat open the configured Torvale Quill\n"
        "# devices (their hidraw nodes) without root. Generated from the device\n"
        "# table; one line per vendor:product pair.\n");
    for (const QString &line : lines)
        result.rules += line + QLatin1Char('\n');
    return result;
}

Result fromFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        return {{}, {QStringLiteral("%1 is missing").arg(fileName)}};
    QSettings table(fileName, QSettings::IniFormat);
    return fromTable(table);
}

} // namespace udevrules
