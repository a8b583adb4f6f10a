// The shipped configuration, profiles, name lists, recoil presets, sample
// device table and icon must describe one coherent mouse that the program
// and its screens can use as they are.

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtTest>
#include <cmath>

#include "datafiles.h"

#ifdef QUILL_HAVE_KEYMATRIX
#include "bridge/keymatrix.h"
#endif

using namespace datafiles;

namespace {

QString settingFile(const QString &name)
{
    return path(QStringLiteral("setting/") + name);
}

// Field reading rules of the device table: hexadecimal texts, 0 when they
// do not convert, low 16 bits kept.
quint16 hexField(const QSettings &s, const QString &key)
{
    bool ok = false;
    const uint v = s.value(key).toString().toUInt(&ok, 16);
    return ok ? quint16(v & 0xFFFF) : 0;
}

bool boolField(const QSettings &s, const QString &key)
{
    const QString t = s.value(key).toString();
    return !(t.isEmpty() || t == QLatin1String("0") || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
}

using Entry4 = std::array<int, 4>;

#ifndef QUILL_HAVE_KEYMATRIX
// The interface-to-device conversion of a key entry, kept here as data for
// builds without the bridge.
Entry4 convertEntry(const Entry4 &e, bool family560)
{
    const int t = e[0];
    switch (t) {
    case 0:
        return e[2] == 0xFF ? Entry4{0x0B, e[1], 0x00, e[3]} : Entry4{0x01, e[1], e[2], e[3]};
    case 1:
        return {0x0A, e[1], e[2], e[3]};
    case 2: case 6: case 7:
        return {0x00, e[1], e[2], e[3]};
    case 4:
        return {0x09, e[1], (e[2] + 1) & 0xFF, e[3]};
    case 5:
        if (e[2] == 4)
            return family560 ? Entry4{0x0B, 0x00, 0x01, 0x01} : Entry4{0x07, 0x00, 0x04, 0x01};
        return {0x07, e[1], e[2], e[3]};
    case 0xFF:
        return {0x04, e[1], e[2], e[3]};
    default:
        return e;
    }
}
#else
Entry4 convertEntry(const Entry4 &e, bool family560)
{
    keymatrix::Entry in{uchar(e[0]), uchar(e[1]), uchar(e[2]), uchar(e[3])};
    const keymatrix::Entry out = keymatrix::toDevice(in, family560 ? CommandFamily::F560 : CommandFamily::F553);
    return {out[0], out[1], out[2], out[3]};
}
#endif

// DPI slider of the screens: value shown for a knob position, and the knob
// position a stored value is placed at (the knob stops at 161).
int sliderValue(int p, int minDpi, int maxDpi, int base)
{
    return int(std::floor((double(p - 3) * (maxDpi - minDpi) / 158.0 + minDpi) / base)) * base;
}

int sliderPosition(int v, int minDpi, int maxDpi)
{
    const int p = int(std::floor(158.0 * (v - minDpi) / (maxDpi - minDpi))) + 4;
    return qBound(3, p, 161);
}

QStringList profileFiles()
{
    QStringList files{QStringLiteral("pD.bin")};
    for (int n = 1; n <= 10; ++n)
        files << QStringLiteral("p%1.bin").arg(n);
    return files;
}

QStringList iniFiles()
{
    QStringList files{QStringLiteral("setting/apConfig.bin"), QStringLiteral("setting/apConfigD.bin"),
                      QStringLiteral("setting/name.bin"), QStringLiteral("gun/gunData.bin")};
    for (const QString &p : profileFiles())
        files << QStringLiteral("setting/") + p;
    return files;
}

} // namespace

class TestSettingsData : public QObject
{
    Q_OBJECT

private slots:
    void everyFileIsInQSettingsForm_data();
    void everyFileIsInQSettingsForm();
    void factoryConfigurationIsAnExactCopy();
    void deviceTableRows_data();
    void deviceTableRows();
    void sampleTableResourceMatchesConfiguration();
    void deviceFeatures();
    void profileKeys_data();
    void profileKeys();
    void profilesStartAsFactoryCopies();
    void factoryMatrixIsTheBuiltInMatrix();
    void factoryDeviceMatrixIsDeviceEncoding();
    void nameLists();
    void recoilPresets();
    void trayIconLoads();
};

void TestSettingsData::everyFileIsInQSettingsForm_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &f : iniFiles())
        QTest::newRow(qPrintable(f)) << f;
}

void TestSettingsData::everyFileIsInQSettingsForm()
{
    QFETCH(QString, file);
    QVERIFY2(QFileInfo::exists(path(file)), qPrintable(file + " is missing"));
    QString why;
    QVERIFY2(rewritesIdentically(path(file), &why), qPrintable(why));
}

void TestSettingsData::factoryConfigurationIsAnExactCopy()
{
    const QByteArray live = readAll(settingFile(QStringLiteral("apConfig.bin")));
    QVERIFY(!live.isEmpty());
    QCOMPARE(readAll(settingFile(QStringLiteral("apConfigD.bin"))), live);
}

void TestSettingsData::deviceTableRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<int>("usagePage");
    QTest::addColumn<int>("usage");
    QTest::addColumn<int>("usagePage2");
    QTest::addColumn<int>("usage2");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<bool>("isEncode");
    QTest::addColumn<QString>("sCode");

    QTest::newRow("keyboard") << 0 << 0 << 0x04D9 << 0x8008 << 0xFF01 << 0x0001 << 0xFF02 << 0x0001
                              << 64 << false << QString();
    QTest::newRow("mouse") << 1 << 1 << 0x04D9 << 0xA1EE << 0xFF00 << 0xFF00 << 0xFF01 << 0xFF01
                           << 32 << true << QStringLiteral("418205");
}

void TestSettingsData::deviceTableRows()
{
    QFETCH(int, row);
    QSettings s(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    bool ok = false;
    QCOMPARE(intValue(s, QStringLiteral("common/deviceCount"), &ok), 2);
    QVERIFY(ok);

    const QString r = QString::number(row) + QLatin1Char('/');
    bool typeOk = false;
    QTEST(int(s.value(r + QStringLiteral("type")).toString().toInt(&typeOk, 16)), "type");
    QVERIFY(typeOk);
    QTEST(int(hexField(s, r + QStringLiteral("vid"))), "vid");
    QTEST(int(hexField(s, r + QStringLiteral("pid"))), "pid");
    QTEST(int(hexField(s, r + QStringLiteral("usagePage"))), "usagePage");
    QTEST(int(hexField(s, r + QStringLiteral("usage"))), "usage");
    QTEST(int(hexField(s, r + QStringLiteral("usagePage2"))), "usagePage2");
    QTEST(int(hexField(s, r + QStringLiteral("usage2"))), "usage2");
    QTEST(s.value(r + QStringLiteral("reportLength")).toString().toInt(), "reportLength");
    QTEST(boolField(s, r + QStringLiteral("isEncode")), "isEncode");

    QFETCH(QString, sCode);
    if (sCode.isEmpty()) {
        QVERIFY(!s.contains(r + QStringLiteral("sCode")));
    } else {
        QCOMPARE(s.value(r + QStringLiteral("sCode")).toString(), sCode);
        // The scrambling uses the code only when it is six ASCII characters.
        QCOMPARE(sCode.size(), 6);
    }
    // The two interfaces of a row must differ, or the listener would wait
    // on the command interface.
    QVERIFY(hexField(s, r + QStringLiteral("usagePage")) != hexField(s, r + QStringLiteral("usagePage2"))
            || hexField(s, r + QStringLiteral("usage")) != hexField(s, r + QStringLiteral("usage2")));
}

void TestSettingsData::sampleTableResourceMatchesConfiguration()
{
    const QString file = QStringLiteral(QUILL_SOURCE_DIR "/modules/qml/DevInfo.ini");
    const QByteArray raw = readAll(file);
    QVERIFY(!raw.isEmpty());
    const QByteArray first = raw.left(raw.indexOf('\n'));
    QVERIFY2(first.startsWith(';'), first.constData());
    QVERIFY2(first.contains("type 0: Keyboard, type 1: Mouse"), first.constData());

    QSettings sample(file, QSettings::IniFormat);
    QCOMPARE(sample.status(), QSettings::NoError);
    QCOMPARE(sample.value(QStringLiteral("common/isEncode")).toString(), QStringLiteral("false"));
    QCOMPARE(sample.value(QStringLiteral("common/total")).toString(), QStringLiteral("2"));

    QSettings config(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    const QStringList hexKeys{QStringLiteral("type"), QStringLiteral("vid"), QStringLiteral("pid"),
                              QStringLiteral("usagePage"), QStringLiteral("usage"),
                              QStringLiteral("usagePage2"), QStringLiteral("usage2")};
    for (int row = 0; row < 2; ++row) {
        const QString r = QString::number(row) + QLatin1Char('/');
        for (const QString &k : hexKeys) {
            QVERIFY2(sample.contains(r + k), qPrintable(r + k));
            QCOMPARE(hexField(sample, r + k), hexField(config, r + k));
        }
        QCOMPARE(sample.value(r + QStringLiteral("reportLength")).toString(),
                 config.value(r + QStringLiteral("reportLength")).toString());
    }
    QCOMPARE(sample.childGroups().size(), 3);
}

void TestSettingsData::deviceFeatures()
{
    QSettings s(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    QVERIFY(!s.value(QStringLiteral("common/name")).toString().isEmpty());
    QVERIFY(s.value(QStringLiteral("common/url")).toString().startsWith(QLatin1String("http")));

    const QString language = s.value(QStringLiteral("common/language")).toString();
    QCOMPARE(language, QStringLiteral("English"));
    QVERIFY2(QFileInfo::exists(path(QStringLiteral("i18n/") + language + QStringLiteral(".ini"))),
             qPrintable(language));

    QCOMPARE(s.value(QStringLiteral("mouse/isColorful")).toString(), QStringLiteral("true"));
    QCOMPARE(s.value(QStringLiteral("mouse/icType")).toString(), QStringLiteral("553"));
    QCOMPARE(s.value(QStringLiteral("mouse/is55328")).toString(), QStringLiteral("false"));
    QCOMPARE(s.value(QStringLiteral("mouse/isGun")).toString(), QStringLiteral("true"));
    QCOMPARE(s.value(QStringLiteral("mouse/sensorType")).toString(), QStringLiteral("3360"));

    bool ok = false;
    QCOMPARE(intValue(s, QStringLiteral("mouse/keyCount"), &ok), 8);
    QVERIFY(ok);
    const int profileNo = intValue(s, QStringLiteral("mouse/profileNo"), &ok);
    QVERIFY(ok && profileNo >= 0 && profileNo <= 5);

    const int minDpi = intValue(s, QStringLiteral("mouse/minDPI"), &ok);
    QVERIFY(ok);
    const int maxDpi = intValue(s, QStringLiteral("mouse/maxDPI"), &ok);
    QVERIFY(ok);
    const int base = intValue(s, QStringLiteral("mouse/dpiBase"), &ok);
    QVERIFY(ok);
    QVERIFY(base > 0 && minDpi > 0 && minDpi < maxDpi);
    QCOMPARE(minDpi % base, 0);
    QCOMPARE(maxDpi % base, 0);
    // Both ends of the slider must be codable for the 3360 (v / 100 - 1).
    QVERIFY(minDpi >= 100 && maxDpi / 100 - 1 <= 255);
    // The slider's ends read back as the configured limits.
    QCOMPARE(sliderValue(3, minDpi, maxDpi, base), minDpi);
    QCOMPARE(sliderValue(161, minDpi, maxDpi, base), maxDpi);

    const QList<int> guns = intList(s, QStringLiteral("mouse/selectGun"), &ok);
    QVERIFY(ok);
    QCOMPARE(guns, (QList<int>{0, 1, 2}));
}

void TestSettingsData::profileKeys_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &f : profileFiles())
        QTest::newRow(qPrintable(f)) << f;
}

void TestSettingsData::profileKeys()
{
    QFETCH(QString, file);
    QVERIFY(QFileInfo::exists(settingFile(file)));
    QSettings config(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    QSettings p(settingFile(file), QSettings::IniFormat);
    bool ok = false;

    const int rate = intValue(p, QStringLiteral("mouse/reportRate"), &ok);
    QVERIFY(ok && rate >= 0 && rate <= 3);

    const int dpiCount = intValue(p, QStringLiteral("mouse/dpiCount"), &ok);
    QVERIFY(ok && dpiCount >= 1 && dpiCount <= 8);
    const int current = intValue(p, QStringLiteral("mouse/currentDpiCount"), &ok);
    QVERIFY(ok && current >= 1 && current <= dpiCount);

    const int minDpi = intValue(config, QStringLiteral("mouse/minDPI"), &ok);
    const int maxDpi = intValue(config, QStringLiteral("mouse/maxDPI"), &ok);
    const int base = intValue(config, QStringLiteral("mouse/dpiBase"), &ok);
    const QList<int> dpi = intList(p, QStringLiteral("mouse/dpiValueArray"), &ok);
    QVERIFY(ok);
    QCOMPARE(dpi.size(), 8);
    for (int v : dpi) {
        QVERIFY2(v >= minDpi && v <= maxDpi, qPrintable(QString::number(v)));
        QCOMPARE(v % base, 0);
        // The DPI page places the value on its slider and saves what the
        // slider reads: a factory value must survive that unchanged.
        QCOMPARE(sliderValue(sliderPosition(v, minDpi, maxDpi), minDpi, maxDpi, base), v);
        // Stage code of the 3360 fits one byte.
        QVERIFY(v / 100 - 1 >= 0 && v / 100 - 1 <= 255);
    }

    const QList<int> light = intList(p, QStringLiteral("mouse/lightValue"), &ok);
    QVERIFY(ok);
    QCOMPARE(light.size(), 3);
    // Multi-colour model without the extra breathing effect: entries 0-10.
    QVERIFY(light[0] >= 0 && light[0] <= 10);
    QVERIFY(light[1] >= 0 && light[1] <= 4);
    QVERIFY(light[2] >= 0 && light[2] <= 4);

    const QList<int> colours = intList(p, QStringLiteral("mouse/colorValue"), &ok);
    QVERIFY(ok);
    QCOMPARE(colours.size(), 24);
    for (int c : colours)
        QVERIFY(c >= 0 && c <= 255);

    for (const char *key : {"mouse/mouseRate", "mouse/doubleRate"}) {
        const int pos = intValue(p, QString::fromLatin1(key), &ok);
        QVERIFY2(ok && pos >= 3 && pos <= 337, key);
    }
    const int scroll = intValue(p, QStringLiteral("mouse/scrollRate"), &ok);
    QVERIFY(ok && ((scroll >= 1 && scroll <= 100) || scroll == 1000));

    for (const char *group : {"mouseKeyMatrix/", "mouseFwKeyMatrix/"}) {
        for (int k = 0; k < 16; ++k) {
            const QString key = QString::fromLatin1(group) + QString::number(k);
            const QList<int> e = intList(p, key, &ok);
            QVERIFY2(ok && e.size() == 4, qPrintable(key));
            for (int b : e)
                QVERIFY2(b >= 0 && b <= 255, qPrintable(key));
        }
    }

    // Macro assignments name a macro that the profile records.
    for (int k = 0; k < 16; ++k) {
        const QList<int> e = intList(p, QStringLiteral("mouseKeyMatrix/%1").arg(k), &ok);
        if (e.value(0) == 4) {
            const QString name = p.value(QStringLiteral("mouseMacroKey/%1").arg(e.value(2))).toString();
            QVERIFY2(QFileInfo::exists(path(QStringLiteral("macro/") + name + QStringLiteral(".bin"))),
                     qPrintable(name));
        }
    }

    // The key-matrix list never lets the last left button go, so the
    // factory state must have one among the shown buttons.
    const int keyCount = intValue(config, QStringLiteral("mouse/keyCount"), &ok);
    int leftButtons = 0;
    for (int k = 0; k < keyCount; ++k) {
        const QList<int> e = intList(p, QStringLiteral("mouseKeyMatrix/%1").arg(k), &ok);
        if (e.value(0) == 0 && e.value(2) == 0xF0)
            ++leftButtons;
    }
    QVERIFY(leftButtons >= 1);

    for (int i = 0; i < 2; ++i) {
        const int step = intValue(p, QStringLiteral("XYSensitive/%1").arg(i), &ok);
        QVERIFY(ok && step >= 0);
    }
    for (int i = 0; i < 3; ++i) {
        const int gun = intValue(p, QStringLiteral("selectGun/%1").arg(i), &ok);
        QVERIFY(ok && gun >= 0 && gun <= 5);
    }
}

void TestSettingsData::profilesStartAsFactoryCopies()
{
    const QByteArray factory = readAll(settingFile(QStringLiteral("pD.bin")));
    QVERIFY(!factory.isEmpty());
    for (int n = 1; n <= 10; ++n) {
        const QString f = QStringLiteral("p%1.bin").arg(n);
        QVERIFY2(readAll(settingFile(f)) == factory, qPrintable(f));
    }
}

void TestSettingsData::factoryMatrixIsTheBuiltInMatrix()
{
    // The key-matrix list's rows before its first initialisation; the
    // factory profile holds the same assignments.
    const QList<QList<int>> builtIn{
        {0x00, 0x00, 0xF0, 0x00}, {0x00, 0x00, 0xF1, 0x00}, {0x00, 0x00, 0xF2, 0x00},
        {0x00, 0x00, 0xF4, 0x00}, {0x00, 0x00, 0xF3, 0x00}, {0x05, 0x00, 0x01, 0x00},
        {0x05, 0x00, 0x02, 0x00}, {0x00, 0xF0, 0x1E, 0x02}, {0, 0, 0, 0}, {0, 0, 0, 0},
        {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
        {0xFF, 0x00, 0x01, 0x00}, {0xFF, 0x00, 0x02, 0x00}};
    QSettings p(settingFile(QStringLiteral("pD.bin")), QSettings::IniFormat);
    for (int k = 0; k < 16; ++k) {
        bool ok = false;
        QCOMPARE(intList(p, QStringLiteral("mouseKeyMatrix/%1").arg(k), &ok), builtIn.at(k));
    }
}

void TestSettingsData::factoryDeviceMatrixIsDeviceEncoding()
{
    QSettings config(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    const bool family560 = config.value(QStringLiteral("mouse/icType")).toString() == QLatin1String("560");
    QSettings p(settingFile(QStringLiteral("pD.bin")), QSettings::IniFormat);
    for (int k = 0; k < 16; ++k) {
        bool ok = false;
        const QList<int> in = intList(p, QStringLiteral("mouseKeyMatrix/%1").arg(k), &ok);
        QVERIFY(ok && in.size() == 4);
        const QList<int> fw = intList(p, QStringLiteral("mouseFwKeyMatrix/%1").arg(k), &ok);
        QVERIFY(ok && fw.size() == 4);
        const Entry4 expected = convertEntry({in[0], in[1], in[2], in[3]}, family560);
        QCOMPARE(fw, (QList<int>{expected[0], expected[1], expected[2], expected[3]}));
    }
}

void TestSettingsData::nameLists()
{
    QSettings names(settingFile(QStringLiteral("name.bin")), QSettings::IniFormat);
    const QString marker = QStringLiteral("loaderzentic");
    auto readList = [&](const QString &key) {
        QStringList l = names.value(key).toStringList();
        if (l.size() == 2 && l.at(1) == marker)
            l.removeLast();
        return l;
    };

    // Every listed macro has its file and every macro file is listed.
    const QStringList macros = readList(QStringLiteral("macro/macroName"));
    QStringList files = QDir(path(QStringLiteral("macro"))).entryList({QStringLiteral("*.bin")}, QDir::Files);
    for (QString &f : files)
        f.chop(4);
    QCOMPARE(QSet<QString>(macros.begin(), macros.end()), QSet<QString>(files.begin(), files.end()));
    // A single name must never be stored without the marker: it would read
    // back as plain text, not a list.
    for (const QString &key : names.allKeys())
        QVERIFY2(names.value(key).typeId() == QMetaType::QStringList, qPrintable(key));

    // The gun names follow the recoil presets in row order.
    QSettings gun(path(QStringLiteral("gun/gunData.bin")), QSettings::IniFormat);
    QStringList presetNames;
    for (int row = 0; row < 6; ++row)
        presetNames << gun.value(QStringLiteral("gunData/%1").arg(row)).toStringList().value(0);
    QCOMPARE(readList(QStringLiteral("gun/gunName")), presetNames);

    // Only the standard profile ships, so New and Import have room on a
    // fresh install.
    QCOMPARE(readList(QStringLiteral("profile/profileName")), QStringList{QStringLiteral("Standard0")});
    const QSet<int> numbers{0};

    QSettings config(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    bool ok = false;
    QVERIFY(numbers.contains(intValue(config, QStringLiteral("mouse/profileNo"), &ok)));
}

void TestSettingsData::recoilPresets()
{
    QSettings gun(path(QStringLiteral("gun/gunData.bin")), QSettings::IniFormat);
    QCOMPARE(gun.childGroups(), QStringList{QStringLiteral("gunData")});
    gun.beginGroup(QStringLiteral("gunData"));
    QStringList keys = gun.childKeys();
    gun.endGroup();
    std::sort(keys.begin(), keys.end());
    QCOMPARE(keys, (QStringList{"0", "1", "2", "3", "4", "5"}));

    QSet<QString> names;
    for (int row = 0; row < 6; ++row) {
        const QStringList rec = gun.value(QStringLiteral("gunData/%1").arg(row)).toStringList();
        QCOMPARE(rec.size(), 6);
        QVERIFY(!rec.at(0).isEmpty());
        names.insert(rec.at(0));
        QCOMPARE(rec.at(1), QStringLiteral("L-Click"));
        bool ok[4] = {};
        const int period = rec.at(2).toInt(&ok[0]);
        const int x = rec.at(3).toInt(&ok[1]);
        const int y = rec.at(4).toInt(&ok[2]);
        const int times = rec.at(5).toInt(&ok[3]);
        QVERIFY(ok[0] && ok[1] && ok[2] && ok[3]);
        QVERIFY2(period >= 4 && period <= 90, qPrintable(rec.join(',')));
        QVERIFY(x >= 0 && x <= 64);
        QVERIFY(y >= 0 && y <= 64);
        QVERIFY(times >= 0 && times <= 255);
    }
    QCOMPARE(names.size(), 6);
    // The factory reset of the recoil page leaves rows 0-2 like this.
    QCOMPARE(gun.value(QStringLiteral("gunData/2")).toStringList(),
             (QStringList{"M16A4", "L-Click", "9", "0", "8", "0"}));
}

void TestSettingsData::trayIconLoads()
{
    const QString file = path(QStringLiteral("img/logo.ico"));
    QImageReader reader(file);
    QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
    QSet<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage img = reader.read();
        QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(img.width(), img.height());
        sizes.insert(img.width());
        // A glyph on a transparent ground: clear corners, solid centre.
        QVERIFY(img.hasAlphaChannel());
        QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(img.pixel(img.width() - 1, img.height() - 1)), 0);
        QCOMPARE(qAlpha(img.pixel(img.width() / 2, img.height() * 3 / 4)), 255);
    }
    QCOMPARE(sizes, (QSet<int>{16, 32}));
    QVERIFY(!QIcon(file).isNull());
}

QTEST_MAIN(TestSettingsData)
#include "tst_settingsdata.moc"
