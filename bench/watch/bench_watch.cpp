// bench_watch: what the game watcher costs per scan with many processes.
//
// Starts N sleeping children (500 unless --processes says otherwise), then
// runs the watcher's scan the way its once-a-second timer does, with a few
// bindings of which none runs (the usual case: no game running), and prints
//   - the first scan (every process read in full),
//   - the mean wall and CPU time of the following scans,
//   - the CPU share that makes at one scan per second,
//   - the time to list the user's programs (the "Bind program..." dialog).
//
//   bench_watch [--processes N] [--scans M]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <csignal>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/profilecontrol.h"
#include "gamewatch/gamewatcher.h"

extern char **environ;

namespace {

class IdleControl : public ProfileControl
{
public:
    int switches = 0;
    QList<QPair<int, QString>> profiles() const override { return {}; }
    int activeProfile() const override { return 0; }
    Status activateProfile(int) override
    {
        ++switches;
        return Done;
    }
    Status setDpiStage(int) override { return Done; }
    DeviceStatus status() override { return {}; }
    bool exportProfile(int, const QString &, QString *) override { return false; }
    bool importProfile(int, const QString &, QString *) override { return false; }
};

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

int argValue(const QStringList &args, const char *name, int fallback)
{
    const qsizetype i = args.indexOf(QString::fromLatin1(name));
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argValue(app.arguments(), "--processes", 500);
    const int scans = argValue(app.arguments(), "--scans", 60);

    std::vector<pid_t> children;
    char sleepPath[] = "/bin/sleep";
    char seconds[] = "3600";
    char *childArgs[] = {sleepPath, seconds, nullptr};
    for (int i = 0; i < count; ++i) {
        pid_t pid = 0;
        if (posix_spawn(&pid, sleepPath, nullptr, nullptr, childArgs, environ) != 0) {
            std::fprintf(stderr, "could start only %d processes\n", i);
            break;
        }
        children.push_back(pid);
    }
    int running = 0;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs))
        running += entry.toInt() > 0 ? 1 : 0;

    IdleControl control;
    GameWatcher watcher(0);
    watcher.setControl(&control);
    watcher.setBindings({{QStringLiteral("eldenring.exe"), 1},
                         {QStringLiteral("hl2_linux"), 2},
                         {QStringLiteral("supertuxkart-beta"), 3},
                         {QStringLiteral("/home/nobody/Games/Hades"), 4},
                         {QStringLiteral("C:\\Games\\Witcher 3"), 5}});

    QElapsedTimer wall;
    double cpu0 = cpuMs();
    wall.start();
    watcher.scan();
    const double firstWall = wall.nsecsElapsed() / 1e6;
    const double firstCpu = cpuMs() - cpu0;

    // Past the scans that read new processes again.
    for (int i = 0; i < ProcessList::kFreshScans; ++i)
        watcher.scan();

    cpu0 = cpuMs();
    wall.restart();
    for (int i = 0; i < scans; ++i)
        watcher.scan();
    const double meanWall = wall.nsecsElapsed() / 1e6 / scans;
    const double meanCpu = (cpuMs() - cpu0) / scans;

    cpu0 = cpuMs();
    wall.restart();
    const int names = int(ProcessList::userProgramNames().size());
    const double listWall = wall.nsecsElapsed() / 1e6;

    std::printf("processes running:            %d (%d started here)\n", running, int(children.size()));
    std::printf("first scan:                   %.3f ms wall, %.3f ms CPU\n", firstWall, firstCpu);
    std::printf("steady scan (mean of %d):     %.3f ms wall, %.3f ms CPU\n", scans, meanWall, meanCpu);
    std::printf("CPU at one scan per second:   %.3f %% of one core (goal below 0.5 %%)\n",
                meanCpu / GameWatcher::kMinIntervalMs * 100.0);
    std::printf("listing the user's programs:  %.3f ms wall (%d names)\n", listWall, names);
    std::printf("switches made:                %d (expected 0)\n", control.switches);

    for (pid_t pid : children)
        kill(pid, SIGKILL);
    for (pid_t pid : children)
        waitpid(pid, nullptr, 0);
    return 0;
}
