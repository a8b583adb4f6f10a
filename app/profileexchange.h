#pragma once

#include <QString>

#include "app/cmdline.h"

class SettingsStore;

// The command line's profile operations on the files, shared by the running
// program and the one without a display: the screens' export and import
// (atomic replacement) without their dialogs, and the profile list.
namespace profileexchange {

const QString &nameListPath();   // ./modules/setting/name.bin
cmdline::ProfileRows rows();

// Writes profile `profile` to `file`; an existing file stays as it was when
// that fails.
bool exportTo(SettingsStore &store, int profile, const QString &file, QString *error);
// Replaces profile `profile` by `file`, leaving it as it was on failure. A
// profile without a row gets one, as the screens' Import gives it;
// `rowAdded` tells whether it did.
bool importFrom(SettingsStore &store, int profile, const QString &file, bool *rowAdded, QString *error);

} // namespace profileexchange
