#include "bridge/linuxpointerbackend.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>

#include <X11/Xlib.h>

namespace {

bool hasSessionBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

class ProcessRunner : public LinuxPointerBackend::Runner
{
public:
    bool run(const QStringList &args, QString *output) override
    {
        // A desktop whose settings can change has a session bus; without one
        // the tool would start a bus of its own and still keep nothing.
        if (!hasSessionBus())
            return false;
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
        if (tool.isEmpty())
            return false;
        QProcess p;
        p.start(tool, args);
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished(1000);
            return false;
        }
        if (output)
            *output = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
};

int g_xError = 0;
int recordXError(Display *, XErrorEvent *e)
{
    g_xError = e->error_code;
    return 0;
}

class XlibPointer : public LinuxPointerBackend::X11Pointer
{
public:
    bool setAcceleration(const pointermap::Acceleration &a) override
    {
        Display *dpy = XOpenDisplay(nullptr);
        if (!dpy)
            return false;
        // A refused request must not end the program (Xlib's default).
        g_xError = 0;
        XErrorHandler previous = XSetErrorHandler(recordXError);
        XChangePointerControl(dpy, True, False, a.numerator, a.denominator, 0);
        XSync(dpy, False);
        int num = 0, den = 0, threshold = 0;
        XGetPointerControl(dpy, &num, &den, &threshold);
        XSync(dpy, False);
        XSetErrorHandler(previous);
        XCloseDisplay(dpy);
        if (g_xError != 0)
            return false;
        // The server may reduce the fraction; compare the ratio.
        return den > 0 && qint64(num) * a.denominator == qint64(a.numerator) * den;
    }
};

} // namespace

std::unique_ptr<LinuxPointerBackend::Runner> LinuxPointerBackend::processRunner()
{
    return std::make_unique<ProcessRunner>();
}

std::unique_ptr<LinuxPointerBackend::X11Pointer> LinuxPointerBackend::xlibPointer()
{
    return std::make_unique<XlibPointer>();
}

LinuxPointerBackend::LinuxPointerBackend(std::unique_ptr<Runner> runner,
                                         std::unique_ptr<X11Pointer> x11)
    : m_runner(std::move(runner)), m_x11(std::move(x11))
{
}

LinuxPointerBackend::~LinuxPointerBackend() = default;

const char *LinuxPointerBackend::mouseSchema()
{
    return "org.gnome.desktop.peripherals.mouse";
}

bool LinuxPointerBackend::writeGnomeKey(const QString &key, const QString &value)
{
    if (!m_runner)
        return false;
    const QString schema = QString::fromLatin1(mouseSchema());
    QString out;
    // The schema must exist and the key be writable here.
    if (!m_runner->run({QStringLiteral("writable"), schema, key}, &out)
        || out != QLatin1String("true"))
        return false;
    if (!m_runner->run({QStringLiteral("set"), schema, key, value}, nullptr))
        return false;
    if (!m_runner->run({QStringLiteral("get"), schema, key}, &out))
        return false;
    // gsettings prints typed values ("int32 400" for some types); the number
    // is the last word.
    const QString got = out.section(QLatin1Char(' '), -1);
    bool okGot = false, okWant = false;
    const double g = got.toDouble(&okGot);
    const double w = value.toDouble(&okWant);
    return okGot && okWant && std::fabs(g - w) < 1e-6;
}

bool LinuxPointerBackend::setMouseSpeed(int speed)
{
    const QString value = QString::number(pointermap::gnomeSpeed(speed), 'f', 2);
    if (writeGnomeKey(QStringLiteral("speed"), value))
        return true;
    return m_x11 && m_x11->setAcceleration(pointermap::x11Acceleration(speed));
}

bool LinuxPointerBackend::setDoubleClickTime(int ms)
{
    return writeGnomeKey(QStringLiteral("double-click"), QString::number(ms));
}

bool LinuxPointerBackend::setWheelScrollLines(uint)
{
    return false;
}

std::unique_ptr<PointerBackend> createSystemPointerBackend()
{
    return std::make_unique<LinuxPointerBackend>(LinuxPointerBackend::processRunner(),
                                                 LinuxPointerBackend::xlibPointer());
}
