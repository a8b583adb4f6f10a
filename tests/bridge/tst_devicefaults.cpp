// Every operation that writes to the mouse, against a mouse that is pulled
// out before, during or after the transfer, a transfer that fails, and
// replies that are withheld or corrupted. A write the mouse did not take is
// reported to the owner (who shows the balloon); the setting stays stored;
// nothing waits past the protocol's own pauses; and the device object keeps
// working: once the mouse is back, the same operation reaches it.

#include <QElapsedTimer>
#include <QtTest>

#include <cstring>
#include <functional>
#include <sstream>

#include "bridge/deviceops.h"
#include "bridgefakes.h"
#include "device/hid_thread.h"
#include "device/protocol.h"

namespace {

struct Rig
{
    DeviceOps &ops;
    Hid_Thread &hid;
};
using Operation = std::function<void(Rig &)>;

// The device's whole firmware state as text, to compare two runs.
std::string stateText(const simmouse::State &s)
{
    std::ostringstream out;
    auto bytes = [&out](const auto &v) {
        for (auto b : v)
            out << int(b) << ',';
        out << ';';
    };
    auto map = [&](const auto &m) {
        for (const auto &kv : m) {
            out << int(kv.first) << ':';
            bytes(kv.second);
        }
        out << '|';
    };
    bytes(s.keyboardOption);
    out << int(s.currentDpiStage) << ';';
    bytes(s.dpiStageByPosition);
    out << int(s.reportRate) << ';';
    bytes(s.reportRateByPosition);
    out << int(s.currentProfile) << ';' << int(s.currentKeyMatrix) << ';';
    map(s.keyMatrixLayers);
    map(s.macros);
    map(s.dpiSets);
    bytes(s.fixLedColor);
    bytes(s.rgbLedEffect);
    map(s.led8StageColors);
    map(s.gunData);
    for (const auto &p : s.profiles)
        bytes(p);
    return out.str();
}

QVariantList keyMatrix(bool withGunSwitch)
{
    QVariantList m;
    for (int n = 0; n < 16; ++n) {
        const QList<int> e = (withGunSwitch && n == 7) ? QList<int>{8, 0, 2, 0} : QList<int>{0, 0, 0xF0, 0};
        for (int b : e)
            m << b;
    }
    return m;
}

QVariantList ints(std::initializer_list<int> values)
{
    QVariantList out;
    for (int v : values)
        out << v;
    return out;
}

struct OpRow
{
    const char *name;
    QList<int> families;
    bool isGun;
    Operation run;
    // On the 553 family the operation reads from the device before it
    // writes (what it writes depends on the reply).
    bool readsFirst553;
};

QList<OpRow> operations()
{
    return {
        {"key matrix", {553, 560}, false,
         [](Rig &r) { r.ops.setKeyMatrix(keyMatrix(false), true, {}); }, false},
        {"key matrix with recoil layers", {553, 560}, true,
         [](Rig &r) { r.ops.setKeyMatrix(keyMatrix(true), true, ints({60, 70, 80})); }, false},
        {"factory key layers", {553, 560}, false, [](Rig &r) { r.ops.resetKeyMatrix(); }, false},
        {"key layer switch", {553, 560}, false, [](Rig &r) { r.ops.switchKeyMatrix(2); }, false},
        {"DPI stages", {553, 560}, true,
         [](Rig &r) { r.ops.setDpi(4, QStringLiteral("3360"), ints({400, 800, 1600, 3200, 6400, 6400, 6400, 6400})); },
         false},
        {"current DPI stage", {553, 560}, false, [](Rig &r) { r.ops.setCurrentDpi(3); }, false},
        {"lighting effect", {553, 560}, false, [](Rig &r) { r.ops.setRgbEffect(2, 1, 3); }, false},
        {"lighting colours", {553, 560}, false,
         [](Rig &r) {
             QVariantList c;
             for (int i = 0; i < 24; ++i)
                 c << (i * 11) % 256;
             r.ops.setRgbColor(0, c);
         },
         false},
        {"macro", {553, 560}, false,
         [](Rig &r) { r.ops.sendMacroData(ints({0, 1, 5, 4, 0x81, 4, 0, 0}), 3); }, false},
        {"recoil data", {553, 560}, true,
         [](Rig &r) { r.ops.sendGunData(2, ints({3, 4, 5})); }, true},
        {"report rate", {553, 560}, false, [](Rig &r) { r.ops.setReportRate(2); }, false},
        {"keyboard option", {553, 560}, false, [](Rig &r) { r.ops.setKeyboardOption(1, 2, 3, 4); }, false},
        {"profile record", {560}, false, [](Rig &r) { r.ops.setProfile(1); }, false},
        {"current profile", {560}, false, [](Rig &r) { r.hid.hid560_02H_SetCurrentProfile(1); }, false},
    };
}

const QStringList kFaults = {"unplugged before", "unplugged during", "unplugged after",
                             "transfer fails",   "replies withheld", "reply corrupted"};

} // namespace

Q_DECLARE_METATYPE(Operation)

class TestDeviceFaults : public QObject
{
    Q_OBJECT

    RecordingClock clock;
    FakeHost host;
    MapSettings settings;
    DeviceFacts facts;
    std::unique_ptr<Hid_Thread> hid;
    std::unique_ptr<DeviceOps> ops;
    DeviceEntry entry;

    // A fresh device of the family, connected as a check leaves it.
    void connect(int family, bool isGun)
    {
        simmouse::Config c;
        c.family = family;
        c.isEncode = true;
        simmouse::reset(c);
        hid = std::make_unique<Hid_Thread>();
        hid->setClock(&clock);
        hid->setOwner(&host);
        entry = DeviceEntry();
        entry.path = QString::fromStdString(simmouse::path(0, 0));
        entry.path2 = QString::fromStdString(simmouse::path(0, 1));
        entry.isEncode = true;
        hid->deviceTable = {entry};
        hid->currentIndex = 0;
        std::memset(SecrecyCode, 0, sizeof SecrecyCode);
        proto::applyCodeText(entry.sCode, SecrecyCode);
        facts = DeviceFacts();
        facts.icType = QString::number(family);
        facts.isGun = isGun;
        facts.isColorful = true;
        host = FakeHost();
        host.ic = facts.icType;
        host.gun = isGun;
        settings = MapSettings();
        ops = std::make_unique<DeviceOps>();
        ops->setHidProvider([this] { return hid.get(); });
        ops->setFactsProvider([this] { return facts; });
        ops->setProfileSettings(&settings);
        clock = RecordingClock();
    }

    // Transfers the operation makes on a healthy device, and what it leaves there.
    std::pair<int, std::string> reference(int family, bool isGun, const Operation &run)
    {
        connect(family, isGun);
        Rig rig{*ops, *hid};
        run(rig);
        int transfers = 0;
        for (const auto &r : simmouse::wireLog())
            if (r.interface == 0 && r.ok)
                ++transfers;
        return {transfers, stateText(simmouse::state())};
    }

private slots:
    void matrix_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("isGun");
        QTest::addColumn<Operation>("run");
        QTest::addColumn<bool>("readsFirst");
        QTest::addColumn<QString>("fault");
        for (const OpRow &op : operations())
            for (int family : op.families)
                for (const QString &fault : kFaults)
                    QTest::addRow("%d %s, %s", family, op.name, qPrintable(fault))
                        << family << op.isGun << op.run << (op.readsFirst553 && family == 553) << fault;
    }

    void matrix()
    {
        QFETCH(int, family);
        QFETCH(bool, isGun);
        QFETCH(Operation, run);
        QFETCH(bool, readsFirst);
        QFETCH(QString, fault);
        const auto [transfers, healthy] = reference(family, isGun, run);
        QVERIFY(transfers > 0);

        connect(family, isGun);
        Rig rig{*ops, *hid};
        // Faults that leave every transfer of the operation in place.
        bool allSent = true;
        if (fault == QLatin1String("unplugged before")) {
            simmouse::unplug();
            allSent = false;
        } else if (fault == QLatin1String("unplugged during")) {
            simmouse::unplugAfterTransfers(1);
            allSent = transfers == 1;
        } else if (fault == QLatin1String("transfer fails")) {
            simmouse::failTransferAfter(1);
            allSent = false;
        } else if (fault == QLatin1String("replies withheld")) {
            simmouse::withholdReplies(true);
            allSent = !readsFirst;
        } else if (fault == QLatin1String("reply corrupted")) {
            simmouse::corruptNextReply();
        }

        QElapsedTimer took;
        took.start();
        run(rig);
        if (fault == QLatin1String("unplugged after"))
            simmouse::unplug();

        // Nothing waits for the channel or the device beyond its own pauses.
        QVERIFY2(took.elapsed() < 2000, qPrintable(QString::number(took.elapsed())));
        // (A command waiting for the idle token sleeps 255 such steps.)
        QVERIFY(clock.sleeps.count(proto::kIdleStepMs) < 10);
        QCOMPARE(int(hid->hidIdle), 1);
        if (allSent) {
            QCOMPARE(host.writeFailures, 0);
            // A corrupted option read is not detectable; everything else
            // reached the mouse as on a healthy one.
            if (!(readsFirst && fault == QLatin1String("reply corrupted"))
                && fault != QLatin1String("unplugged after"))
                QCOMPARE(stateText(simmouse::state()), healthy);
        } else {
            QVERIFY(host.writeFailures >= 1);
        }
        // What the screens asked to store is stored, sent or not.
        if (settings.writes > 0)
            QCOMPARE(settings.current.size(), 16);

        // The mouse back and found again (as a check does): the same
        // operation reaches it.
        simmouse::withholdReplies(false);
        simmouse::failTransferAfter(0);
        simmouse::unplugAfterTransfers(0);
        simmouse::plug();
        hid->deviceTable = {entry};
        host.writeFailures = 0;
        run(rig);
        QCOMPARE(host.writeFailures, 0);
        QCOMPARE(int(hid->hidIdle), 1);
        if (!readsFirst || fault != QLatin1String("reply corrupted"))
            QCOMPARE(stateText(simmouse::state()), healthy);
    }

    // The device object stays usable for the listener too: a mouse pulled
    // out mid-arming still gets its listener, and the channel is free.
    void armingWithMouseGone()
    {
        connect(553, false);
        simmouse::unplugAfterTransfers(1);   // after the option request, before its reply
        hid->startListener(0);
        hid->waitListener();
        QCOMPARE(int(hid->hidIdle), 1);
        QCOMPARE(int(hid->listening), 0);   // the listener found it gone
        QCOMPARE(host.writeFailures, 0);    // the option read failed: nothing was written
    }
};

QTEST_GUILESS_MAIN(TestDeviceFaults)
#include "tst_devicefaults.moc"
