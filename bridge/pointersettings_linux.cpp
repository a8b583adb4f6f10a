#include "bridge/linuxpointerbackend.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <cmath>

#include <X11/Xlib.h>

namespace {

class ProcessRunner : public ToolRunner
{
public:
    bool has(const QString &tool) override
    {
        return !QStandardPaths::findExecutable(tool).isEmpty();
    }

    bool run(const QString &tool, const QStringList &args, QString *output) override
    {
        const QString path = QStandardPaths::findExecutable(tool);
        if (path.isEmpty())
            return false;
        QProcess p;
        // Numbers are read back from the output: no locale's decimal comma.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        p.setProcessEnvironment(env);
        p.start(path, args);
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

class XlibPointer : public X11Pointer
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

    std::optional<pointermap::Acceleration> acceleration() override
    {
        Display *dpy = XOpenDisplay(nullptr);
        if (!dpy)
            return std::nullopt;
        int num = 0, den = 0, threshold = 0;
        XGetPointerControl(dpy, &num, &den, &threshold);
        XCloseDisplay(dpy);
        if (den <= 0)
            return std::nullopt;
        return pointermap::Acceleration{num, den};
    }
};

double parseNumber(const QString &text, bool *ok)
{
    // gsettings prints typed values ("int32 400" for some types); the number
    // is the last word.
    return text.section(QLatin1Char(' '), -1).toDouble(ok);
}

} // namespace

std::unique_ptr<ToolRunner> ToolRunner::process()
{
    return std::make_unique<ProcessRunner>();
}

std::unique_ptr<X11Pointer> X11Pointer::xlib()
{
    return std::make_unique<XlibPointer>();
}

// --- plain X11 ---------------------------------------------------------------

X11PointerBackend::X11PointerBackend(std::unique_ptr<X11Pointer> x11) : m_x11(std::move(x11)) {}

bool X11PointerBackend::setMouseSpeed(int speed)
{
    return m_x11 && m_x11->setAcceleration(pointermap::x11Acceleration(speed));
}

PointerUnavailable X11PointerBackend::unavailable(PointerSetting setting)
{
    return setting == PointerSetting::Speed ? PointerUnavailable::Available
                                            : PointerUnavailable::NotOnThisDesktop;
}

std::optional<int> X11PointerBackend::mouseSpeed()
{
    if (!m_x11)
        return std::nullopt;
    const std::optional<pointermap::Acceleration> a = m_x11->acceleration();
    if (!a)
        return std::nullopt;
    return pointermap::speedFromX11(*a);
}

// --- GNOME's schema ----------------------------------------------------------

GnomePointerBackend::GnomePointerBackend(std::unique_ptr<ToolRunner> runner,
                                         std::unique_ptr<X11Pointer> x11, QStringList schemas,
                                         bool storeReachable)
    : m_runner(std::move(runner)), m_x11(std::move(x11)), m_schemas(std::move(schemas)),
      m_storeReachable(storeReachable)
{
}

GnomePointerBackend::~GnomePointerBackend() = default;

const char *GnomePointerBackend::mouseSchema()
{
    return "org.gnome.desktop.peripherals.mouse";
}

const char *GnomePointerBackend::cinnamonMouseSchema()
{
    return "org.cinnamon.desktop.peripherals.mouse";
}

std::optional<QString> GnomePointerBackend::schemaFor(const QString &key)
{
    // Without a reachable store the tool would start a bus of its own and
    // still keep nothing.
    if (!m_runner || !m_storeReachable)
        return std::nullopt;
    auto known = m_schemaOfKey.constFind(key);
    if (known == m_schemaOfKey.constEnd()) {
        QString found;
        for (const QString &schema : m_schemas) {
            QString out;
            // The schema must exist and the key be writable here.
            if (m_runner->run(QStringLiteral("gsettings"), {QStringLiteral("writable"), schema, key},
                              &out)
                && out == QLatin1String("true")) {
                found = schema;
                break;
            }
        }
        known = m_schemaOfKey.insert(key, found);
    }
    if (known->isEmpty())
        return std::nullopt;
    return *known;
}

std::optional<double> GnomePointerBackend::readKey(const QString &key)
{
    const std::optional<QString> schema = schemaFor(key);
    QString out;
    if (!schema || !m_runner->run(QStringLiteral("gsettings"), {QStringLiteral("get"), *schema, key},
                                  &out))
        return std::nullopt;
    bool ok = false;
    const double v = parseNumber(out, &ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

bool GnomePointerBackend::writeKey(const QString &key, const QString &value)
{
    const std::optional<QString> schema = schemaFor(key);
    if (!schema)
        return false;
    if (!m_runner->run(QStringLiteral("gsettings"), {QStringLiteral("set"), *schema, key, value},
                       nullptr))
        return false;
    const std::optional<double> got = readKey(key);
    return got && std::fabs(*got - value.toDouble()) < 1e-6;
}

bool GnomePointerBackend::setMouseSpeed(int speed)
{
    const QString value = QString::number(pointermap::gnomeSpeed(speed), 'f', 2);
    if (writeKey(QStringLiteral("speed"), value))
        return true;
    return m_x11 && m_x11->setAcceleration(pointermap::x11Acceleration(speed));
}

bool GnomePointerBackend::setDoubleClickTime(int ms)
{
    return writeKey(QStringLiteral("double-click"), QString::number(ms));
}

PointerUnavailable GnomePointerBackend::unavailable(PointerSetting setting)
{
    const PointerUnavailable missing =
        m_storeReachable ? PointerUnavailable::ToolMissing : PointerUnavailable::NoSession;
    switch (setting) {
    case PointerSetting::Speed:
        return schemaFor(QStringLiteral("speed")) || m_x11 ? PointerUnavailable::Available : missing;
    case PointerSetting::DoubleClick:
        return schemaFor(QStringLiteral("double-click")) ? PointerUnavailable::Available : missing;
    case PointerSetting::ScrollLines:
        break;
    }
    return PointerUnavailable::NotOnThisDesktop;
}

std::optional<int> GnomePointerBackend::mouseSpeed()
{
    if (const std::optional<double> v = readKey(QStringLiteral("speed")))
        return pointermap::speedFromGnome(*v);
    return std::nullopt;
}

std::optional<int> GnomePointerBackend::doubleClickTime()
{
    if (const std::optional<double> v = readKey(QStringLiteral("double-click")))
        return int(std::lround(*v));
    return std::nullopt;
}

// --- the choice --------------------------------------------------------------

linuxdesktop::Session linuxdesktop::Session::fromEnvironment()
{
    Session s;
    s.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    s.sessionName = qEnvironmentVariable("DESKTOP_SESSION");
    s.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    s.display = qEnvironmentVariable("DISPLAY");
    s.kdeVersion = qEnvironmentVariable("KDE_SESSION_VERSION");
    s.gsettingsBackend = qEnvironmentVariable("GSETTINGS_BACKEND");
    s.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    s.sessionBus = !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")
                   || (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")));
    return s;
}

std::unique_ptr<PointerBackend> createLinuxPointerBackend(const linuxdesktop::Session &session,
                                                          std::unique_ptr<ToolRunner> runner,
                                                          std::unique_ptr<X11Pointer> x11)
{
    using linuxdesktop::Desktop;
    const Desktop desktop = linuxdesktop::detect(session);
    // The X server's acceleration backs the speed only in an X11 session.
    if (desktop != Desktop::X11 && session.sessionType == QLatin1String("wayland"))
        x11.reset();
    // A settings backend named in the environment needs no bus (dconf does).
    const bool gsettingsReachable = session.sessionBus || !session.gsettingsBackend.isEmpty();
    switch (desktop) {
    case Desktop::Gnome:
        return std::make_unique<GnomePointerBackend>(
            std::move(runner), std::move(x11),
            QStringList{QString::fromLatin1(GnomePointerBackend::mouseSchema())}, gsettingsReachable);
    case Desktop::Cinnamon:
        return std::make_unique<GnomePointerBackend>(
            std::move(runner), std::move(x11),
            QStringList{QString::fromLatin1(GnomePointerBackend::cinnamonMouseSchema()),
                        QString::fromLatin1(GnomePointerBackend::mouseSchema())},
            gsettingsReachable);
    case Desktop::Plasma:
        return std::make_unique<PlasmaPointerBackend>(std::move(runner), session.configHome,
                                                      session.kdeVersion, session.sessionBus);
    case Desktop::Xfce:
        return std::make_unique<XfcePointerBackend>(std::move(runner), std::move(x11),
                                                    session.sessionBus);
    case Desktop::X11:
        return std::make_unique<X11PointerBackend>(std::move(x11));
    case Desktop::Unknown:
        break;
    }
    return std::make_unique<UnavailablePointerBackend>(PointerUnavailable::UnknownDesktop);
}

std::unique_ptr<PointerBackend> createSystemPointerBackend()
{
    return createLinuxPointerBackend(linuxdesktop::Session::fromEnvironment(),
                                     ToolRunner::process(), X11Pointer::xlib());
}
