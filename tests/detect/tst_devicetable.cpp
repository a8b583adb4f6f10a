// Reading the device table and matching HID interfaces to its rows.

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "device/devicetable.h"
#include "detect_support.h"

Q_DECLARE_METATYPE(DeviceEntry)

namespace {

DeviceEntry entry(uint16_t vid, uint16_t pid, uint16_t up, uint16_t u, uint16_t up2, uint16_t u2)
{
    DeviceEntry e;
    e.vid = vid;
    e.pid = pid;
    e.usagePage = up;
    e.usage = u;
    e.usagePage2 = up2;
    e.usage2 = u2;
    return e;
}

} // namespace

class TestDeviceTable : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    int fileNumber = 0;
    DeviceTable readIni(const QByteArray &ini)
    {
        // A fresh name each time: QSettings caches files by name and time stamp.
        const QString file = dir.filePath(QStringLiteral("apConfig%1.bin").arg(++fileNumber));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(ini);
        f.close();
        return devicetable::read(file);
    }

private slots:
    void parseHex_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint64>("value");
        QTest::newRow("lower") << "04d9" << quint64(0x04D9);
        QTest::newRow("upper") << "FF01" << quint64(0xFF01);
        QTest::newRow("decimal-looking is hex") << "10" << quint64(0x10);
        QTest::newRow("empty") << "" << quint64(0);
        QTest::newRow("garbage") << "zz" << quint64(0);
        QTest::newRow("trailing garbage") << "12g" << quint64(0);
        QTest::newRow("wide") << "12345" << quint64(0x12345);
    }
    void parseHex()
    {
        QFETCH(QString, text);
        QFETCH(quint64, value);
        QCOMPARE(devicetable::parseHex(text), value);
    }

    void parseBool_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("value");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("FALSE") << "FALSE" << false;
        QTest::newRow("FaLsE") << "FaLsE" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("true") << "true" << true;
        QTest::newRow("no") << "no" << true;
        QTest::newRow("00") << "00" << true;
        QTest::newRow("falsey") << "falsey" << true;
    }
    void parseBool()
    {
        QFETCH(QString, text);
        QFETCH(bool, value);
        QCOMPARE(devicetable::parseBool(text), value);
    }

    void rowCount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("valid");
        QTest::newRow("zero") << "0" << 0 << true;
        QTest::newRow("two") << "2" << 2 << true;
        QTest::newRow("limit") << "256" << 256 << true;
        QTest::newRow("above limit") << "257" << 256 << false;
        QTest::newRow("huge") << "2147483647" << 256 << false;
        QTest::newRow("beyond int") << "99999999999999999999" << 0 << false;
        QTest::newRow("negative") << "-5" << 0 << false;
        QTest::newRow("not a number") << "many" << 0 << false;
        QTest::newRow("hex is not decimal") << "0x10" << 0 << false;
    }
    void rowCount()
    {
        QFETCH(QString, text);
        QFETCH(int, rows);
        QFETCH(bool, valid);
        bool ok = !valid;
        QCOMPARE(devicetable::rowCount(text, &ok), rows);
        QCOMPARE(ok, valid);
    }

    // One row per case: every field, its reading rule and its default.
    void readRow_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<DeviceEntry>("expected");

        QTest::newRow("all defaults") << QByteArray() << DeviceEntry();

        DeviceEntry full = entry(0x04D9, 0xA1EE, 0xFF00, 0xFF00, 0xFF01, 0xFF01);
        full.type = 1;
        full.reportLength = 64;
        full.isEncode = true;
        full.sCode = QStringLiteral("123456");
        QTest::newRow("every field")
            << QByteArray("type=1\nvid=04d9\npid=A1EE\nusagePage=ff00\nusage=ff00\n"
                          "usagePage2=ff01\nusage2=FF01\nreportLength=64\nisEncode=true\n"
                          "sCode=123456\n")
            << full;

        DeviceEntry decimal;
        decimal.reportLength = 40;   // decimal, not 0x40
        decimal.vid = 0x40;          // hexadecimal, not 40
        QTest::newRow("reportLength decimal, vid hex")
            << QByteArray("reportLength=40\nvid=40\n") << decimal;

        DeviceEntry low16;
        low16.pid = 0x2345;
        QTest::newRow("low 16 bits kept") << QByteArray("pid=12345\n") << low16;

        DeviceEntry typeHex;
        typeHex.type = 0x1F;
        QTest::newRow("type hex") << QByteArray("type=1f\n") << typeHex;

        DeviceEntry noEncode;
        noEncode.isEncode = false;
        QTest::newRow("isEncode FALSE") << QByteArray("isEncode=FALSE\n") << noEncode;
        QTest::newRow("isEncode empty") << QByteArray("isEncode=\n") << noEncode;
        QTest::newRow("isEncode 0") << QByteArray("isEncode=0\n") << noEncode;
        DeviceEntry encode;
        encode.isEncode = true;
        QTest::newRow("isEncode other text") << QByteArray("isEncode=yes\n") << encode;

        DeviceEntry emptyCode;
        emptyCode.sCode = QString();
        QTest::newRow("sCode given empty") << QByteArray("sCode=\n") << emptyCode;
        DeviceEntry commaCode;
        commaCode.sCode = QStringLiteral("41,205");
        QTest::newRow("sCode with a comma") << QByteArray("sCode=41,205\n") << commaCode;
    }
    void readRow()
    {
        QFETCH(QByteArray, row);
        QFETCH(DeviceEntry, expected);
        const DeviceTable table = readIni("[common]\ndeviceCount=1\n[0]\n" + row);
        QCOMPARE(table.size(), 1);
        const DeviceEntry &e = table.at(0);
        QCOMPARE(e.type, expected.type);
        QCOMPARE(e.vid, expected.vid);
        QCOMPARE(e.pid, expected.pid);
        QCOMPARE(e.usagePage, expected.usagePage);
        QCOMPARE(e.usage, expected.usage);
        QCOMPARE(e.usagePage2, expected.usagePage2);
        QCOMPARE(e.usage2, expected.usage2);
        QCOMPARE(e.reportLength, expected.reportLength);
        QCOMPARE(e.isEncode, expected.isEncode);
        QCOMPARE(e.sCode, expected.sCode);
        QVERIFY(e.path.isEmpty());
        QVERIFY(e.path2.isEmpty());
        QVERIFY(!e.refused);
    }

    // An id that is given but not hexadecimal would read as 0 and match any
    // device: the row is refused, with one debug line naming row and field,
    // and keeps its place so later rows keep their index.
    void unreadableIdRefusesRow_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("debugLine");
        const char *ids[] = {"vid", "pid", "usagePage", "usage", "usagePage2", "usage2"};
        for (const char *id : ids) {
            const QString line = QStringLiteral("device row 1 refused: %1 \"%2\" is not hexadecimal");
            QTest::addRow("%s zz", id) << QByteArray(id) + "=zz\n" << true << line.arg(id, "zz");
            QTest::addRow("%s trailing garbage", id)
                << QByteArray(id) + "=12g\n" << true << line.arg(id, "12g");
            QTest::addRow("%s empty", id) << QByteArray(id) + "=\n" << true << line.arg(id, "");
            QTest::addRow("%s hex", id) << QByteArray(id) + "=ff01\n" << false << QString();
        }
        QTest::newRow("absent ids take the defaults") << QByteArray("reportLength=64\n") << false << QString();
        QTest::newRow("type is not an id") << QByteArray("type=zz\n") << false << QString();
    }
    void unreadableIdRefusesRow()
    {
        QFETCH(QByteArray, field);
        QFETCH(bool, refused);
        QFETCH(QString, debugLine);
        DebugLines debug;
        const DeviceTable table = readIni("[common]\ndeviceCount=3\n[0]\nvid=04d9\n[1]\n" + field
                                          + "[2]\nvid=1234\n");
        QCOMPARE(table.size(), 3);
        QVERIFY(!table.at(0).refused);
        QCOMPARE(table.at(1).refused, refused);
        QVERIFY(!table.at(2).refused);
        QCOMPARE(table.at(2).vid, uint16_t(0x1234));
        QCOMPARE(debug.lines(), debugLine.isNull() ? QStringList() : QStringList{debugLine});
    }

    // Two unreadable ids still give one line: the row is refused at the first.
    void refusedRowNamesFirstField()
    {
        DebugLines debug;
        const DeviceTable table = readIni("[common]\ndeviceCount=1\n[0]\nvid=zz\npid=yy\n");
        QVERIFY(table.at(0).refused);
        QCOMPARE(debug.lines(),
                 QStringList{QStringLiteral("device row 0 refused: vid \"zz\" is not hexadecimal")});
    }

    void rowsInOrder()
    {
        const DeviceTable table = readIni("[common]\ndeviceCount=3\n"
                                          "[0]\npid=8008\n[2]\npid=a1ee\n[1]\npid=0001\n");
        QCOMPARE(table.size(), 3);
        QCOMPARE(table.at(0).pid, uint16_t(0x8008));
        QCOMPARE(table.at(1).pid, uint16_t(0x0001));
        QCOMPARE(table.at(2).pid, uint16_t(0xA1EE));
    }

    // The count decides, not the groups present; a bad count is capped with
    // exactly one debug line and never allocates or loops without bound.
    void deviceCount_data()
    {
        QTest::addColumn<QByteArray>("common");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("debugLines");
        QTest::newRow("missing") << QByteArray() << 0 << 0;
        QTest::newRow("zero with rows present") << QByteArray("deviceCount=0\n") << 0 << 0;
        QTest::newRow("fewer than present") << QByteArray("deviceCount=1\n") << 1 << 0;
        QTest::newRow("more than present") << QByteArray("deviceCount=4\n") << 4 << 0;
        QTest::newRow("negative") << QByteArray("deviceCount=-3\n") << 0 << 1;
        QTest::newRow("not a number") << QByteArray("deviceCount=lots\n") << 0 << 1;
        QTest::newRow("absurd") << QByteArray("deviceCount=2000000000\n") << 256 << 1;
    }
    void deviceCount()
    {
        QFETCH(QByteArray, common);
        QFETCH(int, rows);
        QFETCH(int, debugLines);
        DebugLines debug;
        const DeviceTable table = readIni("[common]\n" + common + "[0]\nvid=1\n[1]\nvid=2\n");
        QCOMPARE(table.size(), rows);
        QCOMPARE(debug.lines().size(), debugLines);
        if (rows >= 2) {
            QCOMPARE(table.at(0).vid, uint16_t(1));
            QCOMPARE(table.at(1).vid, uint16_t(2));
        }
    }

    void missingFile()
    {
        QVERIFY(devicetable::read(dir.filePath(QStringLiteral("absent.bin"))).isEmpty());
    }

    void matchInterfaces_data()
    {
        using I = devicetable::HidInterface;
        QTest::addColumn<QList<devicetable::HidInterface>>("interfaces");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("path2");
        QTest::newRow("none") << QList<I>{} << "" << "";
        QTest::newRow("no usage matches")
            << QList<I>{{"a", 0xFF00, 0x0001}, {"b", 0x0001, 0xFF01}} << "" << "";
        QTest::newRow("both")
            << QList<I>{{"a", 0xFF00, 0xFF00}, {"b", 0xFF01, 0xFF01}} << "a" << "b";
        QTest::newRow("second only") << QList<I>{{"b", 0xFF01, 0xFF01}} << "" << "b";
        QTest::newRow("later match wins")
            << QList<I>{{"a", 0xFF00, 0xFF00}, {"c", 0xFF00, 0xFF00}} << "c" << "";
        QTest::newRow("usage page alone is not enough")
            << QList<I>{{"a", 0xFF00, 0xFF01}} << "" << "";
    }
    void matchInterfaces()
    {
        QFETCH(QList<devicetable::HidInterface>, interfaces);
        QFETCH(QString, path);
        QFETCH(QString, path2);
        DeviceEntry e = entry(0, 0, 0xFF00, 0xFF00, 0xFF01, 0xFF01);
        e.path = QStringLiteral("stale");
        e.path2 = QStringLiteral("stale");
        devicetable::matchInterfaces(e, interfaces);
        QCOMPARE(e.path, path);
        QCOMPARE(e.path2, path2);
    }

    void oneInterfaceFillsBothPaths()
    {
        DeviceEntry e = entry(0, 0, 0xFF00, 0x0001, 0xFF00, 0x0001);
        devicetable::matchInterfaces(e, {{"x", 0xFF00, 0x0001}});
        QCOMPARE(e.path, QStringLiteral("x"));
        QCOMPARE(e.path2, QStringLiteral("x"));
    }

    // Enumeration through hidapi (the simulated mouse answers it). Paths are
    // given as device*10 + interface of the simulator, -1 for none.
    void findPaths_data()
    {
        QTest::addColumn<DeviceEntry>("row");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<int>("path");
        QTest::addColumn<int>("path2");
        QTest::newRow("exact ids") << entry(0x04D9, 0xA1EE, 0xFF00, 0xFF00, 0xFF01, 0xFF01)
                                   << true << 0 << 1;
        QTest::newRow("other pid") << entry(0x04D9, 0x8008, 0xFF00, 0xFF00, 0xFF01, 0xFF01)
                                   << true << -1 << -1;
        QTest::newRow("unplugged") << entry(0x04D9, 0xA1EE, 0xFF00, 0xFF00, 0xFF01, 0xFF01)
                                   << false << -1 << -1;
        QTest::newRow("vid only, other device")
            << entry(0x04D9, 0, 0xFF02, 0x0001, 0xFF03, 0x0001) << true << 10 << 11;
        // vid/pid 0 enumerate every device; the usage pairs alone decide.
        QTest::newRow("any device, usages of the second")
            << entry(0, 0, 0xFF02, 0x0001, 0xFF03, 0x0001) << true << 10 << 11;
        QTest::newRow("any device, mixed interfaces")
            << entry(0, 0, 0xFF00, 0xFF00, 0xFF03, 0x0001) << true << 0 << 11;
        QTest::newRow("any device, unplugged first")
            << entry(0, 0, 0xFF00, 0xFF00, 0xFF03, 0x0001) << false << -1 << 11;
    }
    void findPaths()
    {
        QFETCH(DeviceEntry, row);
        QFETCH(bool, plugged);
        QFETCH(int, path);
        QFETCH(int, path2);
        simmouse::Config a;
        simmouse::Config b;
        b.pid = 0x8009;
        b.usagePage = 0xFF02;
        b.usage = 0x0001;
        b.usagePage2 = 0xFF03;
        b.usage2 = 0x0001;
        a.plugged = plugged;
        simmouse::reset(std::vector<simmouse::Config>{a, b});
        auto simPath = [](int code) {
            return code < 0 ? QString()
                            : QString::fromStdString(simmouse::path(code / 10, code % 10));
        };
        DeviceTable table{row};
        devicetable::findPaths(table);
        QCOMPARE(table.at(0).path, simPath(path));
        QCOMPARE(table.at(0).path2, simPath(path2));
    }

    // A refused row matches nothing, even where its usages would match a
    // present device through ids read as 0 (which match any device).
    void refusedRowGetsNoPath()
    {
        simmouse::reset(simmouse::Config());
        DeviceTable table = readIni("[common]\ndeviceCount=2\n"
                                    "[0]\nvid=zz\npid=a1ee\nusagePage=ff00\nusage=ff00\n"
                                    "usagePage2=ff01\nusage2=ff01\n"
                                    "[1]\nvid=04d9\npid=a1ee\nusagePage=ff00\nusage=ff00\n"
                                    "usagePage2=ff01\nusage2=ff01\n");
        QVERIFY(table.at(0).refused);
        table[0].path = QStringLiteral("stale");
        devicetable::findPaths(table);
        QVERIFY(table.at(0).path.isEmpty());
        QVERIFY(table.at(0).path2.isEmpty());
        QCOMPARE(table.at(1).path, QString::fromStdString(simmouse::path(0, 0)));
    }
};

QTEST_GUILESS_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
