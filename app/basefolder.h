#pragma once

#include <QString>
#include <QStringList>

// Where the program's data tree (modules/) lives. The program works in its
// base folder: every data path is ./modules/... relative to it.
//
// Normally the base folder is the executable's folder. When that folder
// cannot be written (a system install), each user gets a copy of the
// installed tree in their data folder and works there. The copy is brought
// up to date on every start: new installed files are added, files the user
// never changed follow the installed version, and files the user changed or
// removed are left as the user left them.
namespace basefolder {

// The per-user base folder: <dataHome>/<programName>. Empty when dataHome is.
QString userFolder(const QString &dataHome, const QString &programName);

// The record of what was copied, kept in the user's base folder beside
// modules/: one line per file, "<sha1 hex> <path below modules/>".
constexpr char ManifestName[] = ".installed";

// Brings the user's copy (userBase/modules) up to date with the installed
// tree (installedBase/modules). Returns what went wrong, one text per
// problem; an empty list when everything was copied.
QStringList syncUserCopy(const QString &installedBase, const QString &userBase);

struct Choice
{
    QString folder;    // the base folder to work in
    QString message;   // for the user when settings cannot be kept; else empty
};

// The base folder for an executable in `appDir`: appDir itself when it is
// writable, else the synced per-user copy at `userBase`. When the copy
// cannot be made, the program works from appDir (its changes are then not
// kept) and `message` says why.
Choice choose(const QString &appDir, bool appDirWritable, const QString &userBase);

} // namespace basefolder

// The base folder to make current at start for an executable in `appDir`;
// writes a problem to the debug output and warns the user. Platform files:
// basefolder_linux.cpp (per-user copy when needed), basefolder_win.cpp.
QString programBaseFolder(const QString &appDir);
// The same choice without telling anyone: a run without a display reports
// the message itself.
basefolder::Choice programChoice(const QString &appDir);
