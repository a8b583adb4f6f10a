// The drop-in shared library as the real program meets it: configured from
// SIMMOUSE_CONFIG on first use and driven by simmousectl over its socket.
#include "iniconfig.h"
#include "simmouse.h"

#include <hidapi.h>

#include <QtTest>

#include <atomic>

Q_DECLARE_METATYPE(simmouse::Config)

namespace {

std::atomic<int> changes{0};
void onChange(void *)
{
    ++changes;
}

QStringList paths()
{
    QStringList out;
    hid_device_info *list = hid_enumerate(0, 0);
    for (hid_device_info *i = list; i; i = i->next)
        out << QString::fromUtf8(i->path);
    hid_free_enumeration(list);
    return out;
}

struct Ctl
{
    int exitCode;
    QString output;
};

Ctl ctl(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(SIMMOUSECTL_PATH), args);
    if (!p.waitForFinished(30000))
        return {-1, QString()};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
}

QString describe(const simmouse::Config &c)
{
    return QString("family %1 %2:%3 %4/%5 %6/%7 len %8 enc %9 code '%10' plugged %11")
        .arg(c.family).arg(c.vid, 4, 16, QChar('0')).arg(c.pid, 4, 16, QChar('0'))
        .arg(c.usagePage, 4, 16, QChar('0')).arg(c.usage, 4, 16, QChar('0'))
        .arg(c.usagePage2, 4, 16, QChar('0')).arg(c.usage2, 4, 16, QChar('0'))
        .arg(c.reportLength).arg(c.isEncode).arg(QString::fromStdString(c.code)).arg(c.plugged);
}

} // namespace

class TstSimCtl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("SIMMOUSE_SOCKET"), "run through ctest");
        QCOMPARE(hid_init(), 0);
        simmouse_set_change_callback(onChange, nullptr);
    }

    void configuredFromFile()
    {
        QCOMPARE(simmouse::deviceCount(), 2);
        QCOMPARE(paths(), QStringList({"sim:04d9:8008:0", "sim:04d9:8008:1"}));
        const simmouse::Config second = simmouse::config(1);
        QCOMPARE(second.family, 560);
        QVERIFY(second.isEncode);
        QVERIFY(!simmouse::isPlugged(1));
    }

    void plugDpiUnplugThroughTheTool()
    {
        changes = 0;
        Ctl r = ctl({"plug", "1"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.output, QString("ok\n"));
        QCOMPARE(changes.load(), 1);
        QCOMPARE(paths().size(), 4);

        QCOMPARE(ctl({"dpi", "3", "1"}).exitCode, 0);
        hid_device *h = hid_open_path("sim1:04d9:a1ee:1");
        QVERIFY(h);
        unsigned char buf[4] = {};
        QCOMPARE(hid_read_timeout(h, buf, 4, 5000), 4);
        hid_close(h);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buf), 4).toHex(' '), QByteArray("06 07 00 03"));

        r = ctl({"status"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.output.contains("device 1: family 560 plugged vid 04d9 pid a1ee"), qPrintable(r.output));
        QVERIFY2(r.output.contains("dpiStageByPosition 03 03 03 03"), qPrintable(r.output));
        // dump: every store of one device, a line each.
        r = ctl({"dump", "1"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.output.contains("\ndpiStageByPosition 03 03 03 03\n"), qPrintable(r.output));
        const QStringList records = r.output.split('\n').filter(QRegularExpression("^profile [0-4] "));
        QCOMPARE(records.size(), 5);
        QCOMPARE(records[4].split(' ').size(), 2 + 128);
        QCOMPARE(ctl({"dump", "7"}).exitCode, 1);
        r = ctl({"log"});
        QVERIFY2(r.output.contains("NotifyIn   sim1:04d9:a1ee:1 06 07 00 03"), qPrintable(r.output));
        QCOMPARE(ctl({"clearlog"}).exitCode, 0);
        QCOMPARE(ctl({"log"}).output, QString());

        QCOMPARE(ctl({"unplug", "1"}).exitCode, 0);
        QCOMPARE(changes.load(), 2);
        QCOMPARE(paths().size(), 2);
        QCOMPARE(ctl({"unplug"}).exitCode, 0); // device 0 by default
        QVERIFY(paths().isEmpty());
        QCOMPARE(ctl({"plug"}).exitCode, 0);
        QCOMPARE(changes.load(), 4);
    }

    // Faults set through the tool act on the next exchange.
    void faultsThroughTheTool()
    {
        const unsigned char echo[9] = {0, 0x00, 1, 2, 3, 4, 0, 0, uint8_t(~(1 + 2 + 3 + 4))};
        auto exchange = [&](unsigned char *reply) {
            hid_device *h = hid_open_path("sim:04d9:8008:0");
            if (!h)
                return -2;
            reply[0] = 0;
            const int sent = hid_send_feature_report(h, echo, 9);
            const int got = hid_get_feature_report(h, reply, 9);
            hid_close(h);
            return sent == 9 ? got : -3;
        };
        unsigned char reply[9];
        QCOMPARE(ctl({"withhold", "on", "0"}).exitCode, 0);
        QCOMPARE(exchange(reply), -1);
        QCOMPARE(ctl({"withhold", "off"}).exitCode, 0);
        QCOMPARE(ctl({"corrupt"}).exitCode, 0);
        QCOMPARE(exchange(reply), 9);
        QCOMPARE(int(reply[2]), 0xFE);
        QCOMPARE(exchange(reply), 9);
        QCOMPARE(int(reply[2]), 0x01);
        QCOMPARE(ctl({"fail", "2"}).exitCode, 0);
        QCOMPARE(exchange(reply), -1); // the request passes, the reply fails
        QCOMPARE(ctl({"failopen", "on"}).exitCode, 0);
        QCOMPARE(exchange(reply), -2);
        QCOMPARE(ctl({"failopen", "off"}).exitCode, 0);
        QCOMPARE(exchange(reply), 9);
    }

    void refusedCommands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown") << QStringList{"frobnicate"};
        QTest::newRow("dpi without stage") << QStringList{"dpi"};
        QTest::newRow("dpi out of range") << QStringList{"dpi", "256"};
        QTest::newRow("no such device") << QStringList{"plug", "7"};
        QTest::newRow("dpi on unplugged") << QStringList{"dpi", "2", "1"};
        QTest::newRow("withhold without mode") << QStringList{"withhold"};
        QTest::newRow("fail without count") << QStringList{"fail"};
        QTest::newRow("corrupt no such device") << QStringList{"corrupt", "3"};
    }
    void refusedCommands()
    {
        QFETCH(QStringList, args);
        const Ctl r = ctl(args);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.output.startsWith("error:"), qPrintable(r.output));
    }

    void iniRows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        simmouse::Config sample;
        QTest::newRow("program's sample row")
            << "[common]\ndeviceCount=1\n[0]\nvid=04d9\npid=a1ee\nusagePage=ff00\nusage=ff00\n"
               "usagePage2=ff01\nusage2=ff01\nreportLength=32\nisEncode=true\nsCode=418205\n"
            << QStringList{describe(sample)};
        simmouse::Config defaults;
        defaults.vid = defaults.pid = defaults.usagePage = defaults.usage = 0;
        defaults.usagePage2 = defaults.usage2 = 0;
        defaults.isEncode = false;
        QTest::newRow("missing keys") << "[0]\ntype=1\n" << QStringList{describe(defaults)};
        simmouse::Config odd = defaults;
        odd.vid = 0;
        odd.pid = 0x8008;
        odd.reportLength = 64;
        odd.family = 560;
        odd.code = "123456";
        odd.plugged = false;
        QTest::newRow("bad hex, decimal length, 560 by icType")
            << "[mouse]\nicType=560\n[0]\nvid=zz\npid = 8008\nreportLength=64\nisEncode=FALSE\n"
               "sCode=123456\nplugged=0\n"
            << QStringList{describe(odd)};
        simmouse::Config enc = defaults;
        enc.isEncode = true;
        enc.family = 553;
        QTest::newRow("any other text is true, family key wins")
            << "[mouse]\nicType=560\n[0]\nisEncode=yes\nfamily=553\n" << QStringList{describe(enc)};
        QTest::newRow("count 0 ignores rows") << "[common]\ndeviceCount=0\n[0]\nvid=1\n" << QStringList();
        QTest::newRow("count limits rows")
            << "[common]\ndeviceCount=1\n[0]\nvid=1\n[1]\nvid=2\n" << QStringList{[&] {
                   simmouse::Config c = defaults;
                   c.vid = 1;
                   return describe(c);
               }()};
        QTest::newRow("rows stop at a gap") << "[0]\n[2]\nvid=2\n" << QStringList{describe(defaults)};
    }
    void iniRows()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QStringList got;
        for (const auto &c : simmouse::parseIniConfig(text.toStdString()))
            got << describe(c);
        QCOMPARE(got, rows);
    }
};

QTEST_GUILESS_MAIN(TstSimCtl)
#include "tst_simctl.moc"
