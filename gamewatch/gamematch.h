#pragma once

#include <QList>
#include <QString>

#include "gamewatch/processlist.h"
#include "store/gamebindings.h"

// Whether a process is a bound program. Pure functions over what the process
// list gives, so every rule is testable without processes.
namespace gamematch {

// A program text naming a folder or file (it holds a separator) rather than
// an executable's name.
bool isPath(const QString &program);

// A path compared in one form: backslashes as slashes, Wine's drive Z: (the
// Linux root) dropped, so "Z:\games\x.exe" and "/games/x.exe" are the same.
QString normalisedPath(const QString &path);

// A name binding: the basename of the executable, of argv[0] or of any
// argument (after its last / or \) equals the name, or the short name does
// when the name fits in it. Names ending in ".exe" compare without case
// (Windows programs under Wine).
bool matchesName(const QString &name, const ProcessInfo &process);

// A path binding: the executable or any argument is the path or lies below
// it (whole path segments only: "/games/x" does not take "/games/xy").
// Windows-style arguments compare without case.
bool matchesPath(const QString &path, const ProcessInfo &process);

bool matches(const QString &program, const ProcessInfo &process);

// The binding a process answers to, or -1. Where several do, the longest
// program text (the most specific) wins.
int bindingFor(const QList<GameBinding> &bindings, const ProcessInfo &process);

} // namespace gamematch
