// Every operation that replaces or writes a settings file, against the
// faults a disk and a user's files bring: the source missing, unreadable,
// empty or garbage, the target folder read-only, the disk full. A failed
// operation says so and leaves every file as it was (no half-written file,
// no stray temporary); a successful one leaves a complete file; nothing
// waits; and once the fault is gone the same operation works again.

#include "store/gunstore.h"
#include "store/macrolibrary.h"
#include "store/namelists.h"
#include "store/profilefiles.h"
#include "store/settingsstore.h"
#include "storetestutil.h"
#include "tests/common/faults.h"

#include <QElapsedTimer>
#include <QtTest>

#include <functional>

using namespace StoreTest;
using TestFiles::snapshot;

namespace {

// The stores over one run folder, built after the fault is in place (as a
// program started on that tree would see it).
struct Stores
{
    explicit Stores(const QString &root)
        : root(root),
          store(root + QStringLiteral("/modules/setting")),
          macros(root + QStringLiteral("/modules/macro"), store),
          names(root + QStringLiteral("/modules/setting/name.bin")),
          guns(root + QStringLiteral("/modules/gun/gunData.bin"))
    {
    }
    QString root;
    SettingsStore store;
    MacroLibrary macros;
    NameLists names;
    GunStore guns;
    ScriptedDialogs dialogs;
};

using Run = std::function<bool(Stores &)>;
// What a successful run must have left (beyond an unchanged rest).
using Verify = std::function<void(Stores &)>;

struct Op
{
    const char *name;
    QString source;   // relative to the run folder; the file the fault hits
    QString target;   // the file the operation replaces or writes
    bool copies;      // a successful run makes target a byte copy of source
    Run run;
    Verify verify;
    // Expected result per fault, in the order of kFaults.
    QList<bool> ok;
};

const QStringList kFaults = {"source missing", "source unreadable", "source empty",
                             "source garbage", "folder read-only",  "disk full"};

const char kGarbageBytes[] = "\x00\xff[[=\n\x01garbage=\"unterminated\n[mouse\n\xfe\xfe";
const QByteArray kGarbage(kGarbageBytes, sizeof kGarbageBytes - 1);

QList<Op> operations()
{
    const QString setting = QStringLiteral("modules/setting/");
    const QString macro = QStringLiteral("modules/macro/");
    const QString gun = QStringLiteral("modules/gun/gunData.bin");
    const QString names = setting + QStringLiteral("name.bin");
    auto answer = [](const QString &rel) {
        return [rel](Stores &s) { s.dialogs.answers << s.root + QLatin1Char('/') + rel; };
    };
    const QList<bool> copyOk{false, false, true, true, false, false};
    const Verify none = [](Stores &) {};
    return {
        {"reset profile", setting + "pD.bin", setting + "p3.bin", true,
         [](Stores &s) { return ProfileFiles::resetProfile(s.store, 2); }, none, copyOk},
        {"copy profile", setting + "p5.bin", setting + "p2.bin", true,
         [](Stores &s) { return ProfileFiles::copyProfile(s.store, 1, 4); }, none, copyOk},
        {"import profile", "exchange/imported.pf", setting + "p1.bin", true,
         [answer](Stores &s) {
             answer("exchange/imported.pf")(s);
             return ProfileFiles::loadProfile(s.store, s.dialogs, 0);
         },
         none, copyOk},
        {"export profile", setting + "p4.bin", "exchange/user.pf", true,
         [answer](Stores &s) {
             answer("exchange/user.pf")(s);
             return ProfileFiles::saveProfile(s.store, s.dialogs, 3);
         },
         none, copyOk},
        {"import macro", "exchange/imported.mc", macro + "New.bin", true,
         [answer](Stores &s) {
             answer("exchange/imported.mc")(s);
             return s.macros.loadMacroFile(s.dialogs, QStringLiteral("New"));
         },
         none, copyOk},
        {"export macro", macro + "Macro_0.bin", "exchange/user.mc", true,
         [answer](Stores &s) {
             answer("exchange/user.mc")(s);
             return s.macros.saveMacroFile(s.dialogs, QStringLiteral("Macro_0"));
         },
         none, copyOk},
        // The file written in place is its own source.
        {"create macro", macro + "Macro_0.bin", macro + "Macro_0.bin", false,
         [](Stores &s) { return s.macros.createMacroIni(QStringLiteral("Macro_0"), 0); },
         [](Stores &s) { QCOMPARE(s.macros.loadMacroIni(QStringLiteral("Macro_0")).last(), QStringLiteral("1")); },
         {true, false, true, true, false, false}},
        {"save macro", macro + "Macro_0.bin", macro + "Macro_0.bin", false,
         [](Stores &s) { return s.macros.saveMacroIni(QStringLiteral("Macro_0"), {"1,B", "2,B"}, 7); },
         [](Stores &s) {
             QCOMPARE(s.macros.loadMacroIni(QStringLiteral("Macro_0")), (QStringList{"1,B", "2,B", "7"}));
         },
         {false, false, true, true, false, false}},
        // Renaming and deleting move no data: a full disk does not stop them.
        {"rename macro", macro + "Macro_0.bin", macro + "Renamed.bin", false,
         [](Stores &s) {
             return s.macros.modifyMacroNameUpdateProfile(QStringLiteral("Macro_0"), QStringLiteral("Renamed"));
         },
         [](Stores &s) { QVERIFY(!QFileInfo::exists(s.root + "/modules/macro/Macro_0.bin")); },
         {false, true, true, true, false, true}},
        {"delete macro", macro + "Macro_0.bin", macro + "Macro_0.bin", false,
         [](Stores &s) { return s.macros.deleteMacroIni(QStringLiteral("Macro_0")); },
         [](Stores &s) { QVERIFY(!QFileInfo::exists(s.root + "/modules/macro/Macro_0.bin")); },
         {false, true, true, true, false, true}},
        // A missing name list is made by its first write.
        {"name list", names, names, false,
         [](Stores &s) { return s.names.updataNameList(0, {"a", "b"}); },
         [](Stores &s) { QCOMPARE(s.names.getNameList(0), (QVariantList{"a", "b"})); },
         {true, false, true, true, false, false}},
        // The profile store's pending change: told when it cannot be put
        // on disk, kept pending, and written by the next flush.
        {"flush settings", setting + "p1.bin", setting + "p1.bin", false,
         [](Stores &s) {
             s.store.setData(QStringLiteral("mouse/reportRate"), 2);
             return s.store.flush().isEmpty();
         },
         [](Stores &s) {
             QCOMPARE(freshValue(s.root + "/modules/setting/p1.bin", QStringLiteral("mouse/reportRate")),
                      QVariant(QStringLiteral("2")));
         },
         {true, false, true, true, false, false}},
        // The program never makes the recoil file.
        {"save recoil preset", gun, gun, false,
         [](Stores &s) { return s.guns.mouseSaveGundata(2, {"M16A4", "L-Click", 9, 0, 8, 0}); },
         [](Stores &s) { QCOMPARE(s.guns.getGunData(2).size(), 6); },
         {false, false, true, true, false, false}},
        {"rename recoil preset", gun, gun, false,
         [](Stores &s) { return s.guns.modifyGundata(1, {"AK", "L-Click", 10, 0, 10, 0, "AKM"}); },
         [](Stores &s) { QCOMPARE(s.guns.getGunData(QStringLiteral("AK")).size(), 5); },
         {false, false, true, true, false, false}},
    };
}

} // namespace

Q_DECLARE_METATYPE(Op)

class TestFileFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;

private slots:
    void matrix_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("ok");
        for (const Op &op : operations())
            for (int f = 0; f < kFaults.size(); ++f)
                QTest::addRow("%s, %s", op.name, qPrintable(kFaults.at(f))) << op << kFaults.at(f) << op.ok.at(f);
    }

    void matrix()
    {
        QFETCH(Op, op);
        QFETCH(QString, fault);
        QFETCH(bool, ok);
        const QString root = newRunDir(m_tmp);
        QVERIFY(copyTree(QStringLiteral("modules"), root + QStringLiteral("/modules")));
        QVERIFY(copyTree(QStringLiteral("exchange"), root + QStringLiteral("/exchange")));
        QVERIFY(writeBytes(root + QStringLiteral("/exchange/user.pf"), "the user's earlier export\n"));
        QVERIFY(writeBytes(root + QStringLiteral("/exchange/user.mc"), "the user's earlier macro\n"));
        const QString source = root + QLatin1Char('/') + op.source;
        const QString target = root + QLatin1Char('/') + op.target;
        const QString folder = QFileInfo(target).absolutePath();
        const QByteArray sourceBytes = readBytes(source);

        if (fault == QLatin1String("source missing"))
            QVERIFY(QFile::remove(source));
        else if (fault == QLatin1String("source unreadable"))
            QVERIFY(QFile::setPermissions(source, QFileDevice::Permissions()));
        else if (fault == QLatin1String("source empty"))
            QVERIFY(writeBytes(source, QByteArray()));
        else if (fault == QLatin1String("source garbage"))
            QVERIFY(writeBytes(source, kGarbage));
        const QByteArray faultySource = readBytes(source);

        Stores stores(root);
        const QMap<QString, QByteArray> before = snapshot(root);
        bool result = false;
        QElapsedTimer took;
        took.start();
        {
            DacOverrideDropped asUser;   // permissions apply, also to root
            if (fault == QLatin1String("folder read-only"))
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            if (fault == QLatin1String("disk full")) {
                FileSizeLimit full(16);
                QVERIFY(full.active());
                result = op.run(stores);
            } else {
                result = op.run(stores);
            }
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QVERIFY2(took.elapsed() < 2000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(result, ok);

        const QMap<QString, QByteArray> after = snapshot(root);
        if (!ok) {
            // Nothing changed on disk: no half-written file, no temporary.
            QCOMPARE(after.keys(), before.keys());
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
        } else {
            if (op.copies)
                QCOMPARE(readBytes(target), faultySource);
            op.verify(stores);
            // No stray files: only the target (and a moved source) differ.
            QStringList changed;
            for (const QString &key : before.keys() + after.keys())
                if (before.value(key) != after.value(key) && !changed.contains(key))
                    changed << key;
            changed.removeAll(op.target);
            changed.removeAll(op.source);
            QCOMPARE(changed, QStringList());
        }
        if (ok)
            return;

        // Once the fault is gone the same operation works.
        if (fault == QLatin1String("source missing"))
            QVERIFY(writeBytes(source, sourceBytes));
        if (fault == QLatin1String("source unreadable"))
            QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner));
        stores.dialogs.answers.clear();
        QVERIFY(op.run(stores));
        if (op.copies)
            QCOMPARE(readBytes(target), sourceBytes);
        op.verify(stores);
    }

    // An export holds what the screen shows: when the profile's pending
    // changes cannot be put on disk, nothing is exported rather than the
    // stale file.
    void exportRefusesUnflushedProfile()
    {
        const QString root = newRunDir(m_tmp);
        QVERIFY(copyTree(QStringLiteral("modules"), root + QStringLiteral("/modules")));
        QVERIFY(QDir().mkpath(root + QStringLiteral("/exchange")));
        const QString exported = root + QStringLiteral("/exchange/user.pf");
        QVERIFY(writeBytes(exported, "the user's earlier export\n"));
        const QString setting = root + QStringLiteral("/modules/setting");
        Stores stores(root);
        stores.store.setCurrentProfile(3);
        stores.store.setData(QStringLiteral("mouse/reportRate"), 2);
        stores.dialogs.answers << exported;
        bool result = true;
        {
            DacOverrideDropped asUser;
            QVERIFY(QFile::setPermissions(setting, QFile::ReadOwner | QFile::ExeOwner));
            result = ProfileFiles::saveProfile(stores.store, stores.dialogs, 3);
            QFile::setPermissions(setting, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QVERIFY(!result);
        QCOMPARE(readBytes(exported), QByteArray("the user's earlier export\n"));
        // With the folder writable again the export carries the change.
        stores.dialogs.answers << exported;
        QVERIFY(ProfileFiles::saveProfile(stores.store, stores.dialogs, 3));
        QCOMPARE(freshValue(exported, QStringLiteral("mouse/reportRate")), QVariant(QStringLiteral("2")));
    }
};

QTEST_GUILESS_MAIN(TestFileFaults)
#include "tst_filefaults.moc"
