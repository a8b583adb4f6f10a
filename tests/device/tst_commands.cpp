#include <QtTest>

#include "device/hid_thread.h"
#include "device/protocol.h"
#include "tests/common/fakes.h"
#include "tests/common/wirelog.h"
#include "tools/simmouse/simmouse.h"

#include <cstring>
#include <functional>

using Invoke = std::function<void(Hid_Thread &)>;
// Calls a read command with the given parameter values and returns them as
// the command left them.
using ReadInvoke = std::function<QByteArray(Hid_Thread &, const QByteArray &)>;
using StateSetup = std::function<void(simmouse::State &)>;
Q_DECLARE_METATYPE(Invoke)
Q_DECLARE_METATYPE(ReadInvoke)
Q_DECLARE_METATYPE(StateSetup)

namespace {

// Bulk source data: no zero bytes, so padding and stale data show.
struct Pattern
{
    uchar bytes[128];
    Pattern()
    {
        for (int i = 0; i < 128; ++i)
            bytes[i] = uchar(0x40 + i);
    }
};
Pattern pattern;

QByteArray qb(const std::vector<uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), int(v.size()));
}

QByteArray qb(const uchar *p, int n)
{
    return QByteArray(reinterpret_cast<const char *>(p), n);
}

// A read command run on a copy of the caller's values; returns them as the
// command left them.
ReadInvoke onCopy(std::function<void(Hid_Thread &, uchar *)> call)
{
    return [call](Hid_Thread &h, const QByteArray &in) {
        QByteArray values = in;
        call(h, reinterpret_cast<uchar *>(values.data()));
        return values;
    };
}

QByteArray src(int n)
{
    return qb(pattern.bytes, n);
}

QList<int> repeat(int ms, int n)
{
    QList<int> out;
    for (int i = 0; i < n; ++i)
        out << ms;
    return out;
}

const QList<int> kPause = {64, 64};

QList<int> bulkSleeps(int reports)
{
    return kPause + repeat(120, reports) + kPause;
}

// The command interface's traffic as the device saw it.
struct Wire
{
    QStringList requests;          // unscrambled by the device, hex
    QList<QByteArray> rawRequests; // as sent
    QList<QByteArray> outputs;
    QList<QByteArray> rawReplies;
    int inputs = 0;
    int failed = 0;
    int records = 0;
    QStringList notes;
};

Wire wire()
{
    Wire w;
    for (const simmouse::WireRecord &r : simmouse::wireLog()) {
        if (r.interface != 0)
            continue;
        ++w.records;
        if (!r.ok)
            ++w.failed;
        if (!r.note.empty() && r.ok)
            w.notes << QString::fromStdString(r.note);
        if (!r.ok)
            continue;
        switch (r.kind) {
        case simmouse::Kind::FeatureOut:
            w.requests << QString::fromLatin1(qb(r.clear).toHex().toUpper());
            w.rawRequests << qb(r.bytes);
            break;
        case simmouse::Kind::FeatureIn: w.rawReplies << qb(r.bytes); break;
        case simmouse::Kind::Output: w.outputs << qb(r.bytes); break;
        case simmouse::Kind::Input: ++w.inputs; break;
        default: break;
        }
    }
    return w;
}

QByteArray scrambled(const QByteArray &request)
{
    QByteArray out = request;
    proto::scrambleBlock(reinterpret_cast<uchar *>(out.data()) + 1, SecrecyCode);
    return out;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void setCommands_data();
    void setCommands();
    void failedWriteReported_data();
    void failedWriteReported();
    void readCommands_data();
    void readCommands();
    void failedReadKeepsParameters_data();
    void failedReadKeepsParameters();
    void busyChannelDropsCommand_data();
    void busyChannelDropsCommand();
    void busyChannelDropsRead_data();
    void busyChannelDropsRead();
    void bulkReportSizes_data();
    void bulkReportSizes();

    void readProfile_data();
    void readProfile();
    void readProfileKeepsUnreadChunks();
    void readProfileDoesNotHangOnSilentDevice();

    void tokenReturnedDuringWait();
    void nestedCommandGivesUpAndOuterFinishes();
    void positionLoopContinuesAfterFailedSend();
    void commandBetweenPositionSendsRunsWhole();
    void emptyPathTouchesNothing();
    void listenOpenFailureClearsOnlyPath2();
    void failedOpenClearsPath();
    void indexOutsideTable();
    void refusedReportLength_data();
    void refusedReportLength();
    void transferFailureEndsExchange_data();
    void transferFailureEndsExchange();

    void handshake_data();
    void handshake();
    void handshakeNeedsAnExchange();
    void handshakeSelectsEntryAndCode();
    void handshakeBytesRepeatWithinASecond();

private:
    void connectSim(int family, int reportLength, bool encoded, int simReportLength = 0);
    static void addSetRows(bool withVariants, const QStringList &faults = {});
    static void addReadRows(bool withVariants);

    Hid_Thread *hid = nullptr;
    RecordingClock clock;
    FakeHost host;
};

void TestCommands::init()
{
    std::memset(SecrecyCode, 0, sizeof SecrecyCode);
    simmouse::reset();
    clock = RecordingClock();
    host = FakeHost();
    hid = new Hid_Thread;
    hid->setClock(&clock);
    hid->setOwner(&host);
}

void TestCommands::cleanup()
{
    delete hid;
    hid = nullptr;
    simmouse::reset();
}

// The simulated mouse as the only, current entry; simReportLength, when set,
// is what the device really uses.
void TestCommands::connectSim(int family, int reportLength, bool encoded, int simReportLength)
{
    simmouse::Config c;
    c.family = family;
    c.reportLength = simReportLength ? simReportLength : reportLength;
    c.isEncode = encoded;
    DeviceEntry e = resetSimulatedMouse(c);
    e.reportLength = reportLength;
    hid->deviceTable = {e};
    hid->currentIndex = 0;
    proto::applyCodeText(e.sCode, SecrecyCode);
    clock.sleeps.clear();
    clock.eventRounds = 0;
}

// ------------------------------------------------------------ set commands

void TestCommands::addSetRows(bool withVariants, const QStringList &faults)
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<Invoke>("invoke");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QByteArray>("bulk");
    QTest::addColumn<QList<int>>("sleeps");
    QTest::addColumn<QString>("failLine");
    if (withVariants)
        QTest::addColumn<bool>("encoded");

    struct Row
    {
        const char *name;
        int family;
        bool gun;
        Invoke invoke;
        QStringList requests;
        QByteArray bulk;
        QList<int> sleeps;
        QString failLine;
    };
    uchar *p = pattern.bytes;
    const QByteArray block560 = src(64) + QByteArray(64, '\0');
    const QList<Row> rows = {
        {"553 01H", 553, false, [](Hid_Thread &h) { h.hid553_01H_SetReportRate(2); },
         {"0001020000000000FC"}, {}, kPause, "cmd Failed 01"},
        {"553 02H", 553, false, [](Hid_Thread &h) { h.hid553_02H_SetCurrentKeyMatrix(3); },
         {"0002030000000000FA"}, {}, kPause, "cmd Failed 02"},
        {"553 03H", 553, false, [](Hid_Thread &h) { h.hid553_03H_SetKeyboardoption(1, 2, 3, 0x40); },
         {"0003010203400000B6"}, {}, {8}, "cmd Failed 03"},
        {"553 04H", 553, false, [](Hid_Thread &h) { h.hid553_04H_SetGunData(1, 2, 3, 4); },
         {"0004000102030400F1"}, {}, {8}, "cmd Failed 04"},
        {"553 0BH", 553, false, [](Hid_Thread &h) { h.hid553_0BH_SetCurrentDPI(4); },
         {"000B040000000000F0"}, {}, kPause, "cmd Failed 0B"},
        {"553 0CH", 553, false, [](Hid_Thread &h) { uchar c[3] = {0x10, 0x20, 0x30}; h.hid553_0CH_SetFixLEDColor(c); },
         {"000C10203000000093"}, {}, kPause, "cmd Failed 0C"},
        {"553 0DH", 553, false, [](Hid_Thread &h) { h.hid553_0DH_SetRGBLedEffect(5, 6, 7); },
         {"000D050607000000E0"}, {}, kPause, "cmd Failed 0D"},
        {"553 10H type 2", 553, false, [p](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(2, p); },
         {"0010020400000000E9"}, src(4), bulkSleeps(1), "cmd Failed 10"},
        {"553 10H type 0", 553, false, [p](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(0, p); },
         {"0010001800000000D7"}, src(24), bulkSleeps(1), "cmd Failed 10"},
        {"553 10H type 1", 553, false, [p](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(1, p); },
         {"0010011800000000D6"}, src(24), bulkSleeps(1), "cmd Failed 10"},
        {"553 11H", 553, false, [p](Hid_Thread &h) { h.hid553_11H_SetDPISet(3, p); },
         {"0011030800000000E3"}, src(8), bulkSleeps(1), "cmd Failed 11"},
        {"553 12H", 553, false, [p](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(p, 2); },
         {"0012024008000000A3"}, src(64), bulkSleeps(2), "cmd Failed 12"},
        {"553 13H", 553, false, [p](Hid_Thread &h) { h.hid553_13H_SetMacroKey(5, p); },
         {"001305800000000067"}, src(128), bulkSleeps(4), "cmd Failed 13"},
        {"560 01H", 560, false, [](Hid_Thread &h) { h.hid560_01H_SetKeyboardoption(0x08, 0x02); },
         {"0001080200000000F4"}, {}, {8}, "cmd Failed 01"},
        {"560 02H", 560, false, [](Hid_Thread &h) { h.hid560_02H_SetCurrentProfile(1); },
         {"0002010000000000FC"}, {}, {8}, "cmd Failed 02"},
        {"560 03H", 560, false, [](Hid_Thread &h) { h.hid560_03H_SetReportRate(2); },
         {"0003010200000000F9", "0003020200000000F8", "0003030200000000F7", "0003040200000000F6"},
         {}, kPause + kPause + kPause + kPause, "cmd Failed 03"},
        {"560 03H gun", 560, true, [](Hid_Thread &h) { h.hid560_03H_SetReportRate(2); },
         {"0003010200000000F9"}, {}, kPause, "cmd Failed 03"},
        {"560 04H", 560, false, [](Hid_Thread &h) { h.hid560_04H_SetCurrentDPI(3); },
         {"0004010300000000F7", "0004020300000000F6", "0004030300000000F5", "0004040300000000F4"},
         {}, kPause + kPause + kPause + kPause, "cmd Failed 04"},
        {"560 04H gun", 560, true, [](Hid_Thread &h) { h.hid560_04H_SetCurrentDPI(3); },
         {"0004010300000000F7"}, {}, kPause, "cmd Failed 04"},
        {"560 0CH", 560, false, [p](Hid_Thread &h) { h.hid560_0CH_setProfile(p, 2); },
         {"000C02800000000071"}, src(128), bulkSleeps(4), "cmd Failed 0C"},
        {"560 0DH", 560, false, [p](Hid_Thread &h) { h.hid560_0DH_SetKeyMatrix(p, 1); },
         {"000D01800000000071"}, block560, bulkSleeps(4), "cmd Failed 0D"},
        {"560 0FH", 560, false, [p](Hid_Thread &h) { h.hid560_0FH_SetMacroKey(7, p); },
         {"000F07800000000069"}, src(128), bulkSleeps(4), "cmd Failed 0F"},
    };
    if (!faults.isEmpty())
        QTest::addColumn<QString>("fault");
    for (const Row &r : rows) {
        for (const QString &fault : faults)
            QTest::addRow("%s %s", r.name, qPrintable(fault))
                << r.family << r.gun << r.invoke << r.requests << r.bulk << r.sleeps << r.failLine
                << fault;
        if (!faults.isEmpty())
            continue;
        if (!withVariants) {
            QTest::newRow(r.name) << r.family << r.gun << r.invoke << r.requests << r.bulk
                                  << r.sleeps << r.failLine;
            continue;
        }
        for (bool encoded : {false, true}) {
            const QByteArray name = QByteArray(r.name) + (encoded ? " scrambled" : " plain");
            QTest::newRow(name.constData()) << r.family << r.gun << r.invoke << r.requests
                                            << r.bulk << r.sleeps << r.failLine << encoded;
        }
    }
}

void TestCommands::setCommands_data()
{
    addSetRows(true);
}

void TestCommands::setCommands()
{
    QFETCH(int, family);
    QFETCH(bool, gun);
    QFETCH(Invoke, invoke);
    QFETCH(QStringList, requests);
    QFETCH(QByteArray, bulk);
    QFETCH(QList<int>, sleeps);
    QFETCH(bool, encoded);
    const int reportLength = 32;
    connectSim(family, reportLength, encoded);
    host.gun = gun;

    invoke(*hid);

    const Wire w = wire();
    QCOMPARE(w.requests, requests);
    QCOMPARE(w.notes, QStringList());
    QCOMPARE(w.failed, 0);
    for (int i = 0; i < w.rawRequests.size(); ++i) {
        const QByteArray plain = QByteArray::fromHex(requests.at(i).toLatin1());
        const QByteArray raw = w.rawRequests.at(i);
        QCOMPARE(raw.size(), 9);
        QCOMPARE(int(raw.at(0)), 0);
        if (encoded) {
            QCOMPARE(raw.toHex(), scrambled(plain).toHex());
            QVERIFY(raw.mid(1) != plain.mid(1));
        } else {
            QCOMPARE(raw.toHex(), plain.toHex());
        }
    }
    // Bulk data goes out unscrambled in reports of reportLength + 1 bytes,
    // each report zero after its chunk.
    const int chunk = bulk.isEmpty() ? 0 : qMin(int(bulk.size()), reportLength);
    QByteArray sent;
    for (const QByteArray &report : w.outputs) {
        QCOMPARE(report.size(), reportLength + 1);
        QCOMPARE(int(report.at(0)), 0);
        sent += report.mid(1, chunk);
        QCOMPARE(report.mid(1 + chunk), QByteArray(reportLength - chunk, '\0'));
    }
    QCOMPARE(sent.toHex(), bulk.toHex());
    QCOMPARE(clock.sleeps, sleeps);
    // Each send lets pending events run once before it starts.
    QCOMPARE(clock.eventRounds, requests.size());
    QCOMPARE(int(hid->hidIdle), 1);
    QCOMPARE(host.writeFailures, 0);
}

// A write the mouse did not take is reported to the owner once per command,
// whichever of its transfers failed (the position loops included), and the
// channel is free again afterwards.
void TestCommands::failedWriteReported_data()
{
    addSetRows(false, {"no path", "unplugged", "first transfer", "last transfer"});
}

void TestCommands::failedWriteReported()
{
    QFETCH(QStringList, requests);
    QFETCH(QByteArray, bulk);
    QFETCH(int, family);
    QFETCH(bool, gun);
    QFETCH(Invoke, invoke);
    QFETCH(QString, fault);
    connectSim(family, 32, true);
    host.gun = gun;
    const int transfers = int(requests.size()) + proto::reportCount(int(bulk.size()), 32);
    if (fault == QLatin1String("no path"))
        hid->deviceTable[0].path.clear();
    else if (fault == QLatin1String("unplugged"))
        simmouse::unplug();
    else
        simmouse::failTransferAfter(fault == QLatin1String("first transfer") ? 1 : transfers);

    invoke(*hid);

    QCOMPARE(host.writeFailures, 1);
    QCOMPARE(int(hid->hidIdle), 1);
    // Nothing the protocol does waits longer than its own pauses.
    QVERIFY(clock.total() <= 4 * (128 + 4 * 120));
}

// ------------------------------------------------------------ read commands

void TestCommands::addReadRows(bool withVariants)
{
    QTest::addColumn<int>("family");
    QTest::addColumn<ReadInvoke>("invoke");
    QTest::addColumn<StateSetup>("setup");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("onFailure");
    QTest::addColumn<QString>("failLine");
    if (withVariants)
        QTest::addColumn<bool>("encoded");

    struct Row
    {
        const char *name;
        int family;
        ReadInvoke invoke;
        StateSetup setup;
        QByteArray input;
        QString request;
        QByteArray expected;
        QByteArray onFailure;
        QString failLine;
    };
    const QList<Row> rows = {
        {"553 00H", 553,
         onCopy([](Hid_Thread &h, uchar *b) { h.hid553_00H_GetSecrecyCode(b[0], b[1], b[2], b[3]); }),
         [](simmouse::State &) {}, QByteArray::fromHex("11223344"), "000011223344000055",
         QByteArray::fromHex("11223344"), QByteArray(4, '\0'), "cmd Failed 00"},
        {"553 83H", 553,
         onCopy([](Hid_Thread &h, uchar *b) { h.hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]); }),
         [](simmouse::State &s) { s.keyboardOption = {0x01, 0x02, 0x03, 0x44}; },
         QByteArray::fromHex("99999999"), "00830000000000007C", QByteArray::fromHex("01020344"),
         QByteArray::fromHex("99999999"), "cmd Failed 83"},
        {"553 8BH", 553, onCopy([](Hid_Thread &h, uchar *b) { h.hid553_8BH_GetCurrentDPI(b[0]); }),
         [](simmouse::State &s) { s.currentDpiStage = 5; }, QByteArray::fromHex("09"),
         "008B00000000000074", QByteArray::fromHex("05"), QByteArray::fromHex("09"),
         "cmd Failed 8BH"},
        {"560 81H", 560, onCopy([](Hid_Thread &h, uchar *b) { h.hid560_81H_GetKeyboardoption(b[0], b[1]); }),
         [](simmouse::State &s) { s.keyboardOption = {0x0A, 0x0B, 0, 0}; },
         QByteArray::fromHex("7778"), "00810000000000007E", QByteArray::fromHex("0A0B"),
         QByteArray::fromHex("7778"), "cmd Failed 81"},
        {"560 82H", 560, onCopy([](Hid_Thread &h, uchar *b) { h.hid560_82H_GetCurrentProfile(b[0]); }),
         [](simmouse::State &s) { s.currentProfile = 3; }, QByteArray::fromHex("09"),
         "00820000000000007D", QByteArray::fromHex("03"), QByteArray::fromHex("09"),
         "cmd Failed 82"},
        {"560 84H", 560, onCopy([](Hid_Thread &h, uchar *b) { h.hid560_84H_GetCurrentDPI(b[0], b[1]); }),
         [](simmouse::State &s) { s.dpiStageByPosition = {1, 2, 6, 4}; },
         QByteArray::fromHex("0399"), "008403000000000078", QByteArray::fromHex("0306"),
         QByteArray::fromHex("0399"), "cmd Failed 84"},
    };
    for (const Row &r : rows) {
        if (!withVariants) {
            QTest::newRow(r.name) << r.family << r.invoke << r.setup << r.input << r.request
                                  << r.expected << r.onFailure << r.failLine;
            continue;
        }
        for (bool encoded : {false, true}) {
            const QByteArray name = QByteArray(r.name) + (encoded ? " scrambled" : " plain");
            QTest::newRow(name.constData()) << r.family << r.invoke << r.setup << r.input
                                            << r.request << r.expected << r.onFailure
                                            << r.failLine << encoded;
        }
    }
}

void TestCommands::readCommands_data()
{
    addReadRows(true);
}

void TestCommands::readCommands()
{
    QFETCH(int, family);
    QFETCH(ReadInvoke, invoke);
    QFETCH(StateSetup, setup);
    QFETCH(QByteArray, input);
    QFETCH(QString, request);
    QFETCH(QByteArray, expected);
    QFETCH(bool, encoded);
    connectSim(family, 32, encoded);
    simmouse::State st = simmouse::state();
    setup(st);
    simmouse::setState(st);

    QCOMPARE(invoke(*hid, input).toHex(), expected.toHex());

    const Wire w = wire();
    QCOMPARE(w.requests, QStringList{request});
    QCOMPARE(w.notes, QStringList());
    if (encoded)
        QCOMPARE(w.rawRequests.value(0).toHex(),
                 scrambled(QByteArray::fromHex(request.toLatin1())).toHex());
    else
        QCOMPARE(w.rawRequests.value(0).toHex(), request.toLatin1().toLower());
    QCOMPARE(w.rawReplies.size(), 1);
    QCOMPARE(w.outputs.size(), 0);
    // Reads neither pause nor let events run.
    QCOMPARE(clock.sleeps, QList<int>());
    QCOMPARE(clock.eventRounds, 0);
    QCOMPARE(int(hid->hidIdle), 1);
}

void TestCommands::failedReadKeepsParameters_data()
{
    addReadRows(false);
}

void TestCommands::failedReadKeepsParameters()
{
    QFETCH(int, family);
    QFETCH(ReadInvoke, invoke);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, onFailure);
    connectSim(family, 32, true);
    simmouse::withholdReplies(true);

    QCOMPARE(invoke(*hid, input).toHex(), onFailure.toHex());
    QCOMPARE(int(hid->hidIdle), 1);
    QCOMPARE(host.writeFailures, 0);
}

// A command that cannot take the idle token sends nothing, writes its line
// after 255 waits of 8 ms and leaves the token taken.
void TestCommands::busyChannelDropsCommand_data()
{
    addSetRows(false);
}

void TestCommands::busyChannelDropsCommand()
{
    QFETCH(int, family);
    QFETCH(Invoke, invoke);
    QFETCH(QString, failLine);
    connectSim(family, 32, false);
    hid->hidIdle = 0;
    QTest::ignoreMessage(QtDebugMsg, qPrintable(failLine));
    invoke(*hid);
    QCOMPARE(wire().records, 0);
    QCOMPARE(clock.sleeps, repeat(8, 255));
    QCOMPARE(int(hid->hidIdle), 0);
    // The setting never went out: the owner hears of it.
    QCOMPARE(host.writeFailures, 1);
}

void TestCommands::busyChannelDropsRead_data()
{
    addReadRows(false);
    QTest::newRow("560 8CH") << 560
        << onCopy([](Hid_Thread &h, uchar *b) { h.hid560_8CH_readProfile(b, 0); })
        << StateSetup() << QByteArray(128, char(0xEE)) << QString() << QByteArray()
        << QByteArray() << QStringLiteral("cmd Failed 8c");
}

void TestCommands::busyChannelDropsRead()
{
    QFETCH(int, family);
    QFETCH(ReadInvoke, invoke);
    QFETCH(QByteArray, input);
    QFETCH(QString, failLine);
    connectSim(family, 32, false);
    hid->hidIdle = 0;
    QTest::ignoreMessage(QtDebugMsg, qPrintable(failLine));
    // Not even 00H touches its parameters when it never ran.
    QCOMPARE(invoke(*hid, input).toHex(), input.toHex());
    QCOMPARE(wire().records, 0);
    QCOMPARE(clock.sleeps, repeat(8, 255));
    QCOMPARE(int(hid->hidIdle), 0);
    // Reads write no setting.
    QCOMPARE(host.writeFailures, 0);
}

void TestCommands::bulkReportSizes_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<Invoke>("invoke");
    QTest::addColumn<int>("reports");
    uchar *p = pattern.bytes;
    const Invoke keys553 = [p](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(p, 1); };
    const Invoke macro553 = [p](Hid_Thread &h) { h.hid553_13H_SetMacroKey(1, p); };
    const Invoke keys560 = [p](Hid_Thread &h) { h.hid560_0DH_SetKeyMatrix(p, 1); };
    const Invoke dpi553 = [p](Hid_Thread &h) { h.hid553_11H_SetDPISet(1, p); };
    QTest::newRow("64 bytes in 32") << 32 << keys553 << 2;
    QTest::newRow("64 bytes in 64") << 64 << keys553 << 1;
    QTest::newRow("128 bytes in 32") << 32 << macro553 << 4;
    QTest::newRow("128 bytes in 64") << 64 << macro553 << 2;
    QTest::newRow("560 key matrix in 64") << 64 << keys560 << 2;
    QTest::newRow("8 bytes in 64") << 64 << dpi553 << 1;
}

void TestCommands::bulkReportSizes()
{
    QFETCH(int, reportLength);
    QFETCH(Invoke, invoke);
    QFETCH(int, reports);
    connectSim(553, reportLength, false);
    invoke(*hid);
    const Wire w = wire();
    QCOMPARE(w.outputs.size(), reports);
    for (const QByteArray &r : w.outputs)
        QCOMPARE(r.size(), reportLength + 1);
    QCOMPARE(clock.sleeps, bulkSleeps(reports));
}

// ------------------------------------------------------------ profile read

void TestCommands::readProfile_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<bool>("encoded");
    QTest::addColumn<int>("reports");
    QTest::newRow("32 plain") << 32 << false << 4;
    QTest::newRow("32 scrambled") << 32 << true << 4;
    QTest::newRow("64 scrambled") << 64 << true << 2;
    QTest::newRow("128 plain") << 128 << false << 1;
}

void TestCommands::readProfile()
{
    QFETCH(int, reportLength);
    QFETCH(bool, encoded);
    QFETCH(int, reports);
    connectSim(560, reportLength, encoded);
    simmouse::State st = simmouse::state();
    for (int i = 0; i < 128; ++i)
        st.profiles[2][size_t(i)] = uchar(0x80 + i);
    simmouse::setState(st);
    const QByteArray record = qb(st.profiles[2].data(), 128);

    uchar buf[128];
    std::memset(buf, 0xEE, sizeof buf);
    hid->hid560_8CH_readProfile(buf, 2);

    QCOMPARE(qb(buf + 64, 64).toHex(), record.mid(64).toHex());
    QCOMPARE(qb(buf, 64).toHex(), record.left(64).toHex());
    const Wire w = wire();
    QCOMPARE(w.requests, QStringList{"008C02000000000071"});
    QCOMPARE(w.inputs, reports);
    QCOMPARE(w.failed, 0);
    // The reply of the bulk path stays as received: it is never unscrambled.
    QCOMPARE(w.rawReplies.size(), 1);
    QCOMPARE(qb(hid->inReport, 9).toHex(), w.rawReplies.at(0).toHex());
    QCOMPARE(clock.sleeps, QList<int>());
    QCOMPARE(int(hid->hidIdle), 1);
}

void TestCommands::readProfileKeepsUnreadChunks()
{
    connectSim(560, 32, false);
    simmouse::State st = simmouse::state();
    for (int i = 0; i < 128; ++i)
        st.profiles[1][size_t(i)] = uchar(0x80 + i);
    simmouse::setState(st);
    // Request, reply, first input report, then the second input report fails.
    simmouse::failTransferAfter(4);
    uchar buf[128];
    std::memset(buf, 0xEE, sizeof buf);
    hid->hid560_8CH_readProfile(buf, 1);
    QCOMPARE(qb(buf, 32).toHex(), qb(st.profiles[1].data(), 32).toHex());
    QCOMPARE(qb(buf + 32, 96), QByteArray(96, char(0xEE)));
    QCOMPARE(int(hid->hidIdle), 1);
}

// The device queues fewer input reports than the entry's report length asks
// for: the reads that get nothing must end, as failed reads.
void TestCommands::readProfileDoesNotHangOnSilentDevice()
{
    connectSim(560, 32, false, 64);
    uchar buf[128];
    std::memset(buf, 0xEE, sizeof buf);
    hid->hid560_8CH_readProfile(buf, 0);
    const Wire w = wire();
    QCOMPARE(w.inputs, 2);
    QCOMPARE(qb(buf + 64, 64), QByteArray(64, char(0xEE)));
    QCOMPARE(int(hid->hidIdle), 1);
    // The channel is usable again at once.
    hid->hid560_02H_SetCurrentProfile(1);
    QCOMPARE(wire().requests.last(), QStringLiteral("0002010000000000FC"));
}

// ------------------------------------------------------------ idle token

void TestCommands::tokenReturnedDuringWait()
{
    connectSim(553, 32, false);
    hid->hidIdle = 0;
    clock.onProcessEvents = [this] {
        if (clock.eventRounds == 3)
            hid->hidIdle = 1;   // the command holding it finished meanwhile
    };
    hid->hid553_0BH_SetCurrentDPI(2);
    QCOMPARE(wire().requests, QStringList{"000B020000000000F2"});
    QCOMPARE(clock.sleeps, QList<int>({8, 8, 8, 64, 64}));
    QCOMPARE(int(hid->hidIdle), 1);
}

// A command started from the events processed inside another one cannot get
// the token; it gives up with its line and the outer command completes.
void TestCommands::nestedCommandGivesUpAndOuterFinishes()
{
    connectSim(553, 32, false);
    bool nested = false;
    clock.onProcessEvents = [this, &nested] {
        if (nested)
            return;
        nested = true;
        hid->hid553_0BH_SetCurrentDPI(7);
    };
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 0B");
    hid->hid553_13H_SetMacroKey(1, pattern.bytes);
    const Wire w = wire();
    QCOMPARE(w.requests, QStringList{"00130180000000006B"});
    QCOMPARE(w.outputs.size(), 4);
    QCOMPARE(clock.sleeps, repeat(8, 255) + bulkSleeps(4));
    QCOMPARE(int(hid->hidIdle), 1);
}

void TestCommands::positionLoopContinuesAfterFailedSend()
{
    connectSim(560, 32, false);
    simmouse::failTransferAfter(1);
    hid->hid560_04H_SetCurrentDPI(5);
    const Wire w = wire();
    QCOMPARE(w.failed, 1);
    QCOMPARE(w.requests, QStringList({"0004020500000000F4", "0004030500000000F3",
                                      "0004040500000000F2"}));
    QCOMPARE(int(hid->hidIdle), 1);
    // One command, one report, though only one of its four sends failed.
    QCOMPARE(host.writeFailures, 1);
}

// Each send of the position loop gives the token back and lets events run
// first, so a command started there gets the channel and finishes in between.
void TestCommands::commandBetweenPositionSendsRunsWhole()
{
    connectSim(560, 32, false);
    bool started = false;
    clock.onProcessEvents = [this, &started] {
        if (started || clock.eventRounds != 2)
            return;
        started = true;
        hid->hid560_02H_SetCurrentProfile(1);
    };
    hid->hid560_03H_SetReportRate(2);
    QCOMPARE(wire().requests, QStringList({"0003010200000000F9", "0002010000000000FC",
                                           "0003020200000000F8", "0003030200000000F7",
                                           "0003040200000000F6"}));
    QCOMPARE(clock.sleeps, kPause + QList<int>{8} + kPause + kPause + kPause);
    QCOMPARE(int(hid->hidIdle), 1);
}

// ------------------------------------------------------------ transport

void TestCommands::emptyPathTouchesNothing()
{
    connectSim(553, 32, false);
    hid->deviceTable[0].path.clear();
    hid->hid553_12H_SetKeyMatrix(pattern.bytes, 1);
    QCOMPARE(int(hid->hidIdle), 1);
    uchar b[4] = {1, 2, 3, 4};
    hid->hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    QCOMPARE(qb(b, 4).toHex(), QByteArray("01020304"));
    QCOMPARE(int(hid->hidIdle), 1);
    QCOMPARE(wire().records, 0);
    QCOMPARE(clock.sleeps, QList<int>());
}

void TestCommands::listenOpenFailureClearsOnlyPath2()
{
    connectSim(553, 32, false);
    QVERIFY(hid->hidOpenListen(0));
    hid->hidCloseListen();
    simmouse::failOpen(true);
    QVERIFY(!hid->hidOpenListen(0));
    QVERIFY(hid->deviceTable.at(0).path2.isEmpty());
    QVERIFY(!hid->deviceTable.at(0).path.isEmpty());
    simmouse::failOpen(false);
    QVERIFY(!hid->hidOpenListen(0));
    QVERIFY(hid->hidOpen(0));
    hid->hidClose();
}

void TestCommands::failedOpenClearsPath()
{
    connectSim(553, 32, false);
    simmouse::failOpen(true);
    hid->hid553_0BH_SetCurrentDPI(1);
    QVERIFY(hid->deviceTable.at(0).path.isEmpty());
    QVERIFY(!hid->deviceTable.at(0).path2.isEmpty());
    QCOMPARE(int(hid->hidIdle), 1);
    // Later commands fail at once until the table is rebuilt.
    simmouse::failOpen(false);
    hid->hid553_0BH_SetCurrentDPI(1);
    QCOMPARE(wire().records, 0);
    QCOMPARE(int(hid->hidIdle), 1);
}

void TestCommands::indexOutsideTable()
{
    connectSim(553, 32, false);
    for (int index : {-1, 1, 7}) {
        hid->currentIndex = index;
        hid->hid553_0BH_SetCurrentDPI(1);
        uchar b = 9;
        hid->hid553_8BH_GetCurrentDPI(b);
        QCOMPARE(int(b), 9);
        QCOMPARE(int(hid->hidIdle), 1);
        QVERIFY(!hid->hidOpen(index));
    }
    QCOMPARE(wire().records, 0);
    QCOMPARE(hid->deviceTable.at(0).path, QString::fromStdString(simmouse::path(0, 0)));
}

void TestCommands::refusedReportLength_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -4;
    QTest::newRow("above the bulk buffer") << 513;
}

void TestCommands::refusedReportLength()
{
    QFETCH(int, reportLength);
    connectSim(553, 32, false);
    hid->deviceTable[0].reportLength = reportLength;
    const QByteArray line = QByteArray("Device entry 0 refused: report length ")
                            + QByteArray::number(reportLength);

    QTest::ignoreMessage(QtDebugMsg, line.constData());
    hid->hid553_12H_SetKeyMatrix(pattern.bytes, 1);
    QCOMPARE(int(hid->hidIdle), 1);

    QTest::ignoreMessage(QtDebugMsg, line.constData());
    uchar b[4] = {1, 2, 3, 4};
    hid->hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    QCOMPARE(qb(b, 4).toHex(), QByteArray("01020304"));
    QCOMPARE(int(hid->hidIdle), 1);

    QCOMPARE(wire().records, 0);
    QCOMPARE(clock.sleeps, QList<int>());
    // The path stays: the entry is refused, not found missing.
    QVERIFY(!hid->deviceTable.at(0).path.isEmpty());
}

void TestCommands::transferFailureEndsExchange_data()
{
    QTest::addColumn<int>("failingTransfer");
    QTest::addColumn<int>("outputsSent");
    QTest::addColumn<QList<int>>("sleeps");
    QTest::newRow("request") << 1 << 0 << QList<int>();
    QTest::newRow("first report") << 2 << 0 << kPause;
    QTest::newRow("third report") << 4 << 2 << kPause + repeat(120, 2);
    QTest::newRow("last report") << 5 << 3 << kPause + repeat(120, 3);
}

void TestCommands::transferFailureEndsExchange()
{
    QFETCH(int, failingTransfer);
    QFETCH(int, outputsSent);
    QFETCH(QList<int>, sleeps);
    connectSim(553, 32, false);
    simmouse::failTransferAfter(failingTransfer);
    hid->hid553_13H_SetMacroKey(2, pattern.bytes);
    const Wire w = wire();
    // Nothing is retried and nothing follows the failed transfer.
    QCOMPARE(w.records, failingTransfer);
    QCOMPARE(w.failed, 1);
    QCOMPARE(w.outputs.size(), outputsSent);
    QCOMPARE(clock.sleeps, sleeps);
    QCOMPARE(int(hid->hidIdle), 1);
    QCOMPARE(host.writeFailures, 1);
}

// ------------------------------------------------------------ handshake

void TestCommands::handshake_data()
{
    QTest::addColumn<bool>("deviceScrambles");
    QTest::addColumn<QString>("deviceCode");
    QTest::addColumn<bool>("entryScrambles");
    QTest::addColumn<QString>("entryCode");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain both") << false << "418205" << false << "418205" << true;
    QTest::newRow("scrambled both") << true << "418205" << true << "418205" << true;
    QTest::newRow("other code") << true << "418205" << true << "418206" << false;
    QTest::newRow("device scrambles, entry not") << true << "418205" << false << "418205" << false;
    QTest::newRow("entry scrambles, device not") << false << "418205" << true << "418205" << false;
    QTest::newRow("no six-character code either side") << true << "12345" << true << "12345" << true;
    QTest::newRow("short entry code keeps zeros") << true << "418205" << true << "41820" << false;
}

void TestCommands::handshake()
{
    QFETCH(bool, deviceScrambles);
    QFETCH(QString, deviceCode);
    QFETCH(bool, entryScrambles);
    QFETCH(QString, entryCode);
    QFETCH(bool, accepted);
    simmouse::Config c;
    c.isEncode = deviceScrambles;
    c.code = deviceCode.toStdString();
    DeviceEntry e = resetSimulatedMouse(c);
    e.isEncode = entryScrambles;
    e.sCode = entryCode;
    hid->deviceTable = {e};

    QCOMPARE(hid->chkDeviceIsEnCode(0), accepted);
    const Wire w = wire();
    QCOMPARE(w.rawRequests.size(), 1);
    QCOMPARE(int(w.rawRequests.at(0).at(0)), 0);
    QCOMPARE(int(hid->hidIdle), 1);
}

// Without a real echo there is no handshake: neither when the token cannot
// be taken nor when the device does not answer.
void TestCommands::handshakeNeedsAnExchange()
{
    connectSim(553, 32, true);
    hid->hidIdle = 0;
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 00");
    QVERIFY(!hid->chkDeviceIsEnCode(0));
    QCOMPARE(wire().records, 0);

    hid->hidIdle = 1;
    simmouse::withholdReplies(true);
    QVERIFY(!hid->chkDeviceIsEnCode(0));
    QCOMPARE(int(hid->hidIdle), 1);

    simmouse::withholdReplies(false);
    QVERIFY(hid->chkDeviceIsEnCode(0));
}

void TestCommands::handshakeSelectsEntryAndCode()
{
    simmouse::Config c;
    c.isEncode = true;
    c.code = "ABCDEF";
    DeviceEntry absent;
    absent.sCode = QStringLiteral("418205");
    hid->deviceTable = {absent, resetSimulatedMouse(c)};
    SecrecyCode[0] = 0x11;
    SecrecyCode[7] = 0x77;

    // The absent entry is still selected and its code taken, then it fails.
    QVERIFY(!hid->chkDeviceIsEnCode(0));
    QCOMPARE(hid->currentIndex, 0);
    QCOMPARE(qb(SecrecyCode, 8).toHex(), QByteArray("1134313832303577"));

    QVERIFY(hid->chkDeviceIsEnCode(1));
    QCOMPARE(hid->currentIndex, 1);
    QCOMPARE(qb(SecrecyCode, 8).toHex(), QByteArray("1141424344454677"));

    // The echo bytes travel in request bytes 2..5 only, under a valid checksum.
    const QStringList requests = wire().requests;
    QCOMPARE(requests.size(), 1);
    const QByteArray req = QByteArray::fromHex(requests.at(0).toLatin1());
    QCOMPARE(int(uchar(req.at(8))),
             int(proto::checksum(reinterpret_cast<const uchar *>(req.constData()) + 1)));
    QCOMPARE(req.mid(6, 2), QByteArray(2, '\0'));
}

void TestCommands::handshakeBytesRepeatWithinASecond()
{
    connectSim(553, 32, true);
    // Retry until both handshakes fall into one second.
    for (int attempt = 0; attempt < 10; ++attempt) {
        simmouse::clearWireLog();
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        QVERIFY(hid->chkDeviceIsEnCode(0));
        QVERIFY(hid->chkDeviceIsEnCode(0));
        if (QDateTime::currentSecsSinceEpoch() != before)
            continue;
        const QStringList requests = wire().requests;
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests.at(0), requests.at(1));
        uchar drawn[4];
        proto::handshakeBytes(before, drawn);
        QCOMPARE(QByteArray::fromHex(requests.at(0).toLatin1()).mid(2, 4).toHex(),
                 qb(drawn, 4).toHex());
        return;
    }
    QFAIL("no two handshakes within one second");
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
