#include "store/profilefiles.h"

#include "store/filedialogs.h"
#include "store/fileops.h"
#include "store/settingsstore.h"

#include <QDebug>
#include <QSettings>

namespace ProfileFiles {

namespace {

bool isProfile(const SettingsStore &store, int profile, const char *operation)
{
    if (store.profile(profile))
        return true;
    qDebug() << operation << "ignored: no profile" << profile;
    return false;
}

} // namespace

bool resetProfile(SettingsStore &store, int profile)
{
    return store.replaceProfile(profile, store.defaultPath());
}

bool copyProfile(SettingsStore &store, int destprofile, int srcprofile)
{
    if (!isProfile(store, srcprofile, "copyProfile"))
        return false;
    return store.replaceProfile(destprofile, store.profilePath(srcprofile));
}

bool loadProfile(SettingsStore &store, FileDialogs &dialogs, int profile)
{
    if (!isProfile(store, profile, "loadProfile"))
        return false;
    const QString chosen = askImportFile(dialogs, DialogTexts::profileFilter());
    if (chosen.isEmpty())
        return false;
    return store.replaceProfile(profile, chosen);
}

bool saveProfile(SettingsStore &store, FileDialogs &dialogs, int profile)
{
    if (!isProfile(store, profile, "saveProfile"))
        return false;
    const QString chosen = askExportFile(dialogs, DialogTexts::profileFilter());
    if (chosen.isEmpty())
        return false;
    // The exported file must hold what the screen shows, including writes the
    // store has not put on disk yet; a profile that cannot be put on disk
    // would export stale content.
    // (A store keeps the first error it met, so only a write that fails now
    // can be told apart; its pending changes are tried again on every sync.)
    QSettings *source = store.profile(profile);
    const bool wasWritable = source->status() != QSettings::AccessError;
    source->sync();
    if (wasWritable && source->status() == QSettings::AccessError) {
        qDebug() << "saveProfile:" << source->fileName() << "cannot be written; nothing exported";
        return false;
    }
    return FileOps::replaceFile(store.profilePath(profile), chosen);
}

} // namespace ProfileFiles
