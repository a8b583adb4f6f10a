// Pure encodings of the bridge: key entries and recoil layers, DPI stage
// codes, lighting triples, the macro image and the profile-block fields.
#include <QtTest>

#include <QJSEngine>
#include <QQmlEngine>

#include "bridge/dpistages.h"
#include "bridge/keymatrix.h"
#include "bridge/lighting.h"
#include "bridge/macroimage.h"
#include "bridge/profileblocks.h"
#include "bridge/qmllist.h"
#include "bridge/qmltypes.h"

using keymatrix::Entry;
using Bytes = QList<int>;
Q_DECLARE_METATYPE(CommandFamily)

namespace {

Bytes toBytes(const uchar *p, int n)
{
    Bytes out;
    for (int i = 0; i < n; ++i)
        out.append(p[i]);
    return out;
}
template <size_t N>
Bytes toBytes(const std::array<uchar, N> &a) { return toBytes(a.data(), int(N)); }
Bytes toBytes(const std::vector<uchar> &v) { return toBytes(v.data(), int(v.size())); }

Bytes entryAt(const uchar *layer, int slot) { return toBytes(layer + 4 * slot, 4); }

QVariantList intList(std::initializer_list<int> v)
{
    QVariantList out;
    for (int x : v)
        out.append(x);
    return out;
}

// 64 interface values: every slot a plain left click, except the given ones.
QVariantList matrixWith(const QMap<int, Entry> &entries)
{
    QVariantList out;
    for (int n = 0; n < 16; ++n) {
        const Entry e = entries.value(n, Entry{0, 0, 0xF0, 0});
        for (uchar b : e)
            out.append(int(b));
    }
    return out;
}

// A recognisable factory matrix: slot n = {0x01, n, 0xF0 + n % 5, 0x00}.
keymatrix::LayerBuffer factoryMatrix()
{
    QList<QVariantList> f;
    for (int n = 0; n < 16; ++n)
        f.append(intList({0x01, n, 0xF0 + n % 5, 0}));
    return keymatrix::factoryBuffer(f);
}

} // namespace

class TestEncodings : public QObject
{
    Q_OBJECT
private slots:
    void keyEntry_data();
    void keyEntry();
    void layer1ShortListCountsZero();
    void gunSwitchDetection();
    void recoilLayers_data();
    void recoilLayers();
    void recoilMaskLastSlotDecides();
    void recoilOutOfRangeGunCount_data();
    void recoilOutOfRangeGunCount();
    void factoryBufferShortEntries();

    void stageCode_data();
    void stageCode();
    void highBitMask();
    void enableMask_data();
    void enableMask();
    void codesFor553StagesOff();
    void dpiShortListCountsZero();

    void lightingTriple_data();
    void lightingTriple();
    void colours();

    void macroImage_data();
    void macroImage();
    void macroLongPauseUnits_data();
    void macroLongPauseUnits();
    void macroRepeatClamped();
    void macroSizeMatchesImage();
    void macroTransferBuffer();
    void macroCodecFromQml();
    void macroCodecFromScript();
    void macroCodecImportedByScreens();

    void profileBlockFields();
    void gunSlotOutOfRangeWritesNothing();
    void qmlListHelpers();
};

// ---- key entries --------------------------------------------------------------

void TestEncodings::keyEntry_data()
{
    QTest::addColumn<CommandFamily>("family");
    QTest::addColumn<Bytes>("in");
    QTest::addColumn<Bytes>("out");
    const auto both = {CommandFamily::F553, CommandFamily::F560};
    for (CommandFamily f : both) {
        const char *fam = f == CommandFamily::F560 ? "560" : "553";
        auto row = [&](const char *name, Bytes in, Bytes out) {
            QTest::addRow("%s %s", fam, name) << f << in << out;
        };
        row("left button", {0, 0, 0xF0, 0}, {0x01, 0x00, 0xF0, 0x00});
        row("lighting switch", {0, 0, 0xFF, 0}, {0x0B, 0x00, 0x00, 0x00});
        row("lighting switch keeps bytes 1,3", {0, 7, 0xFF, 9}, {0x0B, 7, 0x00, 9});
        row("rapid fire", {1, 0x04, 10, 3}, {0x0A, 0x04, 10, 3});
        row("key combo", {2, 0x05, 0x04, 0x1D}, {0x00, 0x05, 0x04, 0x1D});
        row("media", {3, 0, 0xE9, 0x00}, {3, 0, 0xE9, 0x00});
        row("macro slot 5 run mode 1", {4, 1, 5, 0}, {0x09, 0x01, 0x06, 0x00});
        row("macro byte 2 wraps", {4, 0, 0xFF, 0}, {0x09, 0x00, 0x00, 0x00});
        row("dpi loop", {5, 0, 3, 0}, {0x07, 0x00, 0x03, 0x00});
        row("windows function", {6, 0x04, 0x2C, 0x1B}, {0x00, 0x04, 0x2C, 0x1B});
        row("shortcut", {7, 0, 0xE0, 0x06}, {0x00, 0x00, 0xE0, 0x06});
        row("gun switch unchanged", {8, 0, 2, 0}, {8, 0, 2, 0});
        row("reserved", {0xFF, 0, 0x01, 0}, {0x04, 0x00, 0x01, 0x00});
        row("type 9 unchanged", {9, 1, 2, 3}, {9, 1, 2, 3});
        row("type 254 unchanged", {254, 1, 2, 3}, {254, 1, 2, 3});
    }
    QTest::newRow("560 sniper") << CommandFamily::F560 << Bytes{5, 0, 4, 0} << Bytes{0x0B, 0x00, 0x01, 0x01};
    QTest::newRow("553 sniper") << CommandFamily::F553 << Bytes{5, 0, 4, 0} << Bytes{0x07, 0x00, 0x04, 0x01};
    QTest::newRow("560 sniper ignores 1,3") << CommandFamily::F560 << Bytes{5, 9, 4, 9} << Bytes{0x0B, 0x00, 0x01, 0x01};
}

void TestEncodings::keyEntry()
{
    QFETCH(CommandFamily, family);
    QFETCH(Bytes, in);
    QFETCH(Bytes, out);
    QVariantList src;
    for (int n = 0; n < 16; ++n)
        for (int b : in)
            src.append(b);
    const keymatrix::Layer layer = keymatrix::buildLayer1(src, family);
    for (int n = 0; n < 16; ++n)
        QCOMPARE(entryAt(layer.data(), n), out);
}

void TestEncodings::layer1ShortListCountsZero()
{
    // Ten values: slot 0 complete, slot 1 half, the rest missing.
    const QVariantList src = intList({4, 1, 5, 0, 1, 0x04});
    const keymatrix::Layer layer = keymatrix::buildLayer1(src, CommandFamily::F553);
    QCOMPARE(entryAt(layer.data(), 0), (Bytes{0x09, 0x01, 0x06, 0x00}));
    QCOMPARE(entryAt(layer.data(), 1), (Bytes{0x0A, 0x04, 0x00, 0x00}));
    // Missing slot = {0,0,0,0} = mouse button with code 0.
    QCOMPARE(entryAt(layer.data(), 15), (Bytes{0x01, 0x00, 0x00, 0x00}));
    // QML numbers arrive as doubles; values wider than a byte keep the low bits.
    const QVariantList dbl{QVariant(2.0), QVariant(0x105), QVariant(-1), QVariant(QStringLiteral("7"))};
    QCOMPARE(entryAt(keymatrix::buildLayer1(dbl, CommandFamily::F553).data(), 0),
             (Bytes{0x00, 0x05, 0xFF, 0x07}));
}

void TestEncodings::gunSwitchDetection()
{
    QVERIFY(!keymatrix::hasGunSwitch(keymatrix::buildLayer1(matrixWith({}), CommandFamily::F553)));
    QVERIFY(keymatrix::hasGunSwitch(
        keymatrix::buildLayer1(matrixWith({{15, {8, 0, 1, 0}}}), CommandFamily::F553)));
}

void TestEncodings::recoilLayers_data()
{
    QTest::addColumn<CommandFamily>("family");
    QTest::addColumn<int>("guns");
    QTest::addColumn<Bytes>("slot7");   // layers 1..4, four bytes each
    QTest::addColumn<int>("mask");      // -1: no mask

    // 553: byte 1 = 0, byte 2 = 1, byte 3 = next layer counted from 0.
    QTest::newRow("553 g1") << CommandFamily::F553 << 1
        << Bytes{8, 0, 1, 1, 8, 0, 1, 0, 8, 0, 1, 0, 8, 0, 1, 0} << -1;
    QTest::newRow("553 g2 (60/70/80 example)") << CommandFamily::F553 << 2
        << Bytes{8, 0, 1, 1, 8, 0, 1, 2, 8, 0, 1, 0, 8, 0, 1, 0} << -1;
    QTest::newRow("553 g3") << CommandFamily::F553 << 3
        << Bytes{8, 0, 1, 1, 8, 0, 1, 2, 8, 0, 1, 3, 8, 0, 1, 0} << -1;
    // 560: byte 2 carries the next layer; bytes 1 and 3 kept (factory slot 7
    // is {1, 7, 0xF2, 0}; layer 1 keeps the interface bytes).
    QTest::newRow("560 g1") << CommandFamily::F560 << 1
        << Bytes{8, 0, 1, 0, 8, 7, 0, 0, 8, 7, 0, 0, 8, 7, 0, 0} << 0x07;
    QTest::newRow("560 g2") << CommandFamily::F560 << 2
        << Bytes{8, 0, 1, 0, 8, 7, 3, 0, 8, 7, 0, 0, 8, 7, 0, 0} << 0x0F;
    QTest::newRow("560 g3") << CommandFamily::F560 << 3
        << Bytes{8, 0, 1, 0, 8, 7, 3, 0, 8, 7, 3, 0, 8, 7, 0, 0} << 0x1F;
}

void TestEncodings::recoilLayers()
{
    QFETCH(CommandFamily, family);
    QFETCH(int, guns);
    QFETCH(Bytes, slot7);
    QFETCH(int, mask);

    const keymatrix::Layer l1 =
        keymatrix::buildLayer1(matrixWith({{7, {8, 0, uchar(guns), 0}}}), family);
    const keymatrix::RecoilLayers r =
        keymatrix::buildRecoilLayers(l1, factoryMatrix(), intList({60, 70, 80}), family);

    Bytes got = entryAt(r.layer1.data(), 7) + entryAt(r.layer2.data(), 7)
              + entryAt(r.layer3.data(), 7) + entryAt(r.layer4.data(), 7);
    QCOMPARE(got, slot7);
    QCOMPARE(r.hasLayerMask, mask >= 0);
    if (mask >= 0)
        QCOMPARE(int(r.layerMask), mask);

    // The left button of each recoil layer fires gun 1, 2, 3 with its period.
    QCOMPARE(entryAt(r.layer2.data(), 0), (Bytes{0x0B, 0, 60, 0}));
    QCOMPARE(entryAt(r.layer3.data(), 0), (Bytes{0x0B, 1, 70, 0}));
    QCOMPARE(entryAt(r.layer4.data(), 0), (Bytes{0x0B, 2, 80, 0}));
    // Layer 1 keeps its left button; other slots of layers 2-4 are factory.
    QCOMPARE(entryAt(r.layer1.data(), 0), (Bytes{0x01, 0, 0xF0, 0}));
    QCOMPARE(entryAt(r.layer3.data(), 9), (Bytes{0x01, 9, 0xF4, 0}));
    // The 128-byte buffers carry zeros behind the 64-byte layer.
    for (int i = 64; i < 128; ++i)
        QCOMPARE(int(r.layer4[i]), 0);
}

void TestEncodings::recoilMaskLastSlotDecides()
{
    const keymatrix::Layer l1 = keymatrix::buildLayer1(
        matrixWith({{3, {8, 0, 3, 0}}, {12, {8, 0, 1, 0}}}), CommandFamily::F560);
    const auto r = keymatrix::buildRecoilLayers(l1, factoryMatrix(), intList({1, 2, 3}),
                                                CommandFamily::F560);
    QCOMPARE(int(r.layerMask), 0x07);
}

void TestEncodings::recoilOutOfRangeGunCount_data()
{
    QTest::addColumn<CommandFamily>("family");
    QTest::addColumn<Bytes>("slot7");
    // 553: bytes 1/2 still forced; byte 3 keeps its value in every layer.
    QTest::newRow("553 g0") << CommandFamily::F553
        << Bytes{8, 0, 1, 5, 8, 0, 1, 0, 8, 0, 1, 0, 8, 0, 1, 0};
    // 560: only the type bytes change.
    QTest::newRow("560 g0") << CommandFamily::F560
        << Bytes{8, 0, 0, 5, 8, 7, 0xF2, 0, 8, 7, 0xF2, 0, 8, 7, 0xF2, 0};
}

void TestEncodings::recoilOutOfRangeGunCount()
{
    QFETCH(CommandFamily, family);
    QFETCH(Bytes, slot7);
    const keymatrix::Layer l1 = keymatrix::buildLayer1(matrixWith({{7, {8, 0, 0, 5}}}), family);
    const auto r = keymatrix::buildRecoilLayers(l1, factoryMatrix(), {}, family);
    QCOMPARE(entryAt(r.layer1.data(), 7) + entryAt(r.layer2.data(), 7)
                 + entryAt(r.layer3.data(), 7) + entryAt(r.layer4.data(), 7),
             slot7);
    QVERIFY(!r.hasLayerMask);
    // No periods given: they count as 0.
    QCOMPARE(entryAt(r.layer4.data(), 0), (Bytes{0x0B, 2, 0, 0}));
}

void TestEncodings::factoryBufferShortEntries()
{
    QList<QVariantList> f{intList({1, 2, 3, 4}), intList({9}), {}};
    const keymatrix::LayerBuffer b = keymatrix::factoryBuffer(f);
    QCOMPARE(entryAt(b.data(), 0), (Bytes{1, 2, 3, 4}));
    QCOMPARE(entryAt(b.data(), 1), (Bytes{9, 0, 0, 0}));
    for (int i = 8; i < 128; ++i)
        QCOMPARE(int(b[i]), 0);
}

// ---- DPI ----------------------------------------------------------------------

void TestEncodings::stageCode_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("high");
    QTest::newRow("4090 800") << "4090" << 800 << 0x07 << false;
    QTest::newRow("4090 5000") << "4090" << 5000 << 0x31 << false;
    QTest::newRow("4090 5001") << "4090" << 5001 << 0x59 << false;
    QTest::newRow("4090 6000") << "4090" << 6000 << 0x5E << false;
    QTest::newRow("4090 50 wraps") << "4090" << 50 << 0xFF << false;
    QTest::newRow("unknown as 4090") << "PMW9999" << 6000 << 0x5E << false;
    QTest::newRow("near-miss text is unknown") << "3360 " << 5001 << 0x59 << false;
    QTest::newRow("3360 1600") << "3360" << 1600 << 0x0F << false;
    QTest::newRow("3360 6000 no high branch") << "3360" << 6000 << 59 << false;
    QTest::newRow("3360 0 wraps") << "3360" << 0 << 0xFF << false;
    QTest::newRow("3050 250") << "3050" << 250 << 0x01 << false;
    QTest::newRow("3050 251") << "3050" << 251 << 0x02 << false;
    QTest::newRow("3050 2000") << "3050" << 2000 << 0x08 << false;
    QTest::newRow("3050 2001") << "3050" << 2001 << 0x45 << false;
    QTest::newRow("3050 4000") << "3050" << 4000 << 0x48 << false;
    QTest::newRow("3050 4500") << "3050" << 4500 << 0x00 << false;
    QTest::newRow("3050 0") << "3050" << 0 << 0x01 << false;
    QTest::newRow("3389 12799") << "3389" << 12799 << 0xFF << false;
    QTest::newRow("3389 12800") << "3389" << 12800 << 0x00 << true;
    QTest::newRow("3389 16000") << "3389" << 16000 << 0x40 << true;
    QTest::newRow("3389 400") << "3389" << 400 << 0x08 << false;
}

void TestEncodings::stageCode()
{
    QFETCH(QString, sensor);
    QFETCH(int, dpi);
    QFETCH(int, code);
    QFETCH(bool, high);
    bool gotHigh = !high;
    QCOMPARE(int(dpistages::stageCode(sensor, dpi, &gotHigh)), code);
    QCOMPARE(gotHigh, high);
}

void TestEncodings::highBitMask()
{
    const auto c = dpistages::encode(QStringLiteral("3389"),
        intList({400, 12800, 800, 12799, 1600, 16000, 3200, 26000}));
    QCOMPARE(int(c.highBitMask), 0b10100010);
    QCOMPARE(toBytes(c.codes), (Bytes{8, 0x00, 16, 0xFF, 32, 0x40, 64, (26000 / 50) & 0xFF}));
    QCOMPARE(int(dpistages::encode(QStringLiteral("4090"), intList({26000})).highBitMask), 0);
}

void TestEncodings::enableMask_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("mask");
    QTest::newRow("1") << 1 << 0x01;
    QTest::newRow("3") << 3 << 0x07;
    QTest::newRow("7") << 7 << 0x7F;
    QTest::newRow("8") << 8 << 0xFF;
    QTest::newRow("0") << 0 << 0x00;
    QTest::newRow("-2") << -2 << 0x00;
    QTest::newRow("40") << 40 << 0xFF;
}

void TestEncodings::enableMask()
{
    QFETCH(int, count);
    QFETCH(int, mask);
    QCOMPARE(int(dpistages::enableMask(count)), mask);
}

void TestEncodings::codesFor553StagesOff()
{
    const auto c = dpistages::encode(QStringLiteral("3360"),
        intList({400, 800, 1600, 3200, 6400, 100, 200, 300}));
    QCOMPARE(toBytes(dpistages::codesFor553(c, 3)),
             (Bytes{3, 7, 15, 0x80, 0x80, 0x80, 0x80, 0x80}));
    QCOMPARE(toBytes(dpistages::codesFor553(c, 8)), (Bytes{3, 7, 15, 31, 63, 0, 1, 2}));
}

void TestEncodings::dpiShortListCountsZero()
{
    const auto c = dpistages::encode(QStringLiteral("3360"), intList({400, 800}));
    // Missing values are 0, and 0 / 100 - 1 wraps to 0xFF.
    QCOMPARE(toBytes(c.codes), (Bytes{3, 7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(toBytes(dpistages::encode(QStringLiteral("3050"), {}).codes), Bytes(8, 0x01));
}

// ---- lighting -------------------------------------------------------------------

void TestEncodings::lightingTriple_data()
{
    QTest::addColumn<bool>("multi");
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("bright");
    QTest::addColumn<Bytes>("triple");
    QTest::newRow("multi static b0") << true << 0 << 3 << 0 << Bytes{1, 0, 0};
    QTest::newRow("multi static b4") << true << 0 << 3 << 4 << Bytes{1, 255, 0};
    QTest::newRow("multi static b5 above table") << true << 0 << 0 << 5 << Bytes{1, 0, 0};
    QTest::newRow("multi breath s0") << true << 1 << 0 << 4 << Bytes{3, 0, 10};
    QTest::newRow("multi neon s4") << true << 2 << 4 << 4 << Bytes{4, 0, 1};
    QTest::newRow("multi off") << true << 3 << 4 << 4 << Bytes{0, 0, 0};
    QTest::newRow("multi twinkling b1") << true << 4 << 2 << 1 << Bytes{2, 64, 0};
    QTest::newRow("multi wave s2 b3") << true << 5 << 2 << 3 << Bytes{5, 192, 5};
    QTest::newRow("multi gliding") << true << 6 << 2 << 3 << Bytes{6, 0, 0};
    QTest::newRow("multi finger b2") << true << 7 << 2 << 2 << Bytes{7, 128, 0};
    QTest::newRow("multi vertical s1 b2") << true << 8 << 1 << 2 << Bytes{8, 128, 17};
    QTest::newRow("multi yoyo s3 b4") << true << 9 << 3 << 4 << Bytes{9, 255, 7};
    QTest::newRow("multi spotlight s0 b2") << true << 10 << 0 << 2 << Bytes{10, 128, 30};
    QTest::newRow("multi spotlight s4") << true << 10 << 4 << 0 << Bytes{10, 0, 20};
    QTest::newRow("multi spotlight s9") << true << 10 << 9 << 0 << Bytes{10, 0, 0};
    QTest::newRow("multi 11") << true << 11 << 1 << 1 << Bytes{0, 0, 0};
    QTest::newRow("single static b0") << false << 0 << 4 << 0 << Bytes{1, 1, 1};
    QTest::newRow("single static b4") << false << 0 << 4 << 4 << Bytes{1, 10, 1};
    QTest::newRow("single breath s0") << false << 1 << 0 << 0 << Bytes{2, 1, 1};
    QTest::newRow("single breath s4") << false << 1 << 4 << 0 << Bytes{2, 5, 1};
    QTest::newRow("single neon s1") << false << 2 << 1 << 0 << Bytes{3, 24, 1};
    QTest::newRow("single off") << false << 3 << 1 << 1 << Bytes{0, 0, 0};
    QTest::newRow("single breath loop s2") << false << 4 << 2 << 0 << Bytes{2, 3, 3};
    QTest::newRow("single 5 is off") << false << 5 << 2 << 2 << Bytes{0, 0, 0};
}

void TestEncodings::lightingTriple()
{
    QFETCH(bool, multi);
    QFETCH(int, effect);
    QFETCH(int, speed);
    QFETCH(int, bright);
    QFETCH(Bytes, triple);
    const auto encode = multi ? lighting::multiColourTriple : lighting::singleColourTriple;
    const lighting::Triple t = encode(uchar(effect), uchar(speed), uchar(bright));
    QCOMPARE((Bytes{t.first, t.second, t.third}), triple);
}

void TestEncodings::colours()
{
    QVariantList src;
    for (int i = 0; i < 30; ++i)
        src.append(i + 250);   // low eight bits, at most 24 values
    const lighting::Colours c = lighting::colourBytes(src);
    QCOMPARE(int(c[0]), 250);
    QCOMPARE(int(c[6]), 0);
    QCOMPARE(int(c[23]), 17);
    QVERIFY(lighting::hasEighthColour(c));

    const lighting::Colours shortList = lighting::colourBytes(intList({1, 2, 3}));
    QCOMPARE(toBytes(shortList).mid(0, 4), (Bytes{1, 2, 3, 0}));
    QVERIFY(!lighting::hasEighthColour(shortList));
    lighting::Colours onlyBlue8{};
    onlyBlue8[23] = 1;
    QVERIFY(lighting::hasEighthColour(onlyBlue8));
}

// ---- macro image ------------------------------------------------------------------

using Actions = QList<macroimage::Action>;
Q_DECLARE_METATYPE(macroimage::Action)

void TestEncodings::macroImage_data()
{
    using namespace macroimage;
    QTest::addColumn<Actions>("actions");
    QTest::addColumn<int>("repeat");
    QTest::addColumn<Bytes>("image");

    QTest::newRow("A press 50ms release")
        << Actions{{KeyPress, 0x04}, {Pause, 50}, {KeyRelease, 0x04}} << 1
        << Bytes{0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x00, 0x00};
    QTest::newRow("two presses without pause")
        << Actions{{KeyPress, 0x04}, {KeyPress, 0x05}} << 1
        << Bytes{0x00, 0x01, 0x01, 0x04, 0x01, 0x05, 0x00, 0x00};
    QTest::newRow("2000 ms pause after press")
        << Actions{{KeyPress, 0x1E}, {Pause, 2000}, {KeyRelease, 0x1E}} << 1
        << Bytes{0x00, 0x01, 0x00, 0x1E, 0x00, 0x01, 0x00, 0x64, 0x81, 0x1E, 0x00, 0x00};
    QTest::newRow("long pause after release keeps release bit")
        << Actions{{ButtonPress, 0xF0}, {ButtonRelease, 0xF0}, {Pause, 1500}, {KeyPress, 0x04}} << 2
        << Bytes{0x00, 0x02, 0x01, 0xF0, 0x80, 0xF0, 0x00, 0x01, 0x00, 75, 0x01, 0x04, 0x00, 0x00};
    QTest::newRow("pause only")
        << Actions{{Pause, 100}, {Pause, 2000}} << 3 << Bytes{0x00, 0x03};
    QTest::newRow("empty") << Actions{} << 1 << Bytes{0x00, 0x01};
    QTest::newRow("leading pauses skipped")
        << Actions{{Pause, 5000}, {KeyPress, 0x04}} << 1
        << Bytes{0x00, 0x01, 0x01, 0x04, 0x00, 0x00};
    QTest::newRow("trailing pause dropped, button release 0x81")
        << Actions{{ButtonPress, 0xF1}, {ButtonRelease, 0xF1}, {Pause, 300}} << 1
        << Bytes{0x00, 0x01, 0x01, 0xF1, 0x81, 0xF1, 0x00, 0x00};
    QTest::newRow("consecutive pauses add")
        << Actions{{KeyPress, 4}, {Pause, 500}, {Pause, 700}, {KeyRelease, 4}} << 1
        << Bytes{0x00, 0x01, 120, 4, 0x81, 4, 0x00, 0x00};
    QTest::newRow("126 ticks short, 127 long")
        << Actions{{KeyPress, 4}, {Pause, 1260}, {KeyPress, 5}, {Pause, 1270}, {KeyPress, 6}} << 1
        << Bytes{0x00, 0x01, 126, 4, 0x00, 5, 0x00, 0x01, 0x00, 63, 0x01, 6, 0x00, 0x00};
    QTest::newRow("pause below a tick counts 1")
        << Actions{{KeyPress, 4}, {Pause, 9}, {KeyRelease, 4}} << 1
        << Bytes{0x00, 0x01, 0x01, 4, 0x81, 4, 0x00, 0x00};
    QTest::newRow("repeat 300 big-endian")
        << Actions{{KeyPress, 4}} << 300 << Bytes{0x01, 0x2C, 0x01, 4, 0x00, 0x00};
    // 6000 s and more: cut to 599999 ticks = 59999 units of 100 ms.
    QTest::newRow("pause of 600000 ticks clamped")
        << Actions{{KeyPress, 4}, {Pause, 6000000}, {KeyRelease, 4}} << 1
        << Bytes{0x00, 0x01, 0x00, 4, 0x00, 0x03, 0xEA, 0x5F, 0x81, 4, 0x00, 0x00};
    QTest::newRow("huge pause sum clamped, no overflow")
        << Actions{{KeyPress, 4}, {Pause, Q_INT64_C(9000000000000000000)}, {Pause, Q_INT64_C(9000000000000000000)}, {KeyRelease, 4}} << 1
        << Bytes{0x00, 0x01, 0x00, 4, 0x00, 0x03, 0xEA, 0x5F, 0x81, 4, 0x00, 0x00};
    QTest::newRow("negative pause counts 0")
        << Actions{{KeyPress, 4}, {Pause, -5000}, {KeyRelease, 4}} << 1
        << Bytes{0x00, 0x01, 0x01, 4, 0x81, 4, 0x00, 0x00};
}

void TestEncodings::macroImage()
{
    QFETCH(Actions, actions);
    QFETCH(int, repeat);
    QFETCH(Bytes, image);
    QCOMPARE(toBytes(macroimage::encode(actions, repeat)), image);
}

void TestEncodings::macroLongPauseUnits_data()
{
    QTest::addColumn<qint64>("ticks");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("count");
    QTest::newRow("127") << qint64(127) << 1 << 63;
    QTest::newRow("99999") << qint64(99999) << 1 << 49999;
    QTest::newRow("100000") << qint64(100000) << 2 << 20000;
    QTest::newRow("299999") << qint64(299999) << 2 << 59999;
    QTest::newRow("300000") << qint64(300000) << 3 << 30000;
    QTest::newRow("599999") << qint64(599999) << 3 << 59999;
    QTest::newRow("600000 clamped") << qint64(600000) << 3 << 59999;
    QTest::newRow("10^9 clamped") << qint64(1000000000) << 3 << 59999;
}

void TestEncodings::macroLongPauseUnits()
{
    QFETCH(qint64, ticks);
    QFETCH(int, unit);
    QFETCH(int, count);
    const macroimage::LongPause lp = macroimage::longPause(ticks);
    QCOMPARE(int(lp.unit), unit);
    QCOMPARE(int(lp.count), count);
}

void TestEncodings::macroRepeatClamped()
{
    using namespace macroimage;
    QCOMPARE(toBytes(encode({}, 65535)), (Bytes{0xFF, 0xFF}));
    QCOMPARE(toBytes(encode({}, 70000)), (Bytes{0xFF, 0xFF}));
    QCOMPARE(toBytes(encode({}, -3)), (Bytes{0x00, 0x00}));
    QCOMPARE(toBytes(encode({}, 0)), (Bytes{0x00, 0x00}));
}

void TestEncodings::macroSizeMatchesImage()
{
    using namespace macroimage;
    // The editor's budget: 2 for the count, 2 for the first action, 2 or 6
    // (long pause before it) for each further action, 2 for the closing delay
    // and 2 for the terminator; leading and trailing pauses cost nothing and a
    // list without actions counts 2.
    QCOMPARE(encodedSize({{Pause, 300}}), 2);
    QCOMPARE(encodedSize({}), 2);
    QCOMPARE(encodedSize({{KeyPress, 4}}), 2 + 2 + 2 + 2);
    QCOMPARE(encodedSize({{Pause, 9000}, {KeyPress, 4}, {Pause, 2000}, {KeyRelease, 4}}),
             2 + 2 + 6 + 2 + 2);
    QCOMPARE(encodedSize({{KeyPress, 4}, {Pause, 1260}, {KeyRelease, 4}}), 2 + 2 + 2 + 2 + 2);
    Actions many;
    for (int i = 0; i < 30; ++i)
        many << Action{KeyPress, 4} << Action{Pause, 3000};
    QCOMPARE(encodedSize(many), 2 + 2 + 29 * 6 + 2 + 2);
    // Never below the image it guards.
    QVERIFY(encodedSize(many) >= int(encode(many, 1).size()));
}

void TestEncodings::macroTransferBuffer()
{
    QVariantList data;
    for (int i = 0; i < 140; ++i)
        data.append(i + 200);
    const auto buf = macroimage::transferBuffer(data);
    QCOMPARE(int(buf[0]), 200);
    QCOMPARE(int(buf[127]), (127 + 200) & 0xFF);
    const auto shortBuf = macroimage::transferBuffer(QVariantList{1, 2});
    QCOMPARE(toBytes(shortBuf).mid(0, 3), (Bytes{1, 2, 0}));
    QCOMPARE(toBytes(shortBuf).count(0), 126);
}

void TestEncodings::macroCodecFromQml()
{
    MacroImageCodec codec;
    QVariantMap pause{{QStringLiteral("type"), 0}, {QStringLiteral("value"), 50.0}};
    const QVariantList rows{QVariantList{1, 4}, pause, QVariantList{2.0, 4.0}};
    QCOMPARE(codec.encode(rows, 1),
             (QVariantList{0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x00, 0x00}));
    QCOMPARE(codec.encodedSize(rows), 10);
    QCOMPARE(codec.encodedSize({}), 2);
}

void TestEncodings::macroCodecFromScript()
{
    // Rows exactly as the editor's script would hand them over.
    MacroImageCodec codec;
    QJSEngine::setObjectOwnership(&codec, QJSEngine::CppOwnership);
    QJSEngine engine;
    engine.globalObject().setProperty(QStringLiteral("codec"), engine.newQObject(&codec));
    const QJSValue image = engine.evaluate(QStringLiteral(
        "codec.encode([[1, 0x1E], {type: 0, value: 2000}, [2, 0x1E]], 1)"));
    QVERIFY2(!image.isError(), qPrintable(image.toString()));
    QCOMPARE(image.toVariant().toList(),
             (QVariantList{0x00, 0x01, 0x00, 0x1E, 0x00, 0x01, 0x00, 0x64, 0x81, 0x1E, 0x00, 0x00}));
    QCOMPARE(engine.evaluate(QStringLiteral("codec.encodedSize([[1, 4], [0, 50], [2, 4]])")).toInt(), 10);
}

void TestEncodings::macroCodecImportedByScreens()
{
    // As the screens reach it: a singleton of the module they import, one
    // per engine. Registering twice is harmless.
    qmltypes::registerTypes();
    qmltypes::registerTypes();
    const int typeId = qmlTypeId(qmltypes::Uri, 1, 0, "MacroImageCodec");
    QVERIFY(typeId >= 0);
    QQmlEngine engine;
    auto *codec = engine.singletonInstance<MacroImageCodec *>(typeId);
    QVERIFY(codec);
    QCOMPARE(engine.singletonInstance<MacroImageCodec *>(typeId), codec);
    QVariantList image;
    QVERIFY(QMetaObject::invokeMethod(codec, "encode", Q_RETURN_ARG(QVariantList, image),
                                      Q_ARG(QVariantList, (QVariantList{QVariantList{1, 4}, QVariantList{2, 4}})),
                                      Q_ARG(int, 2)));
    QCOMPARE(image, (QVariantList{0x00, 0x02, 0x01, 0x04, 0x81, 0x04, 0x00, 0x00}));
    QQmlEngine other;
    QVERIFY(other.singletonInstance<MacroImageCodec *>(typeId) != codec);
}

// ---- profile blocks -------------------------------------------------------------------

void TestEncodings::profileBlockFields()
{
    ProfileBlocks pb;
    for (uint b = 0; b < 5; ++b)
        for (int i = 0; i < 128; ++i)
            pb.set(b, i, 0xAA);

    dpistages::StageCodes c;
    c.codes = {1, 2, 3, 4, 5, 6, 7, 8};
    c.highBitMask = 0x21;
    pb.setDpi(c, 0x0F, false);
    pb.setLighting({9, 8, 7});
    lighting::Colours col{};
    for (int i = 0; i < 24; ++i)
        col[i] = uchar(i + 1);
    pb.setMultiColours(col);
    pb.setSingleColours(col);
    pb.setRecoilLayerMask(0x1F);
    QVERIFY(pb.setGun(2, 5, 6, 7));

    for (uint b = 1; b < 5; ++b) {
        QCOMPARE(toBytes(pb.block(b).data() + 84, 16),
                 (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(int(pb.at(b, 100)), 0x0F);
        QCOMPARE(int(pb.at(b, 82)), 0xAA);   // no "3389": mask untouched
        QCOMPARE(toBytes(pb.block(b).data() + 71, 3), (Bytes{9, 8, 7}));
        QCOMPARE(int(pb.at(b, 101)), 0xAA);
    }
    QCOMPARE(int(pb.at(0, 84)), 0xAA);       // block 0 has no DPI fields
    QCOMPARE(int(pb.at(0, 71)), 0xAA);
    QCOMPARE(int(pb.at(0, 2)), 0x1F);
    QCOMPARE(int(pb.at(0, 24)), 1);
    QCOMPARE(int(pb.at(0, 47)), 24);
    QCOMPARE(int(pb.at(0, 48)), 0xAA);
    QCOMPARE(int(pb.at(1, 104)), 1);
    QCOMPARE(int(pb.at(1, 127)), 24);
    QCOMPARE(int(pb.at(1, 103)), 0xAA);
    // Gun slot 2 lives in block 3.
    QCOMPARE(toBytes(pb.block(3).data() + 78, 4), (Bytes{0xF0, 5, 6, 7}));
    QCOMPARE(int(pb.at(3, 65)), 0xAA & ~0x04);
    QCOMPARE(int(pb.at(2, 78)), 0xAA);

    pb.setDpi(c, 0xFF, true);
    QCOMPARE(int(pb.at(4, 82)), 0x21);
    QCOMPARE(int(pb.at(4, 83)), 0x21);
}

void TestEncodings::gunSlotOutOfRangeWritesNothing()
{
    ProfileBlocks pb;
    QVERIFY(!pb.setGun(0, 1, 2, 3));
    QVERIFY(!pb.setGun(4, 1, 2, 3));
    QVERIFY(!pb.setGun(-1, 1, 2, 3));
    for (uint b = 0; b < 5; ++b)
        QCOMPARE(toBytes(pb.block(b)), Bytes(128, 0));
    QVERIFY(ProfileBlocks::isValidBlock(4));
    QVERIFY(!ProfileBlocks::isValidBlock(5));
}

void TestEncodings::qmlListHelpers()
{
    const QVariantList l{QVariant(3.9), QVariant(-2), QVariant(QStringLiteral("x")),
                         QVariant(std::numeric_limits<double>::quiet_NaN()), QVariant(1e300)};
    QCOMPARE(qmllist::intAt(l, 0), qint64(3));
    QCOMPARE(int(qmllist::byteAt(l, 1)), 0xFE);
    QCOMPARE(qmllist::intAt(l, 2), qint64(0));
    QCOMPARE(qmllist::intAt(l, 3), qint64(0));
    QCOMPARE(qmllist::intAt(l, 4), qint64(0));
    QCOMPARE(qmllist::intAt(l, 5), qint64(0));
    QCOMPARE(qmllist::intAt(l, -1), qint64(0));
    QCOMPARE(qmllist::valueAt(l, 9), QVariant(0));
}

QTEST_GUILESS_MAIN(TestEncodings)
#include "tst_encodings.moc"
