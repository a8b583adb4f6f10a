#pragma once

// Plain file helpers of the tests. Writes are unsynced: QFile::copy syncs
// every file to disk, which only slows tests down.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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

} // namespace TestFiles
