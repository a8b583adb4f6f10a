#include "app/basefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include "store/fileops.h"

namespace basefolder {

namespace {

using Manifest = QHash<QString, QByteArray>;   // path below modules/ -> sha1 hex

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&f))
        return {};
    return hash.result().toHex();
}

Manifest readManifest(const QString &path)
{
    Manifest m;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return m;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        const int space = line.indexOf(' ');
        if (space == 40)   // a sha1 in hex, then the path
            m.insert(QString::fromUtf8(line.mid(space + 1)), line.left(space));
    }
    return m;
}

bool writeManifest(const QString &path, const Manifest &m)
{
    QStringList paths = m.keys();
    paths.sort();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    for (const QString &p : paths)
        f.write(m.value(p) + ' ' + p.toUtf8() + '\n');
    return f.commit();
}

} // namespace

QString userFolder(const QString &dataHome, const QString &programName)
{
    if (dataHome.isEmpty())
        return {};
    return QDir(dataHome).filePath(programName);
}

QStringList syncUserCopy(const QString &installedBase, const QString &userBase)
{
    const QString source = QDir(installedBase).filePath(QStringLiteral("modules"));
    const QString target = QDir(userBase).filePath(QStringLiteral("modules"));
    if (!QFileInfo(source).isDir())
        return {QStringLiteral("the installed data folder %1 is missing").arg(source)};
    if (!QDir().mkpath(target))
        return {QStringLiteral("cannot create the folder %1").arg(target)};

    QStringList problems;
    const QString manifestPath = QDir(userBase).filePath(QLatin1String(ManifestName));
    const Manifest copied = readManifest(manifestPath);
    Manifest next = copied;

    const QDir sourceDir(source);
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = sourceDir.relativeFilePath(from);
        const QString to = QDir(target).filePath(rel);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(to))
                problems << QStringLiteral("cannot create the folder %1").arg(to);
            continue;
        }
        const QByteArray installed = fileHash(from);
        if (installed.isEmpty()) {
            problems << QStringLiteral("cannot read %1").arg(from);
            continue;
        }
        const QByteArray recorded = copied.value(rel);
        bool copy = false;
        if (!QFileInfo::exists(to)) {
            // A file copied before and now gone was removed by the user.
            copy = recorded.isEmpty();
        } else if (recorded.isEmpty()) {
            // Not copied by us: the user's, unless it is the same file.
            if (fileHash(to) == installed)
                next.insert(rel, installed);
        } else if (recorded != installed) {
            // A newer installed version replaces only what the user left alone.
            copy = fileHash(to) == recorded;
        }
        if (!copy)
            continue;
        // Replaced in one step: an interrupted start never leaves a
        // half-written settings file.
        if (FileOps::replaceFile(from, to))
            next.insert(rel, installed);
        else
            problems << QStringLiteral("cannot write %1").arg(to);
    }

    if (next != copied && !writeManifest(manifestPath, next))
        problems << QStringLiteral("cannot write %1").arg(manifestPath);
    return problems;
}

Choice choose(const QString &appDir, bool appDirWritable, const QString &userBase)
{
    if (appDirWritable)
        return {appDir, {}};
    const QString fallback =
        QStringLiteral("Settings cannot be saved: %1. Working from the installed settings in %2;"
                       " changes are lost when the program ends.");
    if (userBase.isEmpty())
        return {appDir, fallback.arg(QStringLiteral("there is no home folder"), appDir)};

    const QStringList problems = syncUserCopy(appDir, userBase);
    const QFileInfo modules(QDir(userBase).filePath(QStringLiteral("modules")));
    if (!modules.isDir() || !modules.isWritable()) {
        const QString why = problems.isEmpty()
            ? QStringLiteral("the folder %1 is not writable").arg(modules.filePath())
            : problems.join(QStringLiteral("; "));
        return {appDir, fallback.arg(why, appDir)};
    }
    if (!problems.isEmpty())
        return {userBase, QStringLiteral("Some settings files could not be updated from %1: %2.")
                              .arg(appDir, problems.join(QStringLiteral("; ")))};
    return {userBase, {}};
}

} // namespace basefolder
