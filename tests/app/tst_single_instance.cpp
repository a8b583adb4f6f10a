#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

// Real processes: a second start wakes the first and exits with 1.
class TestSingleInstance : public QObject
{
    Q_OBJECT

    static bool waitForLine(QProcess &p, const QByteArray &line)
    {
        QDeadlineTimer deadline(20000);
        QByteArray seen;
        while (!deadline.hasExpired()) {
            if (p.canReadLine() || p.waitForReadyRead(200)) {
                seen += p.readAll();
                if (seen.contains(line))
                    return true;
            }
            if (p.state() == QProcess::NotRunning)
                return seen.contains(line);
        }
        return false;
    }

private slots:
    void secondStartSendsAndExitsWithOne()
    {
        QProcess first;
        first.start(PROBE_PATH, {});
        QVERIFY(first.waitForStarted());
        QVERIFY(waitForLine(first, "primary"));

        QProcess second;
        second.start(PROBE_PATH, {"hello"});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(second.readAllStandardOutput().trimmed(), QByteArray("sent"));

        QVERIFY(waitForLine(first, "message:hello"));
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitCode(), 0);
    }

    void afterTheFirstEndsTheNextIsPrimary()
    {
        // The lock of a finished (or killed) first copy does not block the next.
        QProcess first;
        first.start(PROBE_PATH, {});
        QVERIFY(waitForLine(first, "primary"));
        first.kill();
        QVERIFY(first.waitForFinished(20000));

        QProcess next;
        next.start(PROBE_PATH, {});
        QVERIFY(waitForLine(next, "primary"));
        next.kill();
        next.waitForFinished(20000);
    }

    void realProgramSecondStart()
    {
        // The real program, started from another folder: it works beside its
        // executable, and a second start exits with 1 while it runs.
        QTemporaryDir elsewhere;
        QProcess program;
        program.setWorkingDirectory(elsewhere.path());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QUILL_EXE, {});
        QVERIFY(program.waitForStarted());

        const QString exeDir = QFileInfo(QUILL_EXE).canonicalPath();
        const QString cwdLink = QStringLiteral("/proc/%1/cwd").arg(program.processId());
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(cwdLink).canonicalFilePath(), exeDir, 20000);

        QProcess second;
        second.setWorkingDirectory(elsewhere.path());
        second.start(QUILL_EXE, {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(program.state(), QProcess::Running);

        program.terminate();
        if (!program.waitForFinished(10000)) {
            program.kill();
            program.waitForFinished(10000);
        }
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
