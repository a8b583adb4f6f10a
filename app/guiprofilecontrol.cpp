#include "app/guiprofilecontrol.h"

#include <QCoreApplication>

#include <QQuickItem>

#include "app/myqquickview.h"
#include "app/profileexchange.h"
#include "app/widget.h"

// Connected, and not pulled out since: the listener ends when the mouse goes.
bool GuiProfileControl::mouseThere() const
{
    return deviceConnected && m_window->device().listening;
}

QQuickItem *GuiProfileControl::root() const
{
    myQQuickView *v = m_window ? m_window->view() : nullptr;
    return v ? v->rootObject() : nullptr;
}

ProfileControl::Status GuiProfileControl::outcome(int failuresBefore) const
{
    // The writes go out on the device thread: the answer waits for the last
    // of them (the window keeps painting), then for the failures they posted.
    m_window->device().queue().call([] {}, 60000);
    QCoreApplication::processEvents();
    return m_window->writeFailureCount() == failuresBefore ? Done : WriteFailed;
}

QList<QPair<int, QString>> GuiProfileControl::profiles() const
{
    return profileexchange::rows();
}

int GuiProfileControl::activeProfile() const
{
    myQQuickView *v = m_window->view();
    return v ? v->store().getGlobalData(QStringLiteral("mouse/profileNo")).toInt() : 0;
}

ProfileControl::Status GuiProfileControl::activateProfile(int profile)
{
    myQQuickView *v = m_window->view();
    if (!mouseThere() || !v)
        return NoMouse;
    const int before = m_window->writeFailureCount();
    if (root()) {
        // The drop-down's own way: the screens send the profile and show it.
        QMetaObject::invokeMethod(root(), "changeProfile", Q_ARG(QVariant, profile));
    } else if (profile != activeProfile()) {
        // Screens let go in the tray: the same operation without them; they
        // read the stored profile when they are built again.
        v->setGlobalData(QStringLiteral("mouse/profileNo"), profile);
        v->setCurrentProfile(profile);
        v->sendActiveProfile();
    }
    return outcome(before);
}

ProfileControl::Status GuiProfileControl::setDpiStage(int stage)
{
    myQQuickView *v = m_window->view();
    if (!mouseThere() || !v)
        return NoMouse;
    const int before = m_window->writeFailureCount();
    v->mouseSetCurrentDPI(uchar(stage));
    const Status s = outcome(before);
    if (s == Done)
        v->setCurrentDPI(stage);   // the DPI panel shows it, as after the DPI button
    return s;
}

ProfileControl::DeviceStatus GuiProfileControl::status()
{
    DeviceStatus s;
    myQQuickView *v = m_window->view();
    s.connected = mouseThere();
    s.activeProfile = activeProfile();
    if (!v)
        return s;
    s.family = v->icType.isEmpty() ? QString()
               : v->icType == QLatin1String("560") ? QStringLiteral("560") : QStringLiteral("553");
    bool ok = false;
    const int rate = v->store().getData(QStringLiteral("mouse/reportRate"), false).toInt(&ok);
    s.reportRate = ok ? cmdline::reportRateHz(rate) : 0;
    // The stage the DPI panel shows (it counts from 0); it follows the mouse.
    if (s.connected && root())
        s.currentStage = root()->property("currentDpiStage").toInt() + 1;
    return s;
}

bool GuiProfileControl::exportProfile(int profile, const QString &file, QString *error)
{
    myQQuickView *v = m_window->view();
    return v && profileexchange::exportTo(v->store(), profile, file, error);
}

bool GuiProfileControl::importProfile(int profile, const QString &file, QString *error)
{
    myQQuickView *v = m_window->view();
    bool rowAdded = false;
    if (!v || !profileexchange::importFrom(v->store(), profile, file, &rowAdded, error))
        return false;
    if (QQuickItem *r = root()) {
        if (rowAdded)
            QMetaObject::invokeMethod(r, "reloadProfiles");
        // The profile in use was replaced: the screens show and send it anew.
        if (profile == activeProfile() && mouseThere()) {
            QMetaObject::invokeMethod(r, "applyProfile", Q_ARG(QVariant, profile));
            outcome(m_window->writeFailureCount());   // the answer follows the writes
        }
    }
    return true;
}
