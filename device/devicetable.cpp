#include "devicetable.h"

#include <QDebug>
#include <QSettings>
#include <QStringList>

#include <hidapi.h>

namespace devicetable {

namespace {

// INI values holding a comma come back as lists; the table wants the text
// exactly as written.
QString settingText(const QSettings &settings, const QString &key, bool *present = nullptr)
{
    const QVariant v = settings.value(key);
    if (present)
        *present = v.isValid();
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

} // namespace

quint64 parseHex(const QString &text, bool *ok)
{
    bool converted = false;
    const quint64 value = text.trimmed().toULongLong(&converted, 16);
    if (ok)
        *ok = converted;
    return converted ? value : 0;
}

bool parseBool(const QString &text)
{
    return !(text.isEmpty() || text == QLatin1String("0")
             || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
}

int rowCount(const QString &text, bool *valid)
{
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok, 10);
    int rows = 0;
    if (ok && n > MaxRows)
        rows = MaxRows;
    else if (ok && n > 0)
        rows = int(n);
    if (valid)
        *valid = ok && n >= 0 && n <= MaxRows;
    return rows;
}

DeviceTable read(QSettings &settings)
{
    DeviceTable table;
    bool present = false;
    const QString countText = settingText(settings, QStringLiteral("common/deviceCount"), &present);
    if (!present)
        return table;   // the count defaults to 0
    bool valid = false;
    const int count = rowCount(countText, &valid);
    if (!valid)
        qDebug().noquote() << QStringLiteral("deviceCount \"%1\" out of range, reading %2 rows")
                                  .arg(countText).arg(count);

    table.reserve(count);
    for (int n = 0; n < count; ++n) {
        const QString row = QString::number(n) + QLatin1Char('/');
        // A missing key leaves the field at its default.
        auto field = [&](const char *key, auto &target, auto convert) {
            bool has = false;
            const QString t = settingText(settings, row + QLatin1String(key), &has);
            if (has)
                target = convert(t);
        };
        DeviceEntry e;
        // The ids decide which device the program talks to: one that cannot
        // be read refuses the row rather than matching anything.
        auto id16 = [&](const char *key, uint16_t &target) {
            if (e.refused)
                return;
            field(key, target, [&](const QString &t) {
                bool ok = false;
                const quint64 v = parseHex(t, &ok);
                if (!ok) {
                    e.refused = true;
                    qDebug().noquote() << QStringLiteral("device row %1 refused: %2 \"%3\" is not hexadecimal")
                                              .arg(n).arg(QLatin1String(key), t);
                }
                return uint16_t(v);
            });
        };
        field("type", e.type, [](const QString &t) { return int32_t(uint32_t(parseHex(t))); });
        id16("vid", e.vid);
        id16("pid", e.pid);
        id16("usagePage", e.usagePage);
        id16("usage", e.usage);
        id16("usagePage2", e.usagePage2);
        id16("usage2", e.usage2);
        field("reportLength", e.reportLength, [](const QString &t) { return t.trimmed().toInt(); });
        field("isEncode", e.isEncode, parseBool);
        field("sCode", e.sCode, [](const QString &t) { return t; });
        table.append(e);
    }
    return table;
}

DeviceTable read(const QString &fileName)
{
    QSettings settings(fileName, QSettings::IniFormat);
    return read(settings);
}

void matchInterfaces(DeviceEntry &entry, const QList<HidInterface> &interfaces)
{
    entry.path.clear();
    entry.path2.clear();
    for (const HidInterface &i : interfaces) {
        if (i.usagePage == entry.usagePage && i.usage == entry.usage)
            entry.path = i.path;
        if (i.usagePage == entry.usagePage2 && i.usage == entry.usage2)
            entry.path2 = i.path;
    }
}

void findPaths(DeviceTable &table)
{
    for (DeviceEntry &entry : table) {
        if (entry.refused) {
            entry.path.clear();
            entry.path2.clear();
            continue;
        }
        QList<HidInterface> interfaces;
        hid_device_info *list = hid_enumerate(entry.vid, entry.pid);
        for (hid_device_info *d = list; d; d = d->next)
            interfaces.append({QString::fromLocal8Bit(d->path ? d->path : ""),
                               d->usage_page, d->usage});
        hid_free_enumeration(list);
        matchInterfaces(entry, interfaces);
    }
}

} // namespace devicetable
