#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include "app/profilecontrol.h"

// The program's command line: parsing, running a command against a
// ProfileControl, and the texts it prints. Everything here is plain and
// needs no display; main.cpp decides where a command runs.
namespace cmdline {

enum class Action {
    None,           // no options: the program starts as usual
    Help,
    Version,
    Profile,        // --profile N|NAME
    DpiStage,       // --dpi-stage N
    ListProfiles,
    Status,
    ExportProfile,  // --export-profile N FILE
    ImportProfile   // --import-profile N FILE
};

struct Command
{
    Action action = Action::None;
    QString profile;    // --profile's argument as given
    int number = -1;    // the stage of --dpi-stage, the profile of export/import
    QString file;
    bool json = false;
};

struct Parsed
{
    Command command;
    QString error;      // not empty: bad arguments, exit status 2
};

// What running a command gives: the exit status and the texts for standard
// output and standard error.
struct Result
{
    int status = ProfileControl::Done;
    QString out;
    QString err;
};

using ProfileRows = QList<QPair<int, QString>>;

constexpr int MaxProfiles = 6;   // profile numbers 0-5
constexpr int MaxStage = 8;

// `arguments` without the program name.
Parsed parse(const QStringList &arguments);
// The arguments that give `command` again (to forward it).
QStringList arguments(const Command &command);
// Whether the command needs the program's data and device (not help/version).
bool needsProgram(const Command &command);

QString usage();
QString versionText();

// The stored profile list (name list 2, "<name><digit>" per row) as rows;
// a lone marker after a single entry is dropped, an empty list is the
// standard profile alone.
ProfileRows rowsOf(const QVariantList &stored);
// The rows for a name list with `number` added when no row has it, named
// like the screens name a new row ("profile_<i>"); unchanged otherwise.
QStringList withRowFor(const ProfileRows &rows, int number);
// N (a number with a row) or NAME (a row's exact name) to the profile
// number; -1 with a message naming the argument when there is none.
int resolveProfile(const QString &argument, const ProfileRows &rows, QString *error);

// The report rate setting (list index 0-3) in Hz.
int reportRateHz(int index);

QString formatProfiles(const ProfileRows &rows, int active, bool json);
QString formatStatus(const ProfileControl::DeviceStatus &status, const ProfileRows &rows, bool json);

// Runs a parsed command that needs the program.
Result run(const Command &command, ProfileControl &control);
// Parses and runs; help and version are answered here as well.
Result run(const QStringList &arguments, ProfileControl *control);

} // namespace cmdline
