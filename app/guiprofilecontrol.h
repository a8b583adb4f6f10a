#pragma once

#include "app/profilecontrol.h"

class Widget;
class QQuickItem;

// ProfileControl of the running program: every operation goes the way of the
// screens, so they follow (the top drop-down, the DPI panel).
class GuiProfileControl : public ProfileControl
{
public:
    explicit GuiProfileControl(Widget *window) : m_window(window) {}

    QList<QPair<int, QString>> profiles() const override;
    int activeProfile() const override;
    Status activateProfile(int profile) override;
    Status setDpiStage(int stage) override;
    DeviceStatus status() override;
    bool exportProfile(int profile, const QString &file, QString *error) override;
    bool importProfile(int profile, const QString &file, QString *error) override;

private:
    bool mouseThere() const;
    QQuickItem *root() const;
    // Done, or WriteFailed when a write failed since `failuresBefore`.
    Status outcome(int failuresBefore) const;

    Widget *m_window;
};
