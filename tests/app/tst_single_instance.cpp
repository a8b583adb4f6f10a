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

    // A lock whose owner cannot be checked (written on another host) and
    // who does not answer is taken over at once, not waited on for the
    // message time-out; a first copy that answers keeps its lock.
    // A live process of this host that holds the lock without listening (a
    // command-line run working without a display) is waited for, not
    // taken over while it works.
    void silentOwnerOnThisHostIsWaitedFor()
    {
        QTemporaryDir tmp;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(PROBE_PATH, {});
        QVERIFY(waitForLine(first, "primary"));
        first.kill();
        QVERIFY(first.waitForFinished(20000));
        const QStringList locks = QDir(tmp.path()).entryList({QStringLiteral("*.lock")}, QDir::Files);
        QCOMPARE(locks.size(), 1);

        QLockFile silent(tmp.filePath(locks.first()));   // this test process, alive, not listening
        QVERIFY(silent.tryLock(0));
        QProcess next;
        next.setProcessEnvironment(env);
        next.start(PROBE_PATH, {});
        QVERIFY(next.waitForStarted());
        // Past the 1 s it asks a lock's owner to answer: still waiting.
        QTest::qWait(2500);
        QCOMPARE(next.state(), QProcess::Running);
        QVERIFY(!next.readAllStandardOutput().contains("primary"));
        silent.unlock();
        QVERIFY(waitForLine(next, "primary"));
        next.kill();
        next.waitForFinished(20000);
    }

    void foreignLock_data()
    {
        QTest::addColumn<bool>("ownerAlive");
        QTest::newRow("owner gone") << false;
        QTest::newRow("owner alive") << true;
    }
    void foreignLock()
    {
        QFETCH(bool, ownerAlive);
        QTemporaryDir tmp;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(PROBE_PATH, {});
        QVERIFY(waitForLine(first, "primary"));
        const QStringList locks = QDir(tmp.path()).entryList({QStringLiteral("*.lock")}, QDir::Files);
        QCOMPARE(locks.size(), 1);
        if (!ownerAlive) {
            first.kill();
            QVERIFY(first.waitForFinished(20000));
        }
        // The same lock as left on a shared folder by a copy on another host.
        QFile lock(tmp.filePath(locks.first()));
        QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write("4242\nsingleapp_probe\nsome-other-host\n");
        lock.close();

        QElapsedTimer started;
        started.start();
        QProcess next;
        next.setProcessEnvironment(env);
        next.start(PROBE_PATH, {"wake"});
        if (ownerAlive) {
            QVERIFY(next.waitForFinished(20000));
            QCOMPARE(next.exitCode(), 1);
            QCOMPARE(next.readAllStandardOutput().trimmed(), QByteArray("sent"));
            QVERIFY(waitForLine(first, "message:wake"));
            QVERIFY(first.waitForFinished(20000));
            return;
        }
        QVERIFY(waitForLine(next, "primary"));
        // Well within the 5 s the message would have waited.
        QVERIFY2(started.elapsed() < 4000, qPrintable(QString::number(started.elapsed())));
        // And it is the first copy now: a later start wakes it.
        QProcess third;
        third.setProcessEnvironment(env);
        third.start(PROBE_PATH, {"again"});
        QVERIFY(third.waitForFinished(20000));
        QCOMPARE(third.exitCode(), 1);
        QVERIFY(waitForLine(next, "message:again"));
        QVERIFY(next.waitForFinished(20000));
    }

    // The real program killed outright: the next start runs, and a start
    // after that still wakes it and exits with 1.
    void realProgramAfterSigkill()
    {
        QTemporaryDir tmp;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        auto start = [&](QProcess &p) {
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::ForwardedChannels);
            p.start(QUILL_EXE, {});
            QVERIFY(p.waitForStarted());
        };
        auto listening = [&] {
            return !QDir(tmp.path()).entryList({QStringLiteral("quill-single-*")}, QDir::System).isEmpty();
        };
        QProcess crashed;
        start(crashed);
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
        crashed.kill();   // SIGKILL: no clean-up at all
        QVERIFY(crashed.waitForFinished(20000));

        QProcess next;
        start(next);
        // Still running well after a second start would have given up.
        QTest::qWait(3000);
        QCOMPARE(next.state(), QProcess::Running);
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);

        QProcess second;
        start(second);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(next.state(), QProcess::Running);
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
