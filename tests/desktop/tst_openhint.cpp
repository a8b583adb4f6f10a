// A device node the user may not open is explained in the debug output;
// other open failures are not.
#include <QtTest>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include "device/hid_thread.h"
#include "device/openhint.h"

namespace {

QStringList captured;
void capture(QtMsgType, const QMessageLogContext &, const QString &text)
{
    captured << text;
}

// Runs `work` as an ordinary user and returns its text: as root in a child
// that drops to nobody (root may open anything), else right here.
QString asOrdinaryUser(const std::function<QString()> &work)
{
    if (geteuid() != 0)
        return work();
    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("<pipe failed>");
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        const QByteArray text = work().toUtf8();
        const bool written = write(fds[1], text.constData(), size_t(text.size())) == text.size();
        _exit(written ? 0 : 4);
    }
    close(fds[1]);
    QByteArray text;
    char buf[512];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        text.append(buf, int(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<child failed: %1>").arg(status);
    return QString::fromUtf8(text);
}

} // namespace

class TstOpenHint : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_closed;   // only its owner (root, or us with no mode bits) may open it
    QString m_open;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The ordinary user must reach the files.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::ExeOther));
        m_closed = m_dir.filePath("hidraw7");
        m_open = m_dir.filePath("hidraw8");
        for (const QString &p : {m_closed, m_open}) {
            QFile f(p);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::setPermissions(m_closed, geteuid() == 0 ? QFile::ReadOwner | QFile::WriteOwner
                                                               : QFile::Permissions()));
        QVERIFY(QFile::setPermissions(m_open, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                                                   | QFile::WriteOther));
    }

    void hint_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("explained");
        QTest::newRow("node the user may not open") << m_closed << true;
        QTest::newRow("node the user may open") << m_open << false;
        QTest::newRow("missing node") << m_dir.filePath("hidraw9") << false;
        QTest::newRow("not a file path") << QString("sim:04d9:a1ee:1") << false;
    }

    void hint()
    {
        QFETCH(QString, path);
        QFETCH(bool, explained);
        const QString hint = asOrdinaryUser([&] { return openFailureHint(path); });
        QVERIFY2(!hint.startsWith("<child"), qPrintable(hint));
        if (!explained) {
            QCOMPARE(hint, QString());
            return;
        }
        QVERIFY2(hint.startsWith("Cannot open " + path + ": permission denied."), qPrintable(hint));
        QVERIFY2(hint.contains("70-quillmouse.rules") && hint.contains("/etc/udev/rules.d/"), qPrintable(hint));
    }

    // The device object writes the hint when its open fails.
    void openWritesTheHint()
    {
        const QString lines = asOrdinaryUser([&] {
            captured.clear();
            qInstallMessageHandler(capture);
            Hid_Thread device;
            DeviceEntry entry;
            entry.path = m_closed;
            device.deviceTable = {entry};
            const bool opened = device.hidOpen(0) != nullptr;
            qInstallMessageHandler(nullptr);
            return (opened ? QStringLiteral("<opened>\n") : QString()) + captured.join('\n');
        });
        QVERIFY2(lines.startsWith("Cannot open " + m_closed + ": permission denied."), qPrintable(lines));
        QCOMPARE(lines.count('\n'), 0);
    }
};

QTEST_GUILESS_MAIN(TstOpenHint)
#include "tst_openhint.moc"
