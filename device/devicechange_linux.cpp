#include "devicechange.h"

#include <QDebug>
#include <QMetaObject>
#include <QMutex>
#include <QSocketNotifier>

#include <dlfcn.h>
#include <libudev.h>

#include <algorithm>
#include <vector>

namespace {

using SetChangeCallback = void (*)(void (*)(void *), void *);

// Monitors alive in the process; the simulator may call from any thread, so
// the list is guarded and a monitor leaves it before it is destroyed.
QMutex monitorsMutex;
std::vector<DeviceChangeMonitor *> &monitors()
{
    static std::vector<DeviceChangeMonitor *> list;
    return list;
}
bool simulatorHooked = false;   // guarded by monitorsMutex

} // namespace

DeviceChangeMonitor::DeviceChangeMonitor(QObject *parent)
    : QObject(parent)
{
    udev *u = udev_new();
    udev_monitor *mon = u ? udev_monitor_new_from_netlink(u, "udev") : nullptr;
    if (mon && udev_monitor_filter_add_match_subsystem_devtype(mon, "hidraw", nullptr) >= 0
        && udev_monitor_enable_receiving(mon) >= 0) {
        m_udev = u;
        m_udevMonitor = mon;
        m_notifier = new QSocketNotifier(udev_monitor_get_fd(mon), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &DeviceChangeMonitor::readUdev);
    } else {
        qDebug("udev monitor unavailable; device changes are not noticed");
        if (mon)
            udev_monitor_unref(mon);
        if (u)
            udev_unref(u);
    }

    QMutexLocker lock(&monitorsMutex);
    monitors().push_back(this);
    if (!simulatorHooked) {
        // Present only when the simulated mouse is the loaded hidapi.
        auto setter = reinterpret_cast<SetChangeCallback>(
            dlsym(RTLD_DEFAULT, "simmouse_set_change_callback"));
        if (setter) {
            setter(&DeviceChangeMonitor::simulatorChanged, nullptr);
            simulatorHooked = true;
        }
    }
}

DeviceChangeMonitor::~DeviceChangeMonitor()
{
    {
        QMutexLocker lock(&monitorsMutex);
        auto &list = monitors();
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    delete m_notifier;
    if (m_udevMonitor)
        udev_monitor_unref(static_cast<udev_monitor *>(m_udevMonitor));
    if (m_udev)
        udev_unref(static_cast<udev *>(m_udev));
}

bool DeviceChangeMonitor::simulatorAttached()
{
    QMutexLocker lock(&monitorsMutex);
    return simulatorHooked;
}

void DeviceChangeMonitor::readUdev()
{
    // Drain what is queued; any hidraw add or remove counts as a change.
    auto *mon = static_cast<udev_monitor *>(m_udevMonitor);
    bool changed = false;
    while (udev_device *dev = udev_monitor_receive_device(mon)) {
        changed = true;
        udev_device_unref(dev);
    }
    if (changed)
        emit deviceChanged();
}

void DeviceChangeMonitor::simulatorChanged(void *)
{
    // The trampoline stays registered for the life of the process; with no
    // monitor alive a notification simply goes nowhere.
    QMutexLocker lock(&monitorsMutex);
    for (DeviceChangeMonitor *m : monitors())
        QMetaObject::invokeMethod(m, &DeviceChangeMonitor::deviceChanged, Qt::QueuedConnection);
}
