// The real program on the simulated mouse: it must find the mouse, pass the
// echo handshake, arm the notification option, see the DPI button, notice
// the removal and find the mouse again when it comes back.
#include <QtTest>

#include "tests/common/files.h"

class TstSimProgram : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QProcess program;
    QString output;
    QProcessEnvironment env;

    QString ctl(const QStringList &args)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(SIMMOUSECTL_PATH), args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QString programOutput()
    {
        output += QString::fromUtf8(program.readAllStandardError());
        output += QString::fromUtf8(program.readAllStandardOutput());
        return output;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // A private copy: the program writes its settings beside itself and
        // keys its single-instance lock on its own path.
        QVERIFY(QFile::copy(QStringLiteral(QUILL_EXE), dir.filePath("QuillMouse")));
        // The data tree as shipped, not as an earlier run in the build tree left it.
        QVERIFY(TestFiles::copyTree(QStringLiteral(QUILL_SOURCE_DIR) + "/modules", dir.filePath("modules")));
        QVERIFY(QDir().mkpath(dir.filePath("modules/macro")));

        env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_LIBRARY_PATH", QStringLiteral(SIMHID_DIR));
        env.insert("SIMMOUSE_SOCKET", dir.filePath("ctl.sock"));
        env.remove("SIMMOUSE_CONFIG"); // the sample mouse
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(dir.filePath("QuillMouse"), QStringList());
        QVERIFY(program.waitForStarted(30000));
    }

    void cleanupTestCase()
    {
        program.kill();
        program.waitForFinished(30000);
    }

    void connectsAndArmsTheListener()
    {
        QTRY_VERIFY_WITH_TIMEOUT(programOutput().contains("Device Connect"), 60000);
        const QString log = ctl({"log"});
        // The echo handshake went out scrambled and came back as sent.
        const QStringList lines = log.split('\n');
        QVERIFY2(lines.size() >= 2 && lines[0].contains("FeatureOut") && lines[0].contains("[clear 00 00 "),
                 qPrintable(log));
        QVERIFY2(lines[1].contains("FeatureIn"), qPrintable(log));
        // Then the keyboard option was read and written back with 40H.
        QTRY_VERIFY_WITH_TIMEOUT(ctl({"status"}).contains("keyboardOption 00 00 00 40"), 30000);
    }

    void seesTheDpiButton()
    {
        QCOMPARE(ctl({"clearlog"}), QString("ok\n"));
        QCOMPARE(ctl({"dpi", "3"}), QString("ok\n"));
        QTRY_VERIFY_WITH_TIMEOUT(ctl({"log"}).contains("NotifyIn   sim:04d9:a1ee:1 06 07 00 03"), 30000);
    }

    void noticesRemovalAndReturn()
    {
        QCOMPARE(ctl({"unplug"}), QString("ok\n"));
        QTRY_VERIFY_WITH_TIMEOUT(programOutput().contains("Device removed"), 30000);
        QCOMPARE(ctl({"clearlog"}), QString("ok\n"));
        QCOMPARE(ctl({"plug"}), QString("ok\n"));
        QTRY_VERIFY_WITH_TIMEOUT(programOutput().count("Device Connect") == 2, 60000);
        QVERIFY(ctl({"log"}).contains("FeatureOut"));
        QCOMPARE(program.state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TstSimProgram)
#include "tst_simprogram.moc"
