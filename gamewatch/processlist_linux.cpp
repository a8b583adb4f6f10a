#include "gamewatch/processlist.h"

#include <QFile>
#include <QSet>
#include <sys/stat.h>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The whole of a small /proc file; empty where it cannot be read.
QByteArray readProc(const char *path, int limit = 4096)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray out;
    char buf[1024];
    while (out.size() < limit) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, int(n));
    }
    ::close(fd);
    return out;
}

// Start time from /proc/<pid>/stat: field 22, counted after the name in
// parentheses (which may itself hold blanks and parentheses).
quint64 startTimeOf(const QByteArray &stat)
{
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return 0;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // fields[0] is field 3 (state), so field 22 is fields[19].
    return fields.size() > 19 ? fields.at(19).toULongLong() : 0;
}

bool readDetails(qint64 pid, ProcessInfo &info)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%lld/stat", static_cast<long long>(pid));
    const QByteArray stat = readProc(path);
    if (stat.isEmpty())
        return false;   // gone already
    info.pid = pid;
    info.startTime = startTimeOf(stat);

    snprintf(path, sizeof path, "/proc/%lld/comm", static_cast<long long>(pid));
    info.comm = QString::fromUtf8(readProc(path, 64)).trimmed();

    snprintf(path, sizeof path, "/proc/%lld/exe", static_cast<long long>(pid));
    char target[4096];
    const ssize_t n = ::readlink(path, target, sizeof target - 1);
    info.exe = n > 0 ? QString::fromUtf8(target, int(n)) : QString();
    if (info.exe.endsWith(QLatin1String(" (deleted)")))
        info.exe.chop(10);

    snprintf(path, sizeof path, "/proc/%lld/cmdline", static_cast<long long>(pid));
    QByteArray cmdline = readProc(path, 32768);
    if (cmdline.endsWith('\0'))
        cmdline.chop(1);
    info.args.clear();
    if (!cmdline.isEmpty()) {
        for (const QByteArray &arg : cmdline.split('\0'))
            info.args.append(QString::fromUtf8(arg));
    }
    return true;
}

} // namespace

bool ProcessList::available()
{
    return QFile::exists(QStringLiteral("/proc/self/stat"));
}

QList<ProcessInfo> ProcessList::scan()
{
    DIR *dir = ::opendir("/proc");
    if (!dir)
        return {};
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it)
        it->seen = false;
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_name[0] < '1' || e->d_name[0] > '9')
            continue;
        char *end = nullptr;
        const qint64 pid = strtoll(e->d_name, &end, 10);
        if (*end != '\0')
            continue;
        auto it = m_cache.find(pid);
        if (it == m_cache.end()) {
            Entry entry;
            if (!readDetails(pid, entry.info))
                continue;
            entry.info.revision = ++m_revision;
            entry.seen = true;
            m_cache.insert(pid, entry);
            continue;
        }
        it->seen = true;
        if (it->freshScans > 0) {
            --it->freshScans;
            ProcessInfo again;
            // A new start time is another process under a reused pid.
            if (readDetails(pid, again)) {
                if (again.startTime != it->info.startTime)
                    it->freshScans = kFreshScans;
                if (again.startTime != it->info.startTime || again.comm != it->info.comm
                    || again.exe != it->info.exe || again.args != it->info.args) {
                    again.revision = ++m_revision;
                    it->info = again;
                }
            }
        }
    }
    ::closedir(dir);

    QList<ProcessInfo> out;
    out.reserve(m_cache.size());
    for (auto it = m_cache.begin(); it != m_cache.end();) {
        if (!it->seen) {
            it = m_cache.erase(it);
            continue;
        }
        out.append(it->info);
        ++it;
    }
    std::sort(out.begin(), out.end(), [](const ProcessInfo &a, const ProcessInfo &b) {
        return a.startTime != b.startTime ? a.startTime < b.startTime : a.pid < b.pid;
    });
    return out;
}

QStringList ProcessList::userProgramNames()
{
    const uid_t me = ::getuid();
    QSet<QString> names;
    ProcessList list;
    for (const ProcessInfo &p : list.scan()) {
        char path[64];
        snprintf(path, sizeof path, "/proc/%lld", static_cast<long long>(p.pid));
        struct stat st;
        // Kernel threads have no command line; other users' programs are
        // not this user's games.
        if (p.args.isEmpty() || ::stat(path, &st) != 0 || st.st_uid != me)
            continue;
        const QString first = p.args.first();
        const qsizetype cut = qMax(first.lastIndexOf(QLatin1Char('/')), first.lastIndexOf(QLatin1Char('\\')));
        const QString name = first.mid(cut + 1).trimmed();
        // A program that rewrote its command line into one text ("sshd: me")
        // goes by its short name.
        const bool rewritten = p.args.size() == 1 && first.contains(QLatin1Char(' '));
        names.insert(name.isEmpty() || rewritten ? p.comm : name);
    }
    QStringList out(names.begin(), names.end());
    out.sort(Qt::CaseInsensitive);
    return out;
}
