#include "device/openhint.h"

QString openFailureHint(const QString &)
{
    // Any user may open HID devices there.
    return {};
}
