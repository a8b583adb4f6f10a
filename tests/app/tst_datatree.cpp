// Start-up with a damaged data tree: the window is built and checks for a
// mouse without crashing, the debug output and one balloon name the file at
// fault, and nothing the user owns is overwritten or created.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/stat.h>

#include "app/datatree.h"
#include "app/widget.h"
#include "tests/common/faults.h"
#include "tests/common/files.h"
#include "tests/detect/detect_support.h"
#include "tools/simmouse/simmouse.h"

using Damage = std::function<void()>;
Q_DECLARE_METATYPE(Damage)

namespace {

using TestFiles::copyTree;
using TestFiles::snapshot;
using TestFiles::writeBytes;

const QString kConfig = QStringLiteral("./modules/setting/apConfig.bin");
const QString kEnglish = QStringLiteral("./modules/i18n/English.ini");

} // namespace

class TestDataTree : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_oldCwd;
    int m_run = 0;

private slots:
    void initTestCase() { m_oldCwd = QDir::currentPath(); }
    void init()
    {
        // A complete tree of the sample mouse, then the row's damage.
        const QString run = m_tmp.filePath(QStringLiteral("run%1").arg(++m_run));
        QVERIFY(QDir().mkpath(run));
        QVERIFY(QDir::setCurrent(run));
        QVERIFY(copyTree(QStringLiteral(QUILL_SOURCE_DIR "/modules/setting"), QStringLiteral("modules/setting")));
        QVERIFY(copyTree(QStringLiteral(QUILL_SOURCE_DIR "/modules/i18n"), QStringLiteral("modules/i18n")));
        simmouse::reset();
    }
    void cleanup() { QDir::setCurrent(m_oldCwd); }

    void damagedTree_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QStringList>("startLines");
        QTest::addColumn<QStringList>("balloon");
        QTest::addColumn<QStringList>("checkLines");
        const QString noTable = QStringLiteral(" (no device table: no mouse can be found)");
        const QString noTexts = QStringLiteral(" (the screens show their built-in English texts)");
        const QStringList connected{"Device Connect"};
        const QStringList none;
        QTest::newRow("whole tree present") << Damage([] {}) << none << none << connected;
        QTest::newRow("modules missing")
            << Damage([] { QDir(QStringLiteral("modules")).removeRecursively(); })
            << QStringList{"File missing: ./modules (no settings, profiles or languages)"}
            << QStringList{"File missing: ./modules"}
            << QStringList{"File missing: " + kConfig + noTable, "Device DisConnect"};
        QTest::newRow("configuration missing")
            << Damage([] { QFile::remove(kConfig); })
            << QStringList{"File missing: " + kConfig + noTable}
            << QStringList{"File missing: " + kConfig}
            << QStringList{"File missing: " + kConfig + noTable, "Device DisConnect"};
        QTest::newRow("configuration is a folder")
            << Damage([] { QFile::remove(kConfig); QDir().mkpath(kConfig); })
            << QStringList{"File unreadable: " + kConfig + noTable}
            << QStringList{"File unreadable: " + kConfig}
            << QStringList{"File unreadable: " + kConfig + noTable, "Device DisConnect"};
        QTest::newRow("configuration garbage")
            << Damage([] { writeBytes(kConfig, QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0garbage=\xff\xfe\n", 22)); })
            << QStringList{"File damaged: " + kConfig + noTable}
            << QStringList{"File damaged: " + kConfig}
            << QStringList{"File damaged: " + kConfig + noTable, "Device DisConnect"};
        // Without a configured language the screens' default applies.
        QTest::newRow("configuration without device count or language")
            << Damage([] {
                   writeBytes(kConfig, "[common]\nname=x\n");
                   QFile::remove(QStringLiteral("./modules/i18n/ChineseSimplified.ini"));
               })
            << QStringList{"File damaged: " + kConfig + noTable,
                           "File missing: ./modules/i18n/ChineseSimplified.ini" + noTexts}
            << QStringList{"File damaged: " + kConfig, "File missing: ./modules/i18n/ChineseSimplified.ini"}
            << QStringList{"File damaged: " + kConfig + noTable, "Device DisConnect"};
        QTest::newRow("language file missing")
            << Damage([] { QFile::remove(kEnglish); })
            << QStringList{"File missing: " + kEnglish + noTexts} << QStringList{"File missing: " + kEnglish}
            << connected;
        QTest::newRow("language file is a folder")
            << Damage([] { QFile::remove(kEnglish); QDir().mkpath(kEnglish); })
            << QStringList{"File unreadable: " + kEnglish + noTexts}
            << QStringList{"File unreadable: " + kEnglish} << connected;
        // A table that reads but names no present mouse is no damage.
        QTest::newRow("no rows") << Damage([] { writeBytes(kConfig, "[common]\ndeviceCount=0\nlanguage=English\n"); })
                                 << none << none << QStringList{"Device DisConnect"};
    }
    void damagedTree()
    {
        QFETCH(Damage, damage);
        QFETCH(QStringList, startLines);
        QFETCH(QStringList, balloon);
        QFETCH(QStringList, checkLines);
        damage();
        const QMap<QString, QByteArray> before = snapshot(QStringLiteral("."));
        {
            DebugLines debug;
            Widget window;
            QCOMPARE(debug.lines(), startLines);
            // The balloon of the same report (the constructor's was shown
            // before a spy could listen).
            QSignalSpy balloons(&window, &Widget::balloonShown);
            window.reportDataTreeProblems();
            if (balloon.isEmpty()) {
                QCOMPARE(balloons.size(), 0);
            } else {
                QCOMPARE(balloons.size(), 1);
                QCOMPARE(balloons.at(0).at(1).toString().split(QLatin1Char('\n')), balloon);
            }

            debug.clear();
            window.show();
            window.checkDevice();
            const bool connects = checkLines.contains(QStringLiteral("Device Connect"));
            QCOMPARE(deviceConnected, connects);
            // Without a mouse the window waits hidden in the tray, never blank;
            // the check says why it found nothing where the table is unreadable.
            QCOMPARE(window.isVisible(), connects);
            QStringList lines = debug.lines();
            lines.removeAll(QStringLiteral("listener: keyboard option not read, left unchanged"));
            QCOMPARE(lines, checkLines);
            window.device().stopListener();
            window.device().waitListener();
        }
        QCoreApplication::processEvents();
        QCOMPARE(snapshot(QStringLiteral(".")), before);
    }

    // Permissions, which root passes over unless it gives up the right to.
    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("problems");
        QTest::newRow("configuration") << kConfig << 1;
        QTest::newRow("language") << kEnglish << 1;
    }
    void unreadableFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, problems);
        QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions()));
        QList<datatree::Problem> found;
        {
            DacOverrideDropped asUser;
            found = datatree::startupProblems(QStringLiteral("./modules"));
        }
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(found.size(), problems);
        QCOMPARE(int(found.first().kind), int(LangStrings::FileUnreadable));
        QCOMPARE(found.first().file, file);
    }
};

QTEST_MAIN(TestDataTree)
#include "tst_datatree.moc"
