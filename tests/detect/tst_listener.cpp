// The notification listener over the simulated mouse: arming, DPI reports,
// removal, stopping, and that only one listener ever runs.

#include <QThreadPool>
#include <QtTest>

#include <memory>

#include "detect_support.h"
#include "device/hid_thread.h"
#include "tests/common/wirelog.h"

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

const QString kDefaultText = QStringLiteral("DPI Switch to");

QStringList loadedTexts()
{
    QStringList t;
    for (int i = 0; i < 8; ++i)
        t << QStringLiteral("Stage text %1").arg(i);
    return t;
}

} // namespace

class TestListener : public QObject
{
    Q_OBJECT

    RecordingClock clock;
    RecordingHost host;
    std::unique_ptr<Hid_Thread> hid;

    // A connected device: its table row, handshake passed.
    void connectDevice(const simmouse::Config &config, bool withPath2 = true)
    {
        DeviceEntry row = resetSimulatedMouse(config);
        if (!withPath2)
            row.path2.clear();
        hid.reset(new Hid_Thread);
        hid->setOwner(&host);
        hid->setClock(&clock);
        hid->deviceTable = DeviceTable{row};
        QVERIFY(hid->chkDeviceIsEnCode(0));
        QCOMPARE(hid->currentIndex, 0);
        simmouse::clearWireLog();
    }

    void endListener()
    {
        if (!hid)
            return;
        hid->stopListener();
        hid->waitListener();
    }

private slots:
    void init()
    {
        host = RecordingHost();
        setDpiSwitchTexts({});
    }
    void cleanup()
    {
        endListener();
        hid.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(host.offGuiThread, 0);
    }

    // The option is read, one bit set, and the rest written back as read.
    void arming_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<Bytes>("option");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<Bytes>("written");
        QTest::newRow("553") << 553 << Bytes{0x12, 0x34, 0x56, 0x81} << QList<int>{0x83, 0x03}
                             << Bytes{0x12, 0x34, 0x56, 0xC1};
        QTest::newRow("553 bit already set") << 553 << Bytes{0, 0, 0, 0x40}
                                             << QList<int>{0x83, 0x03} << Bytes{0, 0, 0, 0x40};
        QTest::newRow("553 all set") << 553 << Bytes{0xFF, 0xFF, 0xFF, 0xBF}
                                     << QList<int>{0x83, 0x03} << Bytes{0xFF, 0xFF, 0xFF, 0xFF};
        QTest::newRow("560") << 560 << Bytes{0x21, 0x77} << QList<int>{0x81, 0x01}
                             << Bytes{0x29, 0x77};
        QTest::newRow("560 bit already set") << 560 << Bytes{0x08, 0x00}
                                             << QList<int>{0x81, 0x01} << Bytes{0x08, 0x00};
    }
    void arming()
    {
        QFETCH(int, family);
        QFETCH(Bytes, option);
        QFETCH(QList<int>, codes);
        QFETCH(Bytes, written);
        simmouse::Config config;
        config.family = family;
        connectDevice(config);
        simmouse::State state = simmouse::state();
        std::copy(option.begin(), option.end(), state.keyboardOption.begin());
        simmouse::setState(state);
        host.ic = QString::number(family);

        hid->startListener(0);
        QCOMPARE(int(hid->listening), 1);
        QCOMPARE(requestCodes(), codes);
        const Bytes write = requestsSent().back();
        QCOMPARE(Bytes(write.begin() + 2, write.begin() + 2 + written.size()), written);
        const auto after = simmouse::state().keyboardOption;
        QCOMPARE(Bytes(after.begin(), after.begin() + written.size()), written);
    }

    // A read that did not complete defines no bytes: nothing is written back,
    // and the listener starts all the same.
    void armingReadFails_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("tokenTaken");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("failLine");
        QTest::newRow("553 no reply") << 553 << false << QList<int>{0x83} << QString();
        QTest::newRow("560 no reply") << 560 << false << QList<int>{0x81} << QString();
        QTest::newRow("553 channel busy") << 553 << true << QList<int>{} << "cmd Failed 83";
        QTest::newRow("560 channel busy") << 560 << true << QList<int>{} << "cmd Failed 81";
    }
    void armingReadFails()
    {
        QFETCH(int, family);
        QFETCH(bool, tokenTaken);
        QFETCH(QList<int>, codes);
        QFETCH(QString, failLine);
        simmouse::Config config;
        config.family = family;
        connectDevice(config);
        const auto before = simmouse::state().keyboardOption;
        host.ic = QString::number(family);
        if (tokenTaken)
            hid->hidIdle = 0;
        else
            simmouse::withholdReplies(true);

        DebugLines debug;
        hid->startListener(0);
        QCOMPARE(requestCodes(), codes);
        QCOMPARE(simmouse::state().keyboardOption, before);
        int failures = 0;
        for (const QString &l : debug.lines())
            failures += l.startsWith(QLatin1String("cmd Failed")) ? 1 : 0;
        QCOMPARE(failures, failLine.isEmpty() ? 0 : 1);
        if (!failLine.isEmpty())
            QCOMPARE(debug.count(failLine), 1);

        QCOMPARE(int(hid->listening), 1);
        simmouse::pressDpiButton(2);
        QTRY_COMPARE(host.effects.size(), 2);
        QCOMPARE(host.effects.first(), QStringLiteral("dpi:2"));
    }

    // The stage goes to the screen first, then the balloon with the text for
    // the stage and one trailing blank.
    void dpiReport_data()
    {
        QTest::addColumn<int>("stage");
        QTest::addColumn<bool>("textsLoaded");
        QTest::addColumn<QString>("text");
        QTest::newRow("3 before texts") << 3 << false << kDefaultText;
        QTest::newRow("0 before texts") << 0 << false << kDefaultText;
        QTest::newRow("9 before texts") << 9 << false << kDefaultText;
        QTest::newRow("3 after texts") << 3 << true << "Stage text 2";
        QTest::newRow("1 after texts") << 1 << true << "Stage text 0";
        QTest::newRow("7 after texts") << 7 << true << "Stage text 6";
        QTest::newRow("8 after texts") << 8 << true << "Stage text 7";
        QTest::newRow("0 after texts") << 0 << true << "Stage text 7";
        QTest::newRow("9 after texts") << 9 << true << "Stage text 7";
        QTest::newRow("255 after texts") << 255 << true << "Stage text 7";
    }
    void dpiReport()
    {
        QFETCH(int, stage);
        QFETCH(bool, textsLoaded);
        QFETCH(QString, text);
        connectDevice(simmouse::Config());
        hid->startListener(0);
        if (textsLoaded)
            setDpiSwitchTexts(loadedTexts());

        simmouse::pressDpiButton(uint8_t(stage));
        QTRY_COMPARE(host.effects.size(), 2);
        QCOMPARE(host.effects, (QStringList{QStringLiteral("dpi:%1").arg(stage),
                                            QStringLiteral("balloon:Info|%1 ").arg(text)}));
    }

    void textsAreAlwaysEight_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("kept");
        const QString d = kDefaultText;
        QTest::newRow("none") << QStringList() << QStringList(8, d);
        QTest::newRow("three") << QStringList{"a", "b", "c"}
                               << QStringList{"a", "b", "c", d, d, d, d, d};
        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten << QString::number(i);
        QTest::newRow("ten") << ten << ten.mid(0, 8);
    }
    void textsAreAlwaysEight()
    {
        QFETCH(QStringList, given);
        QFETCH(QStringList, kept);
        setDpiSwitchTexts(loadedTexts());
        setDpiSwitchTexts(given);
        QCOMPARE(dpiSwitchTexts(), kept);
    }

    // A short language section leaves the default for the stages it lacks.
    void shortTextsStillGiveABalloon()
    {
        connectDevice(simmouse::Config());
        setDpiSwitchTexts({QStringLiteral("one"), QStringLiteral("two")});
        hid->startListener(0);
        simmouse::pressDpiButton(5);
        simmouse::pressDpiButton(2);
        QTRY_COMPARE(host.effects.size(), 4);
        QCOMPARE(host.effects, (QStringList{"dpi:5", "balloon:Info|DPI Switch to ", "dpi:2",
                                            "balloon:Info|two "}));
    }

    // Anything but exactly 06 07 xx stage is passed over; the good report
    // queued after it is the only one acted on.
    void malformedReportIgnored_data()
    {
        QTest::addColumn<Bytes>("report");
        QTest::newRow("second byte 08") << Bytes{0x06, 0x08, 0x00, 0x03};
        QTest::newRow("bytes swapped") << Bytes{0x07, 0x06, 0x00, 0x03};
        QTest::newRow("three bytes") << Bytes{0x06, 0x07, 0x03};
        QTest::newRow("two bytes") << Bytes{0x06, 0x07};
        QTest::newRow("one byte") << Bytes{0x06};
        QTest::newRow("zeros") << Bytes{0x00, 0x00, 0x00, 0x00};
    }
    void malformedReportIgnored()
    {
        QFETCH(Bytes, report);
        connectDevice(simmouse::Config());
        hid->startListener(0);
        simmouse::queueNotifyReport(report);
        simmouse::pressDpiButton(4);
        QTRY_COMPARE(host.effects.size(), 2);
        QTRY_COMPARE(simmouse::pendingReports(0, 1), 0);
        QCOMPARE(host.effects.first(), QStringLiteral("dpi:4"));
        QCOMPARE(host.effects.size(), 2);
    }

    void unplugNoticed()
    {
        connectDevice(simmouse::Config());
        DebugLines debug;
        hid->startListener(0);
        QTRY_COMPARE(simmouse::waitingReads(0, 1), 1);   // unplugged during a wait
        simmouse::unplug();
        QTRY_COMPARE(host.effects, QStringList{"enabled:0"});
        QCOMPARE(int(hid->listening), 0);
        QVERIFY(hid->deviceTable.at(0).path2.isEmpty());
        // The task ended on its own; nothing was asked to stop it.
        hid->waitListener();
        QCOMPARE(debug.count(QStringLiteral("Device removed")), 1);
    }

    // Stopping ends the task at the end of its cycle: no report is read after.
    void stopEndsTheTask()
    {
        connectDevice(simmouse::Config());
        hid->startListener(0);
        simmouse::pressDpiButton(3);
        QTRY_COMPARE(host.effects.size(), 2);   // the loop is running

        QTRY_COMPARE(simmouse::waitingReads(0, 1), 1);   // stopped during a wait
        hid->stopListener();
        QCOMPARE(int(hid->listening), 0);
        hid->waitListener();
        QCOMPARE(simmouse::waitingReads(0, 1), 0);
        simmouse::pressDpiButton(6);
        QCoreApplication::processEvents();
        QCOMPARE(simmouse::pendingReports(0, 1), 1);
        QCOMPARE(host.effects.size(), 2);
    }

    // Without a second interface the task ends at once, yet `listening`
    // stays set: the device is considered watched.
    void noSecondInterface()
    {
        connectDevice(simmouse::Config(), false);
        hid->startListener(0);
        QCOMPARE(requestCodes(), (QList<int>{0x83, 0x03}));
        hid->waitListener();   // returns without a stop request
        QCOMPARE(int(hid->listening), 1);
        QVERIFY(host.effects.isEmpty());
    }

    // Starting again ends the previous task first: never two reads parked on
    // the interface at once, one removal, one effect.
    void onlyOneListener()
    {
        connectDevice(simmouse::Config());
        DebugLines debug;
        hid->startListener(0);
        hid->startListener(0);
        hid->startListener(0);
        QTRY_COMPARE(simmouse::waitingReads(0, 1), 1);
        int most = 0;
        QElapsedTimer watched;
        watched.start();
        while (watched.elapsed() < 1200) {   // a little over two read cycles
            most = std::max(most, simmouse::waitingReads(0, 1));
            QTest::qWait(10);
        }
        QCOMPARE(most, 1);
        simmouse::unplug();
        QThreadPool::globalInstance()->waitForDone();
        QTRY_COMPARE(host.effects, QStringList{"enabled:0"});
        QCOMPARE(debug.count(QStringLiteral("Device removed")), 1);
    }

    // Destroying the device object while its listener runs waits for the task
    // and drops effects it had queued; nothing touches freed memory.
    void destroyedWhileListening()
    {
        connectDevice(simmouse::Config());
        hid->startListener(0);
        simmouse::pressDpiButton(3);
        QTRY_COMPARE(simmouse::pendingReports(0, 1), 0);   // being handled
        hid.reset();
        QThreadPool::globalInstance()->waitForDone();
        const int before = host.effects.size();
        QCoreApplication::processEvents();
        QCOMPARE(host.effects.size(), before);
    }
};

QTEST_GUILESS_MAIN(TestListener)
#include "tst_listener.moc"
