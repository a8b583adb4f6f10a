// Global capture with the real X11 backend: keys and clicks sent with xdotool
// while a window of another process has the focus reach the callbacks with
// the right usage codes and positions, and still reach that window.

#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QScopeGuard>
#include <QProcess>
#include <QQuickItem>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <poll.h>
#include <unistd.h>

#include <cstdio>

#include "app/inputhook.h"
#include "app/myqquickview.h"
#include "input_support.h"

// Last: Xlib's macros (Status, None, ...) clash with Qt's names.
#include <X11/Xlib.h>

namespace {

const char kHelperVariable[] = "QUILL_INPUT_FOCUS_HELPER";

// The other program: one plain X window that takes the focus and prints
// every key and button it receives, until its standard input closes.
int runFocusHelper()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 400, 300,
                                              0, 0, WhitePixel(display, DefaultScreen(display)));
    XSelectInput(display, window, KeyPressMask | ButtonPressMask | StructureNotifyMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify)
            break;
    }
    std::printf("window %lu\n", static_cast<unsigned long>(window));
    std::fflush(stdout);
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == KeyPress)
                std::printf("key %u\n", event.xkey.keycode);
            else if (event.type == ButtonPress)
                std::printf("button %u %d %d\n", event.xbutton.button, event.xbutton.x, event.xbutton.y);
            std::fflush(stdout);
        }
        if (poll(fds, 2, -1) < 0)
            break;
        if (fds[1].revents) {
            char buffer[64];
            if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
                break;
        }
    }
    XCloseDisplay(display);
    return 0;
}

QStringList reports;

// The context, when set, is a host view: the events go on to its QML root
// the way the program's own callbacks send them.
void recordKey(unsigned char usbCode, bool isDown, void *context)
{
    reports << key(usbCode, isDown);
    if (context)
        static_cast<myQQuickView *>(context)->forwardKeyboard(isDown, usbCode);
}

void recordMouse(unsigned char button, bool isDown, int x, int y, void *context)
{
    reports << click(button, isDown, x, y);
    if (context)
        static_cast<myQQuickView *>(context)->forwardMouse(isDown, button, uint(x), uint(y));
}

// F1 closes every step: once its release is seen, everything sent before it
// has been read, so missing reports are really missing.
const QStringList kBarrier = tapped(0x3A);

} // namespace

class InputX11Test : public QObject
{
    Q_OBJECT

private:
    QString xdotool;
    QProcess helper;
    QByteArray helperOutput;
    QString helperWindow;

    bool runXdotool(const QStringList &arguments)
    {
        return QProcess::execute(xdotool, arguments) == 0;
    }

    QString focusedWindow()
    {
        QProcess query;
        query.start(xdotool, {"getwindowfocus"});
        if (!query.waitForFinished(30000))
            return QString();
        return QString::fromLatin1(query.readAllStandardOutput()).trimmed();
    }

    // Sends the events, then the barrier, and waits until the barrier is read.
    void sendAndWait(const QStringList &arguments)
    {
        reports.clear();
        QVERIFY(runXdotool(arguments));
        QVERIFY(runXdotool({"key", "F1"}));
        QTRY_VERIFY_WITH_TIMEOUT(reports.endsWith(kBarrier.last()), 20000);
        QCOMPARE(reports.mid(reports.size() - kBarrier.size()), kBarrier);
        reports = reports.mid(0, reports.size() - kBarrier.size());
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display (run under xvfb-run)");
        xdotool = QStandardPaths::findExecutable("xdotool");
        if (xdotool.isEmpty())
            QSKIP("needs xdotool");

        QVERIFY(InputHook::init(0));
        InputHook::setKeyboardCallback(recordKey, nullptr);
        InputHook::setMouseCallback(recordMouse, nullptr);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kHelperVariable, "1");
        helper.setProcessEnvironment(environment);
        connect(&helper, &QProcess::readyReadStandardOutput, this,
                [this] { helperOutput += helper.readAllStandardOutput(); });
        helper.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(helper.waitForStarted(30000));
        QTRY_VERIFY_WITH_TIMEOUT(helperOutput.contains('\n'), 30000);
        const QList<QByteArray> first = helperOutput.left(helperOutput.indexOf('\n')).split(' ');
        QCOMPARE(first.value(0), QByteArray("window"));
        helperWindow = QString::fromLatin1(first.value(1));
        QVERIFY(runXdotool({"windowfocus", "--sync", helperWindow}));
        QCOMPARE(focusedWindow(), helperWindow);
        // Nothing may be held from before.
        reports.clear();
    }

    void cleanupTestCase()
    {
        InputHook::removeHooks();
        InputHook::setKeyboardCallback(nullptr, nullptr);
        InputHook::setMouseCallback(nullptr, nullptr);
        if (helper.state() != QProcess::NotRunning) {
            helper.closeWriteChannel();
            QVERIFY(helper.waitForFinished(30000));
        }
    }

    void captured_data()
    {
        QTest::addColumn<QStringList>("xdotoolArguments");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("a") << QStringList{"key", "a"} << tapped(0x04);
        QTest::newRow("Return") << QStringList{"key", "Return"} << tapped(0x28);
        QTest::newRow("keypad Enter") << QStringList{"key", "KP_Enter"} << tapped(0x58);
        QTest::newRow("keypad 7 key") << QStringList{"key", "KP_Home"} << tapped(0x5F);
        QTest::newRow("Home") << QStringList{"key", "Home"} << tapped(0x4A);
        // By X key code: xdotool would add the left key to reach these keysyms.
        QTest::newRow("right Shift") << QStringList{"key", "62"} << tapped(0xE5);
        QTest::newRow("Print Screen") << QStringList{"key", "Print"} << tapped(0x46);
        QTest::newRow("Alt + Print Screen")
            << QStringList{"keydown", "alt", "key", "Print", "keyup", "alt"}
            << QStringList{key(0xE2, true), key(0x46, true), key(0x46, false), key(0xE2, false)};
        QTest::newRow("Ctrl + Pause")
            << QStringList{"keydown", "ctrl", "key", "Pause", "keyup", "ctrl"}
            << QStringList{key(0xE0, true), key(0x48, true), key(0x48, false), key(0xE0, false)};
        QTest::newRow("right Windows") << QStringList{"key", "134"} << QStringList();
        QTest::newRow("left Windows") << QStringList{"key", "133"} << tapped(0xE3);
        QTest::newRow("held key")
            << QStringList{"keydown", "b", "keydown", "b", "keydown", "b", "keyup", "b"} << tapped(0x05);

        QTest::newRow("left click")
            << QStringList{"mousemove", "--sync", "123", "45", "click", "1"}
            << QStringList{"M f0 down 123 45", "M f0 up 123 45"};
        QTest::newRow("right click")
            << QStringList{"mousemove", "--sync", "300", "200", "click", "3"}
            << QStringList{"M f1 down 300 200", "M f1 up 300 200"};
        QTest::newRow("middle click outside the window")
            << QStringList{"mousemove", "--sync", "500", "420", "click", "2"}
            << QStringList{"M f2 down 500 420", "M f2 up 500 420"};
        QTest::newRow("wheel") << QStringList{"click", "4", "click", "5"} << QStringList();
        QTest::newRow("back and forward") << QStringList{"click", "8", "click", "9"} << QStringList();
    }
    void captured()
    {
        QFETCH(QStringList, xdotoolArguments);
        QFETCH(QStringList, expected);
        sendAndWait(xdotoolArguments);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(reports, expected);
        QCOMPARE(focusedWindow(), helperWindow);
    }

    void otherWindowStillGetsInput()
    {
        helperOutput.clear();
        sendAndWait({"key", "a", "mousemove", "--sync", "100", "60", "click", "1"});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(reports, (QStringList{key(0x04, true), key(0x04, false), "M f0 down 100 60", "M f0 up 100 60"}));
        QTRY_VERIFY_WITH_TIMEOUT(helperOutput.contains("button 1 100 60"), 20000);
        QVERIFY(helperOutput.contains("key 38"));   // the X key code of A
    }

    void reachesQmlRoot()
    {
        // The view keeps its settings under ./modules: give it a scratch place.
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString previousDir = QDir::currentPath();
        QDir::setCurrent(scratch.path());
        const auto restore = qScopeGuard([&] { QDir::setCurrent(previousDir); });
        {
            myQQuickView view;
            view.setSource(QUrl::fromLocalFile(QStringLiteral(QUILL_TEST_DATA_DIR "/recorder.qml")));
            QVERIFY(view.rootObject());
            InputHook::setKeyboardCallback(recordKey, &view);
            InputHook::setMouseCallback(recordMouse, &view);
            sendAndWait({"key", "KP_Enter", "mousemove", "--sync", "200", "110", "click", "3"});
            InputHook::setKeyboardCallback(recordKey, nullptr);
            InputHook::setMouseCallback(recordMouse, nullptr);
            // Queued: the QML functions run from the event loop, the barrier last.
            const QString expected = QStringLiteral(
                "K boolean true number 88\n"
                "K boolean false number 88\n"
                "M boolean true 241 200 110\n"
                "M boolean false 241 200 110\n"
                "K boolean true number 58\n"
                "K boolean false number 58\n");
            QTRY_COMPARE_WITH_TIMEOUT(view.rootObject()->property("log").toString(), expected, 20000);
        }
    }

    void initialisingAgainReplacesTheHooks()
    {
        // A second installation must not leave the first one reporting too.
        QVERIFY(InputHook::init(0));
        sendAndWait({"mousemove", "--sync", "20", "30", "click", "1"});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(reports, (QStringList{"M f0 down 20 30", "M f0 up 20 30"}));
    }

    void withoutDisplayInitFails_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::newRow("no DISPLAY") << QByteArray();
        QTest::newRow("no server there") << QByteArray(":4711");
    }
    void withoutDisplayInitFails()
    {
        QFETCH(QByteArray, display);
        const QByteArray saved = qgetenv("DISPLAY");
        InputHook::removeHooks();
        if (display.isEmpty())
            qunsetenv("DISPLAY");
        else
            qputenv("DISPLAY", display);
        const bool installed = InputHook::init(0);
        qputenv("DISPLAY", saved);
        QVERIFY(!installed);

        // Installing again works and captures again.
        QVERIFY(InputHook::init(0));
        sendAndWait({"key", "c"});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(reports, tapped(0x06));
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(kHelperVariable))
        return runFocusHelper();
    QApplication app(argc, argv);
    InputX11Test test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_input_x11.moc"
