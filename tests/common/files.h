#pragma once

// Plain file helpers of the tests. Writes are unsynced: QFile::copy syncs
// every file to disk, which only slows tests down.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>

namespace TestFiles {

// The file's bytes, or "<missing>" where it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// Copies every file below `from` (hidden ones too) into `to`, keeping the
// folders.
inline bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool ok = QDir().mkpath(to);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        ok = QDir().mkpath(QFileInfo(target).absolutePath()) && ok;
        ok = writeBytes(target, readBytes(file)) && ok;
    }
    return ok;
}

// Every file and folder below `root` (hidden ones too), by its path below
// root: a file's bytes (as readBytes gives them), "<dir>" for a folder. Two
// snapshots compare equal when nothing below root was created, removed or
// changed.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.insert(path.mid(root.size() + 1), it.fileInfo().isDir() ? QByteArray("<dir>") : readBytes(path));
    }
    return out;
}

} // namespace TestFiles
