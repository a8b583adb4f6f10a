// Times the bridge operations a user triggers most, over the simulated mouse,
// against the pauses the protocol itself asks for.
//
//   bench_bridge [-n runs] [--no-sleep]
//
// With real sleeps the measured time should sit just above the pauses; with
// --no-sleep the pauses are only recorded and the time is the program's own
// work (framing, scrambling, encodings, simulated transfers).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>
#include <cstring>
#include <functional>

#include "bench/common/benchdata.h"
#include "bridge/deviceops.h"
#include "bridge/macroimage.h"
#include "bridge/profilesettings.h"
#include "tests/bridge/bridgefakes.h"
#include "device/hid_thread.h"
#include "device/protocol.h"
#include "device/protocolclock.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 3;
    bool sleep = true;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-n") && i + 1 < args.size())
            runs = qMax(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--no-sleep"))
            sleep = false;
    }

    QTextStream out(stdout);
    out << "bridge operations over the simulated mouse, report length 32, scrambled, "
        << runs << " run(s) each" << (sleep ? "" : ", pauses recorded only") << "\n";
    out << QStringLiteral("%1 %2 %3 %4 %5\n")
               .arg(QStringLiteral("operation"), -34)
               .arg(QStringLiteral("family"), 6)
               .arg(QStringLiteral("measured ms"), 12)
               .arg(QStringLiteral("pauses ms"), 10)
               .arg(QStringLiteral("other ms"), 9);

    using benchdata::keyMatrix;
    const QVariantList dpis = benchdata::dpiValues();
    const QVariantList colours = benchdata::colours();
    const QVariantList image = benchdata::macroImage();

    struct Op { const char *name; std::function<void(DeviceOps &)> run; };
    const QList<Op> ops{
        {"save key matrix", [](DeviceOps &o) { o.setKeyMatrix(keyMatrix(false), true, {60, 70, 80}); }},
        {"save key matrix with recoil layers", [](DeviceOps &o) { o.setKeyMatrix(keyMatrix(true), true, {60, 70, 80}); }},
        {"set DPI stages", [&](DeviceOps &o) { o.setDpi(5, QStringLiteral("3389"), dpis); }},
        {"set lighting effect + colours", [&](DeviceOps &o) { o.setRgbEffect(5, 2, 3); o.setRgbColor(0, colours); }},
        {"send a macro", [&](DeviceOps &o) { o.sendMacroData(image, 3); }},
    };

    for (int family : {553, 560}) {
        simmouse::Config c;
        c.family = family;
        c.reportLength = 32;
        c.isEncode = true;
        simmouse::reset(c);

        // Records every pause; sleeps through it too unless --no-sleep.
        RecordingClock clock;
        clock.onSleep = [sleep](int ms) {
            if (sleep)
                realProtocolClock()->sleepMs(ms);
        };
        clock.onProcessEvents = [] { realProtocolClock()->processEvents(); };
        FakeHost host;
        Hid_Thread hid;
        benchdata::attachSim(hid, host, clock, family, 32);

        MapSettings settings;
        DeviceOps dev;
        benchdata::setUpOps(dev, settings, &hid, family);

        for (const Op &op : ops) {
            clock.sleeps.clear();
            QElapsedTimer t;
            t.start();
            for (int r = 0; r < runs; ++r) {
                simmouse::clearWireLog();
                op.run(dev);
            }
            const double measured = double(t.nsecsElapsed()) / 1e6 / runs;
            const double paused = double(clock.total()) / runs;
            out << QStringLiteral("%1 %2 %3 %4 %5\n")
                       .arg(QString::fromLatin1(op.name), -34)
                       .arg(family, 6)
                       .arg(measured, 12, 'f', 1)
                       .arg(paused, 10, 'f', 0)
                       .arg(sleep ? measured - paused : measured, 9, 'f', 1);
            out.flush();
        }
    }
    return 0;
}
