// Desktop pointer settings: the slider index mappings, the failure texts, the
// choice of a Linux desktop's store, and each store against its real tool.
#include <QtTest>

#include "bridge/linuxpointerbackend.h"
#include "bridge/pointersettings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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
class FakeRunner : public ToolRunner
{
public:
    bool has(const QString &) override { return installed; }
    bool run(const QString &, const QStringList &args, QString *output) override
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

class FakeX11 : public X11Pointer
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

// KWin on Wayland as dbus-send sees it: a mouse (event5) and a touchpad
// (event6). Every other tool runs for real.
class FakeKWin : public ToolRunner
{
public:
    bool has(const QString &tool) override { return m_real->has(tool); }
    bool run(const QString &tool, const QStringList &args, QString *output) override
    {
        if (tool != QLatin1String("dbus-send"))
            return m_real->run(tool, args, output);
        const QString device = args.value(3).section(QLatin1Char('/'), -1);
        const QString name = args.value(6).mid(7);   // after "string:"
        QString reply;
        if (args.value(4).endsWith(QLatin1String(".Set"))) {
            if (keeps)
                acceleration[device] = args.value(7).section(QLatin1Char(':'), -1).toDouble();
        } else if (name == QLatin1String("devicesSysNames")) {
            reply = QStringLiteral("variant       array [\n string \"event5\"\n string \"event6\"\n ]");
        } else if (name == QLatin1String("pointerAcceleration")) {
            reply = QStringLiteral("variant       double %1").arg(acceleration.value(device));
        } else {
            const bool touchpad = device == QLatin1String("event6");
            reply = QStringLiteral("variant       boolean ")
                    + ((name == QLatin1String("touchpad")) == touchpad ? "true" : "false");
        }
        if (output)
            *output = reply;
        return true;
    }
    bool keeps = true;
    QMap<QString, double> acceleration{{QStringLiteral("event5"), 0.2}, {QStringLiteral("event6"), 0.5}};

private:
    std::unique_ptr<ToolRunner> m_real = ToolRunner::process();
};

// Sets environment variables for one test and puts the old values back.
class EnvGuard
{
public:
    void set(const char *name, const QByteArray &value)
    {
        if (!m_old.contains(name))
            m_old.insert(name, qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                                               : std::nullopt);
        qputenv(name, value);
    }
    ~EnvGuard()
    {
        for (auto it = m_old.cbegin(); it != m_old.cend(); ++it)
            it.value() ? qputenv(it.key(), *it.value()) : qunsetenv(it.key());
    }

private:
    QMap<const char *, std::optional<QByteArray>> m_old;
};

// A D-Bus session of the test's own (Xfce's store is a service on it).
class PrivateBus
{
public:
    bool start(EnvGuard &env)
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
            return false;
        address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        env.set("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        return !address.isEmpty();
    }
    ~PrivateBus()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }
    QString address;

private:
    QProcess m_daemon;
};

QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(tool(program), args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString fileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

const QStringList plasmaMouse{"Libinput", "1133", "49271", "Logitech USB Optical Mouse"};
const QStringList plasmaTouchpad{"Libinput", "1739", "52631", "SYNA8004:00 06CB:CD8B Touchpad"};
const QByteArray kcminputrc = "[Libinput][1133][49271][Logitech USB Optical Mouse]\n"
                              "PointerAcceleration=0.200\n\n"
                              "[Libinput][1739][52631][SYNA8004:00 06CB:CD8B Touchpad]\n"
                              "PointerAcceleration=0.500\n";

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
    void desktopValuesShownOnThePage();
    void desktopDetection_data();
    void desktopDetection();
    void unavailableSettings_data();
    void unavailableSettings();
    void gnomeStore_data();
    void gnomeStore();
    void plasmaStore();
    void plasmaNotifiesItsSession();
    void plasmaWaylandDevices();
    void unwritableConfigurationFails();
    void xfceStore();
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
    GnomePointerBackend backend(std::move(runner), std::move(x11));

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
    PointerSettings ps(std::make_unique<GnomePointerBackend>(std::move(runner), std::make_unique<FakeX11>()));
    QCOMPARE(ps.unavailable(PointerSetting::ScrollLines), PointerUnavailable::NotOnThisDesktop);
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

    auto x = X11Pointer::xlib();
    QVERIFY(x->setAcceleration({7, 5}));
    int num = 0, den = 0, thr = 0;
    XGetPointerControl(dpy, &num, &den, &thr);
    QCOMPARE(qint64(num) * 5, qint64(7) * den);
    QCOMPARE(thr, thr0);   // the threshold is left alone

    XChangePointerControl(dpy, True, False, num0, den0, 0);
    XSync(dpy, False);
    XCloseDisplay(dpy);
}

void TestPointer::desktopValuesShownOnThePage()
{
    // The way back from the desktop's scales to the page's indexes.
    for (uint index = 0; index <= pointermap::MaxIndex; ++index) {
        const int speed = *pointermap::pointerSpeed(index);
        QCOMPARE(pointermap::speedIndex(pointermap::speedFromGnome(pointermap::gnomeSpeed(speed))), index);
        QCOMPARE(pointermap::speedIndex(pointermap::speedFromXfce(pointermap::xfceAcceleration(speed))), index);
        QCOMPARE(pointermap::speedIndex(pointermap::speedFromX11(pointermap::x11Acceleration(speed))), index);
        QCOMPARE(pointermap::doubleClickIndex(*pointermap::doubleClickMs(index)), index);
    }
    QCOMPARE(pointermap::speedFromGnome(-3.0), 1);
    QCOMPARE(pointermap::doubleClickIndex(5000), 0u);
    QCOMPARE(pointermap::doubleClickIndex(10), 10u);
}

using linuxdesktop::Desktop;

void TestPointer::desktopDetection_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("display");
    QTest::addColumn<Desktop>("desktop");
    QTest::newRow("GNOME") << "GNOME" << "gnome" << "wayland" << "" << Desktop::Gnome;
    QTest::newRow("Ubuntu") << "ubuntu:GNOME" << "ubuntu" << "x11" << ":0" << Desktop::Gnome;
    QTest::newRow("Budgie") << "Budgie:GNOME" << "budgie-desktop" << "x11" << ":0" << Desktop::Gnome;
    QTest::newRow("Cinnamon") << "X-Cinnamon" << "cinnamon" << "x11" << ":0" << Desktop::Cinnamon;
    QTest::newRow("Plasma 5") << "KDE" << "plasma" << "x11" << ":0" << Desktop::Plasma;
    QTest::newRow("Plasma 6 by session only") << "" << "plasmawayland" << "wayland" << "" << Desktop::Plasma;
    QTest::newRow("Xfce") << "XFCE" << "xfce" << "x11" << ":0" << Desktop::Xfce;
    QTest::newRow("other X11 session") << "i3" << "i3" << "x11" << ":1" << Desktop::X11;
    QTest::newRow("bare X server") << "" << "" << "" << ":99" << Desktop::X11;
    QTest::newRow("other Wayland") << "sway" << "sway" << "wayland" << ":0" << Desktop::Unknown;
    QTest::newRow("no display") << "" << "" << "tty" << "" << Desktop::Unknown;
}

void TestPointer::desktopDetection()
{
    QFETCH(QString, names);
    QFETCH(QString, session);
    QFETCH(QString, type);
    QFETCH(QString, display);
    QFETCH(Desktop, desktop);
    linuxdesktop::Session s;
    s.currentDesktop = names;
    s.sessionName = session;
    s.sessionType = type;
    s.display = display;
    QCOMPARE(linuxdesktop::detect(s), desktop);
}

void TestPointer::unavailableSettings_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("bus");
    QTest::addColumn<bool>("tools");
    QTest::addColumn<QString>("reasons");   // speed, double-click, wheel lines
    QTest::newRow("plain X11") << "" << "x11" << false << true << "011";
    QTest::newRow("unknown Wayland") << "sway" << "wayland" << true << true << "222";
    QTest::newRow("GNOME") << "GNOME" << "wayland" << true << true << "001";
    QTest::newRow("GNOME without its bus") << "GNOME" << "wayland" << false << true << "441";
    QTest::newRow("Plasma") << "KDE" << "wayland" << true << true << "000";
    QTest::newRow("Plasma without its tools") << "KDE" << "x11" << true << false << "333";
    QTest::newRow("Xfce") << "XFCE" << "x11" << true << true << "001";
    QTest::newRow("Xfce without its bus") << "XFCE" << "x11" << false << true << "441";
}

void TestPointer::unavailableSettings()
{
    QFETCH(QString, names);
    QFETCH(QString, type);
    QFETCH(bool, bus);
    QFETCH(bool, tools);
    QFETCH(QString, reasons);
    linuxdesktop::Session s;
    s.currentDesktop = names;
    s.sessionType = type;
    s.display = QStringLiteral(":0");
    s.sessionBus = bus;
    auto runner = std::make_unique<FakeRunner>();
    runner->installed = tools;
    PointerSettings ps(createLinuxPointerBackend(s, std::move(runner), std::make_unique<FakeX11>()));
    QString got;
    for (PointerSetting setting : {PointerSetting::Speed, PointerSetting::DoubleClick,
                                   PointerSetting::ScrollLines})
        got += QString::number(int(ps.unavailable(setting)));
    QCOMPARE(got, reasons);
}

void TestPointer::gnomeStore_data()
{
    QTest::addColumn<QStringList>("schemas");
    QTest::addColumn<QString>("section");   // where the keyfile keeps the values
    QTest::newRow("GNOME") << QStringList{GnomePointerBackend::mouseSchema()}
                           << "[org/gnome/desktop/peripherals/mouse]";
    QTest::newRow("Cinnamon") << QStringList{GnomePointerBackend::cinnamonMouseSchema(),
                                             GnomePointerBackend::mouseSchema()}
                              << "[org/cinnamon/desktop/peripherals/mouse]";
}

void TestPointer::gnomeStore()
{
    QFETCH(QStringList, schemas);
    QFETCH(QString, section);
    if (tool(QStringLiteral("gsettings")).isEmpty())
        QSKIP("gsettings is not installed");
    QTemporaryDir home;
    EnvGuard env;
    env.set("XDG_CONFIG_HOME", home.path().toUtf8());
    env.set("GSETTINGS_BACKEND", "keyfile");
    if (run(QStringLiteral("gsettings"), {QStringLiteral("list-schemas")}).split('\n').indexOf(schemas.first()) < 0)
        QSKIP("the schema is not installed");

    PointerSettings ps(std::make_unique<GnomePointerBackend>(ToolRunner::process(), nullptr, schemas));
    QCOMPARE(ps.current(PointerSetting::DoubleClick), std::optional<uint>(7u));   // 400 ms
    QVERIFY(ps.setCursorSpeed(10));
    QVERIFY(ps.setDoubleClickSpeed(10));
    const QString keyfile = fileText(home.filePath(QStringLiteral("glib-2.0/settings/keyfile")));
    QVERIFY2(keyfile.contains(section + QStringLiteral("\nspeed=1.0\ndouble-click=200")), qPrintable(keyfile));
    QCOMPARE(ps.current(PointerSetting::Speed), std::optional<uint>(10u));
    QCOMPARE(ps.current(PointerSetting::DoubleClick), std::optional<uint>(10u));
}

void TestPointer::plasmaStore()
{
    if (tool(QStringLiteral("kwriteconfig5")).isEmpty())
        QSKIP("kwriteconfig5 is not installed");
    QTemporaryDir home;
    EnvGuard env;
    env.set("HOME", home.path().toUtf8());
    env.set("XDG_CONFIG_HOME", home.path().toUtf8());
    writeFile(home.filePath(QStringLiteral("kcminputrc")), kcminputrc);

    PointerSettings ps(std::make_unique<PlasmaPointerBackend>(ToolRunner::process(), home.path(),
                                                              QStringLiteral("5"), false));
    // Before any change: the mouse's own value and Plasma's defaults.
    QCOMPARE(ps.current(PointerSetting::Speed), std::optional<uint>(6u));   // 0.2 -> speed 12
    QCOMPARE(ps.current(PointerSetting::DoubleClick), std::optional<uint>(7u));
    QCOMPARE(ps.current(PointerSetting::ScrollLines), std::optional<uint>(3u));

    QVERIFY(ps.setCursorSpeed(0));
    QVERIFY(ps.setDoubleClickSpeed(10));
    QVERIFY(ps.setVerticalScrollLines(1000));
    const QString input = fileText(home.filePath(QStringLiteral("kcminputrc")));
    const QString globals = fileText(home.filePath(QStringLiteral("kdeglobals")));
    const QString accel = QStringLiteral("PointerAcceleration");
    QCOMPARE(linuxdesktop::kdeConfigValue(input, plasmaMouse, accel), QStringLiteral("-0.900"));
    QCOMPARE(linuxdesktop::kdeConfigValue(input, plasmaTouchpad, accel), QStringLiteral("0.500"));
    QCOMPARE(linuxdesktop::kdeConfigValue(input, {QStringLiteral("Mouse")},
                                          QStringLiteral("XLbInptPointerAcceleration")),
             QStringLiteral("-0.900"));
    QCOMPARE(linuxdesktop::kdeConfigValue(globals, {QStringLiteral("KDE")}, QStringLiteral("DoubleClickInterval")),
             QStringLiteral("200"));
    QCOMPARE(linuxdesktop::kdeConfigValue(globals, {QStringLiteral("KDE")}, QStringLiteral("WheelScrollLines")),
             QStringLiteral("1000"));
    QCOMPARE(ps.current(PointerSetting::Speed), std::optional<uint>(0u));
    QCOMPARE(ps.current(PointerSetting::ScrollLines), std::optional<uint>(1000u));
}

void TestPointer::plasmaNotifiesItsSession()
{
    if (tool(QStringLiteral("kwriteconfig5")).isEmpty() || tool(QStringLiteral("dbus-monitor")).isEmpty())
        QSKIP("kwriteconfig5 or dbus-monitor is not installed");
    QTemporaryDir home;
    EnvGuard env;
    env.set("XDG_CONFIG_HOME", home.path().toUtf8());
    PrivateBus bus;
    QVERIFY(bus.start(env));
    QProcess monitor;
    monitor.start(tool(QStringLiteral("dbus-monitor")),
                  {QStringLiteral("--address"), bus.address,
                   QStringLiteral("type='signal',interface='org.kde.KGlobalSettings'")});
    QVERIFY(monitor.waitForStarted());
    QTest::qWait(300);   // the monitor's match rule is in place

    PlasmaPointerBackend plasma(ToolRunner::process(), home.path(), QStringLiteral("5"), true);
    QVERIFY(plasma.setWheelScrollLines(5));
    QByteArray seen;
    QTRY_VERIFY_WITH_TIMEOUT((seen += monitor.readAllStandardOutput()).contains("int32 0"), 5000);
    monitor.terminate();
    monitor.waitForFinished(3000);
    // "Settings changed", the mouse's category.
    QVERIFY2(seen.contains("member=notifyChange") && seen.contains("int32 3"), seen.constData());
}

void TestPointer::plasmaWaylandDevices()
{
    if (tool(QStringLiteral("kwriteconfig5")).isEmpty())
        QSKIP("kwriteconfig5 is not installed");
    QTemporaryDir home;
    EnvGuard env;
    env.set("XDG_CONFIG_HOME", home.path().toUtf8());
    for (bool keeps : {true, false}) {
        auto runner = std::make_unique<FakeKWin>();
        FakeKWin *kwin = runner.get();
        kwin->keeps = keeps;
        PlasmaPointerBackend plasma(std::move(runner), home.path(), QStringLiteral("6"), true);
        QCOMPARE(plasma.setMouseSpeed(20), keeps);
        QCOMPARE(kwin->acceleration.value(QStringLiteral("event5")), keeps ? 1.0 : 0.2);
        QCOMPARE(kwin->acceleration.value(QStringLiteral("event6")), 0.5);   // the touchpad
    }
}

void TestPointer::unwritableConfigurationFails()
{
    if (tool(QStringLiteral("kwriteconfig5")).isEmpty())
        QSKIP("kwriteconfig5 is not installed");
    QTemporaryDir home;
    EnvGuard env;
    env.set("XDG_CONFIG_HOME", home.path().toUtf8());
    // A folder where the file belongs: not even root can write it.
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("kdeglobals")));
    PointerSettings ps(std::make_unique<PlasmaPointerBackend>(ToolRunner::process(), home.path(),
                                                              QStringLiteral("5"), false));
    QTest::ignoreMessage(QtCriticalMsg, "setDoubleClickSpeed Failed");
    QVERIFY(!ps.setDoubleClickSpeed(3));
    QTest::ignoreMessage(QtCriticalMsg, "setVerticalScrollLines Failed");
    QVERIFY(!ps.setVerticalScrollLines(3));
}

void TestPointer::xfceStore()
{
    if (tool(QStringLiteral("xfconf-query")).isEmpty() || tool(QStringLiteral("dbus-daemon")).isEmpty())
        QSKIP("xfconf-query or dbus-daemon is not installed");
    QTemporaryDir home;
    EnvGuard env;
    env.set("XDG_CONFIG_HOME", home.path().toUtf8());
    PrivateBus bus;
    QVERIFY(bus.start(env));
    auto xfconf = [](const QStringList &args) { return run(QStringLiteral("xfconf-query"), args); };
    const QString mouse = QStringLiteral("/Logitech_USB_Optical_Mouse/Acceleration");
    const QString touchpad = QStringLiteral("/SynPS2_Synaptics_TouchPad/Acceleration");
    for (const QString &p : {mouse, touchpad})
        xfconf({"-c", "pointers", "-p", p, "-n", "-t", "double", "-s", "3.0"});

    PointerSettings ps(std::make_unique<XfcePointerBackend>(ToolRunner::process(), nullptr, true));
    QCOMPARE(ps.current(PointerSetting::Speed), std::optional<uint>(3u));   // 3.0 -> speed 6
    QVERIFY(ps.setCursorSpeed(10));
    QVERIFY(ps.setDoubleClickSpeed(9));
    QCOMPARE(xfconf({"-c", "pointers", "-p", mouse}), QStringLiteral("10.000000"));
    QCOMPARE(xfconf({"-c", "pointers", "-p", touchpad}), QStringLiteral("3.000000"));
    QCOMPARE(xfconf({"-c", "xsettings", "-p", "/Net/DoubleClickTime"}), QStringLiteral("270"));
    QCOMPARE(ps.current(PointerSetting::Speed), std::optional<uint>(10u));
    QCOMPARE(ps.current(PointerSetting::DoubleClick), std::optional<uint>(9u));
}

QTEST_GUILESS_MAIN(TestPointer)
#include "tst_pointer.moc"
