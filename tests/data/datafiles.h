#pragma once

// Helpers shared by the data tests: where the shipped tree lives, how its
// values are read, and whether a file is in the exact form QSettings writes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace datafiles {

inline QString modulesDir()
{
    return QStringLiteral(QUILL_SOURCE_DIR "/modules");
}

inline QString path(const QString &relative)
{
    return modulesDir() + QLatin1Char('/') + relative;
}

inline QByteArray readAll(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

// A list value as the screens receive it: texts, each converted with
// parseInt. ok is cleared when the key is missing, is a single value, or
// holds something that is not a whole number.
inline QList<int> intList(const QSettings &s, const QString &key, bool *ok)
{
    QList<int> out;
    *ok = false;
    const QVariant v = s.value(key);
    if (!v.isValid() || v.typeId() != QMetaType::QStringList)
        return out;
    for (const QString &t : v.toStringList()) {
        bool good = false;
        const int n = t.trimmed().toInt(&good, 10);
        if (!good)
            return QList<int>();
        out.append(n);
    }
    *ok = true;
    return out;
}

// A single whole number; ok cleared when missing or not a number.
inline int intValue(const QSettings &s, const QString &key, bool *ok)
{
    const QVariant v = s.value(key);
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) {
        *ok = false;
        return 0;
    }
    return v.toString().toInt(ok, 10);
}

// True when QSettings, made to write the file back, produces exactly the
// same bytes: the file then is in QSettings's own serialisation and a
// program that rewrites it keeps every value and its form. why receives the
// first differing line on failure.
inline bool rewritesIdentically(const QString &file, QString *why)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        *why = QStringLiteral("no temporary directory");
        return false;
    }
    const QString copy = dir.filePath(QFileInfo(file).fileName());
    if (!QFile::copy(file, copy)) {
        *why = QStringLiteral("cannot copy ") + file;
        return false;
    }
    const QByteArray before = readAll(copy);
    {
        QSettings s(copy, QSettings::IniFormat);
        // QSettings copies untouched sections verbatim; setting every key
        // to the value it read makes it serialise each one itself.
        const QStringList keys = s.allKeys();
        for (const QString &key : keys)
            s.setValue(key, s.value(key));
        s.sync();
        if (s.status() != QSettings::NoError) {
            *why = QStringLiteral("QSettings reports an error");
            return false;
        }
    }
    const QByteArray after = readAll(copy);
    if (before == after)
        return true;
    const QList<QByteArray> a = before.split('\n');
    const QList<QByteArray> b = after.split('\n');
    for (int i = 0; i < qMax(a.size(), b.size()); ++i) {
        const QByteArray la = i < a.size() ? a.at(i) : QByteArray("<end>");
        const QByteArray lb = i < b.size() ? b.at(i) : QByteArray("<end>");
        if (la != lb) {
            *why = QStringLiteral("line %1: shipped '%2', rewritten '%3'")
                       .arg(i + 1)
                       .arg(QString::fromUtf8(la), QString::fromUtf8(lb));
            return false;
        }
    }
    *why = QStringLiteral("files differ");
    return false;
}

} // namespace datafiles
