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

quint64 parseHex(const QString &text)
{
    bool ok = false;
    const quint64 value = text.trimmed().toULongLong(&ok, 16);
    return ok ? value : 0;
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
        auto text = [&](const char *key, bool *has) {
            return settingText(settings, row + QLatin1String(key), has);
        };
        DeviceEntry e;
        bool has = false;
        QString t = text("type", &has);
        if (has)
            e.type = int32_t(uint32_t(parseHex(t)));
        t = text("vid", &has);
        if (has)
            e.vid = uint16_t(parseHex(t));
        t = text("pid", &has);
        if (has)
            e.pid = uint16_t(parseHex(t));
        t = text("usagePage", &has);
        if (has)
            e.usagePage = uint16_t(parseHex(t));
        t = text("usage", &has);
        if (has)
            e.usage = uint16_t(parseHex(t));
        t = text("usagePage2", &has);
        if (has)
            e.usagePage2 = uint16_t(parseHex(t));
        t = text("usage2", &has);
        if (has)
            e.usage2 = uint16_t(parseHex(t));
        t = text("reportLength", &has);
        if (has)
            e.reportLength = t.trimmed().toInt();
        t = text("isEncode", &has);
        if (has)
            e.isEncode = parseBool(t);
        t = text("sCode", &has);
        if (has)
            e.sCode = t;
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
