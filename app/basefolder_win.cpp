#include "app/basefolder.h"

QString programBaseFolder(const QString &appDir)
{
    // Settings stay beside the executable.
    return appDir;
}

basefolder::Choice programChoice(const QString &appDir)
{
    return {appDir, QString()};
}
