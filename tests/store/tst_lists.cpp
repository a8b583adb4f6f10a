// Name lists, recoil presets, per-profile gun values and language strings.
#include "store/gunstore.h"
#include "store/langstrings.h"
#include "store/namelists.h"
#include "store/settingsstore.h"
#include "storetestutil.h"

#include <QtTest>

using namespace StoreTest;

class TestLists : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_root;
    QString m_names;
    QString m_gun;
    QString m_i18n;

    QString nameFixture() const { return dataDir() + QStringLiteral("/modules/setting/name.bin"); }

private slots:
    void init()
    {
        m_root = newRunDir(m_tmp);
        QVERIFY(copyTree(QStringLiteral("modules"), m_root + QStringLiteral("/modules")));
        m_names = m_root + QStringLiteral("/modules/setting/name.bin");
        m_gun = m_root + QStringLiteral("/modules/gun/gunData.bin");
        m_i18n = m_root + QStringLiteral("/modules/i18n");
    }

    // --- name lists ---

    void updateNameList_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QVariantList>("readBack");
        QTest::newRow("one macro gets the marker")
            << QVariant(0) << QStringList{"Macro_0"} << QByteArray("macro")
            << QList<QByteArray>{"macroName=Macro_0, loaderzentic"}
            << QVariantList{"Macro_0", "loaderzentic"};
        QTest::newRow("two macros, no marker")
            << QVariant(0.0) << QStringList{"a", "b"} << QByteArray("macro")
            << QList<QByteArray>{"macroName=a, b"} << QVariantList{"a", "b"};
        QTest::newRow("empty list removes key")
            << QVariant(0) << QStringList() << QByteArray("macro")
            << QList<QByteArray>() << QVariantList();
        QTest::newRow("profiles")
            << QVariant(2) << QStringList{"Standard0", "profile_13"} << QByteArray("profile")
            << QList<QByteArray>{"profileName=Standard0, profile_13"}
            << QVariantList{"Standard0", "profile_13"};
        QTest::newRow("guns")
            << QVariant(1) << QStringList{"M416"} << QByteArray("gun")
            << QList<QByteArray>{"gunName=M416, loaderzentic"} << QVariantList{"M416", "loaderzentic"};
        QTest::newRow("reserved type 3")
            << QVariant(QStringLiteral("3")) << QStringList{"x", "y", "z"} << QByteArray("gun")
            << QList<QByteArray>{"selectGun=x, y, z"} << QVariantList{"x", "y", "z"};
        QTest::newRow("names with separators")
            << QVariant(0) << QStringList{"a,b", " c"} << QByteArray("macro")
            << QList<QByteArray>{"macroName=\"a,b\", \" c\""} << QVariantList{"a,b", " c"};
        QTest::newRow("user named the marker")
            << QVariant(0) << QStringList{"a", "loaderzentic"} << QByteArray("macro")
            << QList<QByteArray>{"macroName=a, loaderzentic"} << QVariantList{"a", "loaderzentic"};
    }
    void updateNameList()
    {
        QFETCH(QVariant, type);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, section);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(QVariantList, readBack);
        NameLists lists(m_names);
        QVERIFY(lists.updataNameList(type, names));
        QCOMPARE(sectionLines(m_names, section), lines);
        QCOMPARE(lists.getNameList(type), readBack);
        // A restarted program reads the same list.
        QCOMPARE(NameLists(m_names).getNameList(type), readBack);
        QStringList stored;
        for (const QVariant &v : readBack)
            stored.append(v.toString());
        QCOMPARE(freshValue(m_names, NameLists::keyOf(type)),
                 stored.isEmpty() ? QVariant() : QVariant(stored));
    }

    void otherListsUntouched()
    {
        NameLists lists(m_names);
        QVERIFY(lists.updataNameList(0, {QStringLiteral("Only")}));
        QCOMPARE(lists.getNameList(2), (QVariantList{"Standard0", "profile_13"}));
    }

    void typeOutsideRangeChangesNothing_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::newRow("7") << QVariant(7);
        QTest::newRow("4") << QVariant(4);
        QTest::newRow("-1") << QVariant(-1);
        QTest::newRow("text") << QVariant(QStringLiteral("macro"));
        QTest::newRow("invalid") << QVariant();
    }
    void typeOutsideRangeChangesNothing()
    {
        QFETCH(QVariant, type);
        NameLists lists(m_names);
        QVERIFY(lists.updataNameList(type, {QStringLiteral("a")}));
        QCOMPARE(readBytes(m_names), readBytes(nameFixture()));
        QVERIFY(lists.getNameList(type).isEmpty());
    }

    void unusualStoredLists_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QVariantList>("list");
        QTest::newRow("single value by hand") << QByteArray("[macro]\nmacroName=solo\n") << QVariantList();
        QTest::newRow("empty file") << QByteArray() << QVariantList();
        QTest::newRow("invalid marker form") << QByteArray("[macro]\nmacroName=@Invalid()\n") << QVariantList();
        QTest::newRow("one-value variant list")
            << QByteArray("[macro]\nmacroName=@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1\\0\\0\\0\\n\\0\\0\\0\\x2\\0\\x61)\n")
            << QVariantList{"a"};
        QTest::newRow("escaped names")
            << QByteArray("[macro]\nmacroName=\\x5b8f, \"x,y\"\n") << QVariantList{QString::fromUtf8("宏"), "x,y"};
    }
    void unusualStoredLists()
    {
        QFETCH(QByteArray, content);
        QFETCH(QVariantList, list);
        QVERIFY(writeBytes(m_names, content));
        QCOMPARE(NameLists(m_names).getNameList(0), list);
    }

    void missingNameFile()
    {
        QVERIFY(QFile::remove(m_names));
        NameLists lists(m_names);
        QVERIFY(lists.getNameList(0).isEmpty());
        QVERIFY(lists.updataNameList(2, {QStringLiteral("Standard0")}));
        QCOMPARE(sectionLines(m_names, "profile"), QList<QByteArray>{"profileName=Standard0, loaderzentic"});
    }

    // --- recoil presets ---

    void saveGunData_data()
    {
        QTest::addColumn<QVariant>("index");
        QTest::addColumn<QVariantList>("src");
        QTest::addColumn<QByteArray>("line");   // empty = nothing written
        QTest::addColumn<QVariantList>("read");
        QTest::newRow("six values")
            << QVariant(2) << QVariantList{"M16A4", "L-Click", 9.0, 0.0, 8.0, 0.0}
            << QByteArray("2=M16A4, L-Click, 9, 0, 8, 0")
            << QVariantList{"M16A4", "L-Click", "9", "0", "8", "0"};
        QTest::newRow("replaces a row")
            << QVariant(0.0) << QVariantList{"AK", "R-Click", 10, -2, 12, 3}
            << QByteArray("0=AK, R-Click, 10, -2, 12, 3")
            << QVariantList{"AK", "R-Click", "10", "-2", "12", "3"};
        QTest::newRow("extra values ignored")
            << QVariant(3) << QVariantList{"A", "B", 1, 2, 3, 4, "extra"}
            << QByteArray("3=A, B, 1, 2, 3, 4") << QVariantList{"A", "B", "1", "2", "3", "4"};
        QTest::newRow("five values refused")
            << QVariant(4) << QVariantList{"A", "B", 1, 2, 3} << QByteArray() << QVariantList();
        QTest::newRow("nothing refused") << QVariant(4) << QVariantList() << QByteArray() << QVariantList();
    }
    void saveGunData()
    {
        QFETCH(QVariant, index);
        QFETCH(QVariantList, src);
        QFETCH(QByteArray, line);
        QFETCH(QVariantList, read);
        GunStore gun(m_gun);
        const QList<QByteArray> before = sectionLines(m_gun, "gunData");
        gun.mouseSaveGundata(index, src);
        const QString key = QStringLiteral("gunData/") + index.toString();
        if (line.isEmpty()) {
            QCOMPARE(sectionLines(m_gun, "gunData"), before);
        } else {
            QVERIFY(sectionLines(m_gun, "gunData").contains(line));
            QCOMPARE(sectionLines(m_gun, "gunData").size(), before.size() + (index.toInt() == 0 ? 0 : 1));
        }
        QCOMPARE(freshValue(m_gun, key).toStringList().size(), read.size());
        QVariantList asText;
        for (const QVariant &v : gun.getGunData(index))
            asText.append(v.toString());
        QCOMPARE(asText, read);
    }

    void gunReads()
    {
        GunStore gun(m_gun);
        QCOMPARE(gun.getGunData(0), (QVariantList{"M416", "L-Click", "9", "0", "8", "0"}));
        QCOMPARE(gun.getGunData(QStringLiteral("AKM")), (QVariantList{"L-Click", "10", "0", "10", "0"}));
        QVERIFY(gun.getGunData(7).isEmpty());
        QCOMPARE(gun.getGunDataKey(), (QStringList{"0", "AKM"}));
    }

    void modifyGunData_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QVariantList>("src");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("rename and store")
            << QVariant(1) << QVariantList{"AK", "L-Click", 10, 0, 10, 0, "AKM"} << QStringList{"0", "AK"};
        QTest::newRow("delete") << QVariant(0) << QVariantList{"AKM"} << QStringList{"0"};
        QTest::newRow("delete absent") << QVariant(0.0) << QVariantList{"none"} << QStringList{"0", "AKM"};
        QTest::newRow("other type") << QVariant(2) << QVariantList{"AKM"} << QStringList{"0", "AKM"};
        QTest::newRow("rename with six values refused")
            << QVariant(1) << QVariantList{"AK", "L-Click", 10, 0, 10, 0} << QStringList{"0", "AKM"};
        QTest::newRow("delete without name refused") << QVariant(0) << QVariantList() << QStringList{"0", "AKM"};
    }
    void modifyGunData()
    {
        QFETCH(QVariant, type);
        QFETCH(QVariantList, src);
        QFETCH(QStringList, keys);
        GunStore gun(m_gun);
        gun.modifyGundata(type, src);
        QCOMPARE(gun.getGunDataKey(), keys);
        if (keys.contains(QStringLiteral("AK"))) {
            QVERIFY(sectionLines(m_gun, "gunData").contains("AK=L-Click, 10, 0, 10, 0"));
            QCOMPARE(gun.getGunData(0).size(), 6);
        }
    }

    void missingGunFileIsNeverCreated()
    {
        QVERIFY(QFile::remove(m_gun));
        GunStore gun(m_gun);
        gun.mouseSaveGundata(2, {"M16A4", "L-Click", 9, 0, 8, 0});
        gun.modifyGundata(1, {"AK", "L-Click", 10, 0, 10, 0, "AKM"});
        gun.modifyGundata(0, {"AK"});
        QVERIFY(gun.getGunData(2).isEmpty());
        QVERIFY(gun.getGunDataKey().isEmpty());
        QVERIFY(QDir(m_root + QStringLiteral("/modules/gun")).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // --- per-profile gun values ---

    void perProfileGunValues()
    {
        SettingsStore store(m_root + QStringLiteral("/modules/setting"));
        store.setCurrentProfile(1);
        QCOMPARE(GunStore::getXYSensitive(store, 0), QVariant(4));
        QCOMPARE(GunStore::getselectGun(store, 0), QVariant(QString()));
        GunStore::setXYSensitive(store, 0, 2);
        GunStore::setSelectGun(store, 1, QStringLiteral("3"));
        QCOMPARE(GunStore::getXYSensitive(store, 0), QVariant(2));
        QCOMPARE(GunStore::getselectGun(store, 1), QVariant(QStringLiteral("3")));
        store.setCurrentProfile(2);
        QCOMPARE(GunStore::getXYSensitive(store, 0), QVariant(4));
        QCOMPARE(GunStore::getselectGun(store, 1), QVariant(QString()));
        store.setCurrentProfile(1);
        QCOMPARE(GunStore::getXYSensitive(store, 0), QVariant(2));
        store.syncAll();
        QCOMPARE(sectionLines(store.profilePath(1), "XYSensitive"), QList<QByteArray>{"0=2"});
        QCOMPARE(sectionLines(store.profilePath(1), "selectGun"), QList<QByteArray>{"1=3"});

        store.setCurrentProfile(10);
        QVERIFY(!GunStore::getXYSensitive(store, 0).isValid());
        QVERIFY(!GunStore::getselectGun(store, 0).isValid());
        GunStore::setXYSensitive(store, 1, 9);
        store.syncAll();
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/modules/setting/p11.bin")));
        QCOMPARE(readBytes(store.profilePath(9)),
                 readBytes(dataDir() + QStringLiteral("/modules/setting/p10.bin")));
    }

    // --- language strings ---

    void langStrings_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("strings");
        QTest::newRow("six strings in order")
            << "profile" << "English" << QStringList{"config", "New", "Import", "Delete", "Export", "Standard"};
        QTest::newRow("gap within total") << "gap" << "English" << QStringList{"first", "", "third"};
        QTest::newRow("no total") << "untotalled" << "English" << QStringList();
        QTest::newRow("absent section") << "main" << "English" << QStringList();
        QTest::newRow("absent file") << "profile" << "Klingon" << QStringList();
        QTest::newRow("UTF-8")
            << "utf8" << "English"
            << QStringList{QString::fromUtf8("宏编辑"), QString::fromUtf8("Größe, \"quoted\""),
                           QStringLiteral("Save, then exit")};
    }
    void langStrings()
    {
        QFETCH(QString, section);
        QFETCH(QString, lang);
        QFETCH(QStringList, strings);
        QCOMPARE(LangStrings::getLangStrings(m_i18n, section, lang), strings);
    }

    void hugeTotalIsBounded()
    {
        const QStringList strings = LangStrings::getLangStrings(m_i18n, QStringLiteral("huge"),
                                                                QStringLiteral("English"));
        QVERIFY(strings.size() <= 10000);
        QCOMPARE(strings.value(0), QStringLiteral("x"));
    }

    void dpiSwitchTexts_data()
    {
        QTest::addColumn<QStringList>("other");
        QTest::addColumn<QStringList>("texts");
        const QString d = QStringLiteral("DPI Switch to");
        QTest::newRow("eight") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}
                               << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("three") << QStringList{"1", "2", "3"} << QStringList{"1", "2", "3", d, d, d, d, d};
        QTest::newRow("none") << QStringList() << QStringList{d, d, d, d, d, d, d, d};
        QTest::newRow("ten") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}
                             << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
    }
    void dpiSwitchTexts()
    {
        QFETCH(QStringList, other);
        QFETCH(QStringList, texts);
        QCOMPARE(LangStrings::dpiSwitchTextsFrom(other), texts);
    }
};

QTEST_GUILESS_MAIN(TestLists)
#include "tst_lists.moc"
