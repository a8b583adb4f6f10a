#include "protocolclock.h"

#include <QCoreApplication>
#include <QThread>

namespace {

class RealProtocolClock : public ProtocolClock
{
public:
    void sleepMs(int ms) override
    {
        if (ms > 0)
            QThread::msleep(ulong(ms));
    }

    void processEvents() override
    {
        // Only the GUI thread's own queue may be pumped from here.
        QCoreApplication *app = QCoreApplication::instance();
        if (app && QThread::currentThread() == app->thread())
            QCoreApplication::processEvents();
    }
};

} // namespace

ProtocolClock *realProtocolClock()
{
    static RealProtocolClock clock;
    return &clock;
}
