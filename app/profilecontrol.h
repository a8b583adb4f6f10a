#pragma once

#include <QString>
#include <QStringList>

// What the command line and the game-profile watcher ask of the program: the
// same operations as the screens' top drop-down and the mouse's DPI button.
// One implementation drives the running program (its screens follow), another
// works without a display. Every call is made on the GUI (main) thread.
class ProfileControl
{
public:
    // Also the command line's exit status.
    enum Status { Done = 0, BadArguments = 2, NoMouse = 3, WriteFailed = 4 };

    struct DeviceStatus
    {
        bool connected = false;
        QString family;        // "553" or "560" ("" when unknown)
        int activeProfile = 0; // 0-5, stored mouse/profileNo
        int currentStage = 0;  // 1-8, 0 when unknown
        int reportRate = 0;    // Hz, 0 when unknown
    };

    virtual ~ProfileControl() = default;

    // The profile rows in list order: (number 0-5, name).
    virtual QList<QPair<int, QString>> profiles() const = 0;
    virtual int activeProfile() const = 0;
    // Makes `profile` (0-5) the active profile exactly as the top drop-down
    // does: stores mouse/profileNo and sends the profile whole to the mouse.
    virtual Status activateProfile(int profile) = 0;
    // Sets the current DPI stage (1-8) as the mouse's DPI button would.
    virtual Status setDpiStage(int stage) = 0;
    virtual DeviceStatus status() = 0;
    // Profile exchange files (".pf"), with the screens' rules and atomic
    // replacement; false with a message on failure, leaving files as they were.
    virtual bool exportProfile(int profile, const QString &file, QString *error) = 0;
    virtual bool importProfile(int profile, const QString &file, QString *error) = 0;
};
