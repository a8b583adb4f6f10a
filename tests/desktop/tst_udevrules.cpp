// The device permission rule generated from device tables.
#include <QtTest>

#include "tools/udevrules/udevrules.h"
#include "tests/common/files.h"

namespace {

const char kHead[] =
    "# Lets the user logged in at the seat open the configured Torvale Quill\n"
    "# devices (their hidraw nodes) without root. Generated from the device\n"
    "# table; one line per vendor:product pair.\n";

QString rule(const char *vid, const char *pid)
{
    return QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
                          "TAG+=\"uaccess\"\n").arg(QLatin1String(vid), QLatin1String(pid));
}

} // namespace

class TstUdevRules : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeTable(const QByteArray &ini)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QString("table%1.ini").arg(++n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(ini) != ini.size())
            return {};
        return path;
    }

    QProcess *runTool(const QStringList &args)
    {
        auto *p = new QProcess(this);
        p->start(QStringLiteral(UDEVRULES_TOOL), args);
        p->waitForFinished(30000);
        return p;
    }

private slots:
    void tables_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("rules");        // expected lines after the head
        QTest::addColumn<QStringList>("errors");

        QTest::newRow("two rows") << QByteArray("[common]\ndeviceCount=2\n[0]\nvid=04d9\npid=8008\n"
                                                "[1]\nvid=04d9\npid=a1ee\n")
                                  << rule("04d9", "8008") + rule("04d9", "a1ee") << QStringList();
        QTest::newRow("three rows, one pair twice")
            << QByteArray("[common]\ndeviceCount=3\n[0]\nvid=04d9\npid=a1ee\n[1]\nvid=1209\npid=0001\n"
                          "[2]\nvid=04D9\npid=A1EE\n")
            << rule("04d9", "a1ee") + rule("1209", "0001") << QStringList();
        QTest::newRow("short, prefixed and spaced IDs")
            << QByteArray("[common]\ndeviceCount=1\n[0]\nvid = 0x4d9\npid=\" 1 \"\n")
            << rule("04d9", "0001") << QStringList();
        QTest::newRow("rows past the count are not read")
            << QByteArray("[common]\ndeviceCount=1\n[0]\nvid=04d9\npid=a1ee\n[1]\nvid=zz\npid=0\n")
            << rule("04d9", "a1ee") << QStringList();
        QTest::newRow("the whole row, other keys as they come")
            << QByteArray("[common]\ndeviceCount=1\n[0]\ntype=1\nvid=04d9\npid=a1ee\nusagePage=ff00\n"
                          "isEncode=true\nsCode=418205\n")
            << rule("04d9", "a1ee") << QStringList();

        QTest::newRow("no count") << QByteArray("[0]\nvid=04d9\npid=a1ee\n") << QString()
                                  << QStringList{"common/deviceCount is missing"};
        QTest::newRow("count 0") << QByteArray("[common]\ndeviceCount=0\n") << QString()
                                 << QStringList{"common/deviceCount \"0\" is not a row count from 1 to 256"};
        QTest::newRow("count not a number") << QByteArray("[common]\ndeviceCount=two\n") << QString()
                                            << QStringList{"common/deviceCount \"two\" is not a row count from 1 to 256"};
        QTest::newRow("count past the rows")
            << QByteArray("[common]\ndeviceCount=2\n[0]\nvid=04d9\npid=a1ee\n") << QString()
            << QStringList{"row 1 has no vid", "row 1 has no pid"};
        QTest::newRow("not hexadecimal")
            << QByteArray("[common]\ndeviceCount=2\n[0]\nvid=04d9\npid=8008\n[1]\nvid=04d9\npid=zz12\n")
            << QString() << QStringList{"row 1: pid \"zz12\" is not a hexadecimal ID of up to four digits"};
        QTest::newRow("more than 16 bits")
            << QByteArray("[common]\ndeviceCount=1\n[0]\nvid=104d9\npid=a1ee\n") << QString()
            << QStringList{"row 0: vid \"104d9\" is not a hexadecimal ID of up to four digits"};
        QTest::newRow("a list") << QByteArray("[common]\ndeviceCount=1\n[0]\nvid=04d9, 1\npid=a1ee\n")
                                << QString()
                                << QStringList{"row 0: vid \"04d9,1\" is not a hexadecimal ID of up to four digits"};
        QTest::newRow("empty ID") << QByteArray("[common]\ndeviceCount=1\n[0]\nvid=\npid=a1ee\n") << QString()
                                  << QStringList{"row 0: vid \"\" is not a hexadecimal ID of up to four digits"};
        QTest::newRow("0 matches any device")
            << QByteArray("[common]\ndeviceCount=2\n[0]\nvid=04d9\npid=a1ee\n[1]\nvid=0\npid=0000\n") << QString()
            << QStringList{"row 1: vid 0 matches any device; a permission rule needs the exact ID",
                           "row 1: pid 0 matches any device; a permission rule needs the exact ID"};
    }

    void tables()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, rules);
        QFETCH(QStringList, errors);
        const udevrules::Result r = udevrules::fromFile(writeTable(ini));
        QCOMPARE(r.errors, errors);
        QCOMPARE(r.rules, errors.isEmpty() ? QLatin1String(kHead) + rules : QString());
    }

    void missingFile()
    {
        const udevrules::Result r = udevrules::fromFile(m_dir.filePath("none.bin"));
        QCOMPARE(r.errors, QStringList{m_dir.filePath("none.bin") + " is missing"});
    }

    // The build step: a refused table fails with its reasons and writes nothing.
    void toolRefusesAFaultyTable()
    {
        const QString table = QStringLiteral(QUILL_TEST_DATA_DIR "/tables/badpid.ini");
        const QString out = m_dir.filePath("bad.rules");
        QProcess *p = runTool({table, out});
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 1);
        QCOMPARE(QString::fromUtf8(p->readAllStandardError()),
                 table + ": row 1: pid \"zz12\" is not a hexadecimal ID of up to four digits\n");
        QVERIFY(!QFileInfo::exists(out));
    }

    void toolWritesTheRule()
    {
        const QString out = m_dir.filePath("good.rules");
        QProcess *p = runTool({writeTable("[common]\ndeviceCount=1\n[0]\nvid=04d9\npid=a1ee\n"), out});
        QCOMPARE(p->exitCode(), 0);
        QCOMPARE(TestFiles::readBytes(out), (QLatin1String(kHead) + rule("04d9", "a1ee")).toUtf8());
    }

    // What the build made from the shipped table.
    void builtRuleCoversTheShippedTable()
    {
        QCOMPARE(TestFiles::readBytes(QStringLiteral(QUILL_UDEV_RULE)),
                 (QLatin1String(kHead) + rule("04d9", "8008") + rule("04d9", "a1ee")).toUtf8());
    }
};

QTEST_GUILESS_MAIN(TstUdevRules)
#include "tst_udevrules.moc"
