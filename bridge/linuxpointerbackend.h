#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "bridge/pointersettings.h"

// Linux: each desktop keeps the pointer settings in its own store. The
// desktop is recognised once, from the session's names, and the store is
// reached through the desktop's own command-line tools, so that the desktop
// itself tells running applications about the change.
namespace linuxdesktop {

enum class Desktop {
    Gnome,      // GNOME and desktops on its settings schema (Budgie, Unity, ...)
    Cinnamon,   // its own schema of the same keys
    Plasma,     // KDE Plasma 5 and 6
    Xfce,
    X11,        // some other X11 session: the X server's pointer control only
    Unknown,    // anything else (another Wayland compositor, no display)
};

// What the session says about itself (the environment of a desktop login).
struct Session {
    QString currentDesktop;   // XDG_CURRENT_DESKTOP, colon-separated names
    QString sessionName;      // DESKTOP_SESSION
    QString sessionType;      // XDG_SESSION_TYPE
    QString display;          // DISPLAY
    QString kdeVersion;       // KDE_SESSION_VERSION
    QString gsettingsBackend; // GSETTINGS_BACKEND
    QString configHome;       // the user's configuration folder
    bool sessionBus = false;

    static Session fromEnvironment();
};

Desktop detect(const Session &session);

// The pointing devices Plasma lists in kcminputrc, as nested group paths
// ("Libinput", vendor, product, name); touchpads are left out.
QList<QStringList> plasmaPointerGroups(const QString &kcminputrc);

// The value of one key in a group path of a KDE configuration text.
std::optional<QString> kdeConfigValue(const QString &text, const QStringList &group,
                                      const QString &key);

// The strings of a reply as dbus-send prints it ("string \"event5\"" ...).
QStringList dbusStrings(const QString &reply);

// The devices of Xfce's "pointers" channel, from its property list
// ("/Device_Name/Acceleration" ...); touchpads are left out.
QStringList xfceDevices(const QString &propertyList);

} // namespace linuxdesktop

// Runs the desktop's command-line tools.
class ToolRunner
{
public:
    virtual ~ToolRunner() = default;
    virtual bool has(const QString &tool) = 0;
    // Returns false when the tool could not run or failed; output is its
    // trimmed standard output.
    virtual bool run(const QString &tool, const QStringList &args, QString *output) = 0;

    static std::unique_ptr<ToolRunner> process();
};

// The X server's pointer acceleration.
class X11Pointer
{
public:
    virtual ~X11Pointer() = default;
    // True only when the server reports the new value back.
    virtual bool setAcceleration(const pointermap::Acceleration &a) = 0;
    virtual std::optional<pointermap::Acceleration> acceleration() { return std::nullopt; }

    static std::unique_ptr<X11Pointer> xlib();
};

// The X server's pointer acceleration alone (a plain X11 session).
class X11PointerBackend : public PointerBackend
{
public:
    explicit X11PointerBackend(std::unique_ptr<X11Pointer> x11);
    bool setMouseSpeed(int speed) override;
    bool setDoubleClickTime(int) override { return false; }
    bool setWheelScrollLines(uint) override { return false; }
    PointerUnavailable unavailable(PointerSetting setting) override;
    std::optional<int> mouseSpeed() override;

private:
    std::unique_ptr<X11Pointer> m_x11;
};

// Nothing can be applied; every setting says why.
class UnavailablePointerBackend : public PointerBackend
{
public:
    explicit UnavailablePointerBackend(PointerUnavailable reason) : m_reason(reason) {}
    bool setMouseSpeed(int) override { return false; }
    bool setDoubleClickTime(int) override { return false; }
    bool setWheelScrollLines(uint) override { return false; }
    PointerUnavailable unavailable(PointerSetting) override { return m_reason; }

private:
    PointerUnavailable m_reason;
};

// GNOME's settings schema through the gsettings tool (Cinnamon's schema
// first where given); the X server's acceleration takes the speed where the
// schema cannot. No GNOME setting holds the wheel's line count.
class GnomePointerBackend : public PointerBackend
{
public:
    GnomePointerBackend(std::unique_ptr<ToolRunner> runner, std::unique_ptr<X11Pointer> x11,
                        QStringList schemas = {QString::fromLatin1(mouseSchema())},
                        bool storeReachable = true);
    ~GnomePointerBackend() override;

    bool setMouseSpeed(int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(uint) override { return false; }
    PointerUnavailable unavailable(PointerSetting setting) override;
    std::optional<int> mouseSpeed() override;
    std::optional<int> doubleClickTime() override;

    static const char *mouseSchema();
    static const char *cinnamonMouseSchema();

private:
    // The first schema whose key is writable here (probed once).
    std::optional<QString> schemaFor(const QString &key);
    std::optional<double> readKey(const QString &key);
    // Writes one key and confirms it by reading it back: the tool reports
    // success even when the desktop's store refused the write.
    bool writeKey(const QString &key, const QString &value);

    std::unique_ptr<ToolRunner> m_runner;
    std::unique_ptr<X11Pointer> m_x11;
    QStringList m_schemas;
    bool m_storeReachable;
    QMap<QString, QString> m_schemaOfKey;   // "" when none is writable
};

// Plasma's configuration files (kcminputrc, kdeglobals) through its
// kwriteconfig/kreadconfig tools, then Plasma's change notification so that
// KWin and open applications take the new values.
class PlasmaPointerBackend : public PointerBackend
{
public:
    PlasmaPointerBackend(std::unique_ptr<ToolRunner> runner, QString configHome,
                         QString kdeVersion, bool sessionBus);

    bool setMouseSpeed(int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(uint lines) override;
    PointerUnavailable unavailable(PointerSetting setting) override;
    std::optional<int> mouseSpeed() override;
    std::optional<int> doubleClickTime() override;
    std::optional<uint> wheelScrollLines() override;

private:
    bool write(const QString &file, const QStringList &group, const QString &key,
               const QString &value);
    std::optional<QString> read(const QString &file, const QStringList &group, const QString &key);
    void notifyMouseSettings();
    bool setKWinAcceleration(double value);

    std::unique_ptr<ToolRunner> m_runner;
    QString m_configHome;
    QString m_writeTool;
    QString m_readTool;
    bool m_sessionBus;
};

// Xfce's settings store through xfconf-query: the pointer acceleration of
// each device of the "pointers" channel, the double-click time of the
// "xsettings" channel. Xfce has no wheel line count.
class XfcePointerBackend : public PointerBackend
{
public:
    XfcePointerBackend(std::unique_ptr<ToolRunner> runner, std::unique_ptr<X11Pointer> x11,
                       bool sessionBus);

    bool setMouseSpeed(int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(uint) override { return false; }
    PointerUnavailable unavailable(PointerSetting setting) override;
    std::optional<int> mouseSpeed() override;
    std::optional<int> doubleClickTime() override;

private:
    QStringList devices();
    std::optional<QString> read(const QString &channel, const QString &property);
    bool write(const QString &channel, const QString &property, const QString &type,
               const QString &value);

    std::unique_ptr<ToolRunner> m_runner;
    std::unique_ptr<X11Pointer> m_x11;
    bool m_sessionBus;
    bool m_hasTool;
};

// The backend for a session, chosen once.
std::unique_ptr<PointerBackend> createLinuxPointerBackend(const linuxdesktop::Session &session,
                                                          std::unique_ptr<ToolRunner> runner,
                                                          std::unique_ptr<X11Pointer> x11);
