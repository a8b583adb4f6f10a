#include "devicechange.h"

// Windows delivers WM_DEVICECHANGE to the window's native event hook, which
// restarts the check itself; nothing to watch here.
DeviceChangeMonitor::DeviceChangeMonitor(QObject *parent)
    : QObject(parent)
{
}

DeviceChangeMonitor::~DeviceChangeMonitor() = default;

bool DeviceChangeMonitor::simulatorAttached()
{
    return false;
}
