#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The running processes, as much of each as the watcher matches against.
struct ProcessInfo
{
    qint64 pid = 0;
    quint64 startTime = 0;   // since boot, in the system's clock ticks
    QString comm;            // short name, cut at 15 characters by the kernel
    QString exe;             // the executable's path; empty where not permitted
    QStringList args;        // the command line, argv[0] first
    // Changes whenever the details above were read anew, so that what is
    // worked out from them can be kept until then.
    quint64 revision = 0;

    // The program's name: the executable's, else argv[0]'s, else comm.
    QString name() const;
};

// Reads the process list. Details of a process are read when it first
// appears and again on its first few scans (a launcher that replaces itself
// with the game keeps its pid); after that a scan costs one directory
// listing, so scanning is cheap however many processes run.
class ProcessList
{
public:
    // False where the process list cannot be read (then scan() is empty).
    static bool available();

    // The names of the user's own running programs (argv[0]'s basename, or
    // the short name), each once, sorted without case: what a user picks a
    // game from. Reads every process afresh.
    static QStringList userProgramNames();

    // Every process running now, oldest first.
    QList<ProcessInfo> scan();

    // How many scans a new process's details are read again.
    static constexpr int kFreshScans = 3;

private:
    struct Entry
    {
        ProcessInfo info;
        int freshScans = kFreshScans;
        bool seen = false;
    };
    QHash<qint64, Entry> m_cache;
    quint64 m_revision = 0;
};
