#pragma once

// Shared by the fuzz targets: a quiet Qt (warnings from damaged input are
// expected; qFatal still aborts, which the fuzzer reports), an application
// object for queued calls, and fresh file names, since QSettings caches files
// by name and modification time.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include "store/langstrings.h"
#include <cstddef>
#include <cstdint>

namespace fuzz {

inline void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type == QtFatalMsg) {
        fprintf(stderr, "qFatal: %s\n", qPrintable(msg));
        abort();
    }
}

inline void init()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    static QCoreApplication app(argc, argv);
}

// The key names the macro rows use, as the English language file of the
// source tree gives them.
inline const QStringList &keyNames()
{
    static const QStringList names = LangStrings::getLangStrings(
        QStringLiteral(FUZZ_I18N_DIR), QStringLiteral("keyCode"), QStringLiteral("English"));
    return names;
}

// A stored macro action ("1,A") as the macro editor reads it: the type digit
// first, the information after the comma; names become codes through the
// key-name table, delays are milliseconds.
struct ScreenRow
{
    int type;
    QString info;
    qint64 value;
};

inline ScreenRow screenRow(const QString &row)
{
    const int type = row.isEmpty() ? 0 : row.at(0).unicode() - '0';
    const QString info = row.mid(2);
    const qsizetype index = keyNames().indexOf(info);
    return {type, info, type == 0 ? info.toLongLong() : (index < 0 ? 0 : index + 4)};
}

// A folder of its own for every run, below one scratch folder; removed with
// its files when the run ends.
class RunDir
{
public:
    RunDir()
    {
        // In memory where the system offers it: every run writes files.
        static const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                                 : QDir::tempPath();
        static QTemporaryDir scratch(base + QStringLiteral("/quill-fuzz-XXXXXX"));
        static unsigned serial = 0;
        m_path = scratch.path() + QStringLiteral("/r") + QString::number(++serial);
        QDir().mkpath(m_path);
    }
    ~RunDir() { QDir(m_path).removeRecursively(); }
    QString path(const QString &rel = QString()) const
    {
        return rel.isEmpty() ? m_path : m_path + QLatin1Char('/') + rel;
    }
    QString write(const QString &rel, const uint8_t *data, size_t size) const
    {
        const QString file = path(rel);
        QDir().mkpath(file.left(file.lastIndexOf(QLatin1Char('/'))));
        QFile f(file);
        if (f.open(QIODevice::WriteOnly))
            f.write(reinterpret_cast<const char *>(data), qint64(size));
        return file;
    }

private:
    QString m_path;
};

} // namespace fuzz
