#pragma once

#include "device/devicehost.h"
#include "device/protocolclock.h"

#include <QList>
#include <QString>
#include <functional>

// Test doubles of the device object's seams, shared by the test suites.

// Records the pauses the protocol asks for instead of sleeping through them.
class RecordingClock : public ProtocolClock
{
public:
    void sleepMs(int ms) override
    {
        sleeps << ms;
        if (onSleep)
            onSleep(ms);
    }
    void processEvents() override
    {
        ++eventRounds;
        if (onProcessEvents)
            onProcessEvents();
    }

    int total() const
    {
        int sum = 0;
        for (int ms : sleeps)
            sum += ms;
        return sum;
    }

    QList<int> sleeps;
    int eventRounds = 0;
    std::function<void(int)> onSleep;
    std::function<void()> onProcessEvents;
};

// The owning window's device facts, without a window.
class FakeHost : public DeviceHost
{
public:
    QString icType() const override { return ic; }
    bool isGun() const override { return gun; }
    void setViewEnabled(bool enabled) override { viewEnabled = enabled; }
    void setCurrentDPI(int stage) override { dpiStages << stage; }
    void showBalloon(const QString &title, const QString &text) override
    {
        balloons << title + QLatin1Char('|') + text;
    }
    void deviceWriteFailed() override { ++writeFailures; }

    QString ic = QStringLiteral("553");
    bool gun = false;
    bool viewEnabled = true;
    QList<int> dpiStages;
    QStringList balloons;
    int writeFailures = 0;
};
