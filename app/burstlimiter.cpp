#include "app/burstlimiter.h"

#include <QDeadlineTimer>

namespace {

qint64 monotonicMs()
{
    return QDeadlineTimer::current().deadline();
}

} // namespace

BurstLimiter::BurstLimiter(qint64 quietMs, Clock clock)
    : m_quietMs(quietMs), m_clock(clock ? std::move(clock) : Clock(monotonicMs))
{
}

void BurstLimiter::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(monotonicMs);
}

bool BurstLimiter::admit()
{
    const qint64 now = m_clock();
    const bool starts = !m_seen || now - m_last >= m_quietMs;
    m_seen = true;
    m_last = now;
    return starts;
}
