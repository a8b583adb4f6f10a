// games.ini: bindings written whole and read back, a damaged file reported
// and its good entries kept.
#include <QTemporaryDir>
#include <QtTest>

#include "store/gamebindings.h"
#include "../common/files.h"

using namespace TestFiles;

class TestGameBindings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_file;

private slots:
    void init()
    {
        static int run = 0;
        m_file = m_tmp.filePath(QStringLiteral("games%1.ini").arg(++run));
    }

    void addRemoveAndReadBack()
    {
        GameBindings games(m_file);
        games.load();
        QVERIFY(!games.damaged());   // missing: no bindings, no fault
        QVERIFY(games.add(QStringLiteral(" eldenring.exe "), 2));
        QVERIFY(games.add(QStringLiteral("/home/me/Games/Hades/"), 4));
        QVERIFY(!games.add(QStringLiteral("eldenring.exe"), 2));   // already there
        QVERIFY(!games.add(QStringLiteral("  "), 1));
        QVERIFY(!games.add(QStringLiteral("x"), 6));
        QCOMPARE(readBytes(m_file),
                 QByteArray("[bindings]\n1\\profile=2\n1\\program=eldenring.exe\n"
                            "2\\profile=4\n2\\program=/home/me/Games/Hades\nsize=2\n"));

        // One program has one profile: binding it again moves it.
        QVERIFY(games.add(QStringLiteral("eldenring.exe"), 3));
        GameBindings again(m_file);
        again.load();
        QCOMPARE(again.bindings(), (QList<GameBinding>{{"/home/me/Games/Hades", 4}, {"eldenring.exe", 3}}));
        QCOMPARE(again.bindingsOf(3), (QList<GameBinding>{{"eldenring.exe", 3}}));

        QVERIFY(again.remove(QStringLiteral("eldenring.exe"), 3));
        QVERIFY(!again.remove(QStringLiteral("eldenring.exe"), 3));
        games.load();
        QCOMPARE(games.bindings(), (QList<GameBinding>{{"/home/me/Games/Hades", 4}}));
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<GameBinding>>("kept");
        QTest::newRow("profile out of range")
            << QByteArray("[bindings]\n1\\program=a\n1\\profile=9\n2\\program=b\n2\\profile=1\nsize=2\n")
            << QList<GameBinding>{{"b", 1}};
        QTest::newRow("entry without program")
            << QByteArray("[bindings]\n1\\profile=1\nsize=1\n") << QList<GameBinding>{};
        QTest::newRow("size not a number")
            << QByteArray("[bindings]\n1\\program=a\n1\\profile=1\nsize=x\n") << QList<GameBinding>{};
        QTest::newRow("no list at all") << QByteArray("\x01\x02garbage\n[x]\ny=1\n") << QList<GameBinding>{};
    }

    void damaged()
    {
        QFETCH(QByteArray, content);
        QFETCH(QList<GameBinding>, kept);
        QVERIFY(writeBytes(m_file, content));
        GameBindings games(m_file);
        games.load();
        QVERIFY(games.damaged());
        QCOMPARE(games.bindings(), kept);

        // A change rewrites the file whole; the damaged one is kept aside.
        QVERIFY(games.add(QStringLiteral("c"), 5));
        QVERIFY(!games.damaged());
        QCOMPARE(readBytes(m_file + QStringLiteral(".damaged")), content);
        GameBindings again(m_file);
        again.load();
        QVERIFY(!again.damaged());
        QCOMPARE(again.bindings(), (kept + QList<GameBinding>{{"c", 5}}));
    }

    void unwritableFolderChangesNothing()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("setting"));
        QVERIFY(QDir().mkpath(folder));
        GameBindings games(folder + QStringLiteral("/games.ini"));
        QVERIFY(games.add(QStringLiteral("a"), 1));
        // The folder gone and a file in its place: nothing can be written there.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(writeBytes(folder, "x"));
        QVERIFY(!games.add(QStringLiteral("b"), 2));
        QVERIFY(!games.remove(QStringLiteral("a"), 1));
        QCOMPARE(games.bindings(), (QList<GameBinding>{{"a", 1}}));
    }
};

QTEST_GUILESS_MAIN(TestGameBindings)
#include "tst_gamebindings.moc"
