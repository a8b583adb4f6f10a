// "Send this profile" over the simulated mouse, for both families with and
// without recoil: the profile's macros go out before its matrix, and the
// mouse ends with the layers a Save of the profile leaves.
#include <QtTest>

#include <QTemporaryDir>
#include <cstring>

#include "bridge/deviceops.h"
#include "bridge/lighting.h"
#include "bridge/macroimage.h"
#include "bridge/pagerules.h"
#include "bridge/profilesender.h"
#include "bridge/profilesettings.h"
#include "bridgefakes.h"
#include "device/hid_thread.h"
#include "device/protocol.h"
#include "store/macrolibrary.h"
#include "store/settingsstore.h"
#include "tests/common/files.h"

namespace {

QByteArray bytes(const std::vector<uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), int(v.size()));
}

} // namespace

class TestProfileSender : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void profileGoesOutWhole_data();
    void profileGoesOutWhole();
    void dpiAndLightingAreStoredAsThePagesStoreThem();

private:
    void connect(int family, bool isGun);

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<StoreProfileSettings> settings;
    std::unique_ptr<Hid_Thread> hid;
    std::unique_ptr<DeviceOps> ops;
    std::unique_ptr<PageRules> rules;
    RecordingClock clock;
    FakeHost host;
    DeviceFacts facts;
    ProfileSender::Paths paths;
};

void TestProfileSender::init()
{
    QVERIFY(dir.isValid());
    QVERIFY(TestFiles::copyTree(QStringLiteral(QUILL_SOURCE_DIR "/modules"), dir.path()));
    QDir().mkpath(dir.filePath(QStringLiteral("macro")));
    paths.macroDir = dir.filePath(QStringLiteral("macro"));
    paths.gunData = dir.filePath(QStringLiteral("gun/gunData.bin"));
    paths.i18nDir = dir.filePath(QStringLiteral("i18n"));
    store = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("setting")));
    settings = std::make_unique<StoreProfileSettings>(store.get());
    rules = std::make_unique<PageRules>(QStringLiteral(QUILL_SOURCE_DIR "/modules/qml"));
}

void TestProfileSender::cleanup()
{
    ops.reset();
    hid.reset();
    simmouse::reset();
}

void TestProfileSender::connect(int family, bool isGun)
{
    simmouse::Config c;
    c.family = family;
    simmouse::reset(c);
    DeviceEntry e;
    e.path = QString::fromStdString(simmouse::path(0, 0));
    e.reportLength = c.reportLength;
    e.isEncode = c.isEncode;
    hid = std::make_unique<Hid_Thread>();
    hid->setClock(&clock);
    hid->setOwner(&host);
    hid->deviceTable = {e};
    hid->currentIndex = 0;
    std::memset(SecrecyCode, 0, sizeof SecrecyCode);
    proto::applyCodeText(e.sCode, SecrecyCode);
    facts.icType = QString::number(family);
    facts.isGun = isGun;
    facts.isColorful = true;
    host.ic = facts.icType;
    host.gun = isGun;
    ops = std::make_unique<DeviceOps>();
    ops->setHidProvider([this] { return hid.get(); });
    ops->setFactsProvider([this] { return facts; });
    ops->setProfileSettings(settings.get());
    ops->selectDriver();
}

void TestProfileSender::profileGoesOutWhole_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("isGun");
    for (int family : {553, 560})
        for (bool gun : {false, true})
            QTest::addRow("%d %s", family, gun ? "recoil" : "plain") << family << gun;
}

void TestProfileSender::profileGoesOutWhole()
{
    QFETCH(int, family);
    QFETCH(bool, isGun);

    // Profile 1: button 8 plays Macro_1; with recoil, button 6 is a gun switch.
    store->setCurrentProfile(1);
    store->setDataList(QStringLiteral("mouseKeyMatrix/8"), {4, 0, 8, 0});
    store->setData(QStringLiteral("mouseMacroKey/8"), QStringLiteral("Macro_1"));
    if (isGun)
        store->setDataList(QStringLiteral("mouseKeyMatrix/6"), {8, 0, 1, 0});
    MacroLibrary library(paths.macroDir, *store);
    QVERIFY(library.createMacroIni(QStringLiteral("Macro_1"), 1));
    QVERIFY(library.saveMacroIni(QStringLiteral("Macro_1"), {QStringLiteral("1,A"), QStringLiteral("0,50"),
                                                            QStringLiteral("2,A")}, 3));

    connect(family, isGun);
    ProfileSender sender(*store, *ops, *rules, paths);
    sender.send();
    const simmouse::State sent = simmouse::state();

    // The macro, encoded as the editor encodes it ("A" is key 0x04), is the
    // first thing the mouse gets, in the button's slot.
    QList<int> codes = wireCodes();
    const int macroCode = family == 560 ? 0x0F : 0x13;
    const int matrixCode = family == 560 ? 0x0D : 0x12;
    QCOMPARE(codes.first(), macroCode);
    QVERIFY(codes.indexOf(matrixCode) > 0);
    const std::vector<uchar> image = macroimage::encode(
        {{macroimage::KeyPress, 0x04}, {macroimage::Pause, 50}, {macroimage::KeyRelease, 0x04}}, 3);
    QCOMPARE(bytes(sent.macros.at(9)).left(int(image.size())),
             QByteArray(reinterpret_cast<const char *>(image.data()), int(image.size())));

    // The mouse holds what a Save of the profile leaves: compare with a Save
    // on a fresh mouse.
    simmouse::reset(simmouse::config());
    ops->setKeyMatrix(sender.keyMatrixValues(), true, isGun ? sender.gunPeriods() : QVariantList{10, 10, 10});
    const simmouse::State saved = simmouse::state();
    for (uint8_t layer = 1; layer <= (isGun ? 4 : 1); ++layer)
        QCOMPARE(bytes(sent.keyMatrixLayers.at(layer)), bytes(saved.keyMatrixLayers.at(layer)));
    if (isGun) {
        if (family == 560)
            QCOMPARE(sent.currentProfile, uint8_t(1));
        else
            QCOMPARE(sent.currentKeyMatrix, saved.currentKeyMatrix);
    }
    QCOMPARE(host.writeFailures, 0);
}

void TestProfileSender::dpiAndLightingAreStoredAsThePagesStoreThem()
{
    store->setCurrentProfile(2);
    store->setDataList(QStringLiteral("mouse/dpiValueArray"), {"400", "x", "1600"});
    store->setData(QStringLiteral("mouse/currentDpiCount"), 12);
    store->setDataList(QStringLiteral("mouse/lightValue"), {"3", "9", "1"});
    connect(553, false);
    ProfileSender(*store, *ops, *rules, paths).send();

    // A stage the profile does not hold keeps the panel's built-in value; the
    // active count stays within the offered stages; steps stay within 0-4.
    const QVariantList values = store->getDataList(QStringLiteral("mouse/dpiValueArray"), false);
    QCOMPARE(values.size(), 8);
    QCOMPARE(values.at(1).toInt(), 1000);
    QCOMPARE(store->getData(QStringLiteral("mouse/currentDpiCount"), false).toInt(),
             store->getData(QStringLiteral("mouse/dpiCount"), false).toInt());
    QList<int> light;
    for (const QVariant &v : store->getDataList(QStringLiteral("mouse/lightValue"), false))
        light << v.toInt();
    QCOMPARE(light, (QList<int>{3, 4, 1}));
    const simmouse::State s = simmouse::state();
    QCOMPARE(int(s.rgbLedEffect[0]), int(lighting::multiColourTriple(3, 4, 1).first));
}

QTEST_GUILESS_MAIN(TestProfileSender)
#include "tst_profilesender.moc"
