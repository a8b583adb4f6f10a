#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "bridge/pointersettings.h"

// Linux: GNOME's settings (through the gsettings tool) where the desktop has
// them, X11 pointer acceleration as the fallback for the pointer speed. No
// Linux desktop setting holds the wheel's line count, so that one is refused.
class LinuxPointerBackend : public PointerBackend
{
public:
    // Runs the gsettings tool; returns false when it could not run or failed.
    class Runner
    {
    public:
        virtual ~Runner() = default;
        virtual bool run(const QStringList &args, QString *output) = 0;
    };
    // Sets the X server's pointer acceleration; true only when the server
    // reports the new value back.
    class X11Pointer
    {
    public:
        virtual ~X11Pointer() = default;
        virtual bool setAcceleration(const pointermap::Acceleration &a) = 0;
    };

    static std::unique_ptr<Runner> processRunner();
    static std::unique_ptr<X11Pointer> xlibPointer();

    LinuxPointerBackend(std::unique_ptr<Runner> runner, std::unique_ptr<X11Pointer> x11);
    ~LinuxPointerBackend() override;

    bool setMouseSpeed(int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(uint lines) override;

    static const char *mouseSchema();

private:
    // Writes one key and confirms it by reading it back: the tool reports
    // success even when the desktop's store refused the write.
    bool writeGnomeKey(const QString &key, const QString &value);

    std::unique_ptr<Runner> m_runner;
    std::unique_ptr<X11Pointer> m_x11;
};
