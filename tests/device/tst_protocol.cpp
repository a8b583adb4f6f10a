#include <QtTest>

#include "device/hid_thread.h"
#include "device/protocol.h"
#include "device/protocolclock.h"

#include <QThread>

#include <array>
#include <cstring>
#include <functional>

using Block = std::array<uchar, 8>;
Q_DECLARE_METATYPE(Block)
// Frames one request into the 9-byte buffer it is given.
using Build = std::function<void(uchar *)>;
Q_DECLARE_METATYPE(Build)

static QByteArray bytes(const uchar *p, int n)
{
    return QByteArray(reinterpret_cast<const char *>(p), n);
}

static Block blockFrom(const QByteArray &hex)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    Block b{};
    std::memcpy(b.data(), raw.constData(), 8);
    return b;
}

class TestProtocol : public QObject
{
    Q_OBJECT
private slots:
    void checksum_data();
    void checksum();
    void request_data();
    void request();
    void scrambleKnownAnswers_data();
    void scrambleKnownAnswers();
    void unscrambleInvertsScramble();
    void codeEndsNeverTakePart();
    void zeroCodeStillRotatesAndAddsKey();
    void slotsMatchPlainFunctions();
    void codeText_data();
    void codeText();
    void handshakeBytesFollowTheSecond();
    void reportLengthUsable_data();
    void reportLengthUsable();
    void reportCount_data();
    void reportCount();
    void outputReport_data();
    void outputReport();
    void realClockRunsGuiEventsOnlyOnGuiThread();
};

void TestProtocol::checksum_data()
{
    QTest::addColumn<QByteArray>("seven");
    QTest::addColumn<int>("expected");
    QTest::newRow("all zero") << QByteArray::fromHex("00000000000000") << 0xFF;
    QTest::newRow("01 02") << QByteArray::fromHex("01020000000000") << 0xFC;
    QTest::newRow("8B alone") << QByteArray::fromHex("8B000000000000") << 0x74;
    QTest::newRow("sum wraps") << QByteArray::fromHex("FFFF0000000000") << 0x01;
    QTest::newRow("sum exactly 256") << QByteArray::fromHex("80800000000000") << 0xFF;
    QTest::newRow("all seven count") << QByteArray::fromHex("01010101010101") << 0xF8;
}

void TestProtocol::checksum()
{
    QFETCH(QByteArray, seven);
    QFETCH(int, expected);
    // An eighth byte must not take part.
    QByteArray eight = seven + char(0x5A);
    QCOMPARE(int(proto::checksum(reinterpret_cast<const uchar *>(eight.constData()))), expected);
    Hid_Thread hid;
    QCOMPARE(int(hid.hidCS(reinterpret_cast<uchar *>(eight.data()))), expected);
}

void TestProtocol::request_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("553 report rate 2")
        << Build([](uchar *r) { proto::buildRequest(r, 0x01, {0x02}); })
        << QByteArray::fromHex("0001020000000000FC");
    QTest::newRow("553 get DPI") << Build([](uchar *r) { proto::buildRequest(r, 0x8B); })
                                 << QByteArray::fromHex("008B00000000000074");
    QTest::newRow("560 profile 1") << Build([](uchar *r) { proto::buildRequest(r, 0x02, {0x01}); })
                                   << QByteArray::fromHex("0002010000000000FC");
    QTest::newRow("560 get profile") << Build([](uchar *r) { proto::buildRequest(r, 0x82); })
                                     << QByteArray::fromHex("00820000000000007D");
    QTest::newRow("six params")
        << Build([](uchar *r) { proto::buildRequest(r, 0x04, {0, 1, 2, 3, 4, 5}); })
        << QByteArray::fromHex("0004000102030405EC");
    QTest::newRow("extra params dropped")
        << Build([](uchar *r) { proto::buildRequest(r, 0x04, {0, 1, 2, 3, 4, 5, 0x99}); })
        << QByteArray::fromHex("0004000102030405EC");
}

void TestProtocol::request()
{
    QFETCH(Build, build);
    QFETCH(QByteArray, expected);
    uchar report[9];
    std::memset(report, 0xEE, sizeof report);   // stale bytes must not survive
    build(report);
    QCOMPARE(bytes(report, 9).toHex(' '), expected.toHex(' '));
}

void TestProtocol::scrambleKnownAnswers_data()
{
    QTest::addColumn<Block>("plain");
    QTest::addColumn<Block>("code");
    QTest::addColumn<Block>("scrambled");
    QTest::newRow("zero block, zero code: the key alone")
        << blockFrom("0000000000000000") << blockFrom("0000000000000000")
        << blockFrom("451775d626251687");
    QTest::newRow("8B request, zero code")
        << blockFrom("8B00000000000074") << blockFrom("0000000000000000")
        << blockFrom("451a15d62a7d1687");
    QTest::newRow("8B request, code 418205")
        << blockFrom("8B00000000000074") << blockFrom("0034313832303500")
        << blockFrom("46b99e97bbfebe87");
    QTest::newRow("echo request, code 418205")
        << blockFrom("0011223344000055") << blockFrom("0034313832303500")
        << blockFrom("489a96973fa54797");
    QTest::newRow("code ends set")
        << blockFrom("0102030405060708") << blockFrom("AA010203040506BB")
        << blockFrom("7537c5f65645269f");
}

void TestProtocol::scrambleKnownAnswers()
{
    QFETCH(Block, plain);
    QFETCH(Block, code);
    QFETCH(Block, scrambled);
    Block b = plain;
    proto::scrambleBlock(b.data(), code.data());
    QCOMPARE(bytes(b.data(), 8).toHex(' '), bytes(scrambled.data(), 8).toHex(' '));
    proto::unscrambleBlock(b.data(), code.data());
    QCOMPARE(bytes(b.data(), 8).toHex(' '), bytes(plain.data(), 8).toHex(' '));
}

void TestProtocol::unscrambleInvertsScramble()
{
    QRandomGenerator gen(20261207);
    for (int round = 0; round < 2000; ++round) {
        Block plain, code;
        for (auto &x : plain) x = uchar(gen.bounded(256));
        for (auto &x : code) x = uchar(gen.bounded(256));
        Block b = plain;
        proto::scrambleBlock(b.data(), code.data());
        proto::unscrambleBlock(b.data(), code.data());
        QVERIFY2(b == plain, qPrintable(QString("round %1").arg(round)));
        // And the other way round: unscramble is a bijection too.
        proto::unscrambleBlock(b.data(), code.data());
        proto::scrambleBlock(b.data(), code.data());
        QVERIFY2(b == plain, qPrintable(QString("reverse round %1").arg(round)));
    }
}

void TestProtocol::codeEndsNeverTakePart()
{
    const Block plain = blockFrom("8B11223344556674");
    Block code = blockFrom("0034313832303500");
    Block a = plain;
    proto::scrambleBlock(a.data(), code.data());
    code[0] = 0xFF;
    code[7] = 0x5A;
    Block b = plain;
    proto::scrambleBlock(b.data(), code.data());
    QCOMPARE(bytes(b.data(), 8), bytes(a.data(), 8));
    // The middle of the code does take part, at every position.
    for (int i = 1; i <= 6; ++i) {
        Block c = code;
        c[i] ^= 0x01;
        Block d = plain;
        proto::scrambleBlock(d.data(), c.data());
        QVERIFY2(d != a, qPrintable(QString("s%1 ignored").arg(i)));
    }
}

void TestProtocol::zeroCodeStillRotatesAndAddsKey()
{
    const Block plain = blockFrom("0102030405060708");
    const Block zero{};
    Block b = plain;
    proto::scrambleBlock(b.data(), zero.data());
    QVERIFY(b != plain);
}

void TestProtocol::slotsMatchPlainFunctions()
{
    Hid_Thread hid;
    Block code = blockFrom("0034313832303500");
    Block viaSlot = blockFrom("0011223344000055");
    Block viaFn = viaSlot;
    hid.USBDataEncryption(viaSlot.data(), code.data());
    proto::scrambleBlock(viaFn.data(), code.data());
    QCOMPARE(bytes(viaSlot.data(), 8), bytes(viaFn.data(), 8));
    hid.USBDataDecipher(viaSlot.data(), code.data());
    QCOMPARE(bytes(viaSlot.data(), 8).toHex(), QByteArray("0011223344000055"));
}

void TestProtocol::codeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("six") << "418205" << true << QByteArray::fromHex("A0343138323035B0");
    QTest::newRow("letters") << "TqWmbR" << true << QByteArray::fromHex("A05471576D6252B0");
    QTest::newRow("five") << "41820" << false << QByteArray::fromHex("A0010203040506B0");
    QTest::newRow("seven") << "4182051" << false << QByteArray::fromHex("A0010203040506B0");
    QTest::newRow("empty") << "" << false << QByteArray::fromHex("A0010203040506B0");
}

void TestProtocol::codeText()
{
    QFETCH(QString, text);
    QFETCH(bool, applied);
    QFETCH(QByteArray, expected);
    uchar code[8] = {0xA0, 1, 2, 3, 4, 5, 6, 0xB0};
    QCOMPARE(proto::applyCodeText(text, code), applied);
    QCOMPARE(bytes(code, 8).toHex(' '), expected.toHex(' '));
}

void TestProtocol::handshakeBytesFollowTheSecond()
{
    uchar a[4], b[4];
    proto::handshakeBytes(1796630400, a);
    proto::handshakeBytes(1796630400, b);
    QCOMPARE(bytes(a, 4), bytes(b, 4));
    // Over a minute of seconds the bytes must change.
    QSet<QByteArray> seen;
    for (qint64 s = 1796630400; s < 1796630460; ++s) {
        proto::handshakeBytes(s, a);
        seen.insert(bytes(a, 4));
    }
    QVERIFY2(seen.size() > 50, qPrintable(QString::number(seen.size())));
}

void TestProtocol::reportLengthUsable_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<bool>("usable");
    QTest::newRow("negative") << -1 << false;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("one") << 1 << true;
    QTest::newRow("32") << 32 << true;
    QTest::newRow("64") << 64 << true;
    QTest::newRow("buffer size") << 512 << true;
    QTest::newRow("above buffer") << 513 << false;
}

void TestProtocol::reportLengthUsable()
{
    QFETCH(int, reportLength);
    QFETCH(bool, usable);
    QCOMPARE(proto::reportLengthUsable(reportLength), usable);
}

void TestProtocol::reportCount_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<int>("reports");
    QTest::newRow("8 in 32") << 8 << 32 << 8 << 1;
    QTest::newRow("24 in 32") << 24 << 32 << 24 << 1;
    QTest::newRow("64 in 32") << 64 << 32 << 32 << 2;
    QTest::newRow("64 in 64") << 64 << 64 << 64 << 1;
    QTest::newRow("128 in 32") << 128 << 32 << 32 << 4;
    QTest::newRow("128 in 64") << 128 << 64 << 64 << 2;
    QTest::newRow("64 in 20") << 64 << 20 << 20 << 4;
    QTest::newRow("128 in 1") << 128 << 1 << 1 << 128;
    QTest::newRow("nothing") << 0 << 32 << 0 << 0;
    QTest::newRow("refused length") << 64 << 0 << 0 << 0;
}

void TestProtocol::reportCount()
{
    QFETCH(int, length);
    QFETCH(int, reportLength);
    QFETCH(int, chunk);
    QFETCH(int, reports);
    if (proto::reportLengthUsable(reportLength))
        QCOMPARE(proto::chunkSize(length, reportLength), chunk);
    QCOMPARE(proto::reportCount(length, reportLength), reports);
}

void TestProtocol::outputReport_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("dataBytes");
    QTest::newRow("8 of 32") << 8 << 32 << 0 << 8;
    QTest::newRow("24 of 32") << 24 << 32 << 0 << 24;
    QTest::newRow("full chunk") << 128 << 32 << 96 << 32;
    QTest::newRow("partial last chunk") << 64 << 20 << 60 << 4;
}

void TestProtocol::outputReport()
{
    QFETCH(int, length);
    QFETCH(int, reportLength);
    QFETCH(int, offset);
    QFETCH(int, dataBytes);
    uchar data[512];
    for (int i = 0; i < 512; ++i)
        data[i] = uchar(0x80 | (i & 0x7F));   // never zero, so stale data shows
    std::vector<uchar> report(size_t(reportLength) + 1, 0xEE);
    proto::fillOutputReport(report.data(), reportLength, data, length, offset);
    QCOMPARE(int(report[0]), 0);
    QCOMPARE(bytes(report.data() + 1, dataBytes), bytes(data + offset, dataBytes));
    for (int i = 1 + dataBytes; i <= reportLength; ++i)
        QVERIFY2(report[size_t(i)] == 0, qPrintable(QString("byte %1 not zero").arg(i)));
}

// Waiting commands let the GUI thread's pending events run; a pool thread
// must never pump the GUI thread's queue.
void TestProtocol::realClockRunsGuiEventsOnlyOnGuiThread()
{
    int ran = 0;
    QMetaObject::invokeMethod(this, [&ran] { ++ran; }, Qt::QueuedConnection);
    QThread *worker = QThread::create([] { realProtocolClock()->processEvents(); });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QCOMPARE(ran, 0);
    realProtocolClock()->processEvents();
    QCOMPARE(ran, 1);
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
