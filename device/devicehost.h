#pragma once

#include <QString>

// What the device object needs from the window that owns it: the view's device
// facts and the few user-visible effects of the listener. Every call is made
// on the GUI thread.
class DeviceHost
{
public:
    virtual ~DeviceHost() = default;

    virtual QString icType() const = 0;   // "560" selects the 560 family
    virtual bool isGun() const = 0;

    virtual void setViewEnabled(bool enabled) = 0;
    virtual void setCurrentDPI(int stage) = 0;
    virtual void showBalloon(const QString &title, const QString &text) = 0;
    // A setting did not reach the mouse: its write command found the channel
    // busy for the whole wait, or an exchange of it failed (mouse gone,
    // transfer error). Called once per failed command.
    virtual void deviceWriteFailed() {}
};
