// Device detection in the real window and event loop, over the simulated
// mouse: which row is chosen, the connect and disconnect steps, device-change
// notifications and the check timer, removal, and quitting.

#include <QQuickItem>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <memory>

#include "device/devicechange.h"
#include "app/myqquickview.h"
#include "app/widget.h"
#include "detect_support.h"
#include "tests/common/simsamples.h"

using Row = QMap<QString, QString>;
using Rows = QList<Row>;
Q_DECLARE_METATYPE(Row)

namespace {

// Rows as the sample configuration gives them: a keyboard that is never
// plugged here, and the mouse the simulator models by default.
Row keyboardRow()
{
    return {{"type", "0"}, {"vid", "04d9"}, {"pid", "8008"}, {"usagePage", "ff01"},
            {"usage", "0001"}, {"usagePage2", "ff02"}, {"usage2", "0001"},
            {"reportLength", "64"}, {"isEncode", "false"}};
}
Row mouseRow()
{
    return {{"type", "1"}, {"vid", "04d9"}, {"pid", "a1ee"}, {"usagePage", "ff00"},
            {"usage", "ff00"}, {"usagePage2", "ff01"}, {"usage2", "ff01"},
            {"reportLength", "32"}, {"isEncode", "true"}, {"sCode", "418205"}};
}
Row with(Row row, const QString &key, const QString &value)
{
    row.insert(key, value);
    return row;
}

} // namespace

class TestCheckDevice : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString oldCwd;
    RecordingClock clock;
    std::unique_ptr<Widget> window;

    void writeConfig(const Rows &rows, const QString &count = QString(),
                     const QString &icType = QStringLiteral("553"), bool isGun = false)
    {
        // Written through QSettings only, so its per-file cache never goes stale.
        const QString file = dir.filePath(QStringLiteral("modules/setting/apConfig.bin"));
        QSettings config(file, QSettings::IniFormat);
        for (const QString &group : config.childGroups()) {
            bool isRow = false;
            group.toInt(&isRow);
            if (isRow)
                config.remove(group);
        }
        config.setValue("common/deviceCount", count.isNull() ? QString::number(rows.size()) : count);
        config.setValue("mouse/icType", icType);
        config.setValue("mouse/isGun", isGun);
        for (int n = 0; n < rows.size(); ++n)
            for (auto it = rows[n].cbegin(); it != rows[n].cend(); ++it)
                config.setValue(QStringLiteral("%1/%2").arg(n).arg(it.key()), it.value());
        config.sync();
        QCOMPARE(config.status(), QSettings::NoError);
    }

    // A window whose screen is a recorder and whose pauses are only noted.
    void makeWindow()
    {
        deviceConnected = false;
        window = std::make_unique<Widget>();
        window->device().setClock(&clock);
        window->view()->setSource(QUrl::fromLocalFile(QStringLiteral(QUILL_TEST_DATA_DIR "/recorder.qml")));
        QVERIFY(window->view()->rootObject());
    }

    // The sample mouse, plugged in or not, configured alone and with a window.
    void makeMouseWindow(bool plugged = true)
    {
        simmouse::Config device;
        device.plugged = plugged;
        simmouse::reset(device);
        writeConfig({mouseRow()});
        makeWindow();
    }

    QStringList rootCalls() const
    {
        return window->view()->rootObject()->property("calls").toStringList();
    }
    DeviceChangeMonitor *monitor() const { return window->findChild<DeviceChangeMonitor *>(); }

    // The devices the handshake reached, in order (simulator device index).
    static QList<int> handshakes()
    {
        QList<int> devices;
        for (const auto &r : simmouse::wireLog())
            if (r.kind == simmouse::Kind::FeatureOut && r.clear.size() == 9 && r.clear[1] == 0x00)
                devices << r.device;
        return devices;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString src = QStringLiteral(QUILL_SOURCE_DIR "/modules/setting");
        QVERIFY(QDir().mkpath(dir.filePath("modules/setting")));
        for (const QString &name : QDir(src).entryList(QDir::Files)) {
            const QString dst = dir.filePath("modules/setting/" + name);
            QVERIFY(QFile::copy(src + "/" + name, dst));
            QFile::setPermissions(dst, QFile::ReadOwner | QFile::WriteOwner);
        }
        oldCwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void cleanup()
    {
        window.reset();
        QThreadPool::globalInstance()->waitForDone();
        setDpiSwitchTexts({});
    }
    void cleanupTestCase() { QDir::setCurrent(oldCwd); }

    // Which row is connected: table order, absent rows skipped, a row whose
    // handshake fails passed over; -1 is the disconnect steps.
    void choosesRow_data()
    {
        QTest::addColumn<bool>("firstPlugged");
        QTest::addColumn<bool>("firstAnswers");
        QTest::addColumn<bool>("secondPlugged");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QList<int>>("tried");
        QTest::newRow("second only") << false << true << true << 1 << QList<int>{1};
        QTest::newRow("both, first answers") << true << true << true << 0 << QList<int>{0};
        QTest::newRow("both, first fails") << true << false << true << 1 << QList<int>{0, 1};
        QTest::newRow("first only, fails") << true << false << false << -1 << QList<int>{0};
        QTest::newRow("none") << false << true << false << -1 << QList<int>{};
    }
    void choosesRow()
    {
        QFETCH(bool, firstPlugged);
        QFETCH(bool, firstAnswers);
        QFETCH(bool, secondPlugged);
        QFETCH(int, chosen);
        QFETCH(QList<int>, tried);
        simmouse::Config first = keyboardSample();
        first.plugged = firstPlugged;
        simmouse::Config second;
        second.plugged = secondPlugged;
        simmouse::reset(std::vector<simmouse::Config>{first, second});
        simmouse::withholdReplies(!firstAnswers, 0);
        writeConfig({keyboardRow(), mouseRow()});
        makeWindow();
        window->show();
        QSignalSpy balloons(window.get(), &Widget::balloonShown);
        DebugLines debug;

        window->checkDevice();

        QCOMPARE(handshakes(), tried);
        Hid_Thread &hid = window->device();
        QCOMPARE(hid.deviceTable.size(), 2);
        QCOMPARE(hid.deviceTable.at(0).path.isEmpty(), !firstPlugged);
        QCOMPARE(hid.deviceTable.at(1).path.isEmpty(), !secondPlugged);
        if (chosen < 0) {
            QCOMPARE(debug.lines(), QStringList{"Device DisConnect"});
            QVERIFY(!deviceConnected);
            QVERIFY(!window->isVisible());
            QCOMPARE(int(hid.listening), 0);
            QCOMPARE(balloons.size(), 0);
            return;
        }
        QCOMPARE(hid.currentIndex, chosen);
        QCOMPARE(debug.count("Device Connect"), 1);
        QCOMPARE(debug.count("Device DisConnect"), 0);
        QVERIFY(deviceConnected);
        QVERIFY(window->isVisible());
        QCOMPARE(int(hid.listening), 1);
        QCOMPARE(balloons.size(), 1);
        QCOMPARE(balloons.at(0), (QList<QVariant>{"Info", "Detect Device"}));
        QVERIFY(window->view()->isEnabled());
        QTRY_COMPARE(rootCalls(), (QStringList{"initUI", "run"}));
    }

    // Configurations of one row over the sample mouse.
    void tableVariants_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("connects");
        QTest::addColumn<bool>("samePaths");
        QTest::newRow("one interface fills both paths")
            << Rows{with(with(mouseRow(), "usagePage2", "ff00"), "usage2", "ff00")}
            << QString() << true << true;
        QTest::newRow("vid and pid 0 match any device")
            << Rows{with(with(mouseRow(), "vid", "0"), "pid", "0")} << QString() << true << false;
        // Read as 0 they would match whatever answers: refused instead.
        QTest::newRow("unreadable ids refuse the row")
            << Rows{with(with(mouseRow(), "vid", ""), "pid", "nothex")} << QString() << false << false;
        QTest::newRow("vid zz refuses the row")
            << Rows{with(mouseRow(), "vid", "zz")} << QString() << false << false;
        QTest::newRow("usage zz refuses the row")
            << Rows{with(mouseRow(), "usage", "zz")} << QString() << false << false;
        QTest::newRow("ids in upper case")
            << Rows{with(with(mouseRow(), "vid", "04D9"), "pid", "A1EE")} << QString() << true << false;
        QTest::newRow("count 0 with rows present") << Rows{mouseRow()} << "0" << false << false;
        QTest::newRow("count negative") << Rows{mouseRow()} << "-1" << false << false;
        QTest::newRow("count not a number") << Rows{mouseRow()} << "one" << false << false;
        QTest::newRow("count absurd, capped")
            << Rows{keyboardRow(), mouseRow()} << "4000000000" << true << false;
        QTest::newRow("wrong code") << Rows{with(mouseRow(), "sCode", "999999")} << QString()
                                    << false << false;
        QTest::newRow("scrambling not configured") << Rows{with(mouseRow(), "isEncode", "0")}
                                                   << QString() << false << false;
    }
    void tableVariants()
    {
        QFETCH(Rows, rows);
        QFETCH(QString, count);
        QFETCH(bool, connects);
        QFETCH(bool, samePaths);
        simmouse::reset();
        writeConfig(rows, count);
        makeWindow();
        window->checkDevice();
        QCOMPARE(deviceConnected, connects);
        QCOMPARE(int(window->device().listening), connects ? 1 : 0);
        if (connects) {
            const DeviceEntry &e = window->device().deviceTable.at(window->device().currentIndex);
            QCOMPARE(e.path, QString::fromStdString(simmouse::path(0, 0)));
            QCOMPARE(e.path2 == e.path, samePaths);
        }
    }

    // The arming follows the family; a 560 mouse also has its profiles read.
    void connectReadsByFamily_data()
    {
        QTest::addColumn<QString>("icType");
        QTest::addColumn<bool>("isGun");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QList<int>>("profiles");
        QTest::newRow("553") << "553" << true << QList<int>{0x00, 0x83, 0x03} << QList<int>{};
        QTest::newRow("560") << "560" << false << QList<int>{0x00, 0x81, 0x01}
                             << QList<int>{0, 1};
        QTest::newRow("560 gun") << "560" << true << QList<int>{0x00, 0x81, 0x01}
                                 << QList<int>{0, 1, 2, 3, 4};
    }
    void connectReadsByFamily()
    {
        QFETCH(QString, icType);
        QFETCH(bool, isGun);
        QFETCH(QList<int>, codes);
        QFETCH(QList<int>, profiles);
        simmouse::Config device;
        device.family = icType.toInt();
        simmouse::reset(device);
        writeConfig({mouseRow()}, QString(), icType, isGun);
        makeWindow();
        window->checkDevice();
        QVERIFY(deviceConnected);

        // The writes follow on the device thread.
        auto sent = [](bool profileRecords) {
            QList<int> out;
            for (const auto &r : requestsSent())
                if ((r[1] == 0x8C) == profileRecords)
                    out << (profileRecords ? r[2] : r[1]);
            return out;
        };
        QTRY_COMPARE(sent(false), codes);
        QCOMPARE(sent(true), profiles);
    }

    // Kept as intended: a device without its second interface is connected
    // and counts as listened to, so notifications no longer start checks.
    void noSecondInterfaceStaysListening()
    {
        simmouse::reset();
        writeConfig({with(mouseRow(), "usagePage2", "1234")});
        makeWindow();
        window->checkDevice();
        QVERIFY(deviceConnected);
        QVERIFY(window->device().deviceTable.at(0).path2.isEmpty());
        window->device().waitListener();
        QCOMPARE(int(window->device().listening), 1);
        emit monitor()->deviceChanged();
        QVERIFY(!window->checkTimer().isActive());
    }

    void simulatorNotificationsReachTheWindow()
    {
        makeMouseWindow();
        QVERIFY(monitor());
        QVERIFY(DeviceChangeMonitor::simulatorAttached());
        QSignalSpy changes(monitor(), &DeviceChangeMonitor::deviceChanged);
        simmouse::unplug();
        simmouse::plug();
        QTRY_COMPARE(changes.size(), 2);
        QVERIFY(window->checkTimer().isActive());
        QCOMPARE(window->checkTimer().interval(), 2048);
        QVERIFY(window->checkTimer().isSingleShot());
    }

    // Ten notifications in a burst: each restarts the timer, and one check
    // runs when it finally expires.
    void burstChecksOnce()
    {
        makeMouseWindow(false);
        window->checkDevice();
        QVERIFY(!deviceConnected);
        DebugLines debug;
        QSignalSpy changes(monitor(), &DeviceChangeMonitor::deviceChanged);
        QTimer &timer = window->checkTimer();

        int lastRemaining = -1;
        for (int i = 0; i < 10; ++i) {
            if (i % 2 == 0)
                simmouse::plug();
            else
                simmouse::unplug();
            QTRY_COMPARE(changes.size(), i + 1);
            QVERIFY(timer.isActive());
            // The restart follows the notification through the event loop.
            if (lastRemaining >= 0)
                QTRY_VERIFY2(timer.remainingTime() > lastRemaining, "notification did not restart the timer");
            QCOMPARE(debug.count("Device DisConnect"), 0);
            // Let the timer run down before the next notification, by more
            // than the 5 % a coarse timer may move its expiry.
            QTRY_VERIFY(timer.remainingTime() < 1700);
            lastRemaining = timer.remainingTime();
        }
        QTRY_COMPARE_WITH_TIMEOUT(debug.count("Device DisConnect"), 1, 15000);
        QVERIFY(!timer.isActive());
        QCOMPARE(debug.count("Device Connect"), 0);
    }

    void notificationsIgnoredWhileListening()
    {
        simmouse::Config other = keyboardSample();
        simmouse::reset(std::vector<simmouse::Config>{simmouse::Config(), other});
        writeConfig({mouseRow()});
        makeWindow();
        window->checkDevice();
        QVERIFY(deviceConnected);
        QSignalSpy changes(monitor(), &DeviceChangeMonitor::deviceChanged);
        simmouse::unplug(1);
        simmouse::plug(1);
        QTRY_COMPARE(changes.size(), 2);
        QVERIFY(!window->checkTimer().isActive());
    }

    void plugWhileHidden()
    {
        makeMouseWindow(false);
        window->show();
        window->checkDevice();
        QVERIFY(!window->isVisible());
        QSignalSpy balloons(window.get(), &Widget::balloonShown);

        simmouse::plug();   // the real 2048 ms timer runs the check
        QTRY_VERIFY_WITH_TIMEOUT(deviceConnected, 15000);
        QCOMPARE(balloons.size(), 1);
        QCOMPARE(balloons.at(0), (QList<QVariant>{"Info", "Detect Device"}));
        QTRY_COMPARE(rootCalls(), (QStringList{"initUI", "run"}));
        QVERIFY(!window->isVisible());
        QVERIFY(window->view()->isEnabled());
    }

    // Removal disables the screen at once; only a later notification's check
    // hides the window.
    void unplugDisablesThenCheckHides()
    {
        makeMouseWindow();
        window->show();
        window->checkDevice();
        QVERIFY(deviceConnected);
        DebugLines debug;

        simmouse::unplug();
        QTRY_VERIFY(!window->view()->isEnabled());
        QTRY_COMPARE(int(window->device().listening), 0);
        QCOMPARE(debug.count("Device removed"), 1);
        QVERIFY(window->device().deviceTable.at(0).path2.isEmpty());
        QVERIFY(deviceConnected);
        QVERIFY(window->isVisible());

        emit monitor()->deviceChanged();
        QVERIFY(window->checkTimer().isActive());
        window->checkTimer().stop();
        window->checkDevice();
        QVERIFY(!deviceConnected);
        QVERIFY(!window->isVisible());
        QCOMPARE(debug.count("Device DisConnect"), 1);
    }

    // The screen learns the stage before the balloon is raised.
    void dpiButton_data()
    {
        QTest::addColumn<int>("stage");
        QTest::addColumn<bool>("textsLoaded");
        QTest::addColumn<QString>("text");
        QTest::newRow("3 default") << 3 << false << "DPI Switch to ";
        QTest::newRow("3 loaded") << 3 << true << "third ";
        QTest::newRow("9 loaded") << 9 << true << "eighth ";
    }
    void dpiButton()
    {
        QFETCH(int, stage);
        QFETCH(bool, textsLoaded);
        QFETCH(QString, text);
        makeMouseWindow();
        window->checkDevice();
        QVERIFY(deviceConnected);
        if (textsLoaded)
            setDpiSwitchTexts({"first", "second", "third", "fourth", "fifth", "sixth",
                               "seventh", "eighth"});
        QTRY_COMPARE(rootCalls(), (QStringList{"initUI", "run"}));
        QStringList callsAtBalloon;
        QList<QVariant> balloon;
        connect(window.get(), &Widget::balloonShown, this,
                [&](const QString &title, const QString &body) {
                    callsAtBalloon = rootCalls();
                    balloon = {title, body};
                });
        simmouse::pressDpiButton(uint8_t(stage));
        QTRY_VERIFY(!balloon.isEmpty());
        QCOMPARE(balloon, (QList<QVariant>{"Info", text}));
        QCOMPARE(callsAtBalloon.last(), QStringLiteral("setCurrentDPI %1").arg(stage));
    }

    // The tray's quit while the listener runs: the loop ends with 0, the
    // listener is told to stop, and destroying the window waits for it.
    void quitWhileListening()
    {
        makeMouseWindow();
        window->checkDevice();
        QVERIFY(deviceConnected);
        QCOMPARE(int(window->device().listening), 1);

        QEventLoop loop;
        QTimer::singleShot(0, window.get(), &Widget::exitSYS);
        QCOMPARE(loop.exec(), 0);
        QCOMPARE(int(window->device().listening), 0);
        simmouse::pressDpiButton(2);
        window.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestCheckDevice)
#include "tst_checkdevice.moc"
