// The per-user copy of the data tree: what a first start copies, what later
// starts and upgrades keep, and where the program works when it cannot copy.
#include <QtTest>

#include "app/basefolder.h"
#include "tests/common/files.h"

namespace {

bool writeFile(const QString &path, const QByteArray &data)
{
    return QDir().mkpath(QFileInfo(path).path()) && TestFiles::writeBytes(path, data);
}

} // namespace

class TstBaseFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString installed;   // the folder beside an installed executable
    QString user;        // the user's base folder
    int m_case = 0;

    QString inst(const QString &rel) const { return installed + "/modules/" + rel; }
    QString mine(const QString &rel) const { return user + "/modules/" + rel; }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        ++m_case;
        installed = m_dir.filePath(QString("inst-%1").arg(m_case));
        user = m_dir.filePath(QString("home-%1/.local/share/QuillMouse").arg(m_case));
        QVERIFY(writeFile(inst("setting/apConfig.bin"), "[common]\ndeviceCount=2\n"));
        QVERIFY(writeFile(inst("setting/p1.bin"), "[mouse]\nreportRate=1000\n"));
        QVERIFY(writeFile(inst("i18n/English.ini"), "[main]\n0=Editor\n"));
        QVERIFY(QDir().mkpath(inst("macro")));
    }

    void userFolderName()
    {
        QCOMPARE(basefolder::userFolder("/home/ann/.local/share", "QuillMouse"),
                 QString("/home/ann/.local/share/QuillMouse"));
        QCOMPARE(basefolder::userFolder("/data/", "QuillMouse"), QString("/data/QuillMouse"));
        QVERIFY(basefolder::userFolder(QString(), "QuillMouse").isEmpty());
    }

    void firstStartCopiesTheTree()
    {
        QVERIFY(QFile::setPermissions(inst("setting/p1.bin"),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        for (const char *rel : {"setting/apConfig.bin", "setting/p1.bin", "i18n/English.ini"})
            QCOMPARE(TestFiles::readBytes(mine(rel)), TestFiles::readBytes(inst(rel)));
        QVERIFY(QFileInfo(mine("macro")).isDir());   // empty folders too
        // The copies are the user's to write, whatever the installed modes.
        QVERIFY(QFileInfo(mine("setting/p1.bin")).permissions() & QFile::WriteOwner);
        QVERIFY(QFileInfo::exists(user + "/" + basefolder::ManifestName));
        QVERIFY(!QFileInfo::exists(mine(basefolder::ManifestName)));
    }

    void laterStartsKeepTheUsersFiles()
    {
        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        QVERIFY(writeFile(mine("setting/p1.bin"), "[mouse]\nreportRate=125\n"));
        QVERIFY(writeFile(mine("macro/m1.ini"), "[macro]\n"));   // made by the program
        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        QCOMPARE(TestFiles::readBytes(mine("setting/p1.bin")), QByteArray("[mouse]\nreportRate=125\n"));
        QCOMPARE(TestFiles::readBytes(mine("macro/m1.ini")), QByteArray("[macro]\n"));
        QCOMPARE(TestFiles::readBytes(mine("i18n/English.ini")), TestFiles::readBytes(inst("i18n/English.ini")));
    }

    // One file through a first start, what the user did to it, what a new
    // installed version did to it, and a second start.
    void upgrade_data()
    {
        QTest::addColumn<QString>("userAction");      // "", "change", "remove"
        QTest::addColumn<QString>("installAction");   // "", "change", "add"
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("untouched, same version") << "" << "" << QByteArray("v1");
        QTest::newRow("untouched, new version") << "" << "change" << QByteArray("v2");
        QTest::newRow("changed, same version") << "change" << "" << QByteArray("mine");
        QTest::newRow("changed, new version") << "change" << "change" << QByteArray("mine");
        QTest::newRow("removed, same version") << "remove" << "" << QByteArray("<missing>");
        QTest::newRow("removed, new version") << "remove" << "change" << QByteArray("<missing>");
        QTest::newRow("new in this version") << "" << "add" << QByteArray("v2");
    }

    void upgrade()
    {
        QFETCH(QString, userAction);
        QFETCH(QString, installAction);
        QFETCH(QByteArray, expected);
        const QString rel = "setting/name.bin";

        if (installAction != "add")
            QVERIFY(writeFile(inst(rel), "v1"));
        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        if (userAction == "change")
            QVERIFY(writeFile(mine(rel), "mine"));
        else if (userAction == "remove")
            QVERIFY(QFile::remove(mine(rel)));
        if (!installAction.isEmpty())
            QVERIFY(writeFile(inst(rel), "v2"));

        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        QCOMPARE(TestFiles::readBytes(mine(rel)), expected);
        // The other files are not disturbed by it.
        QCOMPARE(TestFiles::readBytes(mine("setting/apConfig.bin")), TestFiles::readBytes(inst("setting/apConfig.bin")));
        // And a third start changes nothing more.
        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        QCOMPARE(TestFiles::readBytes(mine(rel)), expected);
    }

    void filesFoundWithoutRecordAreTheUsers()
    {
        // A copy made by hand (or by a start that died before its record).
        QVERIFY(writeFile(mine("setting/p1.bin"), "[mouse]\nreportRate=500\n"));
        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        QCOMPARE(TestFiles::readBytes(mine("setting/p1.bin")), QByteArray("[mouse]\nreportRate=500\n"));
        QCOMPARE(TestFiles::readBytes(mine("setting/apConfig.bin")), TestFiles::readBytes(inst("setting/apConfig.bin")));
        // An identical file is adopted and follows later versions.
        QVERIFY(writeFile(inst("setting/apConfig.bin"), "[common]\ndeviceCount=3\n"));
        QCOMPARE(basefolder::syncUserCopy(installed, user), QStringList());
        QCOMPARE(TestFiles::readBytes(mine("setting/apConfig.bin")), QByteArray("[common]\ndeviceCount=3\n"));
    }

    void choice_data()
    {
        QTest::addColumn<bool>("appDirWritable");
        QTest::addColumn<QString>("home");     // "ok", "blocked" (below a file), "none"
        QTest::addColumn<bool>("inUserFolder");
        QTest::addColumn<QString>("messagePart");

        QTest::newRow("writable beside the executable") << true << "blocked" << false << "";
        QTest::newRow("system install") << false << "ok" << true << "";
        QTest::newRow("system install, home not writable") << false << "blocked" << false
                                                           << "Settings cannot be saved: cannot create the folder";
        QTest::newRow("system install, no home") << false << "none" << false
                                                 << "Settings cannot be saved: there is no home folder";
    }

    void choice()
    {
        QFETCH(bool, appDirWritable);
        QFETCH(QString, home);
        QFETCH(bool, inUserFolder);
        QFETCH(QString, messagePart);

        // Even root cannot create a folder below a plain file.
        const QString blocker = m_dir.filePath("blocker");
        QVERIFY(writeFile(blocker, "not a folder"));
        const QString userBase = home == "ok" ? user : home == "blocked" ? blocker + "/QuillMouse" : QString();

        const basefolder::Choice c = basefolder::choose(installed, appDirWritable, userBase);
        QCOMPARE(c.folder, inUserFolder ? user : installed);
        if (messagePart.isEmpty()) {
            QCOMPARE(c.message, QString());
        } else {
            QVERIFY2(c.message.startsWith(messagePart), qPrintable(c.message));
            QVERIFY2(c.message.contains(installed), qPrintable(c.message));
        }
        QCOMPARE(QFileInfo::exists(mine("setting/apConfig.bin")), inUserFolder);
        // The installed tree is only ever read.
        QCOMPARE(TestFiles::readBytes(inst("setting/p1.bin")), QByteArray("[mouse]\nreportRate=1000\n"));
    }

    void missingInstalledTreeIsReported()
    {
        const QStringList problems = basefolder::syncUserCopy(m_dir.filePath("nowhere"), user);
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.first().contains("nowhere/modules"), qPrintable(problems.first()));
    }
};

QTEST_GUILESS_MAIN(TstBaseFolder)
#include "tst_basefolder.moc"
