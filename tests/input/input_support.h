#pragma once
// What the input callbacks reported, as text so that failures read well;
// shared by the input capture tests.

#include <QString>
#include <QStringList>

inline QString key(int usage, bool isDown)
{
    return QStringLiteral("K %1 %2").arg(usage, 2, 16, QLatin1Char('0')).arg(isDown ? "down" : "up");
}

inline QString click(int button, bool isDown, int x, int y)
{
    return QStringLiteral("M %1 %2 %3 %4")
        .arg(button, 2, 16, QLatin1Char('0'))
        .arg(isDown ? "down" : "up")
        .arg(x)
        .arg(y);
}

// A key's press and release.
inline QStringList tapped(int usage)
{
    return {key(usage, true), key(usage, false)};
}
