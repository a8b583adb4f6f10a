#pragma once

// Every pause of the device protocol goes through this seam, so tests can
// record the pauses asked for instead of sleeping through them.
class ProtocolClock
{
public:
    virtual ~ProtocolClock() = default;
    virtual void sleepMs(int ms) = 0;
    // Lets pending GUI events run while a command waits (nested commands).
    virtual void processEvents() = 0;
};

// Real sleeps and QCoreApplication::processEvents(); the process-wide default.
ProtocolClock *realProtocolClock();
