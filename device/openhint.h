#pragma once

#include <QString>

// Why opening the HID interface at `path` failed, when it is something the
// user can fix: on Linux a device node the user may not read and write (the
// permission rule is missing). Empty otherwise.
QString openFailureHint(const QString &path);
