// Device detection: which configured mouse is present and answers, and what
// connecting or losing it does to the window.

#include "app/widget.h"

#include <QDebug>

#include "app/datatree.h"
#include "app/devicetable.h"
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
    DeviceTable table = devicetable::read(QString::fromLatin1(kConfigFile));
    devicetable::findPaths(table);

    // The table must not change under a running listener. Checks normally
    // start only while none runs; a direct call while one does ends it first.
    hidThread.stopListener();
    hidThread.waitListener();
    hidThread.deviceTable = table;

    myQQuickView *v = view();
    for (int j = 0; j < table.size(); ++j) {
        if (table.at(j).path.isEmpty())
            continue;
        if (!hidThread.chkDeviceIsEnCode(j))
            continue;

        qDebug("Device Connect");
        if (v)
            v->clearHidBusy();
        deviceConnected = true;
        showBalloon(QStringLiteral("Info"), QStringLiteral("Detect Device"));
        hidThread.startListener(uint(hidThread.currentIndex));
        // A 560 mouse has its profiles read: two, or all five with the gun.
        if (v && v->icType == QLatin1String("560")) {
            for (uint profile = 0; profile < (v->isGun ? 5u : 2u); ++profile)
                v->mouseReadProfile(profile);
        }
        if (v)
            v->setEnabled(true);
        notifyConnected();
        return;
    }

    // An unreadable configuration is no reason to stay silent about it.
    if (table.isEmpty()) {
        for (const datatree::Problem &p : datatree::configProblems(QString::fromLatin1(kConfigFile)))
            qDebug().noquote() << p.debugLine();
    }
    qDebug("Device DisConnect");
    deviceConnected = false;
    setVisible(false);
}
