// The device thread: commands go out whole and in the order they were asked
// for, whatever thread asks and whenever; queued profile records are merged;
// an unplugged mouse or a quit ends the queue without hanging. The pauses go
// through the recording clock: nothing here sleeps for the protocol.
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "device/devicequeue.h"
#include "device/hid_thread.h"
#include "device/protocol.h"
#include "tests/common/fakes.h"
#include "tests/common/wirelog.h"
#include "tools/simmouse/simmouse.h"

namespace {

// Feature requests the mouse received, as (code, first parameter).
QList<QPair<int, int>> requests()
{
    QList<QPair<int, int>> out;
    for (const simmouse::WireRecord &r : simmouse::wireLog())
        if (r.interface == 0 && r.ok && r.kind == simmouse::Kind::FeatureOut)
            out << qMakePair(int(r.clear[1]), int(r.clear[2]));
    return out;
}

// Waits (really, but only for another thread to reach a point) up to 5 s.
bool waitFor(const std::function<bool()> &condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A clock whose sleeps the test can hold: the device thread stops in its
// first sleep until released, so the test can act "during a transfer".
class GateClock : public ProtocolClock
{
public:
    void sleepMs(int ms) override
    {
        total += ms;
        if (holdNext.exchange(false)) {
            held = true;
            waitFor([this] { return !held.load(); });
        }
    }
    void processEvents() override {}

    std::atomic<bool> holdNext{false};
    std::atomic<bool> held{false};
    std::atomic<int> total{0};
};

uchar pattern[128];

} // namespace

class TestQueue : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void commandAskedDuringTransferGoesOutAfterIt();
    void manyActionsGoOutInOrder();
    void queuedProfileRecordsAreMerged();
    void readWaitsForEarlierWritesAndReturnsTheValue();
    void readWaitIsBounded();
    void unplugDropsTheRestWithOneNotice();
    void quitFinishesTheCurrentCommandOnly();
    void busyStateReachesTheOwnerThread();

private:
    void connectSim(int family);

    Hid_Thread *hid = nullptr;
    GateClock clock;
    FakeHost host;
};

void TestQueue::init()
{
    for (int i = 0; i < 128; ++i)
        pattern[i] = uchar(0x40 + i);
    std::memset(SecrecyCode, 0, sizeof SecrecyCode);
    host = FakeHost();
    clock.holdNext = false;
    clock.held = false;
    clock.total = 0;
    hid = new Hid_Thread;
    hid->setClock(&clock);
    hid->setOwner(&host);
}

void TestQueue::cleanup()
{
    clock.held = false;
    delete hid;
    hid = nullptr;
    simmouse::reset();
}

void TestQueue::connectSim(int family)
{
    simmouse::Config c;
    c.family = family;
    DeviceEntry e = resetSimulatedMouse(c);
    hid->deviceTable = {e};
    hid->currentIndex = 0;
    proto::applyCodeText(e.sCode, SecrecyCode);
    host.ic = QString::number(family);
    hid->startDeviceThread();
}

void TestQueue::commandAskedDuringTransferGoesOutAfterIt()
{
    connectSim(553);
    clock.holdNext = true;
    hid->hid553_13H_SetMacroKey(3, pattern);   // 128 bytes: several output reports
    QVERIFY(waitFor([this] { return clock.held.load(); }));
    hid->hid553_01H_SetReportRate(2);   // asked for while the first one waits mid-command
    clock.held = false;
    QVERIFY(hid->queue().waitIdle(5000));

    // The macro went out whole (request, its four reports), then the rate.
    QList<simmouse::Kind> kinds;
    for (const simmouse::WireRecord &r : simmouse::wireLog())
        if (r.interface == 0)
            kinds << r.kind;
    using K = simmouse::Kind;
    QCOMPARE(kinds, (QList<K>{K::FeatureOut, K::Output, K::Output, K::Output, K::Output, K::FeatureOut}));
    QCOMPARE(requests(), (QList<QPair<int, int>>{{0x13, 3}, {0x01, 2}}));
    QCOMPARE(simmouse::state().reportRate, uint8_t(2));
    QCOMPARE(host.writeFailures, 0);
}

void TestQueue::manyActionsGoOutInOrder()
{
    connectSim(553);
    QList<QPair<int, int>> expected;
    // From two threads in turn: each thread's own order is kept, and the
    // queue's order is the order the requests arrived in.
    for (int i = 1; i <= 12; ++i) {
        if (i % 3 == 0) {
            std::thread other([this, i] { hid->hid553_0BH_SetCurrentDPI(uchar(i)); });
            other.join();
            expected << qMakePair(0x0B, i);
        } else if (i % 3 == 1) {
            hid->hid553_12H_SetKeyMatrix(pattern, uchar(i));
            expected << qMakePair(0x12, i);
        } else {
            hid->hid553_02H_SetCurrentKeyMatrix(uchar(i));
            expected << qMakePair(0x02, i);
        }
    }
    QVERIFY(hid->queue().waitIdle(5000));
    QCOMPARE(requests(), expected);
    QCOMPARE(simmouse::state().currentDpiStage, uint8_t(12));
}

void TestQueue::queuedProfileRecordsAreMerged()
{
    connectSim(560);
    uchar a[128], b[128], c[128];
    std::memset(a, 0xA1, 128);
    std::memset(b, 0xB2, 128);
    std::memset(c, 0xC3, 128);
    clock.holdNext = true;
    hid->hid560_02H_SetCurrentProfile(1);   // holds the device thread
    QVERIFY(waitFor([this] { return clock.held.load(); }));
    hid->hid560_0CH_setProfile(a, 1);
    hid->hid560_0CH_setProfile(b, 2);
    hid->hid560_0DH_SetKeyMatrix(pattern, 1);
    hid->hid560_0CH_setProfile(c, 1);   // record 1 again, not started yet
    clock.held = false;
    QVERIFY(hid->queue().waitIdle(5000));

    // Record 1 once, in its first place, with the latest content.
    QCOMPARE(requests(), (QList<QPair<int, int>>{{0x02, 1}, {0x0C, 1}, {0x0C, 2}, {0x0D, 1}}));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(simmouse::state().profiles[1].data()), 128),
             QByteArray(128, char(0xC3)));
    QCOMPARE(simmouse::state().profiles[2][0], uint8_t(0xB2));

    // A record whose write has started is not touched: the next one goes out again.
    simmouse::clearWireLog();
    clock.holdNext = true;
    hid->hid560_0CH_setProfile(a, 3);
    QVERIFY(waitFor([this] { return clock.held.load(); }));
    hid->hid560_0CH_setProfile(b, 3);
    clock.held = false;
    QVERIFY(hid->queue().waitIdle(5000));
    QCOMPARE(requests(), (QList<QPair<int, int>>{{0x0C, 3}, {0x0C, 3}}));
    QCOMPARE(simmouse::state().profiles[3][0], uint8_t(0xB2));
}

void TestQueue::readWaitsForEarlierWritesAndReturnsTheValue()
{
    connectSim(553);
    hid->hid553_0BH_SetCurrentDPI(5);
    hid->hid553_12H_SetKeyMatrix(pattern, 1);
    uchar stage = 0;
    hid->hid553_8BH_GetCurrentDPI(stage);
    QCOMPARE(int(stage), 5);
    QVERIFY(hid->lastReadOk());
    QCOMPARE(requests(), (QList<QPair<int, int>>{{0x0B, 5}, {0x12, 1}, {0x8B, 0}}));

    // A read the mouse does not answer keeps the caller's value and says so.
    simmouse::unplug();
    stage = 7;
    hid->hid553_8BH_GetCurrentDPI(stage);
    QCOMPARE(int(stage), 7);
    QVERIFY(!hid->lastReadOk());
}

void TestQueue::readWaitIsBounded()
{
    DeviceQueue q;
    q.startWorker();
    std::atomic<bool> release{false};
    std::atomic<bool> lateRun{false};
    q.post([&release] { waitFor([&release] { return release.load(); }); });
    QVERIFY(!q.call([&lateRun] { lateRun = true; }, 20));
    release = true;
    QVERIFY(q.waitIdle(5000));
    // Taken back when its wait ended: it never runs unasked later.
    QVERIFY(!lateRun);
}

void TestQueue::unplugDropsTheRestWithOneNotice()
{
    connectSim(553);
    clock.holdNext = true;
    hid->hid553_13H_SetMacroKey(1, pattern);
    QVERIFY(waitFor([this] { return clock.held.load(); }));
    for (uchar layer = 1; layer <= 4; ++layer)
        hid->hid553_12H_SetKeyMatrix(pattern, layer);
    simmouse::unplug();   // mid-transfer
    clock.held = false;
    QVERIFY(hid->queue().waitIdle(5000));
    QCOMPARE(hid->queue().pending(), 0);
    QTRY_COMPARE(host.writeFailures, 1);
    QCOMPARE(requests(), (QList<QPair<int, int>>{{0x13, 1}}));

    // Plugged in again and found again, it takes commands as before.
    simmouse::plug();
    DeviceEntry e = resetSimulatedMouse(simmouse::config());
    hid->queue().call([this, e] { hid->deviceTable = {e}; }, 1000);
    hid->hid553_01H_SetReportRate(3);
    QVERIFY(hid->queue().waitIdle(5000));
    QCOMPARE(simmouse::state().reportRate, uint8_t(3));
}

void TestQueue::quitFinishesTheCurrentCommandOnly()
{
    connectSim(553);
    clock.holdNext = true;
    hid->hid553_13H_SetMacroKey(2, pattern);
    QVERIFY(waitFor([this] { return clock.held.load(); }));
    for (uchar rate = 1; rate <= 3; ++rate)
        hid->hid553_01H_SetReportRate(rate);
    std::thread quitter([this] { hid->stopDeviceThread(); });
    // Let the running command go once the quit has taken the queue.
    QVERIFY(waitFor([this] { return hid->queue().pending() <= 1; }));
    clock.held = false;
    quitter.join();

    QCOMPARE(requests(), (QList<QPair<int, int>>{{0x13, 2}}));
    QCOMPARE(simmouse::state().macros.at(2).size(), size_t(128));
    QVERIFY(!hid->queue().threaded());
}

void TestQueue::busyStateReachesTheOwnerThread()
{
    connectSim(553);
    QSignalSpy busy(hid, &Hid_Thread::deviceBusyChanged);
    clock.holdNext = true;
    hid->hid553_01H_SetReportRate(1);
    QVERIFY(waitFor([this] { return clock.held.load(); }));
    QTRY_COMPARE(busy.size(), 1);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    clock.held = false;
    QTRY_COMPARE(busy.size(), 2);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
}

QTEST_GUILESS_MAIN(TestQueue)
#include "tst_queue.moc"
