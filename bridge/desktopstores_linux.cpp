// Recognising the desktop, and the stores of Plasma and Xfce.
#include "bridge/linuxpointerbackend.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace linuxdesktop {

namespace {

std::optional<Desktop> desktopNamed(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("kde") || n.startsWith(QLatin1String("plasma")))
        return Desktop::Plasma;
    if (n == QLatin1String("x-cinnamon") || n == QLatin1String("cinnamon"))
        return Desktop::Cinnamon;
    if (n == QLatin1String("xfce") || n == QLatin1String("xfce4"))
        return Desktop::Xfce;
    // Desktops built on GNOME's settings schema.
    static const char *const gnomeLike[] = {"gnome", "gnome-classic", "gnome-flashback", "ubuntu",
                                            "budgie", "budgie-desktop", "unity", "pantheon", "pop"};
    for (const char *g : gnomeLike)
        if (n == QLatin1String(g))
            return Desktop::Gnome;
    return std::nullopt;
}

bool isTouchpad(const QString &name)
{
    return name.contains(QLatin1String("touchpad"), Qt::CaseInsensitive)
           || name.contains(QLatin1String("trackpad"), Qt::CaseInsensitive);
}

// "[Libinput][1133][49271][Name]" -> the group path; empty when no header.
QStringList groupOfHeader(const QString &line)
{
    static const QRegularExpression part(QStringLiteral("\\[([^\\]]*)\\]"));
    if (!line.startsWith(QLatin1Char('[')))
        return {};
    QStringList path;
    auto it = part.globalMatch(line);
    while (it.hasNext())
        path << it.next().captured(1);
    return path;
}

} // namespace

Desktop detect(const Session &session)
{
    // The first name the session gives that is known decides ("ubuntu:GNOME").
    for (const QString &name : session.currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (const std::optional<Desktop> d = desktopNamed(name))
            return *d;
    if (const std::optional<Desktop> d = desktopNamed(session.sessionName))
        return *d;
    if (session.sessionType != QLatin1String("wayland") && !session.display.isEmpty())
        return Desktop::X11;
    return Desktop::Unknown;
}

QList<QStringList> plasmaPointerGroups(const QString &kcminputrc)
{
    QList<QStringList> groups;
    for (const QString &line : kcminputrc.split(QLatin1Char('\n'))) {
        const QStringList path = groupOfHeader(line.trimmed());
        if (path.size() == 4 && path.first() == QLatin1String("Libinput") && !isTouchpad(path.last())
            && !groups.contains(path))
            groups << path;
    }
    return groups;
}

std::optional<QString> kdeConfigValue(const QString &text, const QStringList &group,
                                      const QString &key)
{
    QStringList current;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            current = groupOfHeader(line);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && current == group && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

QStringList dbusStrings(const QString &reply)
{
    static const QRegularExpression string(QStringLiteral("string \"([^\"]*)\""));
    QStringList strings;
    auto it = string.globalMatch(reply);
    while (it.hasNext())
        strings << it.next().captured(1);
    return strings;
}

QStringList xfceDevices(const QString &propertyList)
{
    QStringList devices;
    for (const QString &line : propertyList.split(QLatin1Char('\n'))) {
        const QStringList parts = line.trimmed().split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (parts.size() >= 2 && !isTouchpad(parts.first()) && !devices.contains(parts.first()))
            devices << parts.first();
    }
    return devices;
}

} // namespace linuxdesktop

// --- Plasma --------------------------------------------------------------------

namespace {

const QString kcminputrc = QStringLiteral("kcminputrc");
const QString kdeglobals = QStringLiteral("kdeglobals");
const QStringList kdeGroup{QStringLiteral("KDE")};
const QStringList mouseGroup{QStringLiteral("Mouse")};
// Plasma on X11 applies this one to every pointer (libinput driver).
const QString globalAcceleration = QStringLiteral("XLbInptPointerAcceleration");
const QString deviceAcceleration = QStringLiteral("PointerAcceleration");
const QString doubleClickKey = QStringLiteral("DoubleClickInterval");
const QString wheelLinesKey = QStringLiteral("WheelScrollLines");
// Plasma's own defaults, what an absent key means.
constexpr int plasmaDoubleClickDefault = 400;
constexpr uint plasmaWheelLinesDefault = 3;

QStringList groupArgs(const QStringList &group)
{
    QStringList args;
    for (const QString &g : group)
        args << QStringLiteral("--group") << g;
    return args;
}

} // namespace

PlasmaPointerBackend::PlasmaPointerBackend(std::unique_ptr<ToolRunner> runner, QString configHome,
                                           QString kdeVersion, bool sessionBus)
    : m_runner(std::move(runner)), m_configHome(std::move(configHome)), m_sessionBus(sessionBus)
{
    // The tools of the running Plasma first; either reads the same files.
    const QString mine = kdeVersion == QLatin1String("6") ? QStringLiteral("6") : QStringLiteral("5");
    const QString other = mine == QLatin1String("6") ? QStringLiteral("5") : QStringLiteral("6");
    for (const QString &v : {mine, other}) {
        if (m_runner && m_runner->has(QStringLiteral("kwriteconfig") + v)
            && m_runner->has(QStringLiteral("kreadconfig") + v)) {
            m_writeTool = QStringLiteral("kwriteconfig") + v;
            m_readTool = QStringLiteral("kreadconfig") + v;
            break;
        }
    }
}

PointerUnavailable PlasmaPointerBackend::unavailable(PointerSetting)
{
    return m_writeTool.isEmpty() ? PointerUnavailable::ToolMissing : PointerUnavailable::Available;
}

std::optional<QString> PlasmaPointerBackend::read(const QString &file, const QStringList &group,
                                                  const QString &key)
{
    QString out;
    if (m_readTool.isEmpty()
        || !m_runner->run(m_readTool,
                          QStringList{QStringLiteral("--file"), file} + groupArgs(group)
                              + QStringList{QStringLiteral("--key"), key},
                          &out))
        return std::nullopt;
    return out;
}

bool PlasmaPointerBackend::write(const QString &file, const QStringList &group, const QString &key,
                                 const QString &value)
{
    if (m_writeTool.isEmpty())
        return false;
    m_runner->run(m_writeTool,
                  QStringList{QStringLiteral("--file"), file} + groupArgs(group)
                      + QStringList{QStringLiteral("--key"), key, QStringLiteral("--"), value},
                  nullptr);
    // The tool says yes even when the file could not be written.
    return read(file, group, key) == value;
}

void PlasmaPointerBackend::notifyMouseSettings()
{
    if (!m_sessionBus)
        return;
    // KGlobalSettings' "settings changed, mouse": KWin re-reads the input
    // devices' settings, Plasma's Qt integration the double-click interval
    // and the wheel's line count of open applications.
    m_runner->run(QStringLiteral("dbus-send"),
                  {QStringLiteral("--session"), QStringLiteral("--type=signal"),
                   QStringLiteral("/KGlobalSettings"),
                   QStringLiteral("org.kde.KGlobalSettings.notifyChange"), QStringLiteral("int32:3"),
                   QStringLiteral("int32:0")},
                  nullptr);
}

// KWin's input devices on Wayland (its D-Bus device list; there is none on
// X11): each pointer that is no touchpad takes the acceleration at once, and
// KWin keeps it in kcminputrc itself. True when every one took it.
bool PlasmaPointerBackend::setKWinAcceleration(double value)
{
    if (!m_sessionBus)
        return true;
    const QString manager = QStringLiteral("/org/kde/KWin/InputDevice");
    auto property = [this](const QString &path, const QString &iface, const QString &name) {
        QString out;
        m_runner->run(QStringLiteral("dbus-send"),
                      {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                       QStringLiteral("--dest=org.kde.KWin"), path,
                       QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                       QStringLiteral("string:") + iface, QStringLiteral("string:") + name},
                      &out);
        return out;
    };
    const QString device = QStringLiteral("org.kde.KWin.InputDevice");
    bool ok = true;
    const QStringList sysNames = linuxdesktop::dbusStrings(
        property(manager, QStringLiteral("org.kde.KWin.InputDeviceManager"),
                 QStringLiteral("devicesSysNames")));
    for (const QString &sysName : sysNames) {
        const QString path = manager + QLatin1Char('/') + sysName;
        if (!property(path, device, QStringLiteral("pointer")).endsWith(QLatin1String("true"))
            || property(path, device, QStringLiteral("touchpad")).endsWith(QLatin1String("true")))
            continue;
        m_runner->run(QStringLiteral("dbus-send"),
                      {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                       QStringLiteral("--dest=org.kde.KWin"), path,
                       QStringLiteral("org.freedesktop.DBus.Properties.Set"),
                       QStringLiteral("string:") + device, QStringLiteral("string:pointerAcceleration"),
                       QStringLiteral("variant:double:") + QString::number(value, 'f', 3)},
                      nullptr);
        bool read = false;
        const double got = property(path, device, QStringLiteral("pointerAcceleration"))
                               .section(QLatin1Char(' '), -1).toDouble(&read);
        ok = read && std::fabs(got - value) < 1e-3 && ok;
    }
    return ok;
}

bool PlasmaPointerBackend::setMouseSpeed(int speed)
{
    const QString value = QString::number(pointermap::gnomeSpeed(speed), 'f', 3);
    QFile file(QDir(m_configHome).filePath(kcminputrc));
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    bool ok = write(kcminputrc, mouseGroup, globalAcceleration, value);
    for (const QStringList &group : linuxdesktop::plasmaPointerGroups(text))
        ok = write(kcminputrc, group, deviceAcceleration, value) && ok;
    ok = setKWinAcceleration(pointermap::gnomeSpeed(speed)) && ok;
    if (ok)
        notifyMouseSettings();
    return ok;
}

bool PlasmaPointerBackend::setDoubleClickTime(int ms)
{
    const bool ok = write(kdeglobals, kdeGroup, doubleClickKey, QString::number(ms));
    if (ok)
        notifyMouseSettings();
    return ok;
}

bool PlasmaPointerBackend::setWheelScrollLines(uint lines)
{
    const bool ok = write(kdeglobals, kdeGroup, wheelLinesKey, QString::number(lines));
    if (ok)
        notifyMouseSettings();
    return ok;
}

std::optional<int> PlasmaPointerBackend::mouseSpeed()
{
    if (m_readTool.isEmpty())
        return std::nullopt;
    QFile file(QDir(m_configHome).filePath(kcminputrc));
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    // A mouse of its own first, then the global value, then libinput's 0.
    std::optional<QString> value;
    const QList<QStringList> groups = linuxdesktop::plasmaPointerGroups(text);
    if (!groups.isEmpty())
        value = linuxdesktop::kdeConfigValue(text, groups.first(), deviceAcceleration);
    if (!value)
        value = linuxdesktop::kdeConfigValue(text, mouseGroup, globalAcceleration);
    bool ok = false;
    const double v = value ? value->toDouble(&ok) : 0.0;
    return pointermap::speedFromGnome(ok ? v : 0.0);
}

std::optional<int> PlasmaPointerBackend::doubleClickTime()
{
    const std::optional<QString> v = read(kdeglobals, kdeGroup, doubleClickKey);
    if (!v)
        return std::nullopt;
    bool ok = false;
    const int ms = v->toInt(&ok);
    return ok ? ms : plasmaDoubleClickDefault;
}

std::optional<uint> PlasmaPointerBackend::wheelScrollLines()
{
    const std::optional<QString> v = read(kdeglobals, kdeGroup, wheelLinesKey);
    if (!v)
        return std::nullopt;
    bool ok = false;
    const uint lines = v->toUInt(&ok);
    return ok && lines > 0 ? lines : plasmaWheelLinesDefault;
}

// --- Xfce ----------------------------------------------------------------------

namespace {
const QString pointersChannel = QStringLiteral("pointers");
const QString xsettingsChannel = QStringLiteral("xsettings");
const QString doubleClickProperty = QStringLiteral("/Net/DoubleClickTime");
QString accelerationProperty(const QString &device)
{
    return QLatin1Char('/') + device + QStringLiteral("/Acceleration");
}
} // namespace

XfcePointerBackend::XfcePointerBackend(std::unique_ptr<ToolRunner> runner,
                                       std::unique_ptr<X11Pointer> x11, bool sessionBus)
    : m_runner(std::move(runner)), m_x11(std::move(x11)), m_sessionBus(sessionBus),
      m_hasTool(m_runner && m_runner->has(QStringLiteral("xfconf-query")))
{
}

PointerUnavailable XfcePointerBackend::unavailable(PointerSetting setting)
{
    if (setting == PointerSetting::ScrollLines)
        return PointerUnavailable::NotOnThisDesktop;
    if (!m_hasTool)
        return PointerUnavailable::ToolMissing;
    // Xfce's store is a service on the session bus.
    return m_sessionBus ? PointerUnavailable::Available : PointerUnavailable::NoSession;
}

QStringList XfcePointerBackend::devices()
{
    QString out;
    if (!m_runner->run(QStringLiteral("xfconf-query"),
                       {QStringLiteral("-c"), pointersChannel, QStringLiteral("-l")}, &out))
        return {};
    return linuxdesktop::xfceDevices(out);
}

std::optional<QString> XfcePointerBackend::read(const QString &channel, const QString &property)
{
    QString out;
    if (!m_runner->run(QStringLiteral("xfconf-query"),
                       {QStringLiteral("-c"), channel, QStringLiteral("-p"), property}, &out))
        return std::nullopt;
    return out;
}

bool XfcePointerBackend::write(const QString &channel, const QString &property, const QString &type,
                               const QString &value)
{
    // -n creates the property where Xfce has not written it yet.
    if (!m_runner->run(QStringLiteral("xfconf-query"),
                       {QStringLiteral("-c"), channel, QStringLiteral("-p"), property,
                        QStringLiteral("-n"), QStringLiteral("-t"), type, QStringLiteral("-s"), value},
                       nullptr))
        return false;
    const std::optional<QString> got = read(channel, property);
    bool ok = false;
    return got && std::fabs(got->toDouble(&ok) - value.toDouble()) < 1e-6 && ok;
}

bool XfcePointerBackend::setMouseSpeed(int speed)
{
    if (unavailable(PointerSetting::Speed) != PointerUnavailable::Available)
        return false;
    const QStringList listed = devices();
    // Xfce keeps the acceleration per device, and only for devices its
    // settings dialog has seen; with none listed the X server takes it.
    if (listed.isEmpty())
        return m_x11 && m_x11->setAcceleration(pointermap::x11Acceleration(speed));
    const QString value = QString::number(pointermap::xfceAcceleration(speed), 'f', 1);
    bool ok = true;
    for (const QString &device : listed)
        ok = write(pointersChannel, accelerationProperty(device), QStringLiteral("double"), value) && ok;
    return ok;
}

bool XfcePointerBackend::setDoubleClickTime(int ms)
{
    return unavailable(PointerSetting::DoubleClick) == PointerUnavailable::Available
           && write(xsettingsChannel, doubleClickProperty, QStringLiteral("int"), QString::number(ms));
}

std::optional<int> XfcePointerBackend::mouseSpeed()
{
    if (unavailable(PointerSetting::Speed) != PointerUnavailable::Available)
        return std::nullopt;
    const QStringList listed = devices();
    if (listed.isEmpty()) {
        const std::optional<pointermap::Acceleration> a =
            m_x11 ? m_x11->acceleration() : std::nullopt;
        return a ? std::optional<int>(pointermap::speedFromX11(*a)) : std::nullopt;
    }
    const std::optional<QString> v = read(pointersChannel, accelerationProperty(listed.first()));
    bool ok = false;
    const double a = v ? v->toDouble(&ok) : 0.0;
    return ok ? std::optional<int>(pointermap::speedFromXfce(a)) : std::nullopt;
}

std::optional<int> XfcePointerBackend::doubleClickTime()
{
    if (unavailable(PointerSetting::DoubleClick) != PointerUnavailable::Available)
        return std::nullopt;
    const std::optional<QString> v = read(xsettingsChannel, doubleClickProperty);
    bool ok = false;
    const int ms = v ? v->toInt(&ok) : 0;
    return ok ? std::optional<int>(ms) : std::nullopt;
}
