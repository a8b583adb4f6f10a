#include "gamewatch/gamewatcher.h"

#include <QDebug>

#include "app/profilecontrol.h"
#include "gamewatch/gamematch.h"

GameWatcher::GameWatcher(int intervalMs, QObject *parent)
    : QObject(parent)
    , m_interval(intervalMs <= 0 ? 0 : qMax(intervalMs, kMinIntervalMs))
{
    m_timer.setInterval(m_interval);
    // A coarse timer: the system may bundle its wake-ups with others.
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &GameWatcher::scan);
}

void GameWatcher::setControl(ProfileControl *control)
{
    m_control = control;
    reset();
    updateTimer();
}

void GameWatcher::setBindings(const QList<GameBinding> &bindings)
{
    m_bindings = bindings;
    m_matches.clear();
    // Running programs no longer bound (or bound elsewhere) are looked at
    // afresh by the next scan.
    updateTimer();
}

void GameWatcher::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    reset();
    updateTimer();
}

void GameWatcher::reset()
{
    m_running.clear();
    m_handHeld.clear();
    m_before = -1;
    m_set = -1;
}

void GameWatcher::updateTimer()
{
    const bool wanted = m_interval > 0 && m_enabled && m_control && !m_bindings.isEmpty()
                        && ProcessList::available();
    if (wanted && !m_timer.isActive())
        m_timer.start();
    else if (!wanted)
        m_timer.stop();
}

bool GameWatcher::activate(int profile)
{
    const ProfileControl::Status status = m_control->activateProfile(profile);
    if (status == ProfileControl::Done) {
        // Taken as done even where the screens follow a moment later, so
        // that the switch is not mistaken for the user's own choice.
        m_set = profile;
        return true;
    }
    qDebug() << "game profiles: profile" << profile << "not made active, status" << int(status);
    m_set = m_control->activeProfile();
    return m_set == profile;
}

void GameWatcher::scan()
{
    if (!m_enabled || !m_control)
        return;

    // Who runs now, in start order; those seen before keep their place.
    QList<Running> now;
    if (!m_bindings.isEmpty()) {
        const QList<ProcessInfo> processes = m_processes.scan();
        QHash<qint64, Match> matches;
        matches.reserve(processes.size());
        for (const ProcessInfo &p : processes) {
            Match m = m_matches.value(p.pid);
            if (m.revision != p.revision)
                m = {p.revision, gamematch::bindingFor(m_bindings, p)};
            matches.insert(p.pid, m);
            if (m.binding >= 0)
                now.append({p.pid, p.startTime, m_bindings.at(m.binding).program,
                            m_bindings.at(m.binding).profile});
        }
        m_matches.swap(matches);
    }
    QList<Running> kept;
    QList<Running> started;
    for (const Running &r : m_running) {
        const qsizetype i = now.indexOf(r);
        if (i >= 0)
            kept.append(now.at(i));   // its binding may have changed
    }
    for (const Running &r : now) {
        if (!kept.contains(r))
            started.append(r);
    }
    QList<Running> ended;
    for (const Running &r : m_running) {
        if (!kept.contains(r))
            ended.append(r);
    }
    const int active = m_control->activeProfile();

    if (m_running.isEmpty() && !started.isEmpty())
        m_before = active;
    else if (!m_running.isEmpty() && m_handHeld.isEmpty() && active != m_set)
        m_handHeld = m_running;   // the user chose by hand while games ran

    m_running = kept + started;
    for (qsizetype i = m_handHeld.size() - 1; i >= 0; --i) {
        if (!m_running.contains(m_handHeld.at(i)))
            m_handHeld.removeAt(i);
    }

    if (!started.isEmpty()) {
        // A program started now wins, over a hand choice too.
        m_handHeld.clear();
        const Running &newest = m_running.last();
        if (active == newest.profile)
            m_set = active;
        else if (activate(newest.profile))
            emit switched(newest.profile, newest.program, true);
        return;
    }
    if (ended.isEmpty() || !m_handHeld.isEmpty())
        return;

    if (m_running.isEmpty()) {
        const int back = m_before;
        const QString program = ended.last().program;
        m_before = -1;
        if (back >= 0 && back != active && activate(back))
            emit switched(back, program, false);
        m_set = -1;
        return;
    }
    const Running &newest = m_running.last();
    if (newest.profile == active)
        m_set = active;
    else if (activate(newest.profile))
        emit switched(newest.profile, ended.last().program, false);
}
