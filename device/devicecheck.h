#pragma once

#include <QString>

class Hid_Thread;

namespace devicecheck {

// Which configured mouse is present and answers: reads the device table of
// `configFile`, finds the interfaces present, hands the table to the device
// object (ending a running listener first) and returns the index of the
// first present row whose handshake succeeds, or -1.
int findDevice(Hid_Thread &hid, const QString &configFile);

} // namespace devicecheck
