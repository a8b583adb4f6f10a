// The macro library: macro files, their exchange copies and the profiles'
// references to them.
#include "store/macrolibrary.h"
#include "store/settingsstore.h"
#include "storetestutil.h"

#include <QtTest>

using namespace StoreTest;

class TestMacroLibrary : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_root;
    QString m_macroDir;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<MacroLibrary> m_lib;
    ScriptedDialogs m_dialogs;

    QString macroFile(const QString &name) const { return m_macroDir + QLatin1Char('/') + name + QStringLiteral(".bin"); }
    QString fixtureMacro(const QString &name) const
    {
        return dataDir() + QStringLiteral("/modules/macro/") + name + QStringLiteral(".bin");
    }
    QString ref(int profile, int slot) const
    {
        return m_store->profile(profile)->value(QStringLiteral("mouseMacroKey/%1").arg(slot)).toString();
    }
    QVariantList keyEntry(int profile, int key) const
    {
        const QVariant v = m_store->profile(profile)->value(QStringLiteral("mouseKeyMatrix/%1").arg(key));
        QVariantList out;
        for (const QString &s : v.toStringList())
            out.append(s);
        return out;
    }
    // Every file below the run folder with its content.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> out;
        QDirIterator it(m_root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            out.insert(f, readBytes(f));
        }
        return out;
    }

private slots:
    void init()
    {
        m_root = newRunDir(m_tmp);
        QVERIFY(copyTree(QStringLiteral("modules"), m_root + QStringLiteral("/modules")));
        QVERIFY(copyTree(QStringLiteral("exchange"), m_root + QStringLiteral("/exchange")));
        m_macroDir = m_root + QStringLiteral("/modules/macro");
        m_store = std::make_unique<SettingsStore>(m_root + QStringLiteral("/modules/setting"));
        m_lib = std::make_unique<MacroLibrary>(m_macroDir, *m_store);
        m_dialogs = ScriptedDialogs();
    }
    void cleanup()
    {
        m_lib.reset();
        m_store.reset();
    }

    void validNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "Macro_0" << true;
        QTest::newRow("blank inside") << "my macro" << true;
        QTest::newRow("non-ASCII") << QString::fromUtf8("宏 Größe") << true;
        QTest::newRow("dots inside") << "..a.b" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("parent path") << "../escape" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("colon") << "C:x" << false;
        QTest::newRow("star") << "a*" << false;
        QTest::newRow("question mark") << "a?" << false;
        QTest::newRow("quote") << "a\"b" << false;
        QTest::newRow("angle") << "a<b" << false;
        QTest::newRow("pipe") << "a|b" << false;
        QTest::newRow("newline") << "a\nb" << false;
        QTest::newRow("nul") << QString(QChar(0)) + "x" << false;
        QTest::newRow("longest") << QString(251, QLatin1Char('m')) << true;
        QTest::newRow("too long") << QString(252, QLatin1Char('m')) << false;
        QTest::newRow("too long in UTF-8") << QString(126, QChar(0x5b8f)) << false;
    }
    void validNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(MacroLibrary::isValidName(name), valid);
    }

    // No operation touches anything for a name that is not a file name.
    void invalidNamesAreRefusedEverywhere_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent path") << "../setting/name";
        QTest::newRow("escape") << "../escape";
        QTest::newRow("empty") << "";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("absolute") << "/tmp/x";
    }
    void invalidNamesAreRefusedEverywhere()
    {
        QFETCH(QString, name);
        QVERIFY(writeBytes(m_root + QStringLiteral("/modules/escape.bin"), "[config]\ntotal=0\nrepeat=1\n"));
        const auto before = snapshot();
        m_dialogs.answers << m_root + QStringLiteral("/exchange/imported.mc")
                          << m_root + QStringLiteral("/exchange/out.mc");

        QVERIFY(!m_lib->createMacroIni(name, 0));
        QVERIFY(!m_lib->saveMacroIni(name, {"1,A"}, 1));
        QVERIFY(m_lib->loadMacroIni(name).isEmpty());
        QVERIFY(!m_lib->deleteMacroIni(name));
        QVERIFY(!m_lib->modifyMacroNameUpdateProfile(name, QStringLiteral("Fine")));
        QVERIFY(!m_lib->modifyMacroNameUpdateProfile(QStringLiteral("Macro_0"), name));
        m_lib->deleteMacroUpdateProfile(name);
        QVERIFY(!m_lib->loadMacroFile(m_dialogs, name));
        QVERIFY(!m_lib->saveMacroFile(m_dialogs, name));
        QVERIFY(m_dialogs.calls.isEmpty());

        m_store->syncAll();
        QCOMPARE(snapshot(), before);
        QCOMPARE(ref(0, 1), QStringLiteral("Macro_0"));
    }

    void createWritesConfig()
    {
        QVERIFY(m_lib->createMacroIni(QStringLiteral("Macro_9"), 0));
        QCOMPARE(sectionLines(macroFile(QStringLiteral("Macro_9")), "config"),
                 (QList<QByteArray>{"did=-1", "index=0", "repeat=1", "total=0"}));
        QCOMPARE(m_lib->loadMacroIni(QStringLiteral("Macro_9")), QStringList{QStringLiteral("1")});
    }

    // A macro whose file cannot be written is not reported as created.
    void createThatCannotWriteFails()
    {
        QVERIFY(QDir().mkdir(macroFile(QStringLiteral("Macro_1"))));
        QVERIFY(!m_lib->createMacroIni(QStringLiteral("Macro_1"), 0));
        QVERIFY(!m_lib->saveMacroIni(QStringLiteral("Macro_1"), {"1,A"}, 1));
    }

    void createKeepsExistingEntries()
    {
        QVERIFY(m_lib->createMacroIni(QStringLiteral("Macro_0"), 5));
        QCOMPARE(m_lib->loadMacroIni(QStringLiteral("Macro_0")), QStringList{QStringLiteral("1")});
        QCOMPARE(sectionLines(macroFile(QStringLiteral("Macro_0")), "macro"),
                 (QList<QByteArray>{"0=\"1,A\"", "1=\"2,A\""}));
        QCOMPARE(freshValue(macroFile(QStringLiteral("Macro_0")), QStringLiteral("config/index")),
                 QVariant(QStringLiteral("5")));
    }

    void saveAndLoad_data()
    {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QVariant>("repeat");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<QList<QByteArray>>("macroLines");
        QTest::newRow("two actions")
            << QStringList() << QStringList{"1,A", "2,A"} << QVariant(3)
            << QStringList{"1,A", "2,A", "3"} << QList<QByteArray>{"0=\"1,A\"", "1=\"2,A\""};
        QTest::newRow("two after five")
            << QStringList{"1,A", "0,20", "2,A", "1,B", "2,B"} << QStringList{"3,MS-L", "4,MS-L"}
            << QVariant(65535.0) << QStringList{"3,MS-L", "4,MS-L", "65535"}
            << QList<QByteArray>{"0=\"3,MS-L\"", "1=\"4,MS-L\""};
        QTest::newRow("none after two")
            << QStringList{"1,A", "2,A"} << QStringList() << QVariant(1)
            << QStringList{"1"} << QList<QByteArray>();
        QTest::newRow("non-ASCII key name")
            << QStringList() << QStringList{QString::fromUtf8("1,Ä"), QString::fromUtf8("2,Ä")} << QVariant(2)
            << QStringList{QString::fromUtf8("1,Ä"), QString::fromUtf8("2,Ä"), "2"}
            << QList<QByteArray>{"0=\"1,\xc3\x84\"", "1=\"2,\xc3\x84\""};
    }
    void saveAndLoad()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QVariant, repeat);
        QFETCH(QStringList, loaded);
        QFETCH(QList<QByteArray>, macroLines);
        const QString name = QStringLiteral("Macro_5");
        QVERIFY(m_lib->createMacroIni(name, 0));
        if (!first.isEmpty())
            QVERIFY(m_lib->saveMacroIni(name, first, 1));
        QVERIFY(m_lib->saveMacroIni(name, second, repeat));
        QCOMPARE(m_lib->loadMacroIni(name), loaded);
        QCOMPARE(sectionLines(macroFile(name), "macro"), macroLines);
        QCOMPARE(freshValue(macroFile(name), QStringLiteral("config/total")),
                 QVariant(QString::number(second.size())));
    }

    void saveWithoutFileCreatesNothing()
    {
        QVERIFY(!m_lib->saveMacroIni(QStringLiteral("Nobody"), {"1,A"}, 1));
        QVERIFY(!QFileInfo::exists(macroFile(QStringLiteral("Nobody"))));
    }

    void loadFillsGaps_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("loaded");
        QTest::newRow("missing entry") << QByteArray("[config]\ntotal=3\nrepeat=2\n[macro]\n0=\"1,A\"\n2=\"2,A\"\n")
                                       << QStringList{"1,A", "0", "2,A", "2"};
        QTest::newRow("missing repeat") << QByteArray("[config]\ntotal=1\n[macro]\n0=\"1,A\"\n")
                                        << QStringList{"1,A", "0"};
        QTest::newRow("missing total") << QByteArray("[macro]\n0=\"1,A\"\n") << QStringList{"0"};
        QTest::newRow("empty file") << QByteArray() << QStringList{"0"};
    }
    void loadFillsGaps()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, loaded);
        QVERIFY(writeBytes(macroFile(QStringLiteral("Hand")), content));
        QCOMPARE(m_lib->loadMacroIni(QStringLiteral("Hand")), loaded);
        QVERIFY(m_lib->loadMacroIni(QStringLiteral("Absent")).isEmpty());
    }

    // A damaged count is capped: the entries up to the cap, then the repeat
    // count, with one debug line; a negative count reads no entries.
    void loadCapsTheCount_data()
    {
        QTest::addColumn<QByteArray>("total");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("debugLines");
        QTest::newRow("int max") << QByteArray("2147483647") << int(MacroLibrary::kMaxEntries) << 1;
        QTest::newRow("one past the cap") << QByteArray::number(MacroLibrary::kMaxEntries + 1)
                                          << int(MacroLibrary::kMaxEntries) << 1;
        QTest::newRow("at the cap") << QByteArray::number(MacroLibrary::kMaxEntries)
                                    << int(MacroLibrary::kMaxEntries) << 0;
        QTest::newRow("beyond int") << QByteArray("99999999999") << int(MacroLibrary::kMaxEntries) << 1;
        QTest::newRow("not a number") << QByteArray("many") << 0 << 0;
        QTest::newRow("negative") << QByteArray("-5") << 0 << 0;
    }
    void loadCapsTheCount()
    {
        QFETCH(QByteArray, total);
        QFETCH(int, entries);
        QFETCH(int, debugLines);
        QVERIFY(writeBytes(macroFile(QStringLiteral("Huge")),
                           "[config]\ntotal=" + total + "\nrepeat=3\n[macro]\n0=\"1,A\"\n"));
        static QStringList captured;
        captured.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &msg) { captured << msg; });
        const QStringList loaded = m_lib->loadMacroIni(QStringLiteral("Huge"));
        qInstallMessageHandler(previous);
        QCOMPARE(loaded.size(), entries + 1);
        QCOMPARE(loaded.last(), QStringLiteral("3"));
        if (entries > 0)
            QCOMPARE(loaded.first(), QStringLiteral("1,A"));
        QCOMPARE(captured.size(), debugLines);
    }

    void deleteRemovesOnlyExistingFile()
    {
        QVERIFY(m_lib->deleteMacroIni(QStringLiteral("Other")));
        QVERIFY(!QFileInfo::exists(macroFile(QStringLiteral("Other"))));
        QVERIFY(!m_lib->deleteMacroIni(QStringLiteral("Other")));
        QVERIFY(QFileInfo::exists(macroFile(QStringLiteral("Macro_0"))));
        // A new macro of the same name starts empty.
        QVERIFY(m_lib->createMacroIni(QStringLiteral("Other"), 0));
        QCOMPARE(m_lib->loadMacroIni(QStringLiteral("Other")), QStringList{QStringLiteral("1")});
    }

    void renameUpdatesFirstSixProfiles()
    {
        const QByteArray content = readBytes(macroFile(QStringLiteral("Macro_0")));
        QVERIFY(m_lib->modifyMacroNameUpdateProfile(QStringLiteral("Macro_0"), QStringLiteral("Renamed")));
        QVERIFY(!QFileInfo::exists(macroFile(QStringLiteral("Macro_0"))));
        QCOMPARE(readBytes(macroFile(QStringLiteral("Renamed"))), content);
        QCOMPARE(m_lib->loadMacroIni(QStringLiteral("Renamed")), (QStringList{"1,A", "2,A", "3"}));
        // Profiles p1, p3, p6 referred to it; p7 and p10 are beyond the six.
        const QList<int> linked{0, 2, 5};
        for (int n : linked) {
            QCOMPARE(ref(n, 1), QStringLiteral("Renamed"));
            QCOMPARE(ref(n, 2), QStringLiteral("Other"));
        }
        QCOMPARE(ref(6, 1), QStringLiteral("Macro_0"));
        QCOMPARE(ref(9, 1), QStringLiteral("Macro_0"));
        m_store->syncAll();
        QVERIFY(sectionLines(m_store->profilePath(2), "mouseMacroKey").contains("1=Renamed"));
        QCOMPARE(readBytes(m_store->profilePath(6)),
                 readBytes(dataDir() + QStringLiteral("/modules/setting/p7.bin")));
    }

    void failedRenameChangesNothing_data()
    {
        QTest::addColumn<QString>("oldname");
        QTest::addColumn<QString>("newname");
        QTest::newRow("new name taken") << "Macro_0" << "Other";
        QTest::newRow("old file missing") << "Absent" << "Fresh";
    }
    void failedRenameChangesNothing()
    {
        QFETCH(QString, oldname);
        QFETCH(QString, newname);
        const auto before = snapshot();
        QVERIFY(!m_lib->modifyMacroNameUpdateProfile(oldname, newname));
        m_store->syncAll();
        QCOMPARE(snapshot(), before);
        QCOMPARE(ref(0, 1), QStringLiteral("Macro_0"));
        QCOMPARE(ref(0, 2), QStringLiteral("Other"));
    }

    // Key entries of profile 2 (p3.bin) before deleting Macro_0, and after.
    void deleteResetsAssignments_data()
    {
        QTest::addColumn<QByteArray>("entry");    // as written in the file; empty = absent
        QTest::addColumn<bool>("reset");
        QTest::newRow("plays Macro_0 via slot 1") << QByteArray("4, 0, 1, 0") << true;
        QTest::newRow("slot as the only difference") << QByteArray("4, 9, 1, 9") << true;
        QTest::newRow("plays another macro") << QByteArray("4, 0, 2, 0") << false;
        QTest::newRow("slot without reference") << QByteArray("4, 0, 7, 0") << false;
        QTest::newRow("not a macro function") << QByteArray("1, 0, 1, 0") << false;
        QTest::newRow("absent entry") << QByteArray() << false;
        QTest::newRow("one value") << QByteArray("4") << false;
        QTest::newRow("two values") << QByteArray("4, 0") << false;
        QTest::newRow("slot not a number") << QByteArray("4, 0, x, 0") << false;
        QTest::newRow("function not a number") << QByteArray("four, 0, 1, 0") << false;
    }
    void deleteResetsAssignments()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, reset);
        QByteArray p3 = "[mouse]\ntag=p3\n[mouseMacroKey]\n1=Macro_0\n2=Other\n";
        if (!entry.isEmpty())
            p3 += "[mouseKeyMatrix]\n9=" + entry + "\n";
        QVERIFY(writeBytes(m_store->profilePath(2), p3));
        m_store = std::make_unique<SettingsStore>(m_root + QStringLiteral("/modules/setting"));
        m_lib = std::make_unique<MacroLibrary>(m_macroDir, *m_store);
        const QVariant before = m_store->profile(2)->value(QStringLiteral("mouseKeyMatrix/9"));

        m_lib->deleteMacroUpdateProfile(QStringLiteral("Macro_0"));

        const QVariant after = m_store->profile(2)->value(QStringLiteral("mouseKeyMatrix/9"));
        QCOMPARE(after, reset ? m_store->defaults()->value(QStringLiteral("mouseKeyMatrix/9")) : before);
        QCOMPARE(ref(2, 1), QStringLiteral("Macro_0"));   // references stay
    }

    void deleteWalksFirstSixProfiles()
    {
        m_lib->deleteMacroUpdateProfile(QStringLiteral("Macro_0"));
        const QVariantList factory5{"1", "240", "5", "0"};
        const QVariantList other{"4", "0", "2", "0"};
        for (int n : {0, 2, 5}) {
            QCOMPARE(keyEntry(n, 5), factory5);
            QCOMPARE(keyEntry(n, 6), other);
        }
        for (int n : {6, 9})
            QCOMPARE(keyEntry(n, 5), (QVariantList{"4", "0", "1", "0"}));
        m_store->syncAll();
        QVERIFY(sectionLines(m_store->profilePath(0), "mouseKeyMatrix").contains("5=1, 240, 5, 0"));
    }

    // Entries the screens stored this run come back as numbers, not texts.
    void deleteSeesAssignmentsWrittenThisRun()
    {
        m_store->setCurrentProfile(1);
        m_store->setDataList(QStringLiteral("mouseKeyMatrix/3"), {4.0, 0.0, 2.0, 0.0});
        m_store->setDataList(QStringLiteral("mouseKeyMatrix/4"), {4.0, 0.0, 3.0, 0.0});
        m_store->setData(QStringLiteral("mouseMacroKey/2"), QStringLiteral("Fresh"));
        m_store->setData(QStringLiteral("mouseMacroKey/3"), QStringLiteral("Kept"));
        m_lib->deleteMacroUpdateProfile(QStringLiteral("Fresh"));
        QCOMPARE(keyEntry(1, 3), (QVariantList{"1", "240", "3", "0"}));
        QCOMPARE(m_store->getDataList(QStringLiteral("mouseKeyMatrix/4"), false),
                 (QVariantList{4.0, 0.0, 3.0, 0.0}));
    }

    void deleteWithoutFactoryEntryClearsAssignment()
    {
        QVERIFY(writeBytes(m_store->defaultPath(), "[mouse]\ntag=pD\n"));
        m_store = std::make_unique<SettingsStore>(m_root + QStringLiteral("/modules/setting"));
        m_lib = std::make_unique<MacroLibrary>(m_macroDir, *m_store);
        m_lib->deleteMacroUpdateProfile(QStringLiteral("Macro_0"));
        QVERIFY(!m_store->profile(0)->contains(QStringLiteral("mouseKeyMatrix/5")));
        QCOMPARE(keyEntry(0, 6), (QVariantList{"4", "0", "2", "0"}));
    }

    void importMacro_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("answer");   // relative to the run folder; empty = cancel
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("contentFrom");   // file the macro holds afterwards; empty = none
        QTest::newRow("new name") << "Macro_7" << "exchange/imported.mc" << true << "exchange/imported.mc";
        QTest::newRow("cancelled") << "Macro_7" << "" << false << "";
        QTest::newRow("chosen file missing") << "Macro_7" << "exchange/gone.mc" << false << "";
        QTest::newRow("name taken keeps file") << "Macro_0" << "exchange/imported.mc" << true
                                               << "modules/macro/Macro_0.bin";
    }
    void importMacro()
    {
        QFETCH(QString, name);
        QFETCH(QString, answer);
        QFETCH(bool, result);
        QFETCH(QString, contentFrom);
        const QByteArray expected = contentFrom.isEmpty() ? QByteArray("<missing>")
                                                          : readBytes(m_root + QLatin1Char('/') + contentFrom);
        m_dialogs.answers << (answer.isEmpty() ? QString() : m_root + QLatin1Char('/') + answer);
        QCOMPARE(m_lib->loadMacroFile(m_dialogs, name), result);
        QCOMPARE(m_dialogs.summary(), QStringList{"open|Open File|Macro(*.mc)"});
        QCOMPARE(readBytes(macroFile(name)), expected);
        QCOMPARE(QDir(m_macroDir).entryList(QDir::Files | QDir::Hidden).size(), result && name == "Macro_7" ? 3 : 2);
    }

    void exportMacro_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("written");
        QTest::newRow("over existing file") << "Macro_0" << false << true;
        QTest::newRow("cancelled") << "Macro_0" << true << false;
        QTest::newRow("macro without file") << "Absent" << false << false;
    }
    void exportMacro()
    {
        QFETCH(QString, name);
        QFETCH(bool, cancel);
        QFETCH(bool, written);
        const QString target = m_root + QStringLiteral("/exchange/imported.mc");
        const QByteArray before = readBytes(target);
        m_dialogs.answers << (cancel ? QString() : target);
        QCOMPARE(m_lib->saveMacroFile(m_dialogs, name), written);
        QCOMPARE(m_dialogs.summary(), QStringList{"save|Save File|Macro(*.mc)"});
        QCOMPARE(readBytes(target), written ? readBytes(macroFile(name)) : before);
    }
};

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
