// Device detection: which configured mouse is present and answers, and what
// connecting or losing it does to the window.

#include "app/widget.h"

#include <QDebug>

#include "app/datatree.h"
#include "device/devicecheck.h"
#include "app/myqquickview.h"

namespace {
const char kConfigFile[] = "./modules/setting/apConfig.bin";
}

void Widget::deviceChanged()
{
    // A connected device is watched by its listener and never re-examined.
    // The timer is single-shot, so a burst checks once, after its last change.
    if (!hidThread.listening)
        m_checkTimer.start();
}

void Widget::checkDevice()
{
    // A read waits with the window painting; a check started meanwhile would
    // replace the table under this one.
    if (m_checking)
        return;
    m_checking = true;
    const int accepted = devicecheck::findDevice(hidThread, QString::fromLatin1(kConfigFile));
    m_checking = false;

    myQQuickView *v = view();
    if (accepted >= 0) {
        qDebug("Device Connect");
        if (v)
            v->clearHidBusy();
        deviceConnected = true;
        // The family's driver is chosen once, here.
        if (v)
            v->deviceOps().selectDriver();
        showBalloon(QStringLiteral("Info"), QStringLiteral("Detect Device"));
        hidThread.startListener(uint(hidThread.currentIndex));
        // What the family reads once it is connected (560: its profile records).
        if (v)
            v->deviceOps().driver().readOnConnection();
        if (v)
            v->setEnabled(true);
        // What a failed write left undone reaches the mouse now, once.
        if (v)
            v->resendIfWriteFailed();
        notifyConnected();
        return;
    }

    // An unreadable configuration is no reason to stay silent about it.
    if (hidThread.deviceTable.isEmpty()) {
        for (const datatree::Problem &p : datatree::configProblems(QString::fromLatin1(kConfigFile)))
            qDebug().noquote() << p.debugLine();
    }
    qDebug("Device DisConnect");
    deviceConnected = false;
    setVisible(false);
}
