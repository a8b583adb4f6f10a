#include "store/filedialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DialogTexts {

QString startFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // A folder that does not exist would make the dialogs offer its name as
    // the file name; start at home then.
    return QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

} // namespace DialogTexts

QString askImportFile(FileDialogs &dialogs, const char *filter)
{
    return dialogs.openFileName(QString::fromLatin1(DialogTexts::openTitle()),
                                DialogTexts::startFolder(), QString::fromLatin1(filter));
}

QString askExportFile(FileDialogs &dialogs, const char *filter)
{
    return dialogs.saveFileName(QString::fromLatin1(DialogTexts::saveTitle()),
                                DialogTexts::startFolder(), QString::fromLatin1(filter));
}
