// Desktop pointer settings: the slider index mappings, the failure texts and
// the Linux backend's choice between GNOME's settings and X11.
#include <QtTest>

#include "bridge/linuxpointerbackend.h"
#include "bridge/pointersettings.h"

#include <X11/Xlib.h>

namespace {

class FakeBackend : public PointerBackend
{
public:
    bool setMouseSpeed(int speed) override { calls << QStringLiteral("speed %1").arg(speed); return ok; }
    bool setDoubleClickTime(int ms) override { calls << QStringLiteral("double %1").arg(ms); return ok; }
    bool setWheelScrollLines(uint lines) override { calls << QStringLiteral("lines %1").arg(lines); return ok; }
    bool ok = true;
    QStringList calls;
};

// Answers gsettings like a desktop whose store keeps or refuses writes.
class FakeRunner : public LinuxPointerBackend::Runner
{
public:
    bool run(const QStringList &args, QString *output) override
    {
        calls << args.join(QLatin1Char(' '));
        if (!installed)
            return false;
        const QString verb = args.value(0);
        const QString key = args.value(2);
        if (verb == QLatin1String("writable")) {
            if (output)
                *output = writable ? QStringLiteral("true") : QStringLiteral("false");
            return true;
        }
        if (verb == QLatin1String("set")) {
            if (storeKeeps)
                values[key] = args.value(3);
            return true;   // the tool says yes even when the store refused
        }
        if (verb == QLatin1String("get")) {
            if (output)
                *output = typedInts && key == QLatin1String("double-click")
                              ? QStringLiteral("int32 ") + values.value(key)
                              : values.value(key);
            return true;
        }
        return false;
    }
    bool installed = true;
    bool writable = true;
    bool storeKeeps = true;
    bool typedInts = false;
    QMap<QString, QString> values{{QStringLiteral("speed"), QStringLiteral("0.0")},
                                  {QStringLiteral("double-click"), QStringLiteral("400")}};
    QStringList calls;
};

class FakeX11 : public LinuxPointerBackend::X11Pointer
{
public:
    bool setAcceleration(const pointermap::Acceleration &a) override
    {
        calls << QStringLiteral("%1/%2").arg(a.numerator).arg(a.denominator);
        return ok;
    }
    bool ok = true;
    QStringList calls;
};

} // namespace

class TestPointer : public QObject
{
    Q_OBJECT
private slots:
    void sliderIndex_data();
    void sliderIndex();
    void gnomeAndX11Scales();
    void appliedAndRefused_data();
    void appliedAndRefused();
    void outOfRangeIndexNeverApplied();
    void linuxBackend_data();
    void linuxBackend();
    void linuxWheelLinesRefused();
    void xlibAcceleration();
};

void TestPointer::sliderIndex_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<uint>("index");
    QTest::addColumn<int>("value");   // speed, or ms; -1: no setting
    QTest::newRow("speed 0") << false << 0u << 1;
    QTest::newRow("speed 1") << false << 1u << 2;
    QTest::newRow("speed 5") << false << 5u << 10;
    QTest::newRow("speed 10") << false << 10u << 20;
    QTest::newRow("speed 11") << false << 11u << -1;
    QTest::newRow("speed huge") << false << 0xFFFFFFFFu << -1;
    QTest::newRow("double 0") << true << 0u << 900;
    QTest::newRow("double 1") << true << 1u << 830;
    QTest::newRow("double 10") << true << 10u << 200;
    QTest::newRow("double 13 would be negative") << true << 13u << -1;
}

void TestPointer::sliderIndex()
{
    QFETCH(bool, doubleClick);
    QFETCH(uint, index);
    QFETCH(int, value);
    const std::optional<int> got =
        doubleClick ? pointermap::doubleClickMs(index) : pointermap::pointerSpeed(index);
    QCOMPARE(got.value_or(-1), value);
}

void TestPointer::gnomeAndX11Scales()
{
    QCOMPARE(pointermap::gnomeSpeed(1), -0.9);
    QCOMPARE(pointermap::gnomeSpeed(10), 0.0);
    QCOMPARE(pointermap::gnomeSpeed(20), 1.0);
    QCOMPARE(pointermap::gnomeSpeed(40), 1.0);
    auto accel = [](int speed) {
        const pointermap::Acceleration a = pointermap::x11Acceleration(speed);
        return QList<int>{a.numerator, a.denominator};
    };
    QCOMPARE(accel(10), (QList<int>{10, 5}));   // the X server's default 2/1
    QCOMPARE(accel(20), (QList<int>{20, 5}));
    QCOMPARE(accel(1), (QList<int>{1, 5}));
    QCOMPARE(accel(0), (QList<int>{1, 5}));
}

void TestPointer::appliedAndRefused_data()
{
    QTest::addColumn<int>("op");        // 0 speed, 1 double click, 2 lines
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("failure");
    QTest::newRow("speed 0") << 0 << 0u << "speed 1" << "setCursorSpeed Failed";
    QTest::newRow("speed 10") << 0 << 10u << "speed 20" << "setCursorSpeed Failed";
    QTest::newRow("double 0") << 1 << 0u << "double 900" << "setDoubleClickSpeed Failed";
    QTest::newRow("double 10") << 1 << 10u << "double 200" << "setDoubleClickSpeed Failed";
    QTest::newRow("lines 3") << 2 << 3u << "lines 3" << "setVerticalScrollLines Failed";
    QTest::newRow("lines 1000 unchanged") << 2 << 1000u << "lines 1000" << "setVerticalScrollLines Failed";
}

void TestPointer::appliedAndRefused()
{
    QFETCH(int, op);
    QFETCH(uint, value);
    QFETCH(QString, call);
    QFETCH(QString, failure);
    for (bool ok : {true, false}) {
        auto backend = std::make_unique<FakeBackend>();
        FakeBackend *fake = backend.get();
        fake->ok = ok;
        PointerSettings ps(std::move(backend));
        if (!ok)
            QTest::ignoreMessage(QtCriticalMsg, failure.toLatin1().constData());
        const bool applied = op == 0 ? ps.setCursorSpeed(value)
                           : op == 1 ? ps.setDoubleClickSpeed(value)
                                     : ps.setVerticalScrollLines(value);
        QCOMPARE(applied, ok);
        QCOMPARE(fake->calls, QStringList{call});
    }
}

void TestPointer::outOfRangeIndexNeverApplied()
{
    auto backend = std::make_unique<FakeBackend>();
    FakeBackend *fake = backend.get();
    PointerSettings ps(std::move(backend));
    QTest::ignoreMessage(QtCriticalMsg, "setCursorSpeed Failed");
    QVERIFY(!ps.setCursorSpeed(11));
    QTest::ignoreMessage(QtCriticalMsg, "setDoubleClickSpeed Failed");
    QVERIFY(!ps.setDoubleClickSpeed(13));
    QVERIFY(fake->calls.isEmpty());
}

void TestPointer::linuxBackend_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("storeKeeps");
    QTest::addColumn<bool>("x11Ok");
    QTest::addColumn<bool>("speedApplied");
    QTest::addColumn<QStringList>("x11Calls");
    QTest::addColumn<bool>("doubleApplied");
    QTest::newRow("GNOME keeps the values") << true << true << true << true << true << QStringList{} << true;
    QTest::newRow("GNOME store refuses, X11 takes speed") << true << true << false << true << true << QStringList{"4/5"} << false;
    QTest::newRow("key not writable, X11 refuses") << true << false << true << false << false << QStringList{"4/5"} << false;
    QTest::newRow("no gsettings, X11") << false << true << true << true << true << QStringList{"4/5"} << false;
}

void TestPointer::linuxBackend()
{
    QFETCH(bool, installed);
    QFETCH(bool, writable);
    QFETCH(bool, storeKeeps);
    QFETCH(bool, x11Ok);
    QFETCH(bool, speedApplied);
    QFETCH(QStringList, x11Calls);
    QFETCH(bool, doubleApplied);

    auto runner = std::make_unique<FakeRunner>();
    auto x11 = std::make_unique<FakeX11>();
    FakeRunner *r = runner.get();
    FakeX11 *x = x11.get();
    r->installed = installed;
    r->writable = writable;
    r->storeKeeps = storeKeeps;
    r->typedInts = true;
    x->ok = x11Ok;
    LinuxPointerBackend backend(std::move(runner), std::move(x11));

    QCOMPARE(backend.setMouseSpeed(4), speedApplied);   // index 2
    QCOMPARE(x->calls, x11Calls);
    QCOMPARE(backend.setDoubleClickTime(550), doubleApplied);
    if (installed && writable) {
        QVERIFY(r->calls.contains(QStringLiteral("set org.gnome.desktop.peripherals.mouse speed -0.60")));
        QVERIFY(r->calls.contains(QStringLiteral("set org.gnome.desktop.peripherals.mouse double-click 550")));
    }
    if (!writable)
        for (const QString &c : r->calls)
            QVERIFY2(!c.startsWith(QLatin1String("set ")), qPrintable(c));
}

void TestPointer::linuxWheelLinesRefused()
{
    auto runner = std::make_unique<FakeRunner>();
    FakeRunner *r = runner.get();
    PointerSettings ps(std::make_unique<LinuxPointerBackend>(std::move(runner), std::make_unique<FakeX11>()));
    QTest::ignoreMessage(QtCriticalMsg, "setVerticalScrollLines Failed");
    QVERIFY(!ps.setVerticalScrollLines(3));
    QVERIFY(r->calls.isEmpty());
}

void TestPointer::xlibAcceleration()
{
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy)
        QSKIP("no X display");
    int num0 = 0, den0 = 0, thr0 = 0;
    XGetPointerControl(dpy, &num0, &den0, &thr0);

    auto x = LinuxPointerBackend::xlibPointer();
    QVERIFY(x->setAcceleration({7, 5}));
    int num = 0, den = 0, thr = 0;
    XGetPointerControl(dpy, &num, &den, &thr);
    QCOMPARE(qint64(num) * 5, qint64(7) * den);
    QCOMPARE(thr, thr0);   // the threshold is left alone

    XChangePointerControl(dpy, True, False, num0, den0, 0);
    XSync(dpy, False);
    XCloseDisplay(dpy);
}

QTEST_GUILESS_MAIN(TestPointer)
#include "tst_pointer.moc"
