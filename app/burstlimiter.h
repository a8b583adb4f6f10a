#pragma once

#include <QtGlobal>
#include <functional>

// Lets one notice through per burst of events: an event is admitted only
// when no event came within the quiet time before it, so a run of failures
// (every write of one "Save", say) shows one balloon, and a failure after a
// quiet spell shows the next.
class BurstLimiter
{
public:
    using Clock = std::function<qint64()>;   // milliseconds, monotonic

    explicit BurstLimiter(qint64 quietMs, Clock clock = Clock());

    // Notes an event; true when it starts a new burst.
    bool admit();
    // Tests set the time source.
    void setClock(Clock clock);

private:
    qint64 m_quietMs;
    Clock m_clock;
    bool m_seen = false;
    qint64 m_last = 0;
};
