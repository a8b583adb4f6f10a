#include "bridge/qmllist.h"

#include <cmath>

namespace qmllist {

qint64 intAt(const QVariantList &list, int i)
{
    if (i < 0 || i >= list.size())
        return 0;
    const QVariant &v = list.at(i);
    // QML numbers arrive as doubles; integral types and texts convert too.
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || d >= 9.0e18 || d <= -9.0e18)
            return 0;
        return static_cast<qint64>(d);
    }
    return v.toLongLong();
}

QVariant valueAt(const QVariantList &list, int i)
{
    if (i < 0 || i >= list.size())
        return QVariant(0);
    return list.at(i);
}

} // namespace qmllist
