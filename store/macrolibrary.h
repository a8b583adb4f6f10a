#pragma once

#include <QString>
#include <QStringList>

class FileDialogs;
class SettingsStore;

// The macro library: one INI file per macro in one folder, named after the
// macro. Profiles refer to macros by name (mouseMacroKey/<slot>), so renaming
// and deleting also walk the profiles the screens use (the first six).
class MacroLibrary
{
public:
    // macroDir is "./modules/macro" in the program.
    MacroLibrary(const QString &macroDir, SettingsStore &store);

    // A macro name becomes a file name; a name that could reach outside the
    // library or that the file system refuses is not a macro name.
    static bool isValidName(const QString &name);

    QString filePath(const QString &name) const;

    bool createMacroIni(const QString &name, uint macroIndex);
    bool saveMacroIni(const QString &name, const QStringList &macros, const QVariant &repeat);
    QStringList loadMacroIni(const QString &name) const;
    bool deleteMacroIni(const QString &name);
    bool modifyMacroNameUpdateProfile(const QString &oldname, const QString &newname);
    void deleteMacroUpdateProfile(const QString &macroName);
    // Import: false when cancelled or when no macro file of that name exists
    // afterwards. An existing file of that name is kept as it is.
    bool loadMacroFile(FileDialogs &dialogs, const QString &macroFileName);
    // Export: false when cancelled or nothing could be written.
    bool saveMacroFile(FileDialogs &dialogs, const QString &macroFileName);

    // Profiles whose macro references are kept up to date.
    static constexpr int kLinkedProfiles = 6;
    // Entries read from one macro file at most. A macro image holds a few
    // dozen actions; a damaged count must not make the program loop and
    // allocate without bound.
    static constexpr int kMaxEntries = 1000;
    static constexpr int kKeyCount = 16;

private:
    QString m_dir;
    SettingsStore &m_store;
};
