#include "store/fileops.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace {

// QSettings keeps one cached copy of each INI file per process and trusts it
// while the file's size and modification time look unchanged. A file we put in
// place with the same size and time as the cached one would be read as the
// old content. Every file made here therefore gets a modification time later
// than the file it replaces had (even one dated in the future), later than
// now, and strictly increasing across calls.
QDateTime freshModificationTime(const QString &replaced)
{
    static qint64 lastAssigned = 0;
    qint64 t = QDateTime::currentMSecsSinceEpoch() + 1;
    const QFileInfo old(replaced);
    if (old.exists())
        t = qMax(t, old.lastModified().toMSecsSinceEpoch() + 1);
    if (t <= lastAssigned)
        t = lastAssigned + 1;
    lastAssigned = t;
    return QDateTime::fromMSecsSinceEpoch(t, Qt::UTC);
}

bool readAll(const QString &path, QByteArray &data)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    data = in.readAll();
    return in.error() == QFileDevice::NoError;
}

} // namespace

namespace FileOps {

bool replaceFile(const QString &source, const QString &target)
{
    QByteArray data;
    if (!readAll(source, data))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(data) != data.size() || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    out.setFileTime(freshModificationTime(target), QFileDevice::FileModificationTime);
    return out.commit();
}

bool copyNewFile(const QString &source, const QString &target)
{
    if (QFileInfo::exists(target))
        return false;
    QByteArray data;
    if (!readAll(source, data))
        return false;
    const QFileInfo targetInfo(target);
    QTemporaryFile tmp(targetInfo.absolutePath() + QStringLiteral("/.")
                       + targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    if (!tmp.open())
        return false;
    if (tmp.write(data) != data.size() || !tmp.flush())
        return false;
    tmp.setFileTime(freshModificationTime(target), QFileDevice::FileModificationTime);
    tmp.close();
    // QFile::rename refuses an existing target, so a file that appeared in
    // the meantime is kept as well.
    if (!QFile::rename(tmp.fileName(), target))
        return false;
    tmp.setAutoRemove(false);
    return true;
}

void touch(const QString &path)
{
    QFile f(path);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(freshModificationTime(path), QFileDevice::FileModificationTime);
}

WriteProblem writeProblem(const QString &path)
{
    const QFileInfo target(path);
    // Settings files are written as a new file beside the old one, so the
    // folder must take a new file, and an existing file must open for writing.
    QTemporaryFile probe(target.absolutePath() + QStringLiteral("/.write-probe.XXXXXX"));
    if (!probe.open())
        return WriteProblem::ReadOnly;
    if (target.exists()) {
        QFile existing(path);
        if (!existing.open(QIODevice::ReadWrite | QIODevice::Append))
            return WriteProblem::ReadOnly;
    }
    // Room for a file of the target's size and then some.
    const QByteArray block(int(std::max<qint64>(16 * 1024, target.size() + 4096)), ' ');
    if (probe.write(block) != block.size() || !probe.flush())
        return WriteProblem::DiskFull;
    return WriteProblem::Other;
}

} // namespace FileOps
