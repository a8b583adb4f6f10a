// The bridge operations end to end over the simulated mouse: every byte the
// mouse receives, for both command families.
#include <QtTest>

#include <cstring>

#include "bridge/deviceops.h"
#include "bridge/macroimage.h"
#include "bridge/profilesettings.h"
#include "bridge/qmllist.h"
#include "bridgefakes.h"
#include "device/hid_thread.h"
#include "device/protocol.h"
#include "store/settingsstore.h"

using Ints = QList<int>;
using Setup = std::function<void(simmouse::State &)>;
Q_DECLARE_METATYPE(Setup)

namespace {

constexpr int kReportLength = 32;
const QList<int> kPause{64, 64};

QList<int> bulkSleeps(int reports)
{
    QList<int> s = kPause;
    for (int i = 0; i < reports; ++i)
        s << 120;
    return s + kPause;
}

// 16 slots of plain left clicks, with the given slots replaced.
QVariantList matrix(const QMap<int, Ints> &entries)
{
    QVariantList out;
    for (int n = 0; n < 16; ++n)
        for (int b : entries.value(n, Ints{0, 0, 0xF0, 0}))
            out << b;
    return out;
}

QByteArray factoryEntry(int n)
{
    return bytesOf({0x01, n, 0xF0 + n % 5, 0x00});
}

QByteArray entry(const QByteArray &layer, int slot)
{
    return layer.mid(4 * slot, 4);
}

QByteArray blockBytes(const ProfileBlocks::Block &b)
{
    return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size()));
}

} // namespace

class TestWire : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void keyMatrixSingleLayer_data();
    void keyMatrixSingleLayer();
    void recoil553TwoGuns();
    void recoil560TwoGuns();
    void keyMatrixStoredWithoutSending();
    void shortListsReadAsZero();
    void resetKeyMatrix_data();
    void resetKeyMatrix();
    void switchKeyMatrix_data();
    void switchKeyMatrix();
    void keyDefine();

    void dpiSensorBoundaries_data();
    void dpiSensorBoundaries();
    void dpi553StagesOff();
    void dpi560Blocks_data();
    void dpi560Blocks();
    void currentDpi_data();
    void currentDpi();

    void rgbEffect_data();
    void rgbEffect();
    void rgbColor_data();
    void rgbColor();

    void macro_data();
    void macro();
    void macroImageReachesDevice();

    void gunData_data();
    void gunData();
    void gunSlotOutOfRange_data();
    void gunSlotOutOfRange();

    void reportRate_data();
    void reportRate();
    void keyboardOption();
    void profileRecords();
    void profileBlockOutOfRange_data();
    void profileBlockOutOfRange();
    void blocksCarryEarlierFields();
    void currentProfileRoutesToItsFile();
    void noDeviceObjectSendsNothing();

private:
    void connectSim(int family, bool isGun = false, bool colorful = true, bool is55328 = false);
    void resetLog();

    RecordingClock clock;
    FakeHost host;
    Hid_Thread *hid = nullptr;
    MapSettings settings;
    DeviceFacts facts;
    DeviceOps *ops = nullptr;
};

void TestWire::init()
{
    simmouse::reset();
    clock = RecordingClock();
    host = FakeHost();
    settings = MapSettings();
    for (int n = 0; n < 16; ++n) {
        const QByteArray f = factoryEntry(n);
        settings.current.insert(DeviceOps::factoryKeyMatrixKey(n),
                                intList({uchar(f[0]), uchar(f[1]), uchar(f[2]), uchar(f[3])}));
    }
    facts = DeviceFacts();
    hid = new Hid_Thread;
    hid->setClock(&clock);
    hid->setOwner(&host);
    ops = new DeviceOps;
    ops->setHidProvider([this] { return hid; });
    ops->setFactsProvider([this] { return facts; });
    ops->setProfileSettings(&settings);
}

void TestWire::cleanup()
{
    delete ops;
    ops = nullptr;
    delete hid;
    hid = nullptr;
    simmouse::reset();
}

void TestWire::connectSim(int family, bool isGun, bool colorful, bool is55328)
{
    simmouse::Config c;
    c.family = family;
    c.reportLength = kReportLength;
    c.isEncode = true;
    c.code = "418205";
    simmouse::reset(c);

    DeviceEntry e;
    e.path = QString::fromStdString(simmouse::path(0, 0));
    e.path2 = QString::fromStdString(simmouse::path(0, 1));
    e.reportLength = kReportLength;
    e.isEncode = true;
    e.sCode = QStringLiteral("418205");
    hid->deviceTable = {e};
    hid->currentIndex = 0;
    std::memset(SecrecyCode, 0, sizeof SecrecyCode);
    proto::applyCodeText(e.sCode, SecrecyCode);

    facts.icType = family == 560 ? QStringLiteral("560") : QStringLiteral("553");
    facts.isGun = isGun;
    facts.isColorful = colorful;
    facts.is55328 = is55328;
    host.ic = facts.icType;
    host.gun = isGun;
    ops->selectDriver();   // the device is accepted: its driver is chosen once
    resetLog();
}

void TestWire::resetLog()
{
    simmouse::clearWireLog();
    clock.sleeps.clear();
}

// ---- key matrix ---------------------------------------------------------------

void TestWire::keyMatrixSingleLayer_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("slot");
    QTest::addColumn<Ints>("in");
    QTest::addColumn<QByteArray>("out");
    for (int fam : {553, 560}) {
        QTest::addRow("%d left button", fam) << fam << 0 << Ints{0, 0, 0xF0, 0} << bytesOf({0x01, 0, 0xF0, 0});
        QTest::addRow("%d lighting switch", fam) << fam << 4 << Ints{0, 0, 0xFF, 0} << bytesOf({0x0B, 0, 0, 0});
        QTest::addRow("%d macro slot 5 mode 1", fam) << fam << 5 << Ints{4, 1, 5, 0} << bytesOf({0x09, 0x01, 0x06, 0x00});
        QTest::addRow("%d reserved slot 15", fam) << fam << 15 << Ints{0xFF, 0, 2, 0} << bytesOf({0x04, 0, 2, 0});
    }
    QTest::newRow("553 sniper") << 553 << 2 << Ints{5, 0, 4, 0} << bytesOf({0x07, 0x00, 0x04, 0x01});
    QTest::newRow("560 sniper") << 560 << 2 << Ints{5, 0, 4, 0} << bytesOf({0x0B, 0x00, 0x01, 0x01});
}

void TestWire::keyMatrixSingleLayer()
{
    QFETCH(int, family);
    QFETCH(int, slot);
    QFETCH(Ints, in);
    QFETCH(QByteArray, out);
    connectSim(family);

    ops->setKeyMatrix(matrix({{slot, in}}), true, intList({60, 70, 80}));

    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(cmds.size(), 1);   // one layer, no layer select
    const WireCommand &c = cmds.first();
    if (family == 553) {
        QCOMPARE(c.request.left(8), bytesOf({0x00, 0x12, 0x01, 0x40, 0x08, 0, 0, 0}));
        QCOMPARE(c.bulk.size(), 64);
        QCOMPARE(clock.sleeps, bulkSleeps(2));
    } else {
        QCOMPARE(c.request.left(8), bytesOf({0x00, 0x0D, 0x01, 0x80, 0, 0, 0, 0}));
        QCOMPARE(c.bulk.size(), 128);
        QCOMPARE(c.bulk.mid(64), QByteArray(64, '\0'));
        QCOMPARE(clock.sleeps, bulkSleeps(4));
    }
    QCOMPARE(entry(c.bulk, slot), out);
    for (int n = 0; n < 16; ++n)
        if (n != slot)
            QCOMPARE(entry(c.bulk, n), bytesOf({0x01, 0, 0xF0, 0}));
}

void TestWire::recoil553TwoGuns()
{
    connectSim(553, true);
    ops->setKeyMatrix(matrix({{7, {8, 0, 2, 0}}}), true, intList({60, 70, 80}));

    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(wireCodes(), (Ints{0x12, 0x12, 0x12, 0x12, 0x02}));
    QList<QByteArray> layers;
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(cmds[i].byte(2), i + 1);
        QCOMPARE(cmds[i].byte(3), 0x40);
        QCOMPARE(cmds[i].bulk.size(), 64);
        layers << cmds[i].bulk;
    }
    QCOMPARE(cmds[4].byte(2), 1);
    QCOMPARE(int(simmouse::state().currentKeyMatrix), 1);

    QCOMPARE(entry(layers[0], 7), bytesOf({0x08, 0x00, 0x01, 0x01}));
    QCOMPARE(entry(layers[1], 7), bytesOf({0x08, 0x00, 0x01, 0x02}));
    QCOMPARE(entry(layers[2], 7), bytesOf({0x08, 0x00, 0x01, 0x00}));
    QCOMPARE(entry(layers[3], 7), bytesOf({0x08, 0x00, 0x01, 0x00}));
    QCOMPARE(entry(layers[0], 0), bytesOf({0x01, 0, 0xF0, 0}));
    QCOMPARE(entry(layers[1], 0), bytesOf({0x0B, 0, 60, 0}));
    QCOMPARE(entry(layers[2], 0), bytesOf({0x0B, 1, 70, 0}));
    QCOMPARE(entry(layers[3], 0), bytesOf({0x0B, 2, 80, 0}));
    // Every other slot of the recoil layers is the factory entry.
    for (int l = 1; l < 4; ++l)
        for (int n = 1; n < 16; ++n)
            if (n != 7)
                QCOMPARE(entry(layers[l], n), factoryEntry(n));
}

void TestWire::recoil560TwoGuns()
{
    connectSim(560, true);
    for (int i = 0; i < 128; ++i)
        ops->blocks().set(0, i, uchar(0xA0 ^ i));
    ops->setKeyMatrix(matrix({{7, {8, 0, 2, 0}}}), true, intList({60, 70, 80}));

    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(wireCodes(), (Ints{0x0C, 0x0D, 0x0D, 0x0D, 0x0D, 0x02}));
    // Profile block 0 first, carrying the layer mask for two guns.
    QCOMPARE(cmds[0].request.left(4), bytesOf({0x00, 0x0C, 0x00, 0x80}));
    QByteArray expectBlock0;
    for (int i = 0; i < 128; ++i)
        expectBlock0 += char(uchar(0xA0 ^ i));
    expectBlock0[2] = char(0x0F);
    QCOMPARE(cmds[0].bulk, expectBlock0);

    QList<QByteArray> layers;
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(cmds[1 + i].byte(2), i + 1);
        QCOMPARE(cmds[1 + i].bulk.size(), 128);
        layers << cmds[1 + i].bulk;
    }
    QCOMPARE(cmds[5].byte(2), 1);
    // 560: byte 2 carries the next layer; bytes 1 and 3 stay.
    QCOMPARE(entry(layers[0], 7), bytesOf({0x08, 0x00, 0x01, 0x00}));
    QCOMPARE(entry(layers[1], 7), bytesOf({0x08, 0x07, 0x03, 0x00}));
    QCOMPARE(entry(layers[2], 7), bytesOf({0x08, 0x07, 0x00, 0x00}));
    QCOMPARE(entry(layers[3], 7), bytesOf({0x08, 0x07, 0x00, 0x00}));
    QCOMPARE(entry(layers[1], 0), bytesOf({0x0B, 0, 60, 0}));
    QCOMPARE(entry(layers[3], 0), bytesOf({0x0B, 2, 80, 0}));
    QCOMPARE(int(ops->blocks().at(0, ProfileBlocks::RecoilLayerMask)), 0x0F);
}

void TestWire::keyMatrixStoredWithoutSending()
{
    connectSim(553);
    QVariantList src = matrix({{3, {4, 2, 3, 0}}});
    src[1] = QVariant(1.0);                       // a QML number
    src[2] = QVariant(QStringLiteral("241"));     // kept as given
    ops->setKeyMatrix(src, false, {});

    QVERIFY(wireCommands().isEmpty());
    QCOMPARE(settings.writes, 16);
    QCOMPARE(settings.current.value(QStringLiteral("mouseKeyMatrix/0")),
             (QVariantList{0, QVariant(1.0), QVariant(QStringLiteral("241")), 0}));
    QCOMPARE(settings.current.value(QStringLiteral("mouseKeyMatrix/3")), intList({4, 2, 3, 0}));
    QCOMPARE(settings.current.value(QStringLiteral("mouseKeyMatrix/15")), intList({0, 0, 0xF0, 0}));
}

void TestWire::shortListsReadAsZero()
{
    connectSim(553, true);
    // Six values: slot 0 is a one-gun switch, slot 1 half an entry; one period.
    ops->setKeyMatrix(intList({8, 0, 1, 0, 2, 5}), true, intList({55}));

    QCOMPARE(settings.current.value(QStringLiteral("mouseKeyMatrix/1")), intList({2, 5, 0, 0}));
    QCOMPARE(settings.current.value(QStringLiteral("mouseKeyMatrix/9")), intList({0, 0, 0, 0}));
    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(cmds.size(), 5);
    QCOMPARE(entry(cmds[0].bulk, 1), bytesOf({0x00, 0x05, 0x00, 0x00}));
    QCOMPARE(entry(cmds[0].bulk, 2), bytesOf({0x01, 0x00, 0x00, 0x00}));
    QCOMPARE(entry(cmds[1].bulk, 0), bytesOf({0x0B, 0, 55, 0}));
    QCOMPARE(entry(cmds[2].bulk, 0), bytesOf({0x0B, 1, 0, 0}));
    QCOMPARE(entry(cmds[3].bulk, 0), bytesOf({0x0B, 2, 0, 0}));
}

void TestWire::resetKeyMatrix_data()
{
    QTest::addColumn<int>("family");
    QTest::newRow("553") << 553;
    QTest::newRow("560") << 560;
}

void TestWire::resetKeyMatrix()
{
    QFETCH(int, family);
    connectSim(family, true);
    // A short and a missing factory entry read as zeros.
    settings.current.insert(DeviceOps::factoryKeyMatrixKey(3), intList({0x03, 0xE9}));
    settings.current.remove(DeviceOps::factoryKeyMatrixKey(9));

    ops->resetKeyMatrix();

    const QList<WireCommand> cmds = wireCommands();
    const int code = family == 560 ? 0x0D : 0x12;
    QCOMPARE(wireCodes(), (Ints{code, code, code}));
    QByteArray expect;
    for (int n = 0; n < 16; ++n)
        expect += n == 3 ? bytesOf({0x03, 0xE9, 0, 0}) : n == 9 ? QByteArray(4, '\0') : factoryEntry(n);
    if (family == 560)
        expect += QByteArray(64, '\0');
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(cmds[i].byte(2), i + 2);   // layers 2, 3, 4; layer 1 untouched
        QCOMPARE(cmds[i].bulk, expect);
    }
}

void TestWire::switchKeyMatrix_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("sent");
    QTest::newRow("553 1 -> 0") << 553 << 1 << 0;
    QTest::newRow("553 3 -> 2") << 553 << 3 << 2;
    QTest::newRow("553 0 -> FF") << 553 << 0 << 0xFF;
    QTest::newRow("560 1 -> 1") << 560 << 1 << 1;
    QTest::newRow("560 258 -> 2") << 560 << 258 << 2;
}

void TestWire::switchKeyMatrix()
{
    QFETCH(int, family);
    QFETCH(int, index);
    QFETCH(int, sent);
    connectSim(family);
    ops->switchKeyMatrix(index);
    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(cmds.size(), 1);
    QCOMPARE(cmds[0].code(), 0x02);
    QCOMPARE(cmds[0].byte(2), sent);
}

void TestWire::keyDefine()
{
    settings.current.insert(QStringLiteral("mouseKeyMatrix/3"), intList({2, 1, 4, 0}));
    settings.defaults.insert(QStringLiteral("mouseKeyMatrix/3"), intList({0, 0, 0xF3, 0}));
    QCOMPARE(ops->keyDefine(3, false), intList({2, 1, 4, 0}));
    QCOMPARE(ops->keyDefine(QStringLiteral("3"), true), intList({0, 0, 0xF3, 0}));
    QCOMPARE(ops->keyDefine(4, false), QVariantList());
}

// ---- DPI ----------------------------------------------------------------------

void TestWire::dpiSensorBoundaries_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("high");
    for (int fam : {553, 560}) {
        QTest::addRow("%d 3050 2000", fam) << fam << "3050" << 2000 << 0x08 << false;
        QTest::addRow("%d 3050 2001", fam) << fam << "3050" << 2001 << 0x45 << false;
        QTest::addRow("%d 3050 4500", fam) << fam << "3050" << 4500 << 0x00 << false;
        QTest::addRow("%d 4090 5000", fam) << fam << "4090" << 5000 << 0x31 << false;
        QTest::addRow("%d 4090 5001", fam) << fam << "4090" << 5001 << 0x59 << false;
        QTest::addRow("%d 3389 12799", fam) << fam << "3389" << 12799 << 0xFF << false;
        QTest::addRow("%d 3389 12800", fam) << fam << "3389" << 12800 << 0x00 << true;
        QTest::addRow("%d other as 4090", fam) << fam << "PAW3395" << 6000 << 0x5E << false;
        QTest::addRow("%d 3360 1600", fam) << fam << "3360" << 1600 << 0x0F << false;
    }
}

void TestWire::dpiSensorBoundaries()
{
    QFETCH(int, family);
    QFETCH(QString, sensor);
    QFETCH(int, dpi);
    QFETCH(int, code);
    QFETCH(bool, high);
    connectSim(family);
    for (int i = 0; i < 128; ++i)
        ops->blocks().set(1, i, 0xAA);

    // Stage 3 carries the value under test; the others 800.
    QVariantList values = intList({800, 800, dpi, 800, 800, 800, 800, 800});
    ops->setDpi(8, sensor, values);
    const int other = sensor == "3050" ? 0x04 : sensor == "3389" ? 16 : 0x07;

    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(cmds.size(), 1);
    if (family == 553) {
        QCOMPARE(cmds[0].request.left(5), bytesOf({0x00, 0x11, 8, 0x08, 0x00}));
        QCOMPARE(cmds[0].bulk.left(8), bytesOf({other, other, code, other, other, other, other, other}));
        QCOMPARE(cmds[0].bulk.mid(8), QByteArray(24, '\0'));
        QCOMPARE(clock.sleeps, bulkSleeps(1));
        return;
    }
    QCOMPARE(cmds[0].request.left(4), bytesOf({0x00, 0x0C, 0x01, 0x80}));
    const QByteArray blk = cmds[0].bulk;
    const QByteArray codes = bytesOf({other, other, code, other, other, other, other, other});
    QCOMPARE(blk.mid(84, 8), codes);
    QCOMPARE(blk.mid(92, 8), codes);
    QCOMPARE(uchar(blk[100]), uchar(0xFF));
    const uchar mask = sensor == "3389" ? (high ? 0x04 : 0x00) : 0xAA;
    QCOMPARE(uchar(blk[82]), mask);
    QCOMPARE(uchar(blk[83]), mask);
    QCOMPARE(uchar(blk[81]), uchar(0xAA));
    QCOMPARE(uchar(blk[101]), uchar(0xAA));
}

void TestWire::dpi553StagesOff()
{
    connectSim(553);
    ops->setDpi(3, QStringLiteral("3360"), intList({400, 800, 1600, 3200, 6400, 100, 200, 300}));
    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(cmds.size(), 1);
    QCOMPARE(cmds[0].byte(2), 3);
    QCOMPARE(cmds[0].bulk.left(8), bytesOf({3, 7, 15, 0x80, 0x80, 0x80, 0x80, 0x80}));
    // A short list from the screen: missing stages are 0 and off here.
    resetLog();
    ops->setDpi(2, QStringLiteral("3360"), intList({400}));
    QCOMPARE(wireCommands().at(0).bulk.left(8), bytesOf({3, 0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));
}

void TestWire::dpi560Blocks_data()
{
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<int>("count");
    QTest::addColumn<Ints>("sentBlocks");
    QTest::addColumn<int>("mask");
    QTest::newRow("no recoil, 8 stages") << false << 8 << Ints{1} << 0xFF;
    QTest::newRow("no recoil, 1 stage") << false << 1 << Ints{1} << 0x01;
    QTest::newRow("recoil, 5 stages") << true << 5 << Ints{1, 2, 3, 4} << 0x1F;
}

void TestWire::dpi560Blocks()
{
    QFETCH(bool, isGun);
    QFETCH(int, count);
    QFETCH(Ints, sentBlocks);
    QFETCH(int, mask);
    connectSim(560, isGun);
    ops->setDpi(count, QStringLiteral("3360"), intList({400, 800, 1600, 3200, 6400, 100, 200, 300}));

    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(cmds.size(), sentBlocks.size());
    for (int i = 0; i < cmds.size(); ++i) {
        QCOMPARE(cmds[i].code(), 0x0C);
        QCOMPARE(cmds[i].byte(2), sentBlocks[i]);
        QCOMPARE(int(uchar(cmds[i].bulk[100])), mask);
    }
    // Blocks 2-4 are updated in memory also when they are not sent.
    for (uint b = 1; b < 5; ++b) {
        QCOMPARE(int(ops->blocks().at(b, ProfileBlocks::DpiEnableMask)), mask);
        QCOMPARE(int(ops->blocks().at(b, ProfileBlocks::DpiCodesY + 2)), 15);
    }
    QCOMPARE(int(ops->blocks().at(0, ProfileBlocks::DpiEnableMask)), 0);
}

void TestWire::currentDpi_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<Ints>("setCodes");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("readCode");
    QTest::addColumn<int>("result");
    QTest::newRow("553") << 553 << false << Ints{0x0B} << Setup([](simmouse::State &s) { s.currentDpiStage = 5; }) << 0x8B << 5;
    QTest::newRow("560") << 560 << false << Ints{0x04, 0x04, 0x04, 0x04}
        << Setup([](simmouse::State &s) { s.dpiStageByPosition = {6, 2, 2, 2}; }) << 0x84 << 6;
    QTest::newRow("560 recoil") << 560 << true << Ints{0x04}
        << Setup([](simmouse::State &s) { s.dpiStageByPosition = {4, 2, 2, 2}; }) << 0x84 << 4;
}

void TestWire::currentDpi()
{
    QFETCH(int, family);
    QFETCH(bool, isGun);
    QFETCH(Ints, setCodes);
    QFETCH(Setup, setup);
    QFETCH(int, readCode);
    QFETCH(int, result);
    connectSim(family, isGun);

    ops->setCurrentDpi(3);
    QCOMPARE(wireCodes(), setCodes);
    for (const WireCommand &c : wireCommands())
        QCOMPARE(c.byte(family == 560 ? 3 : 2), 3);

    simmouse::State st = simmouse::state();
    setup(st);
    simmouse::setState(st);
    resetLog();
    QCOMPARE(ops->currentDpi(), result);
    QCOMPARE(wireCodes(), (Ints{readCode}));
    if (family == 560)
        QCOMPARE(wireCommands().at(0).byte(2), 1);   // asks for position 1

    // A failed read leaves the preset 0.
    simmouse::withholdReplies(true);
    QCOMPARE(ops->currentDpi(), 0);
}

// ---- lighting ---------------------------------------------------------------------

void TestWire::rgbEffect_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("colorful");
    QTest::addColumn<bool>("is55328");
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<Ints>("args");        // effect, speed, brightness
    QTest::addColumn<QByteArray>("sent");  // 553: 0DH bytes; 560: offsets 71-73 of block 1
    QTest::addColumn<Ints>("blocks");      // 560: blocks sent
    QTest::addColumn<QByteArray>("memory");// 560: offsets 71-73 of blocks 2-4 in memory

    const Ints none;
    QTest::newRow("553 multi static b0") << 553 << true << false << false << Ints{0, 2, 0} << bytesOf({1, 0, 0}) << none << QByteArray();
    QTest::newRow("553 multi static b4") << 553 << true << false << false << Ints{0, 2, 4} << bytesOf({1, 255, 0}) << none << QByteArray();
    QTest::newRow("553 multi spotlight") << 553 << true << false << false << Ints{10, 0, 2} << bytesOf({10, 128, 30}) << none << QByteArray();
    QTest::newRow("553 single breath") << 553 << false << false << false << Ints{1, 0, 0} << bytesOf({2, 1, 2}) << none << QByteArray();
    QTest::newRow("553 single 55328 breath loop") << 553 << false << true << false << Ints{4, 2, 0} << bytesOf({2, 3, 3}) << none << QByteArray();
    QTest::newRow("553 single 55328 static") << 553 << false << true << false << Ints{0, 0, 4} << bytesOf({1, 10, 1}) << none << QByteArray();
    QTest::newRow("560 multi wave") << 560 << true << false << false << Ints{5, 2, 3} << bytesOf({5, 192, 5}) << Ints{1} << bytesOf({5, 192, 5});
    QTest::newRow("560 multi recoil") << 560 << true << false << true << Ints{9, 3, 4} << bytesOf({9, 255, 7}) << Ints{1, 2, 3, 4} << bytesOf({9, 255, 7});
    QTest::newRow("560 single breath") << 560 << false << false << false << Ints{1, 0, 0} << bytesOf({2, 1, 3}) << Ints{1} << bytesOf({2, 1, 2});
    QTest::newRow("560 single recoil neon") << 560 << false << false << true << Ints{2, 1, 0} << bytesOf({3, 24, 2}) << Ints{1, 2, 3, 4} << bytesOf({3, 24, 2});
}

void TestWire::rgbEffect()
{
    QFETCH(int, family);
    QFETCH(bool, colorful);
    QFETCH(bool, is55328);
    QFETCH(bool, isGun);
    QFETCH(Ints, args);
    QFETCH(QByteArray, sent);
    QFETCH(Ints, blocks);
    QFETCH(QByteArray, memory);
    connectSim(family, isGun, colorful, is55328);

    ops->setRgbEffect(uchar(args[0]), uchar(args[1]), uchar(args[2]));
    const QList<WireCommand> cmds = wireCommands();
    if (family == 553) {
        QCOMPARE(cmds.size(), 1);
        QCOMPARE(cmds[0].code(), 0x0D);
        QCOMPARE(cmds[0].request.mid(2, 3), sent);
        QCOMPARE(cmds[0].request.mid(5, 3), QByteArray(3, '\0'));
        return;
    }
    QCOMPARE(cmds.size(), blocks.size());
    for (int i = 0; i < cmds.size(); ++i) {
        QCOMPARE(cmds[i].code(), 0x0C);
        QCOMPARE(cmds[i].byte(2), blocks[i]);
        QCOMPARE(cmds[i].bulk.mid(71, 3), i == 0 ? sent : memory);
    }
    for (uint b = 2; b < 5; ++b)
        QCOMPARE(blockBytes(ops->blocks().block(b)).mid(71, 3), memory);
}

void TestWire::rgbColor_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("colorful");
    QTest::addColumn<bool>("is55328");
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariantList>("colours");
    QTest::addColumn<Ints>("codes");
    QTest::addColumn<QByteArray>("header");   // request bytes 2..4
    QTest::addColumn<QByteArray>("data");     // bulk data, or block bytes at the colour offset

    QVariantList full;
    QByteArray fullBytes;
    for (int i = 0; i < 24; ++i) {
        full << 10 + i;
        fullBytes += char(10 + i);
    }
    QVariantList noEighth = full;
    noEighth[21] = noEighth[22] = noEighth[23] = 0;
    QByteArray noEighthBytes = fullBytes;
    noEighthBytes[21] = noEighthBytes[22] = noEighthBytes[23] = 0;
    QVariantList blueEighth = noEighth;
    blueEighth[23] = 1;
    QByteArray blueEighthBytes = noEighthBytes;
    blueEighthBytes[23] = 1;

    QTest::newRow("553 55328 static colour") << 553 << false << true << 1 << noEighth << Ints{0x0C}
        << bytesOf({10, 11, 12}) << QByteArray();
    QTest::newRow("553 55328 eighth colour set") << 553 << false << true << 1 << blueEighth << Ints{0x10}
        << bytesOf({0, 24, 0}) << blueEighthBytes;
    QTest::newRow("553 eight colours twice") << 553 << true << false << 0 << full << Ints{0x10, 0x10}
        << bytesOf({0, 24, 0}) << fullBytes;
    QTest::newRow("553 type 2 sends 4 bytes") << 553 << true << false << 2 << full << Ints{0x10, 0x10}
        << bytesOf({2, 4, 0}) << fullBytes.left(4);
    QTest::newRow("553 short list zero-filled") << 553 << true << false << 0 << intList({1, 2, 3}) << Ints{0x10, 0x10}
        << bytesOf({0, 24, 0}) << bytesOf({1, 2, 3}) + QByteArray(21, '\0');
    QTest::newRow("560 multi block 0") << 560 << true << false << 0 << full << Ints{0x0C}
        << bytesOf({0, 0x80, 0}) << fullBytes;
    QTest::newRow("560 single block 1") << 560 << false << false << 1 << full << Ints{0x0C}
        << bytesOf({1, 0x80, 0}) << fullBytes;
}

void TestWire::rgbColor()
{
    QFETCH(int, family);
    QFETCH(bool, colorful);
    QFETCH(bool, is55328);
    QFETCH(int, type);
    QFETCH(QVariantList, colours);
    QFETCH(Ints, codes);
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, data);
    connectSim(family, false, colorful, is55328);

    ops->setRgbColor(uchar(type), colours);
    QCOMPARE(wireCodes(), codes);
    for (const WireCommand &c : wireCommands()) {
        QCOMPARE(c.request.mid(2, 3), header);
        if (family == 560) {
            QCOMPARE(c.bulk.mid(colorful ? 24 : 104, 24), data);
        } else if (!data.isEmpty()) {
            QCOMPARE(c.outputReports, 1);
            QCOMPARE(c.bulk.left(data.size()), data);
            QCOMPARE(c.bulk.mid(data.size()), QByteArray(kReportLength - data.size(), '\0'));
        } else {
            QCOMPARE(c.outputReports, 0);
        }
    }
}

// ---- macros ---------------------------------------------------------------------

void TestWire::macro_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QVariant>("slot");
    QTest::addColumn<int>("macroId");   // 0: nothing sent
    for (int fam : {553, 560}) {
        QTest::addRow("%d slot 5", fam) << fam << QVariant(5) << 6;
        QTest::addRow("%d slot 0", fam) << fam << QVariant(0) << 1;
        QTest::addRow("%d slot 11", fam) << fam << QVariant(11) << 12;
        QTest::addRow("%d slot 12", fam) << fam << QVariant(12) << 0;
        QTest::addRow("%d slot 200", fam) << fam << QVariant(200) << 0;
        QTest::addRow("%d slot text", fam) << fam << QVariant(QStringLiteral("3")) << 4;
        QTest::addRow("%d slot 261 low byte", fam) << fam << QVariant(261) << 6;
    }
}

void TestWire::macro()
{
    QFETCH(int, family);
    QFETCH(QVariant, slot);
    QFETCH(int, macroId);
    connectSim(family);

    const QVariantList image = intList({0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x00, 0x00});
    QVERIFY(ops->sendMacroData(image, slot));

    const QList<WireCommand> cmds = wireCommands();
    if (macroId == 0) {
        QVERIFY(cmds.isEmpty());
        return;
    }
    QCOMPARE(cmds.size(), 1);
    QCOMPARE(cmds[0].request.left(5),
             bytesOf({0x00, family == 560 ? 0x0F : 0x13, macroId, 0x80, 0x00}));
    QCOMPARE(cmds[0].bulk.size(), 128);
    QCOMPARE(cmds[0].bulk.left(8), bytesOf({0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x00, 0x00}));
    QCOMPARE(cmds[0].bulk.mid(8), QByteArray(120, '\0'));
    QCOMPARE(clock.sleeps, bulkSleeps(4));
}

void TestWire::macroImageReachesDevice()
{
    connectSim(560);
    using namespace macroimage;
    const std::vector<uchar> img = encode({{KeyPress, 0x04}, {Pause, 2000}, {KeyRelease, 0x04}}, 1);
    QVariantList data;
    for (uchar b : img)
        data << int(b);
    // A key entry {4, 1, 5, 0} plays macro id 6: the image goes under it.
    QVERIFY(ops->sendMacroData(data, 5));
    const std::vector<uint8_t> stored = simmouse::state().macros.at(6);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(stored.data()), 12),
             bytesOf({0x00, 0x01, 0x00, 0x04, 0x00, 0x01, 0x00, 0x64, 0x81, 0x04, 0x00, 0x00}));

    // A macro of pauses only: its two count bytes, then zeros.
    resetLog();
    data.clear();
    for (uchar b : encode({{Pause, 500}, {Pause, 2000}}, 2))
        data << int(b);
    QVERIFY(ops->sendMacroData(data, 0));
    QCOMPARE(wireCommands().size(), 1);
    QCOMPARE(wireCommands().at(0).bulk, bytesOf({0x00, 0x02}) + QByteArray(126, '\0'));
}

// ---- recoil -------------------------------------------------------------------------

void TestWire::gunData_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<int>("option3");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QVariantList>("data");
    QTest::addColumn<Ints>("codes");
    QTest::addColumn<QByteArray>("sent");   // 553: request bytes 2..6; 560: block bytes 78..81

    QTest::newRow("553 without recoil") << 553 << false << 0 << 1 << intList({1, 2, 3}) << Ints{} << QByteArray();
    QTest::newRow("560 without recoil") << 560 << false << 0 << 1 << intList({1, 2, 3}) << Ints{} << QByteArray();
    QTest::newRow("553 Y negated") << 553 << true << 1 << 1 << intList({3, 2, 5}) << Ints{0x83, 0x04}
        << bytesOf({0, 3, 2, 0xFB, 0});
    QTest::newRow("553 Y as is, slot 3") << 553 << true << 0 << 3 << intList({0, 0xFE, 5}) << Ints{0x83, 0x04}
        << bytesOf({0, 0, 0xFE, 5, 2});
    QTest::newRow("553 short data") << 553 << true << 0 << 2 << intList({7}) << Ints{0x83, 0x04}
        << bytesOf({0, 7, 0, 0, 1});
    QTest::newRow("560 slot 1") << 560 << true << 0 << 1 << intList({0, 0, 10}) << Ints{0x0C}
        << bytesOf({0xF0, 0x00, 0x00, 0x0A});
    QTest::newRow("560 slot 3, no negation") << 560 << true << 1 << 3 << intList({2, 300, -5}) << Ints{0x0C}
        << bytesOf({0xF0, 2, 300 & 0xFF, 0xFB});
}

void TestWire::gunData()
{
    QFETCH(int, family);
    QFETCH(bool, isGun);
    QFETCH(int, option3);
    QFETCH(int, slot);
    QFETCH(QVariantList, data);
    QFETCH(Ints, codes);
    QFETCH(QByteArray, sent);
    connectSim(family, isGun);
    simmouse::State st = simmouse::state();
    st.keyboardOption = {0, 0, uint8_t(option3), 0};
    simmouse::setState(st);
    for (uint b = 0; b < 5; ++b)
        ops->blocks().set(b, ProfileBlocks::GunFlags, 0xFF);

    ops->sendGunData(slot, data);
    QCOMPARE(wireCodes(), codes);
    if (codes.isEmpty())
        return;
    const QList<WireCommand> cmds = wireCommands();
    if (family == 553) {
        QCOMPARE(cmds[1].request.mid(2, 5), sent);
        QCOMPARE(clock.sleeps, (Ints{8}));   // 04H does not pause, it waits 8 ms
        return;
    }
    QCOMPARE(cmds[0].byte(2), slot + 1);
    QCOMPARE(cmds[0].bulk.mid(78, 4), sent);
    QCOMPARE(uchar(cmds[0].bulk[65]), uchar(0xFB));
    // Other gun blocks untouched.
    for (int b = 2; b < 5; ++b)
        if (b != slot + 1)
            QCOMPARE(int(ops->blocks().at(uint(b), ProfileBlocks::GunFlags)), 0xFF);
}

void TestWire::gunSlotOutOfRange_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("slot");
    for (int fam : {553, 560})
        for (int slot : {0, 4, -1, 100})
            QTest::addRow("%d slot %d", fam, slot) << fam << slot;
}

void TestWire::gunSlotOutOfRange()
{
    QFETCH(int, family);
    QFETCH(int, slot);
    connectSim(family, true);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("gun slot .* ignored")));
    ops->sendGunData(slot, intList({1, 2, 3}));
    QVERIFY(wireCommands().isEmpty());
    for (uint b = 0; b < 5; ++b)
        QCOMPARE(blockBytes(ops->blocks().block(b)), QByteArray(128, '\0'));
}

// ---- report rate, keyboard option, profile records -----------------------------------------

void TestWire::reportRate_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<QList<QByteArray>>("requests");   // bytes 1..3
    QTest::newRow("553") << 553 << false << QList<QByteArray>{bytesOf({0x01, 8, 0})};
    QTest::newRow("560") << 560 << false
        << QList<QByteArray>{bytesOf({0x03, 1, 8}), bytesOf({0x03, 2, 8}), bytesOf({0x03, 3, 8}), bytesOf({0x03, 4, 8})};
    QTest::newRow("560 recoil") << 560 << true << QList<QByteArray>{bytesOf({0x03, 1, 8})};
}

void TestWire::reportRate()
{
    QFETCH(int, family);
    QFETCH(bool, isGun);
    QFETCH(QList<QByteArray>, requests);
    connectSim(family, isGun);
    ops->setReportRate(8);
    QList<QByteArray> got;
    for (const WireCommand &c : wireCommands())
        got << c.request.mid(1, 3);
    QCOMPARE(got, requests);
    QList<int> pauses;
    for (int i = 0; i < requests.size(); ++i)
        pauses += kPause;
    QCOMPARE(clock.sleeps, pauses);
}

void TestWire::keyboardOption()
{
    // The keyboard option always uses the 553-family commands.
    connectSim(560);
    ops->setKeyboardOption(1, 2, 3, 4);
    QCOMPARE(wireCommands().size(), 1);
    QCOMPARE(wireCommands().at(0).request.left(7), bytesOf({0x00, 0x03, 1, 2, 3, 4, 0}));
    QCOMPARE(clock.sleeps, (Ints{8}));

    connectSim(553);
    simmouse::State st = simmouse::state();
    st.keyboardOption = {9, 8, 7, 6};
    simmouse::setState(st);
    QCOMPARE(ops->keyboardOption(), intList({9, 8, 7, 6}));
    QCOMPARE(wireCodes(), (Ints{0x83}));
    simmouse::withholdReplies(true);
    QCOMPARE(ops->keyboardOption(), intList({0, 0, 0, 0}));
}

void TestWire::profileRecords()
{
    // The profile records use the 560-family commands whatever the IC type.
    connectSim(560);
    facts.icType = QStringLiteral("553");
    simmouse::State st = simmouse::state();
    for (int i = 0; i < 128; ++i)
        st.profiles[2][i] = uint8_t(i * 3);
    st.currentProfile = 3;
    simmouse::setState(st);

    ops->readProfile(2);
    QCOMPARE(wireCodes(), (Ints{0x8C}));
    QCOMPARE(wireCommands().at(0).byte(2), 2);
    for (int i = 0; i < 128; ++i)
        QCOMPARE(int(ops->blocks().at(2, i)), (i * 3) & 0xFF);

    resetLog();
    ops->blocks().set(0, 5, 0x55);
    ops->setProfile(0);
    QCOMPARE(wireCommands().size(), 1);
    QCOMPARE(wireCommands().at(0).request.left(4), bytesOf({0x00, 0x0C, 0x00, 0x80}));
    QCOMPARE(wireCommands().at(0).bulk, blockBytes(ops->blocks().block(0)));
    QCOMPARE(int(simmouse::state().profiles[0][5]), 0x55);

    resetLog();
    QCOMPARE(ops->readCurrentProfile(), 3);
    QCOMPARE(wireCodes(), (Ints{0x82}));
    simmouse::withholdReplies(true);
    QCOMPARE(ops->readCurrentProfile(), 0);
    // A failed record read leaves the block as it was.
    ops->readProfile(2);
    QCOMPARE(int(ops->blocks().at(2, 10)), 30);
}

void TestWire::profileBlockOutOfRange_data()
{
    QTest::addColumn<bool>("read");
    QTest::addColumn<uint>("block");
    QTest::newRow("read 5") << true << 5u;
    QTest::newRow("read max") << true << 0xFFFFFFFFu;
    QTest::newRow("set 5") << false << 5u;
    QTest::newRow("set 260") << false << 260u;
}

void TestWire::profileBlockOutOfRange()
{
    QFETCH(bool, read);
    QFETCH(uint, block);
    connectSim(560);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("block .* outside 0-4 ignored")));
    if (read)
        ops->readProfile(block);
    else
        ops->setProfile(block);
    QVERIFY(wireCommands().isEmpty());
}

void TestWire::blocksCarryEarlierFields()
{
    connectSim(560);
    simmouse::State st = simmouse::state();
    for (int i = 0; i < 128; ++i)
        st.profiles[1][i] = uint8_t(0x30 + i);
    simmouse::setState(st);
    ops->readProfile(1);

    ops->setDpi(2, QStringLiteral("3360"), intList({400, 800, 1600, 3200, 6400, 100, 200, 300}));
    resetLog();
    ops->setRgbEffect(0, 0, 4);
    const QByteArray blk = wireCommands().at(0).bulk;
    QCOMPARE(blk.mid(71, 3), bytesOf({1, 255, 0}));
    QCOMPARE(blk.mid(84, 3), bytesOf({3, 7, 15}));
    QCOMPARE(uchar(blk[100]), uchar(0x03));
    QCOMPARE(uchar(blk[0]), uchar(0x30));
    QCOMPARE(uchar(blk[70]), uchar(0x30 + 70));
    QCOMPARE(uchar(blk[127]), uchar(0x30 + 127));
}

void TestWire::currentProfileRoutesToItsFile()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString dir = tmp.path();
    // p1 and p4 with different factory matrices.
    for (int p : {1, 4}) {
        QSettings ini(dir + QStringLiteral("/p%1.bin").arg(p), QSettings::IniFormat);
        for (int n = 0; n < 16; ++n)
            ini.setValue(DeviceOps::factoryKeyMatrixKey(n), intList({0x01, p, n, 0}));
        ini.setValue(QStringLiteral("mouseKeyMatrix/2"), intList({2, p, 0, 0}));
    }
    SettingsStore store(dir);
    StoreProfileSettings profile(&store);
    ops->setProfileSettings(&profile);
    connectSim(553, true);

    store.setCurrentProfile(3);
    QCOMPARE(QVariant(ops->keyDefine(2, false)).toStringList(), (QStringList{"2", "4", "0", "0"}));
    ops->setKeyMatrix(matrix({{9, {8, 0, 1, 0}}, {1, {2, 0x02, 0x04, 0}}}), true, intList({1, 2, 3}));
    store.syncAll();

    // The recoil layers are built from p4's factory matrix.
    const QList<WireCommand> cmds = wireCommands();
    QCOMPARE(cmds.size(), 5);
    QCOMPARE(entry(cmds[1].bulk, 5), bytesOf({0x01, 4, 5, 0}));
    // The interface values went to p4.bin, not p1.bin.
    QSettings p4(dir + QStringLiteral("/p4.bin"), QSettings::IniFormat);
    QSettings p1(dir + QStringLiteral("/p1.bin"), QSettings::IniFormat);
    QCOMPARE(p4.value(QStringLiteral("mouseKeyMatrix/1")).toStringList(),
             (QStringList{"2", "2", "4", "0"}));
    QCOMPARE(p1.value(QStringLiteral("mouseKeyMatrix/1")), QVariant());
    QCOMPARE(p1.value(QStringLiteral("mouseKeyMatrix/2")).toStringList(),
             (QStringList{"2", "1", "0", "0"}));
    ops->setProfileSettings(&settings);
}

void TestWire::noDeviceObjectSendsNothing()
{
    connectSim(560, true);
    ops->setHidProvider([] { return nullptr; });
    ops->setKeyMatrix(matrix({{7, {8, 0, 2, 0}}}), true, {});
    ops->setDpi(4, QStringLiteral("3360"), {});
    ops->setRgbColor(0, {});
    QVERIFY(ops->sendMacroData({}, 1));
    ops->sendGunData(1, {});
    QCOMPARE(ops->currentDpi(), 0);
    QCOMPARE(ops->readCurrentProfile(), 0);
    QCOMPARE(ops->keyboardOption(), intList({0, 0, 0, 0}));
    QVERIFY(simmouse::wireLog().empty());
    // The blocks still take the new fields.
    QCOMPARE(int(ops->blocks().at(1, ProfileBlocks::DpiEnableMask)), 0x0F);
    QCOMPARE(int(ops->blocks().at(0, ProfileBlocks::RecoilLayerMask)), 0x0F);
}

QTEST_GUILESS_MAIN(TestWire)
#include "tst_wire.moc"
