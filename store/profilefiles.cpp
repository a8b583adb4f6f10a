#include "store/profilefiles.h"

#include "store/filedialogs.h"
#include "store/fileops.h"
#include "store/settingsstore.h"

#include <QDebug>

namespace ProfileFiles {

bool resetProfile(SettingsStore &store, int profile)
{
    return store.replaceProfile(profile, store.defaultPath());
}

bool copyProfile(SettingsStore &store, int destprofile, int srcprofile)
{
    if (!store.profile(srcprofile)) {
        qDebug() << "copyProfile ignored: no profile" << srcprofile;
        return false;
    }
    return store.replaceProfile(destprofile, store.profilePath(srcprofile));
}

bool loadProfile(SettingsStore &store, FileDialogs &dialogs, int profile)
{
    if (!store.profile(profile)) {
        qDebug() << "loadProfile ignored: no profile" << profile;
        return false;
    }
    const QString chosen = dialogs.openFileName(QString::fromLatin1(DialogTexts::openTitle()),
                                                DialogTexts::startFolder(),
                                                QString::fromLatin1(DialogTexts::profileFilter()));
    if (chosen.isEmpty())
        return false;
    return store.replaceProfile(profile, chosen);
}

bool saveProfile(SettingsStore &store, FileDialogs &dialogs, int profile)
{
    if (!store.profile(profile)) {
        qDebug() << "saveProfile ignored: no profile" << profile;
        return false;
    }
    const QString chosen = dialogs.saveFileName(QString::fromLatin1(DialogTexts::saveTitle()),
                                                DialogTexts::startFolder(),
                                                QString::fromLatin1(DialogTexts::profileFilter()));
    if (chosen.isEmpty())
        return false;
    // The exported file must hold what the screen shows, including writes the
    // store has not put on disk yet.
    store.profile(profile)->sync();
    return FileOps::replaceFile(store.profilePath(profile), chosen);
}

} // namespace ProfileFiles
