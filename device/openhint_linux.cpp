#include "device/openhint.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

QString openFailureHint(const QString &path)
{
    const QByteArray node = QFile::encodeName(path);
    if (!path.startsWith(QLatin1Char('/')) || ::access(node.constData(), F_OK) != 0)
        return {};
    if (::access(node.constData(), R_OK | W_OK) == 0 || errno != EACCES)
        return {};
    return QStringLiteral(
               "Cannot open %1: permission denied. The udev rule 70-quillmouse.rules lets the "
               "logged-in user open the mouse: the package installs it; from a build tree copy "
               "build/dist/70-quillmouse.rules to /etc/udev/rules.d/ as root, then unplug the "
               "mouse and plug it in again (see \"Permissions\" in the README).")
        .arg(path);
}
