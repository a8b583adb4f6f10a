#include "app/profileexchange.h"

#include <QFileInfo>

#include "store/filedialogs.h"
#include "store/namelists.h"
#include "store/profilefiles.h"
#include "store/settingsstore.h"

namespace profileexchange {

namespace {

// Answers both dialogs with the file named on the command line.
class NamedFile : public FileDialogs
{
public:
    explicit NamedFile(const QString &file) : m_file(file) {}
    QString openFileName(const QString &, const QString &, const QString &) override { return m_file; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return m_file; }

private:
    QString m_file;
};

QString quoted(const QString &file)
{
    return QLatin1Char('"') + file + QLatin1Char('"');
}

} // namespace

const QString &nameListPath()
{
    static const QString path = QStringLiteral("./modules/setting/name.bin");
    return path;
}

cmdline::ProfileRows rows()
{
    return cmdline::rowsOf(NameLists(nameListPath()).getNameList(2));
}

bool exportTo(SettingsStore &store, int profile, const QString &file, QString *error)
{
    NamedFile dialogs(file);
    if (ProfileFiles::saveProfile(store, dialogs, profile))
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1").arg(quoted(file));
    return false;
}

bool importFrom(SettingsStore &store, int profile, const QString &file, bool *rowAdded, QString *error)
{
    if (rowAdded)
        *rowAdded = false;
    const QFileInfo info(file);
    NamedFile dialogs(file);
    if (!info.isFile() || !info.isReadable() || !ProfileFiles::loadProfile(store, dialogs, profile)) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(quoted(file));
        return false;
    }
    const cmdline::ProfileRows before = rows();
    const QStringList after = cmdline::withRowFor(before, profile);
    if (after.size() != before.size()) {
        NameLists(nameListPath()).updataNameList(2, after);
        if (rowAdded)
            *rowAdded = true;
    }
    return true;
}

} // namespace profileexchange
