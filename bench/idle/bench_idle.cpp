// bench_idle: what the program costs while it waits in the tray.
//
// Runs the real program (a private copy with the shipped data tree) against
// the simulated mouse on the current X display, or on an Xvfb of its own when
// there is none, and prints, for Qt Quick's default renderer of the program
// and for QT_QUICK_BACKEND=opengl side by side:
//   - time from start to the first painted frame of the screen (the debug
//     line "First frame" that the program writes once it has painted the
//     screen with its root visible);
//   - resident memory (VmRSS) a few seconds after that first show;
//   - resident memory and CPU time (utime + stime of /proc/<pid>/stat) after
//     an idle period with the window hidden in the tray and the notification
//     listener running (the screens are let go after ten seconds there);
//   - shown again by a second start: the time from the show to the first
//     frame of the screens built anew (the program's own debug line).
// To get into the tray the way a user's program does, the mouse is pulled
// out (the listener notices), a second simulated device changes (the next
// check finds no mouse and hides the window), and the mouse comes back (it
// connects again; a hidden window stays hidden).
//
//   bench_idle [--idle SECONDS] [--keep]     (default 60 s; --keep leaves the work folder)
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

// The simulated mouse as the shipped table's mouse row, and a spare device
// the program does not know, whose plugging only makes a device change.
const char kSimConfig[] =
    "[common]\ndeviceCount=2\n"
    "[0]\nvid=04d9\npid=a1ee\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\nusage2=ff01\n"
    "reportLength=32\nisEncode=true\nsCode=418205\nfamily=553\n"
    "[1]\nvid=1209\npid=0001\nusagePage=ff00\nusage=0001\nusagePage2=ff00\nusage2=0002\n"
    "reportLength=32\nfamily=553\n";

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &e : QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + '/' + e.fileName();
        if (e.isDir() ? !copyTree(e.filePath(), target) : !QFile::copy(e.filePath(), target))
            return false;
    }
    return true;
}

// A kB figure of /proc/<pid>/status: VmRSS, RssAnon, RssFile, RssShmem.
std::optional<qint64> statusKiB(qint64 pid, const QByteArray &key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return std::nullopt;
}

// User plus system CPU time of the whole process, in seconds.
std::optional<double> cpuSeconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray stat = f.readAll();
    // The name in parentheses may hold spaces: count fields after its end.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    const long ticks = sysconf(_SC_CLK_TCK);
    return double(fields.at(11).toLongLong() + fields.at(12).toLongLong()) / double(ticks > 0 ? ticks : 100);
}

struct Figures
{
    QString label;
    QString renderer;
    QString error;
    double firstFrameMs = -1;
    qint64 shownKiB = -1;
    qint64 idleKiB = -1;
    qint64 idleAnonKiB = -1;    // the program's own pages (heap, images)
    qint64 idleFileKiB = -1;    // pages of mapped files, mostly shared libraries
    double idleCpuSeconds = -1;
    double idleSeconds = 0;
    double rebuildMs = -1;      // shown from the tray: screens built again
};

class Run
{
public:
    Run(const QString &display, const QString &backend, int idleSeconds)
        : m_display(display), m_backend(backend), m_idleSeconds(idleSeconds)
    {
    }

    ~Run()
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished(10000);
        }
    }

    Figures measure(bool keep)
    {
        Figures f;
        f.label = m_backend.isEmpty() ? QStringLiteral("program default") : "QT_QUICK_BACKEND=" + m_backend;
        m_dir.setAutoRemove(!keep);
        if (keep)
            std::printf("work folder: %s\n", qPrintable(m_dir.path()));
        f.error = run(f);
        if (!f.error.isEmpty())
            f.error += "\n--- program output ---\n" + m_output.trimmed();
        return f;
    }

private:
    QString ctl(const QStringList &args)
    {
        QProcess p;
        p.setProcessEnvironment(m_env);
        p.start(QStringLiteral(SIMMOUSECTL_PATH), args);
        if (!p.waitForFinished(10000)) {
            p.kill();
            p.waitForFinished(5000);
            return QStringLiteral("timed out");
        }
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    // Reads the program's output until `line` has appeared `count` times.
    bool waitFor(const QString &line, int count, int ms)
    {
        QDeadlineTimer deadline(ms);
        for (;;) {
            m_output += QString::fromUtf8(m_program.readAll());
            if (m_output.count(line) >= count)
                return true;
            if (deadline.hasExpired() || m_program.state() != QProcess::Running)
                return false;
            m_program.waitForReadyRead(int(qBound(qint64(1), deadline.remainingTime(), qint64(200))));
        }
    }

    // Lets time pass while draining the output (the program must never block
    // on a full pipe).
    void idle(qint64 ms)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired() && m_program.state() == QProcess::Running) {
            m_program.waitForReadyRead(int(qBound(qint64(1), deadline.remainingTime(), qint64(500))));
            m_output += QString::fromUtf8(m_program.readAll());
        }
    }

    QString run(Figures &f)
    {
        if (!m_dir.isValid())
            return QStringLiteral("no temporary folder");
        // A private copy: the program writes its settings beside itself and
        // keys its single instance on its own path.
        const QString exe = m_dir.filePath("QuillMouse");
        if (!QFile::copy(QStringLiteral(QUILL_EXE), exe)
            || !copyTree(QStringLiteral(QUILL_SOURCE_DIR "/modules"), m_dir.filePath("modules"))
            || !QDir(m_dir.filePath("modules/qml")).removeRecursively())
            return QStringLiteral("cannot prepare %1").arg(m_dir.path());
        QFile config(m_dir.filePath("simmouse.ini"));
        if (!config.open(QIODevice::WriteOnly) || config.write(kSimConfig) < 0)
            return QStringLiteral("cannot write %1").arg(config.fileName());
        config.close();

        m_env = QProcessEnvironment::systemEnvironment();
        for (const char *chosen : {"QT_QUICK_BACKEND", "QMLSCENE_DEVICE", "QSG_RHI_BACKEND"})
            m_env.remove(chosen);
        if (!m_backend.isEmpty())
            m_env.insert("QT_QUICK_BACKEND", m_backend);
        m_env.insert("DISPLAY", m_display);
        m_env.insert("QT_QPA_PLATFORM", "xcb");
        m_env.insert("LD_LIBRARY_PATH", QStringLiteral(SIMHID_DIR));
        m_env.insert("SIMMOUSE_CONFIG", config.fileName());
        m_env.insert("SIMMOUSE_SOCKET", m_dir.filePath("simmouse.sock"));
        m_program.setProcessEnvironment(m_env);
        m_program.setWorkingDirectory(m_dir.path());
        m_program.setProcessChannelMode(QProcess::MergedChannels);

        QElapsedTimer clock;
        clock.start();
        m_program.start(exe, QStringList());
        if (!m_program.waitForStarted(30000))
            return QStringLiteral("the program did not start");
        const qint64 pid = m_program.processId();
        if (!waitFor(QStringLiteral("First frame"), 1, 60000))
            return QStringLiteral("no first frame within 60 s");
        f.firstFrameMs = double(clock.nsecsElapsed()) / 1e6;
        const int at = m_output.indexOf(QLatin1String("First frame ("));
        f.renderer = m_output.mid(at + 13, m_output.indexOf(')', at) - at - 13);
        if (!waitFor(QStringLiteral("Device Connect"), 1, 30000))
            return QStringLiteral("the simulated mouse did not connect");

        // After the first show: the start-up picture has given way to the screen.
        idle(3000);
        f.shownKiB = statusKiB(pid, "VmRSS").value_or(-1);

        // Into the tray with the listener running.
        if (ctl({"unplug", "0"}) != "ok" || !waitFor(QStringLiteral("Device removed"), 1, 10000))
            return QStringLiteral("the listener did not notice the removal");
        if (ctl({"unplug", "1"}) != "ok" || !waitFor(QStringLiteral("Device DisConnect"), 1, 15000))
            return QStringLiteral("no check after a device change");
        if (ctl({"plug", "0"}) != "ok" || !waitFor(QStringLiteral("Device Connect"), 2, 15000))
            return QStringLiteral("the mouse did not connect again");
        idle(2000);

        const std::optional<double> cpu0 = cpuSeconds(pid);
        QElapsedTimer idleClock;
        idleClock.start();
        idle(qint64(m_idleSeconds) * 1000);
        const std::optional<double> cpu1 = cpuSeconds(pid);
        f.idleSeconds = double(idleClock.nsecsElapsed()) / 1e9;
        f.idleKiB = statusKiB(pid, "VmRSS").value_or(-1);
        f.idleAnonKiB = statusKiB(pid, "RssAnon").value_or(-1);
        f.idleFileKiB = statusKiB(pid, "RssFile").value_or(-1);
        if (!cpu0 || !cpu1 || m_program.state() != QProcess::Running)
            return QStringLiteral("the program ended while idle");
        f.idleCpuSeconds = *cpu1 - *cpu0;

        // Back from the tray: a second start shows the window, whose screens
        // were let go while hidden and are built again.
        QProcess second;
        second.setProcessEnvironment(m_env);
        second.setWorkingDirectory(m_dir.path());
        second.start(exe, QStringList());
        second.waitForFinished(15000);
        const QString rebuilt = QStringLiteral("Screens built again, first frame after ");
        if (waitFor(rebuilt, 1, 15000)) {
            const int at = m_output.indexOf(rebuilt) + rebuilt.size();
            f.rebuildMs = m_output.mid(at, m_output.indexOf(QLatin1Char(' '), at) - at).toDouble();
        }
        return {};
    }

    QString m_display;
    QString m_backend;
    int m_idleSeconds;
    QTemporaryDir m_dir;
    QProcess m_program;
    QProcessEnvironment m_env;
    QString m_output;
};

// An Xvfb of our own, with a tray, when no display is given.
class OwnDisplay
{
public:
    ~OwnDisplay()
    {
        for (QProcess *p : {&m_tray, &m_server}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000)) {
                    p->kill();
                    p->waitForFinished(5000);
                }
            }
        }
    }

    QString start(QString *tray)
    {
        m_server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
        if (!m_server.waitForStarted(10000))
            return {};
        QByteArray number;
        QDeadlineTimer deadline(30000);
        while (!number.contains('\n') && !deadline.hasExpired() && m_server.state() == QProcess::Running) {
            m_server.waitForReadyRead(200);
            number += m_server.readAllStandardOutput();
        }
        if (!number.contains('\n'))
            return {};
        const QString display = ':' + QString::fromLatin1(number.trimmed());
        if (!QStandardPaths::findExecutable("trayer").isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("DISPLAY", display);
            m_tray.setProcessEnvironment(env);
            m_tray.setStandardOutputFile(QProcess::nullDevice());
            m_tray.setStandardErrorFile(QProcess::nullDevice());
            m_tray.start("trayer", QStringList());
            *tray = m_tray.waitForStarted(5000) ? "trayer" : "none (trayer did not start)";
            QThread::msleep(500);   // let it claim the tray selection
        } else {
            *tray = "none (trayer not installed)";
        }
        return display;
    }

private:
    QProcess m_server;
    QProcess m_tray;
};

QString mib(qint64 kib)
{
    return kib < 0 ? QStringLiteral("-") : QStringLiteral("%1 MiB").arg(double(kib) / 1024.0, 0, 'f', 1);
}

void row(const char *what, const QString &a, const QString &b)
{
    std::printf("  %-34s %-22s %s\n", what, qPrintable(a), qPrintable(b));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int idleSeconds = 60;
    bool keep = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == "--idle" && i + 1 < args.size() && args.at(i + 1).toInt() > 0) {
            idleSeconds = args.at(++i).toInt();
        } else if (args.at(i) == "--keep") {
            keep = true;
        } else {
            std::fprintf(stderr, "usage: bench_idle [--idle SECONDS] [--keep]\n");
            return 2;
        }
    }

    OwnDisplay own;
    QString display = qEnvironmentVariable("DISPLAY");
    QString tray = "whatever the display has";
    if (display.isEmpty()) {
        display = own.start(&tray);
        if (display.isEmpty()) {
            std::fprintf(stderr, "bench_idle: no DISPLAY and Xvfb did not start\n");
            return 1;
        }
        display += " (own Xvfb)";
    }
    const QString displayName = display.section(' ', 0, 0);
    std::printf("bench_idle: %s on the simulated mouse, display %s, tray %s, idle %d s\n",
                QUILL_EXE, qPrintable(display), qPrintable(tray), idleSeconds);
    std::fflush(stdout);

    Figures figures[2];
    const QString backends[2] = {QString(), QStringLiteral("opengl")};
    for (int i = 0; i < 2; ++i) {
        Run run(displayName, backends[i], idleSeconds);
        figures[i] = run.measure(keep);
        if (!figures[i].error.isEmpty())
            std::fprintf(stderr, "bench_idle: %s: %s\n", qPrintable(figures[i].label), qPrintable(figures[i].error));
    }

    const Figures &a = figures[0], &b = figures[1];
    auto ms = [](const Figures &f) {
        return f.firstFrameMs < 0 ? QStringLiteral("-") : QStringLiteral("%1 ms").arg(f.firstFrameMs, 0, 'f', 0);
    };
    auto cpu = [](const Figures &f) {
        if (f.idleCpuSeconds < 0)
            return QStringLiteral("-");
        return QStringLiteral("%1 % (%2 s)").arg(100.0 * f.idleCpuSeconds / f.idleSeconds, 0, 'f', 3)
            .arg(f.idleCpuSeconds, 0, 'f', 2);
    };
    std::printf("\n");
    row("", a.label, b.label);
    row("renderer used", a.renderer.isEmpty() ? "-" : a.renderer, b.renderer.isEmpty() ? "-" : b.renderer);
    row("start to first painted frame", ms(a), ms(b));
    row("resident after the first show", mib(a.shownKiB), mib(b.shownKiB));
    row(qPrintable(QStringLiteral("resident after %1 s in the tray").arg(idleSeconds)), mib(a.idleKiB), mib(b.idleKiB));
    row("  of which anonymous", mib(a.idleAnonKiB), mib(b.idleAnonKiB));
    row("  of which mapped files", mib(a.idleFileKiB), mib(b.idleFileKiB));
    row(qPrintable(QStringLiteral("CPU over those %1 s (one core)").arg(idleSeconds)), cpu(a), cpu(b));
    auto back = [](const Figures &f) {
        return f.rebuildMs < 0 ? QStringLiteral("-") : QStringLiteral("%1 ms").arg(f.rebuildMs, 0, 'f', 0);
    };
    row("shown again: screens built, frame", back(a), back(b));

    if (!a.error.isEmpty())
        return 1;
    const bool memoryOk = a.idleKiB <= 45 * 1024;
    const bool cpuOk = 100.0 * a.idleCpuSeconds / a.idleSeconds < 0.5;
    std::printf("\ngoals for the program default: idle resident at most 45 MiB: %s; idle CPU below 0.5 %%: %s\n",
                memoryOk ? "met" : "NOT met", cpuOk ? "met" : "NOT met");
    return b.error.isEmpty() ? 0 : 1;
}
