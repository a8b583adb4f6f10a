#include "bridge/macroimage.h"

#include <QVariantMap>
#include <algorithm>

#include "bridge/qmllist.h"

namespace macroimage {

qint64 ticksForMs(qint64 ms)
{
    return ms > 0 ? ms / TickMs : 0;
}

LongPause longPause(qint64 ticks)
{
    ticks = std::min(ticks, MaxPauseTicks);
    if (ticks < 100000)
        return {1, static_cast<quint16>(ticks / 2)};
    if (ticks < 300000)
        return {2, static_cast<quint16>(ticks / 5)};
    return {3, static_cast<quint16>(ticks / 10)};
}

namespace {

bool isRelease(int type)
{
    return type == KeyRelease || type == ButtonRelease;
}

// Writes the timing byte of the action whose record starts at `record` and,
// for a long pause, appends its unit and count records.
void closeAction(std::vector<uchar> &img, size_t record, int type, qint64 ticks)
{
    const uchar release = isRelease(type) ? ReleaseBit : 0;
    ticks = std::min(ticks, MaxPauseTicks);
    if (ticks >= LongPauseTicks) {
        img[record] = release;
        const LongPause lp = longPause(ticks);
        img.push_back(0x00);
        img.push_back(lp.unit);
        img.push_back(static_cast<uchar>(lp.count >> 8));
        img.push_back(static_cast<uchar>(lp.count & 0xFF));
    } else {
        img[record] = static_cast<uchar>(release | std::max<qint64>(ticks, 1));
    }
}

} // namespace

std::vector<uchar> encode(const QList<Action> &actions, qint64 repeat)
{
    const qint64 count = std::clamp<qint64>(repeat, 0, 0xFFFF);
    std::vector<uchar> img;
    img.push_back(static_cast<uchar>(count >> 8));
    img.push_back(static_cast<uchar>(count & 0xFF));

    int i = 0;
    while (i < actions.size() && actions.at(i).type == Pause)
        ++i;
    if (i == actions.size())
        return img;

    size_t record = img.size();
    img.push_back(0x00);
    img.push_back(static_cast<uchar>(actions.at(i).value & 0xFF));
    int lastType = actions.at(i).type;
    qint64 ticks = 0;

    for (++i; i < actions.size(); ++i) {
        const Action &a = actions.at(i);
        if (a.type == Pause) {
            // Saturate: the sum only matters up to the clamp.
            ticks = std::min(ticks + ticksForMs(a.value), MaxPauseTicks);
            continue;
        }
        closeAction(img, record, lastType, ticks);
        ticks = 0;
        record = img.size();
        img.push_back(0x00);
        img.push_back(static_cast<uchar>(a.value & 0xFF));
        lastType = a.type;
    }

    img[record] = static_cast<uchar>((isRelease(lastType) ? ReleaseBit : 0) | 0x01);
    img.push_back(0x00);
    img.push_back(0x00);
    return img;
}

int encodedSize(const QList<Action> &actions)
{
    const int image = static_cast<int>(encode(actions, 0).size());
    return image > 2 ? image + 2 : image;
}

std::array<uchar, MaxImageBytes> transferBuffer(const QVariantList &macroData)
{
    return qmllist::bytes<MaxImageBytes>(macroData);
}

} // namespace macroimage

QList<macroimage::Action> MacroImageCodec::actionsFromRows(const QVariantList &rows)
{
    QList<macroimage::Action> out;
    out.reserve(rows.size());
    for (const QVariant &row : rows) {
        macroimage::Action a;
        if (row.typeId() == QMetaType::QVariantMap) {
            const QVariantMap m = row.toMap();
            const QVariantList pair{m.value(QStringLiteral("type")), m.value(QStringLiteral("value"))};
            a.type = static_cast<int>(qmllist::intAt(pair, 0));
            a.value = qmllist::intAt(pair, 1);
        } else {
            const QVariantList pair = row.toList();
            a.type = static_cast<int>(qmllist::intAt(pair, 0));
            a.value = qmllist::intAt(pair, 1);
        }
        out.append(a);
    }
    return out;
}

QVariantList MacroImageCodec::encode(const QVariantList &rows, int repeat) const
{
    QVariantList out;
    for (uchar b : macroimage::encode(actionsFromRows(rows), repeat))
        out.append(int(b));
    return out;
}

int MacroImageCodec::encodedSize(const QVariantList &rows) const
{
    return macroimage::encodedSize(actionsFromRows(rows));
}
