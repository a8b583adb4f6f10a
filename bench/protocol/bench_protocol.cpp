// Runs representative commands against the simulated mouse with real sleeps
// and compares the time each takes with the time its own protocol pauses
// require. Usage: bench_protocol [rounds]

#include "device/hid_thread.h"
#include "device/protocolclock.h"
#include "tests/common/wirelog.h"
#include "tools/simmouse/simmouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// The real clock, counting the pauses it is asked for.
class CountingClock : public ProtocolClock
{
public:
    void sleepMs(int ms) override
    {
        requestedMs += ms;
        QElapsedTimer t;
        t.start();
        realProtocolClock()->sleepMs(ms);
        sleptNs += t.nsecsElapsed();
    }
    void processEvents() override { realProtocolClock()->processEvents(); }
    qint64 requestedMs = 0;
    qint64 sleptNs = 0;   // time actually spent inside the sleeps
};

struct Case
{
    const char *name;
    int family;
    int reportLength;
    std::function<void(Hid_Thread &)> run;
};

void connect(Hid_Thread &hid, int family, int reportLength)
{
    simmouse::Config c;
    c.family = family;
    c.reportLength = reportLength;
    c.isEncode = true;
    const DeviceEntry e = resetSimulatedMouse(c);
    simmouse::State st = simmouse::state();
    for (auto &record : st.profiles)
        for (size_t i = 0; i < record.size(); ++i)
            record[i] = uint8_t(0x80 + i);
    simmouse::setState(st);
    hid.deviceTable = {e};
    hid.hidIdle = 1;
    if (!hid.chkDeviceIsEnCode(0))
        qFatal("the simulated mouse failed the handshake");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    static uchar data[128];
    for (int i = 0; i < 128; ++i)
        data[i] = uchar(i * 3 + 1);

    const std::vector<Case> cases = {
        {"553 12H key matrix, 64 bytes", 553, 32, [](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(data, 1); }},
        {"553 12H key matrix, 64 bytes", 553, 64, [](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(data, 1); }},
        {"553 13H macro, 128 bytes", 553, 32, [](Hid_Thread &h) { h.hid553_13H_SetMacroKey(1, data); }},
        {"560 0FH macro, 128 bytes", 560, 32, [](Hid_Thread &h) { h.hid560_0FH_SetMacroKey(1, data); }},
        {"560 0CH profile write, 128 bytes", 560, 32, [](Hid_Thread &h) { h.hid560_0CH_setProfile(data, 1); }},
        {"560 8CH profile read, 128 bytes", 560, 32, [](Hid_Thread &h) {
             uchar b[128];
             std::memset(b, 0xEE, sizeof b);
             h.hid560_8CH_readProfile(b, 1);
             // A read that failed fast would make a meaningless time.
             if (std::memcmp(b, simmouse::state().profiles[1].data(), 128) != 0 || !h.hidIdle)
                 qFatal("the profile read failed");
         }},
        {"560 03H report rate, 4 positions", 560, 32, [](Hid_Thread &h) { h.hid560_03H_SetReportRate(2); }},
        {"553 0BH current DPI", 553, 32, [](Hid_Thread &h) { h.hid553_0BH_SetCurrentDPI(2); }},
        {"553 03H keyboard option", 553, 32, [](Hid_Thread &h) { h.hid553_03H_SetKeyboardoption(0, 0, 0, 0x40); }},
        {"553 83H keyboard option read", 553, 32, [](Hid_Thread &h) { uchar a = 0, b = 0, c = 0, d = 0; h.hid553_83H_GetKeyboardoption(a, b, c, d); }},
    };

    QTextStream out(stdout);
    out << "median of " << rounds << " rounds; 'slept' is the time spent inside the sleeps,\n"
           "'other' the time of everything else (transfers, opens, event processing)\n";
    out << QString("%1 %2 %3 %4 %5 %6 %7\n")
               .arg("command", -36).arg("rlen", 4).arg("measured ms", 12)
               .arg("pauses ms", 10).arg("ratio", 8).arg("slept ms", 10).arg("other ms", 9);
    for (const Case &c : cases) {
        Hid_Thread hid;
        CountingClock clock;
        hid.setClock(&clock);
        connect(hid, c.family, c.reportLength);
        std::vector<std::pair<double, double>> measured;   // total, slept
        qint64 required = 0;
        for (int r = 0; r < rounds; ++r) {
            clock.requestedMs = 0;
            clock.sleptNs = 0;
            QElapsedTimer t;
            t.start();
            c.run(hid);
            measured.push_back({double(t.nsecsElapsed()) / 1e6, double(clock.sleptNs) / 1e6});
            required = clock.requestedMs;
        }
        std::sort(measured.begin(), measured.end());
        const double median = measured[measured.size() / 2].first;
        const double slept = measured[measured.size() / 2].second;
        const QString ratio = required > 0 ? QString::number(median / double(required), 'f', 4)
                                           : QStringLiteral("n/a");
        out << QString("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(QString::fromLatin1(c.name), -36).arg(c.reportLength, 4)
                   .arg(median, 12, 'f', 2).arg(required, 10).arg(ratio, 8)
                   .arg(slept, 10, 'f', 2).arg(median - slept, 9, 'f', 2);
        out.flush();
    }
    return 0;
}
