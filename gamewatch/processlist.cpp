#include "gamewatch/processlist.h"

QString ProcessInfo::name() const
{
    auto base = [](const QString &path) {
        const qsizetype cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
        return path.mid(cut + 1);
    };
    if (!exe.isEmpty())
        return base(exe);
    if (!args.isEmpty() && !args.first().isEmpty())
        return base(args.first());
    return comm;
}
