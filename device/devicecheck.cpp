#include "devicecheck.h"

#include "devicetable.h"
#include "hid_thread.h"

namespace devicecheck {

int findDevice(Hid_Thread &hid, const QString &configFile)
{
    DeviceTable table = devicetable::read(configFile);
    devicetable::findPaths(table);

    // The table must not change under a running listener. Checks normally
    // start only while none runs; a direct call while one does ends it first.
    hid.stopListener();
    hid.waitListener();
    // In the queue's order: commands still queued for the old table go out
    // first, and the wait lets the window paint.
    hid.queue().call([&hid, table] { hid.deviceTable = table; }, Hid_Thread::ReadWaitMs);

    for (int j = 0; j < table.size(); ++j) {
        if (table.at(j).path.isEmpty())
            continue;
        if (hid.chkDeviceIsEnCode(j))
            return j;
    }
    return -1;
}

} // namespace devicecheck
