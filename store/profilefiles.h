#pragma once

#include <QString>

class FileDialogs;
class SettingsStore;

// Whole-file operations on the profile files: reset to the factory profile,
// copy between profiles, import and export of ".pf" exchange files. A profile
// file is only ever replaced by a complete copy; when the source cannot be
// read the profile and its open store stay as they were.
namespace ProfileFiles {

bool resetProfile(SettingsStore &store, int profile);
bool copyProfile(SettingsStore &store, int destprofile, int srcprofile);
// False when the dialog was cancelled or nothing could be imported.
bool loadProfile(SettingsStore &store, FileDialogs &dialogs, int profile);
// False when cancelled or the file could not be written (an existing file of
// the chosen name is then left as it was).
bool saveProfile(SettingsStore &store, FileDialogs &dialogs, int profile);

} // namespace ProfileFiles
