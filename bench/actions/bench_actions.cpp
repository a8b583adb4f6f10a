// Whole user actions against the simulated mouse with the real clock, the
// way the program runs them: the screens' calls on the GUI thread, the
// commands on the device thread.
//
//   bench_actions [-n runs]
//
// For each family and report length it prints the time from the action to
// the last command's end, the sum of the pauses the protocol requires for
// the commands that went out, their ratio, and how long the GUI thread was
// unavailable at worst (the largest lateness of a 5 ms timer running on it).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>

#include "bench/common/benchdata.h"
#include "bridge/deviceops.h"
#include "bridge/macroimage.h"
#include "device/hid_thread.h"
#include "device/protocol.h"
#include "device/protocolclock.h"
#include "tests/bridge/bridgefakes.h"

namespace {

// Sleeps for real and adds up what the protocol asked for (device thread).
class SummingClock : public ProtocolClock
{
public:
    void sleepMs(int ms) override
    {
        paused += ms;
        realProtocolClock()->sleepMs(ms);
    }
    void processEvents() override {}
    std::atomic<long> paused{0};
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i)
        if (args[i] == QLatin1String("-n") && i + 1 < args.size())
            runs = qMax(1, args[++i].toInt());

    using benchdata::keyMatrix;
    const QVariantList dpis = benchdata::dpiValues();
    const QVariantList colours = benchdata::colours();
    const QVariantList image = benchdata::macroImage();

    // What the screens ask of the view for each action (a gun mouse).
    auto sendPages = [&](DeviceOps &o) {
        o.setKeyMatrix(keyMatrix(true), true, {60, 70, 80});
        o.setReportRate(2);
        o.setDpi(5, QStringLiteral("3389"), dpis);
        o.setRgbEffect(5, 2, 3);
        o.setRgbColor(0, colours);
    };
    struct Action { const char *name; std::function<void(DeviceOps &)> run; };
    const QList<Action> actions{
        {"save: key matrix + DPI + lighting", [&](DeviceOps &o) {
             o.setKeyMatrix(keyMatrix(true), true, {60, 70, 80});
             o.setDpi(5, QStringLiteral("3389"), dpis);
             o.setRgbEffect(5, 2, 3);
         }},
        {"factory reset", [&](DeviceOps &o) {
             sendPages(o);
             o.switchKeyMatrix(1);
             o.setCurrentDpi(2);
         }},
        {"profile switch", [&](DeviceOps &o) {
             sendPages(o);
             o.switchKeyMatrix(1);
         }},
        {"macro send", [&](DeviceOps &o) { o.sendMacroData(image, 3); }},
    };

    QTextStream out(stdout);
    out << "user actions over the simulated mouse (gun model, scrambled), real pauses, "
        << runs << " run(s) each\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("action"), -34)
               .arg(QStringLiteral("family"), 6)
               .arg(QStringLiteral("report"), 6)
               .arg(QStringLiteral("measured ms"), 12)
               .arg(QStringLiteral("pauses ms"), 10)
               .arg(QStringLiteral("ratio"), 6)
               .arg(QStringLiteral("GUI max ms"), 10);

    for (int family : {553, 560}) {
        for (int reportLength : {32, 64}) {
            simmouse::Config c;
            c.family = family;
            c.reportLength = reportLength;
            simmouse::reset(c);

            SummingClock clock;
            FakeHost host;
            Hid_Thread hid;
            benchdata::attachSim(hid, host, clock, family, reportLength);
            hid.startDeviceThread();

            MapSettings settings;
            DeviceOps dev;
            benchdata::setUpOps(dev, settings, &hid, family);

            for (const Action &a : actions) {
                double measured = 0, worstGui = 0;
                long paused = 0;
                for (int r = 0; r < runs; ++r) {
                    clock.paused = 0;
                    // A 5 ms timer on the GUI thread: its lateness is the time
                    // the thread could not answer.
                    QElapsedTimer tick;
                    QTimer probe;
                    probe.setInterval(5);
                    probe.setTimerType(Qt::PreciseTimer);
                    double late = 0;
                    QObject::connect(&probe, &QTimer::timeout, [&] {
                        late = qMax(late, double(tick.nsecsElapsed()) / 1e6 - 5.0);
                        tick.restart();
                    });
                    QEventLoop loop;
                    QTimer poll;
                    poll.setInterval(1);
                    QObject::connect(&poll, &QTimer::timeout, [&] {
                        if (!hid.deviceBusy())
                            loop.quit();
                    });
                    QElapsedTimer t;
                    probe.start();
                    tick.start();
                    t.start();
                    a.run(dev);
                    // The action itself is measured as GUI time too.
                    late = qMax(late, double(tick.nsecsElapsed()) / 1e6 - 5.0);
                    tick.restart();
                    poll.start();
                    loop.exec();
                    measured += double(t.nsecsElapsed()) / 1e6;
                    paused += clock.paused;
                    worstGui = qMax(worstGui, late);
                }
                measured /= runs;
                const double p = double(paused) / runs;
                out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                           .arg(QString::fromLatin1(a.name), -34)
                           .arg(family, 6)
                           .arg(reportLength, 6)
                           .arg(measured, 12, 'f', 1)
                           .arg(p, 10, 'f', 0)
                           .arg(p > 0 ? measured / p : 0.0, 6, 'f', 3)
                           .arg(qMax(0.0, worstGui), 10, 'f', 1);
                out.flush();
            }
        }
    }
    return 0;
}
