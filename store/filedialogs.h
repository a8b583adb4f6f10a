#pragma once

#include <QString>

// The open and save dialogs of the import and export operations. The program
// shows the platform's standard dialogs (app/filedialogs_qt.cpp); tests answer
// them with a prepared path or a cancel. An empty result means cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // title and filter are untranslated; the implementation translates them.
    virtual QString openFileName(const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &folder,
                                 const QString &filter) = 0;
};

namespace DialogTexts {
inline const char *openTitle() { return "Open File"; }
inline const char *saveTitle() { return "Save File"; }
inline const char *profileFilter() { return "Profile(*.pf)"; }
inline const char *macroFilter() { return "Macro(*.mc)"; }
// The folder the dialogs start in: the user's desktop (home when there is
// no desktop folder).
QString startFolder();
} // namespace DialogTexts

// The import and export dialogs with their standard titles and start folder,
// for files matching filter. An empty result means cancelled.
QString askImportFile(FileDialogs &dialogs, const char *filter);
QString askExportFile(FileDialogs &dialogs, const char *filter);
