#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

#include "gamewatch/processlist.h"
#include "store/gamebindings.h"

class ProfileControl;

// Puts a game's profile on the mouse while the game runs.
//
// A scan of the process list finds the bound programs running. When one
// starts, its profile is made active; when the last one ends, the profile
// active before the first one started comes back. With several running,
// the one started last wins, and when it ends the one started before it
// takes over again. When the user chooses another profile while a bound
// program runs, that choice stands until the programs running then have
// ended; a bound program started after it switches again.
//
// Works from the process list only (no window access, so any desktop and
// Wayland too), scans at most once a second, and only while it is on, has
// bindings and has a control to switch with.
class GameWatcher : public QObject
{
    Q_OBJECT
public:
    // The scan interval is at least kMinIntervalMs; 0 runs no timer at all
    // (tests call scan() themselves).
    explicit GameWatcher(int intervalMs = kMinIntervalMs, QObject *parent = nullptr);

    static constexpr int kMinIntervalMs = 1000;

    // Null: the watcher does nothing.
    void setControl(ProfileControl *control);
    ProfileControl *control() const { return m_control; }
    void setBindings(const QList<GameBinding> &bindings);
    QList<GameBinding> bindings() const { return m_bindings; }
    // Off: no scans and no switching; the profile in use stays. On again:
    // programs already running count as started now.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // The timer runs (tests and the benchmark ask).
    bool isScanning() const { return m_timer.isActive(); }
    int interval() const { return m_interval; }

    // One scan of the process list, and the switch it calls for.
    void scan();

    // What a bound program running now is: process, binding, profile.
    struct Running
    {
        qint64 pid = 0;
        quint64 startTime = 0;
        QString program;   // the binding's program text
        int profile = 0;
        bool operator==(const Running &o) const { return pid == o.pid && startTime == o.startTime; }
    };
    // Bound programs running, in the order they started (last = newest).
    QList<Running> running() const { return m_running; }

signals:
    // A switch was made: to `profile` because `program` started, or back
    // to it because `program` ended.
    void switched(int profile, const QString &program, bool started);

private:
    void updateTimer();
    void reset();
    // Makes `profile` active; true when it is active afterwards.
    bool activate(int profile);

    QTimer m_timer;
    int m_interval;
    ProfileControl *m_control = nullptr;
    QList<GameBinding> m_bindings;
    bool m_enabled = true;
    ProcessList m_processes;
    // Which binding each process answers to (-1: none), kept while its
    // details and the bindings stay the same.
    struct Match
    {
        quint64 revision = 0;
        int binding = -1;
    };
    QHash<qint64, Match> m_matches;

    QList<Running> m_running;
    // The profile in use before the first bound program started; -1 when
    // none runs.
    int m_before = -1;
    // The profile this watcher last put in use, -1 for none: anything else
    // in use while games run is the user's own choice.
    int m_set = -1;
    // The programs running when the user chose by hand; while any of them
    // runs, the watcher does not switch.
    QList<Running> m_handHeld;
};
