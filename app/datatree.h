#pragma once

#include <QList>
#include <QString>

#include "store/langstrings.h"

// Start-up checks of the installed data tree: what is missing, unreadable or
// damaged, so the user is told which file is at fault instead of finding no
// mouse and no reason. Only reads; nothing is created or repaired.
namespace datatree {

struct Problem
{
    LangStrings::MessageText kind = LangStrings::FileMissing;
    QString file;     // as the program names it: ./modules/...
    QString detail;   // what it means for the program, for the debug line

    // The debug line: "<English message>: <file> (<detail>)".
    QString debugLine() const;
};

// What keeps the device table from being read out of the configuration
// file: missing, unreadable, or holding no device count. None (an empty
// list) when the table can be read, even if it is empty.
QList<Problem> configProblems(const QString &configFile);

// Every problem of the tree below modulesDir ("./modules" in the program):
// the folder itself, the configuration file, and the language file the
// configuration selects.
QList<Problem> startupProblems(const QString &modulesDir);

} // namespace datatree
