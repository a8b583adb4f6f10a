// Whole-file operations on profiles and the file replacement under them.
#include "store/filedialogs.h"
#include "store/fileops.h"
#include "store/profilefiles.h"
#include "store/settingsstore.h"
#include "storetestutil.h"

#include <QStandardPaths>
#include <QtTest>

using namespace StoreTest;

class TestProfileFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_root;
    QString m_dir;
    std::unique_ptr<SettingsStore> m_store;
    ScriptedDialogs m_dialogs;

    QString file(const QString &name) const { return m_dir + QLatin1Char('/') + name; }
    QString profileFile(int n) const { return file(QStringLiteral("p%1.bin").arg(n + 1)); }
    QString fixture(const QString &name) const
    {
        return dataDir() + QStringLiteral("/modules/setting/") + name;
    }
    QString tag() const { return m_store->getData(QStringLiteral("mouse/tag"), false).toString(); }
    // Nothing but the expected files: no temporary file left behind.
    QStringList filesIn(const QString &dir) const
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private slots:
    void init()
    {
        m_root = newRunDir(m_tmp);
        m_dir = m_root + QStringLiteral("/setting");
        QVERIFY(copyTree(QStringLiteral("modules/setting"), m_dir));
        QVERIFY(copyTree(QStringLiteral("exchange"), m_root + QStringLiteral("/exchange")));
        m_store = std::make_unique<SettingsStore>(m_dir);
        m_dialogs = ScriptedDialogs();
    }
    void cleanup() { m_store.reset(); }

    // --- the replacement helper ---

    void replaceFile_data()
    {
        QTest::addColumn<QString>("source");   // relative to the run folder
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("ok");
        QTest::newRow("over an existing file") << "setting/pD.bin" << "setting/p1.bin" << true;
        QTest::newRow("to a new file") << "setting/pD.bin" << "setting/new.bin" << true;
        QTest::newRow("onto itself") << "setting/p1.bin" << "setting/p1.bin" << true;
        QTest::newRow("source missing") << "setting/none.bin" << "setting/p1.bin" << false;
        QTest::newRow("source is a folder") << "exchange" << "setting/p1.bin" << false;
        QTest::newRow("target folder missing") << "setting/pD.bin" << "nowhere/p1.bin" << false;
    }
    void replaceFile()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(bool, ok);
        const QString src = m_root + QLatin1Char('/') + source;
        const QString dst = m_root + QLatin1Char('/') + target;
        const QByteArray sourceBytes = readBytes(src);
        const QByteArray before = readBytes(dst);
        const QStringList filesBefore = filesIn(m_dir);

        QCOMPARE(FileOps::replaceFile(src, dst), ok);
        QCOMPARE(readBytes(dst), ok ? sourceBytes : before);
        QStringList expected = filesBefore;
        if (ok && !expected.contains(QFileInfo(dst).fileName()) && QFileInfo(dst).absolutePath() == m_dir)
            expected.append(QFileInfo(dst).fileName());
        expected.sort();
        QCOMPARE(filesIn(m_dir), expected);
    }

    void copyNewFileNeverOverwrites_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("ok");
        QTest::newRow("new name") << "fresh.bin" << true;
        QTest::newRow("existing name") << "p2.bin" << false;
    }
    void copyNewFileNeverOverwrites()
    {
        QFETCH(QString, target);
        QFETCH(bool, ok);
        const QByteArray before = readBytes(file(target));
        QCOMPARE(FileOps::copyNewFile(fixture(QStringLiteral("pD.bin")), file(target)), ok);
        QCOMPARE(readBytes(file(target)), ok ? readBytes(fixture(QStringLiteral("pD.bin"))) : before);
        QVERIFY(!FileOps::copyNewFile(file(QStringLiteral("none.bin")), file(QStringLiteral("other.bin"))));
        QVERIFY(!QFileInfo::exists(file(QStringLiteral("other.bin"))));
        QVERIFY(filesIn(m_dir).filter(QRegularExpression(QStringLiteral("^\\."))).isEmpty());
    }

    // --- reset and copy ---

    void resetProfileCopiesFactory_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("reset");
        QTest::newRow("current profile") << 2 << 2;
        QTest::newRow("other profile") << 0 << 2;
        QTest::newRow("last profile") << 9 << 9;
    }
    void resetProfileCopiesFactory()
    {
        QFETCH(int, current);
        QFETCH(int, reset);
        m_store->setCurrentProfile(current);
        const QString before = tag();
        // A pending write of the replaced store must not reach the new file.
        m_store->setCurrentProfile(reset);
        m_store->setData(QStringLiteral("mouse/pending"), 1);
        m_store->setCurrentProfile(current);

        QVERIFY(ProfileFiles::resetProfile(*m_store, reset));
        QCOMPARE(m_store->currentProfile(), current);
        QCOMPARE(readBytes(profileFile(reset)), readBytes(fixture(QStringLiteral("pD.bin"))));
        QCOMPARE(tag(), current == reset ? QStringLiteral("pD") : before);
        QCoreApplication::processEvents();
        QCOMPARE(readBytes(profileFile(reset)), readBytes(fixture(QStringLiteral("pD.bin"))));
        QVERIFY(!m_store->profile(reset)->value(QStringLiteral("mouse/pending")).isValid());
    }

    void resetWithoutFactoryKeepsProfile_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("pD.bin missing") << false;
        QTest::newRow("pD.bin unreadable") << true;
    }
    void resetWithoutFactoryKeepsProfile()
    {
        QFETCH(bool, asFolder);
        QVERIFY(QFile::remove(file(QStringLiteral("pD.bin"))));
        if (asFolder)
            QVERIFY(QDir().mkdir(file(QStringLiteral("pD.bin"))));
        m_store->setCurrentProfile(2);
        m_store->setData(QStringLiteral("mouse/kept"), QStringLiteral("yes"));
        QVERIFY(!ProfileFiles::resetProfile(*m_store, 2));
        QCOMPARE(tag(), QStringLiteral("p3"));
        QCOMPARE(m_store->getData(QStringLiteral("mouse/kept"), false).toString(), QStringLiteral("yes"));
        m_store->syncAll();
        QCOMPARE(freshValue(profileFile(2), QStringLiteral("mouse/tag")), QVariant(QStringLiteral("p3")));
        QCOMPARE(freshValue(profileFile(2), QStringLiteral("mouse/kept")), QVariant(QStringLiteral("yes")));
    }

    void copyProfileCopiesFile_data()
    {
        QTest::addColumn<int>("dest");
        QTest::addColumn<int>("src");
        QTest::newRow("1 from 4") << 1 << 4;
        QTest::newRow("4 from 1") << 4 << 1;
        QTest::newRow("0 from 9") << 0 << 9;
    }
    void copyProfileCopiesFile()
    {
        QFETCH(int, dest);
        QFETCH(int, src);
        QVERIFY(ProfileFiles::copyProfile(*m_store, dest, src));
        QCOMPARE(readBytes(profileFile(dest)), readBytes(fixture(QStringLiteral("p%1.bin").arg(src + 1))));
        QCOMPARE(readBytes(profileFile(src)), readBytes(fixture(QStringLiteral("p%1.bin").arg(src + 1))));
        m_store->setCurrentProfile(dest);
        QCOMPARE(tag(), QStringLiteral("p%1").arg(src + 1));
    }

    void copyProfileCarriesPendingWrites()
    {
        m_store->setCurrentProfile(4);
        m_store->setData(QStringLiteral("mouse/reportRate"), 2);
        QVERIFY(ProfileFiles::copyProfile(*m_store, 1, 4));
        m_store->setCurrentProfile(1);
        QCOMPARE(m_store->getData(QStringLiteral("mouse/reportRate"), false).toString(), QStringLiteral("2"));
        QCOMPARE(tag(), QStringLiteral("p5"));
    }

    void copyProfileOntoItselfKeepsContent()
    {
        m_store->setCurrentProfile(3);
        m_store->setData(QStringLiteral("mouse/reportRate"), 1);
        QVERIFY(ProfileFiles::copyProfile(*m_store, 3, 3));
        QCOMPARE(tag(), QStringLiteral("p4"));
        QCOMPARE(m_store->getData(QStringLiteral("mouse/reportRate"), false).toString(), QStringLiteral("1"));
        QCOMPARE(freshValue(profileFile(3), QStringLiteral("mouse/tag")), QVariant(QStringLiteral("p4")));
    }

    void copyProfileFromMissingFileKeepsDestination()
    {
        QVERIFY(QFile::remove(profileFile(5)));
        m_store = std::make_unique<SettingsStore>(m_dir);
        QVERIFY(!ProfileFiles::copyProfile(*m_store, 1, 5));
        QCOMPARE(readBytes(profileFile(1)), readBytes(fixture(QStringLiteral("p2.bin"))));
        m_store->setCurrentProfile(1);
        QCOMPARE(tag(), QStringLiteral("p2"));
    }

    void profileNumbersOutOfRangeChangeNothing_data()
    {
        QTest::addColumn<int>("dest");
        QTest::addColumn<int>("src");
        QTest::newRow("dest 10") << 10 << 0;
        QTest::newRow("dest -1") << -1 << 0;
        QTest::newRow("src 10") << 0 << 10;
        QTest::newRow("src -1") << 0 << -1;
    }
    void profileNumbersOutOfRangeChangeNothing()
    {
        QFETCH(int, dest);
        QFETCH(int, src);
        const QStringList before = filesIn(m_dir);
        QVERIFY(!ProfileFiles::copyProfile(*m_store, dest, src));
        if (dest != 0) {
            QVERIFY(!ProfileFiles::resetProfile(*m_store, dest));
            QVERIFY(!ProfileFiles::loadProfile(*m_store, m_dialogs, dest));
            QVERIFY(!ProfileFiles::saveProfile(*m_store, m_dialogs, dest));
            QVERIFY(m_dialogs.calls.isEmpty());
        }
        QCOMPARE(filesIn(m_dir), before);
        for (const QString &f : before)
            QCOMPARE(readBytes(file(f)), readBytes(fixture(f)));
    }

    // --- import and export ---

    void loadProfile_data()
    {
        QTest::addColumn<QString>("answer");   // relative to the run folder; empty = cancel
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("tagAfter");
        QTest::newRow("cancelled") << "" << false << "p1";
        QTest::newRow("exchange file") << "exchange/imported.pf" << true << "imported";
        QTest::newRow("chosen file missing") << "exchange/gone.pf" << false << "p1";
        QTest::newRow("chosen folder") << "exchange" << false << "p1";
    }
    void loadProfile()
    {
        QFETCH(QString, answer);
        QFETCH(bool, result);
        QFETCH(QString, tagAfter);
        m_dialogs.answers << (answer.isEmpty() ? QString() : m_root + QLatin1Char('/') + answer);
        QCOMPARE(ProfileFiles::loadProfile(*m_store, m_dialogs, 0), result);

        QCOMPARE(m_dialogs.summary(), QStringList{"open|Open File|Profile(*.pf)"});
        // Desktop, or home where there is no Desktop folder (tested on its own).
        QCOMPARE(m_dialogs.calls[0].folder, DialogTexts::startFolder());
        QCOMPARE(tag(), tagAfter);
        QCOMPARE(readBytes(profileFile(0)),
                 result ? readBytes(m_root + QLatin1Char('/') + answer) : readBytes(fixture(QStringLiteral("p1.bin"))));
    }

    void saveProfile_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("new file") << false << false;
        QTest::newRow("existing file replaced") << true << false;
        QTest::newRow("cancelled") << true << true;
    }
    void saveProfile()
    {
        QFETCH(bool, targetExists);
        QFETCH(bool, cancel);
        const QString target = m_root + QStringLiteral("/exchange/out.pf");
        if (targetExists)
            QVERIFY(writeBytes(target, "old export\n"));
        const QByteArray before = readBytes(target);
        m_store->setCurrentProfile(0);
        m_store->setData(QStringLiteral("mouse/reportRate"), 2);   // shown, not yet on disk
        m_dialogs.answers << (cancel ? QString() : target);

        QCOMPARE(ProfileFiles::saveProfile(*m_store, m_dialogs, 0), !cancel);
        QCOMPARE(m_dialogs.summary(), QStringList{"save|Save File|Profile(*.pf)"});
        if (cancel) {
            QCOMPARE(readBytes(target), before);
            return;
        }
        QCOMPARE(readBytes(target), readBytes(profileFile(0)));
        QCOMPARE(freshValue(target, QStringLiteral("mouse/reportRate")), QVariant(QStringLiteral("2")));
        QCOMPARE(freshValue(target, QStringLiteral("mouse/tag")), QVariant(QStringLiteral("p1")));
    }

    void failedExportKeepsExistingFile()
    {
        // Profile 7 has no file and nothing pending: there is nothing to export.
        QVERIFY(QFile::remove(profileFile(7)));
        m_store = std::make_unique<SettingsStore>(m_dir);
        const QString target = m_root + QStringLiteral("/exchange/imported.pf");
        const QByteArray before = readBytes(target);
        m_dialogs.answers << target;
        QVERIFY(!ProfileFiles::saveProfile(*m_store, m_dialogs, 7));
        QCOMPARE(readBytes(target), before);
    }

    void exportThenImportCopiesProfile()
    {
        const QString target = m_root + QStringLiteral("/exchange/p4.pf");
        m_dialogs.answers << target << target;
        QVERIFY(ProfileFiles::saveProfile(*m_store, m_dialogs, 3));
        QVERIFY(ProfileFiles::loadProfile(*m_store, m_dialogs, 5));
        QCOMPARE(readBytes(profileFile(5)), readBytes(profileFile(3)));
        m_store->setCurrentProfile(5);
        QCOMPARE(tag(), QStringLiteral("p4"));
    }

    // A replaced INI file must never look unchanged to the cached copy
    // QSettings keeps: same size and same modification time. Here the old
    // file is dated in the future, so only a deliberate new time tells them
    // apart.
    void replacementIsNeverMistakenForCache_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("replace profile") << 0;
        QTest::newRow("touch after rename") << 1;
    }
    void replacementIsNeverMistakenForCache()
    {
        QFETCH(int, operation);
        const QString source = m_root + QStringLiteral("/exchange/same.pf");
        QVERIFY(writeBytes(source, "[mouse]\ntag=BBBB\n"));
        QVERIFY(writeBytes(profileFile(6), "[mouse]\ntag=AAAA\n"));
        {
            QFile f(profileFile(6));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(3600),
                                  QFileDevice::FileModificationTime));
        }
        m_store = std::make_unique<SettingsStore>(m_dir);
        m_store->setCurrentProfile(6);
        QCOMPARE(tag(), QStringLiteral("AAAA"));
        const QDateTime cachedTime = QFileInfo(profileFile(6)).lastModified();
        if (operation == 0) {
            QVERIFY(m_store->replaceProfile(6, source));
        } else {
            // The way a macro file arrives under a name by rename.
            QVERIFY(QFile::remove(profileFile(6)));
            QVERIFY(QFile::rename(source, profileFile(6)));
            QFile f(profileFile(6));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(cachedTime, QFileDevice::FileModificationTime));
            f.close();
            FileOps::touch(profileFile(6));
            m_store->reopenProfile(6);
        }
        QVERIFY(QFileInfo(profileFile(6)).lastModified() > cachedTime);
        QCOMPARE(tag(), QStringLiteral("BBBB"));
    }
};

QTEST_GUILESS_MAIN(TestProfileFiles)
#include "tst_profilefiles.moc"
