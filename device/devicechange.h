#pragma once

#include <QObject>

class QSocketNotifier;

// Tells the window that HID devices came or went. On Linux it watches the
// hidraw subsystem through udev; on Windows WM_DEVICECHANGE reaches the
// window's native event hook instead and this object stays silent.
//
// Simulated-mouse seam (tests and the demo only): when the simulated mouse
// stands in for hidapi it exports
//     extern "C" void simmouse_set_change_callback(void (*cb)(void *), void *ctx);
// and calls `cb` on every plug and unplug, from whatever thread caused it.
// The monitor looks that function up at run time (dlsym, so the real program
// needs nothing from the simulator) and turns each call into the same
// deviceChanged() signal, delivered on the monitor's thread. Against real
// hidapi the symbol does not exist and only udev speaks.
class DeviceChangeMonitor : public QObject
{
    Q_OBJECT
public:
    explicit DeviceChangeMonitor(QObject *parent = nullptr);
    ~DeviceChangeMonitor() override;

    // True when the udev monitor is running.
    bool watchingSystem() const { return m_udevMonitor != nullptr; }
    // True when the simulated mouse's notifications are forwarded.
    static bool simulatorAttached();

signals:
    void deviceChanged();

private:
    void readUdev();
    // Called from the simulator (any thread).
    static void simulatorChanged(void *);

    void *m_udev = nullptr;          // struct udev *
    void *m_udevMonitor = nullptr;   // struct udev_monitor *
    QSocketNotifier *m_notifier = nullptr;
};
