#include "gamewatch/processlist.h"

// Games are switched for from the process list of Linux only; elsewhere the
// watcher has nothing to watch.
bool ProcessList::available()
{
    return false;
}

QList<ProcessInfo> ProcessList::scan()
{
    return {};
}

QStringList ProcessList::userProgramNames()
{
    return {};
}
