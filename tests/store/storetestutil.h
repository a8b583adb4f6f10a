#pragma once

#include "store/filedialogs.h"
#include "tests/common/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace StoreTest {

inline QString dataDir()
{
    return QStringLiteral(QUILL_TEST_DATA_DIR);
}

using TestFiles::readBytes;
using TestFiles::writeBytes;

// A folder of its own below tmp for each test function, so that no test
// meets files or cached INI copies of an earlier one.
inline QString newRunDir(const QTemporaryDir &tmp)
{
    static int serial = 0;
    return tmp.path() + QStringLiteral("/run") + QString::number(++serial);
}

// Copies the fixture folder `from` (relative to the test data) into `to`.
inline bool copyTree(const QString &from, const QString &to)
{
    return TestFiles::copyTree(dataDir() + QLatin1Char('/') + from, to);
}

// The lines of an INI file's section, as written.
inline QList<QByteArray> sectionLines(const QString &path, const QByteArray &section)
{
    QList<QByteArray> out;
    bool inside = false;
    const QList<QByteArray> lines = readBytes(path).split('\n');
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inside = (line == '[' + section + ']');
            continue;
        }
        if (inside && !line.isEmpty())
            out.append(line);
    }
    return out;
}

// Reads a file as a freshly started program would: QSettings shares one
// cached copy of each file within a process, so the file is read under a
// name no store has seen.
inline QVariant freshValue(const QString &path, const QString &key)
{
    static int serial = 0;
    const QString copy = QFileInfo(path).absolutePath() + QStringLiteral("/.fresh")
                         + QString::number(++serial) + QStringLiteral(".ini");
    if (!QFileInfo::exists(path) || !writeBytes(copy, readBytes(path)))
        return QVariant(QStringLiteral("<missing>"));
    QVariant v;
    {
        QSettings s(copy, QSettings::IniFormat);
        v = s.value(key);
    }
    QFile::remove(copy);
    return v;
}

// Dialogs answered by the test: each call takes the next prepared answer
// (an empty text is a cancel) and is recorded.
class ScriptedDialogs : public FileDialogs
{
public:
    struct Call
    {
        QString kind, title, folder, filter;
    };
    QStringList answers;
    QList<Call> calls;

    QString openFileName(const QString &title, const QString &folder,
                         const QString &filter) override
    {
        calls.append({QStringLiteral("open"), title, folder, filter});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString saveFileName(const QString &title, const QString &folder,
                         const QString &filter) override
    {
        calls.append({QStringLiteral("save"), title, folder, filter});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    // Each call as "kind|title|filter", to compare all of them at once.
    QStringList summary() const
    {
        QStringList out;
        for (const Call &c : calls)
            out.append(c.kind + QLatin1Char('|') + c.title + QLatin1Char('|') + c.filter);
        return out;
    }
};

} // namespace StoreTest
