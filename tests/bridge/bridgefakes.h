#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>

#include "bridge/profilesettings.h"
#include "tests/common/fakes.h"
#include "tools/simmouse/simmouse.h"

// Profile values in memory: the current profile and the factory profile.
class MapSettings : public ProfileSettings
{
public:
    QVariantList list(const QString &key, bool fromDefaults) const override
    {
        return (fromDefaults ? defaults : current).value(key);
    }
    void setList(const QString &key, const QVariantList &values) override
    {
        current.insert(key, values);
        ++writes;
    }
    QMap<QString, QVariantList> current, defaults;
    int writes = 0;
};

// One command as the mouse received it: the unscrambled request and the
// data bytes of the output reports that followed it.
struct WireCommand
{
    QByteArray request;   // 9 bytes
    QByteArray bulk;      // data bytes of every following output report
    int outputReports = 0;
    int code() const { return uchar(request.at(1)); }
    int byte(int i) const { return uchar(request.at(i)); }
};

inline QList<WireCommand> wireCommands()
{
    QList<WireCommand> out;
    for (const simmouse::WireRecord &r : simmouse::wireLog()) {
        if (r.interface != 0 || !r.ok)
            continue;
        if (r.kind == simmouse::Kind::FeatureOut) {
            WireCommand c;
            c.request = QByteArray(reinterpret_cast<const char *>(r.clear.data()), int(r.clear.size()));
            out << c;
        } else if (r.kind == simmouse::Kind::Output && !out.isEmpty()) {
            out.last().bulk += QByteArray(reinterpret_cast<const char *>(r.bytes.data()) + 1,
                                          int(r.bytes.size()) - 1);
            ++out.last().outputReports;
        }
    }
    return out;
}

inline QList<int> wireCodes()
{
    QList<int> codes;
    for (const WireCommand &c : wireCommands())
        codes << c.code();
    return codes;
}

inline QByteArray bytesOf(std::initializer_list<int> v)
{
    QByteArray out;
    for (int x : v)
        out.append(char(uchar(x)));
    return out;
}

inline QVariantList intList(std::initializer_list<int> v)
{
    QVariantList out;
    for (int x : v)
        out.append(x);
    return out;
}
