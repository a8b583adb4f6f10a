// The shipped data files are the output of their generators; a hand edit
// that the generators do not know would be undone by the next run.

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "datafiles.h"

using namespace datafiles;

class TestGenerated : public QObject
{
    Q_OBJECT

private slots:
    void dataTreeMatchesGenerator();
    void iconMatchesGenerator();

private:
    static bool run(const QStringList &args, QString *err)
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty()) {
            *err = QStringLiteral("python3 not found");
            return false;
        }
        QProcess p;
        p.start(python, args);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            *err = QString::fromLocal8Bit(p.readAllStandardError());
            return false;
        }
        return true;
    }
};

void TestGenerated::dataTreeMatchesGenerator()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QString err;
    QVERIFY2(run({QStringLiteral(QUILL_SOURCE_DIR "/tools/gen_data.py"), QStringLiteral("--out"), out.path()}, &err),
             qPrintable(err));

    int files = 0;
    QDirIterator it(out.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString generated = it.next();
        const QString rel = QDir(out.path()).relativeFilePath(generated);
        QVERIFY2(readAll(path(rel)) == readAll(generated), qPrintable(rel + " differs from its generator"));
        ++files;
    }
    // Configuration and its copy, eleven profiles, names, presets, two
    // languages and the macro folder's keeper.
    QCOMPARE(files, 18);
}

void TestGenerated::iconMatchesGenerator()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString ico = out.filePath(QStringLiteral("logo.ico"));
    QString err;
    QVERIFY2(run({QStringLiteral(QUILL_SOURCE_DIR "/tools/gen_logo.py"), QStringLiteral("--out"), ico}, &err),
             qPrintable(err));
    QCOMPARE(readAll(ico), readAll(path(QStringLiteral("img/logo.ico"))));
}

QTEST_GUILESS_MAIN(TestGenerated)
#include "tst_generated.moc"
