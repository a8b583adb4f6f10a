// The settings stores: which file each operation reaches, what is written,
// how files in the Qt 4 INI form read back, and the configuration reset.
#include "store/settingsstore.h"
#include "storetestutil.h"

#include <QtTest>

using namespace StoreTest;

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_dir;   // the setting folder of the current test
    std::unique_ptr<SettingsStore> m_store;

    QString file(const QString &name) const { return m_dir + QLatin1Char('/') + name; }

private slots:
    void init()
    {
        QVERIFY(m_tmp.isValid());
        m_dir = newRunDir(m_tmp) + QStringLiteral("/setting");
        QVERIFY(copyTree(QStringLiteral("modules/setting"), m_dir));
        m_store = std::make_unique<SettingsStore>(m_dir);
    }
    void cleanup() { m_store.reset(); }

    void readsReachTheChosenStore_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("isRecovery");
        QTest::addColumn<QString>("tag");
        QTest::newRow("profile 0 is p1") << 0 << false << "p1";
        QTest::newRow("profile 3 is p4") << 3 << false << "p4";
        QTest::newRow("profile 9 is p10") << 9 << false << "p10";
        QTest::newRow("recovery reads pD") << 3 << true << "pD";
        QTest::newRow("recovery ignores profile") << 9 << true << "pD";
        QTest::newRow("recovery with profile out of range") << 12 << true << "pD";
    }
    void readsReachTheChosenStore()
    {
        QFETCH(int, current);
        QFETCH(bool, isRecovery);
        QFETCH(QString, tag);
        m_store->setCurrentProfile(current);
        QCOMPARE(m_store->getData(QStringLiteral("mouse/tag"), isRecovery).toString(), tag);
        QCOMPARE(m_store->getDataList(QStringLiteral("mouse/tag"), isRecovery), QVariantList());
    }

    void readShapes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("data");
        QTest::addColumn<QVariantList>("list");
        QTest::newRow("absent key") << "mouse/none" << QVariant() << QVariantList();
        QTest::newRow("absent group") << "nothing/here" << QVariant() << QVariantList();
        QTest::newRow("single plain value")
            << "mouse/single" << QVariant(QStringLiteral("400")) << QVariantList();
        QTest::newRow("list of texts")
            << "mouse/dpiValueArray"
            << QVariant(QStringList{"400", "800", "1600"})
            << QVariantList{QStringLiteral("400"), QStringLiteral("800"), QStringLiteral("1600")};
    }
    void readShapes()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, data);
        QFETCH(QVariantList, list);
        QCOMPARE(m_store->getData(key, false), data);
        QCOMPARE(m_store->getDataList(key, false), list);
    }

    void globalReadsTheConfiguration()
    {
        QCOMPARE(m_store->getGlobalData(QStringLiteral("common/name")).toString(), QStringLiteral("Quill"));
        QCOMPARE(m_store->getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("560"));
        QVERIFY(m_store->getGlobalData(QStringLiteral("mouse/isGun")).toBool());
        QVERIFY(!m_store->getGlobalData(QStringLiteral("mouse/absent")).isValid());
    }

    // What a write puts into the file, and what a restarted program reads.
    void writesAndRereads_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QVariant>("reread");

        const QVariantList dpi{400.0, 800.0, 1600.0, 3200.0, 6000.0, 6000.0, 6000.0, 6000.0};
        QTest::newRow("eight-value list")
            << "mouse/dpiValueArray" << QVariant(dpi) << QByteArray("mouse")
            << QByteArray("dpiValueArray=400, 800, 1600, 3200, 6000, 6000, 6000, 6000")
            << QVariant(QStringList{"400", "800", "1600", "3200", "6000", "6000", "6000", "6000"});
        QTest::newRow("one-value number list")
            << "mouse/lightValue" << QVariant(QVariantList{4.0}) << QByteArray("mouse")
            << QByteArray("lightValue=@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1\\0\\0\\0\\x6@\\x10\\0\\0\\0\\0\\0\\0)")
            << QVariant(QVariantList{4.0});
        QTest::newRow("empty list")
            << "mouse/colorValue" << QVariant(QVariantList()) << QByteArray("mouse")
            << QByteArray("colorValue=@Invalid()") << QVariant();
        QTest::newRow("whole number from QML")
            << "mouse/reportRate" << QVariant(2.0) << QByteArray("mouse")
            << QByteArray("reportRate=2") << QVariant(QStringLiteral("2"));
        QTest::newRow("macro reference")
            << "mouseMacroKey/2" << QVariant(QStringLiteral("Macro_0")) << QByteArray("mouseMacroKey")
            << QByteArray("2=Macro_0") << QVariant(QStringLiteral("Macro_0"));
        QTest::newRow("text with comma is quoted")
            << "mouseMacroKey/3" << QVariant(QStringLiteral("a,b")) << QByteArray("mouseMacroKey")
            << QByteArray("3=\"a,b\"") << QVariant(QStringLiteral("a,b"));
        QTest::newRow("boolean")
            << "mouse/flag" << QVariant(true) << QByteArray("mouse")
            << QByteArray("flag=true") << QVariant(QStringLiteral("true"));
        QTest::newRow("key without group")
            << "loose" << QVariant(5) << QByteArray("General")
            << QByteArray("loose=5") << QVariant(QStringLiteral("5"));
        QTest::newRow("non-ASCII text")
            << "mouseMacroKey/4" << QVariant(QString::fromUtf8("宏 Größe")) << QByteArray("mouseMacroKey")
            << QByteArray() << QVariant(QString::fromUtf8("宏 Größe"));
    }
    void writesAndRereads()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, line);
        QFETCH(QVariant, reread);

        m_store->setCurrentProfile(4);
        if (value.typeId() == QMetaType::QVariantList)
            m_store->setDataList(key, value.toList());
        else
            m_store->setData(key, value);
        // Within the run the value keeps the type it was written with.
        QCOMPARE(m_store->getData(key, false), value.typeId() == QMetaType::QVariantList
                                                   && value.toList().isEmpty()
                                               ? QVariant(QVariantList())
                                               : value);
        // Written back once control returns to the event loop.
        const QString p5 = file(QStringLiteral("p5.bin"));
        if (!line.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(sectionLines(p5, section).contains(line), 10000);
        m_store->syncAll();
        QCOMPARE(freshValue(p5, key), reread);
        // Nothing else was touched.
        QCOMPARE(readBytes(file(QStringLiteral("pD.bin"))),
                 readBytes(dataDir() + QStringLiteral("/modules/setting/pD.bin")));
        QCOMPARE(readBytes(file(QStringLiteral("p4.bin"))),
                 readBytes(dataDir() + QStringLiteral("/modules/setting/p4.bin")));
    }

    void globalWriteGoesToConfiguration()
    {
        m_store->setGlobalData(QStringLiteral("mouse/profileNo"), 2.0);
        m_store->syncAll();
        QVERIFY(sectionLines(file(QStringLiteral("apConfig.bin")), "mouse").contains("profileNo=2"));
        // Another store on the same file sees the value (one cached copy).
        QSettings other(file(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
        QCOMPARE(other.value(QStringLiteral("mouse/profileNo")).toInt(), 2);
    }

    void writeIntoMissingFileCreatesIt()
    {
        QVERIFY(QFile::remove(file(QStringLiteral("p8.bin"))));
        m_store = std::make_unique<SettingsStore>(m_dir);
        m_store->setCurrentProfile(7);
        QVERIFY(!m_store->getData(QStringLiteral("mouse/tag"), false).isValid());
        m_store->setData(QStringLiteral("mouse/reportRate"), 1);
        m_store->syncAll();
        QCOMPARE(sectionLines(file(QStringLiteral("p8.bin")), "mouse"), QList<QByteArray>{"reportRate=1"});
    }

    void missingFilesReadAsEmpty()
    {
        QTemporaryDir empty;
        SettingsStore store(empty.path() + QStringLiteral("/setting"));
        QVERIFY(!store.getGlobalData(QStringLiteral("mouse/icType")).isValid());
        QVERIFY(!store.getData(QStringLiteral("mouse/tag"), true).isValid());
        QVERIFY(store.getDataList(QStringLiteral("mouse/dpiValueArray"), false).isEmpty());
    }

    // A current number naming no profile: nothing is read or written.
    void profileOutOfRangeDoesNothing_data()
    {
        QTest::addColumn<int>("current");
        QTest::newRow("-1") << -1;
        QTest::newRow("10") << 10;
        QTest::newRow("large") << 1000000;
        QTest::newRow("most negative") << int(0x80000000);
    }
    void profileOutOfRangeDoesNothing()
    {
        QFETCH(int, current);
        m_store->setCurrentProfile(current);
        QCOMPARE(m_store->currentProfile(), current);
        QVERIFY(!m_store->currentStore());
        QVERIFY(!m_store->getData(QStringLiteral("mouse/tag"), false).isValid());
        QVERIFY(m_store->getDataList(QStringLiteral("mouse/dpiValueArray"), false).isEmpty());
        m_store->setData(QStringLiteral("mouse/tag"), QStringLiteral("written"));
        m_store->setDataList(QStringLiteral("mouse/dpiValueArray"), {1, 2});
        m_store->syncAll();
        const QStringList files = QDir(m_dir).entryList(QDir::Files);
        for (const QString &f : files)
            QCOMPARE(readBytes(file(f)), readBytes(dataDir() + QStringLiteral("/modules/setting/") + f));
        // Back in range, the profile operations work again.
        m_store->setCurrentProfile(1);
        QCOMPARE(m_store->getData(QStringLiteral("mouse/tag"), false).toString(), QStringLiteral("p2"));
    }

    void resetApconfigCopiesFactoryFile()
    {
        m_store->setGlobalData(QStringLiteral("mouse/pending"), 1);   // not yet on disk
        m_store->resetApconfig();
        const QByteArray factory = readBytes(file(QStringLiteral("apConfigD.bin")));
        QCOMPARE(readBytes(file(QStringLiteral("apConfig.bin"))), factory);
        QCoreApplication::processEvents();
        QCOMPARE(readBytes(file(QStringLiteral("apConfig.bin"))), factory);
        QCOMPARE(m_store->getGlobalData(QStringLiteral("common/name")).toString(),
                 QStringLiteral("Quill factory"));
        QVERIFY(!m_store->getGlobalData(QStringLiteral("mouse/pending")).isValid());
        QCOMPARE(readBytes(file(QStringLiteral("apConfigD.bin"))),
                 readBytes(dataDir() + QStringLiteral("/modules/setting/apConfigD.bin")));
        // Written again only by the next write, which then holds the value.
        m_store->setGlobalData(QStringLiteral("mouse/profileNo"), 4);
        m_store->syncAll();
        QCOMPARE(freshValue(file(QStringLiteral("apConfig.bin")), QStringLiteral("mouse/profileNo")),
                 QVariant(QStringLiteral("4")));
    }

    void resetApconfigWithoutFactoryKeepsConfiguration_data()
    {
        QTest::addColumn<bool>("asFolder");
        QTest::newRow("factory file missing") << false;
        QTest::newRow("factory file unreadable") << true;
    }
    void resetApconfigWithoutFactoryKeepsConfiguration()
    {
        QFETCH(bool, asFolder);
        QVERIFY(QFile::remove(file(QStringLiteral("apConfigD.bin"))));
        if (asFolder)
            QVERIFY(QDir().mkdir(file(QStringLiteral("apConfigD.bin"))));
        const QByteArray before = readBytes(file(QStringLiteral("apConfig.bin")));
        m_store->resetApconfig();
        QCoreApplication::processEvents();
        QCOMPARE(readBytes(file(QStringLiteral("apConfig.bin"))), before);
        QCOMPARE(m_store->getGlobalData(QStringLiteral("common/name")).toString(), QStringLiteral("Quill"));
        QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("apConfig")),
                 QStringList{QStringLiteral("apConfig.bin")});
    }

    void replacedProfileIsReadAtOnce()
    {
        m_store->setCurrentProfile(2);
        QVERIFY(m_store->replaceProfile(2, file(QStringLiteral("pD.bin"))));
        QCOMPARE(m_store->currentProfile(), 2);
        QCOMPARE(m_store->getData(QStringLiteral("mouse/tag"), false).toString(), QStringLiteral("pD"));
        QVERIFY(!m_store->replaceProfile(10, file(QStringLiteral("pD.bin"))));
        QVERIFY(!m_store->replaceProfile(-1, file(QStringLiteral("pD.bin"))));
    }

    // Values of a file written by the Qt 4 program, with Unix and with
    // Windows line ends.
    void readsQt4Form_data()
    {
        QTest::addColumn<bool>("crlf");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QVariantList>("list");
        const auto s = [](const char *utf8) { return QVariant(QString::fromUtf8(utf8)); };
        struct Row
        {
            const char *name;
            QString key;
            QVariant expected;
            QVariantList list;
        };
        const QList<Row> rows{
            {"number", "mouse/reportRate", s("3"), {}},
            {"boolean", "mouse/isColorful", s("true"), {}},
            {"list", "mouse/dpiValueArray",
             QVariant(QStringList{"400", "800", "1600", "3200", "6000", "6000", "6000", "6000"}),
             {"400", "800", "1600", "3200", "6000", "6000", "6000", "6000"}},
            {"one-value int list", "mouse/oneInt", QVariant(QVariantList{4}), {4}},
            {"one-value number list", "mouse/oneDouble", QVariant(QVariantList{4.0}), {4.0}},
            {"one-value text list", "mouse/oneText", QVariant(QVariantList{QString::fromUtf8("宏1")}),
             {QString::fromUtf8("宏1")}},
            {"empty list", "mouse/empty", QVariant(), {}},
            {"\\x escapes", "mouse/chinese", s("宏编辑"), {}},
            {"escaped digits after escape", "mouse/escapedDigit", s("宏12"), {}},
            {"Latin-1 escape", "mouse/mixed", s("Aäb"), {}},
            {"quoted comma", "mouse/quoted", s("1,A"), {}},
            {"quoted blanks", "mouse/blanks", s(" lead and trail "), {}},
            {"quoted separators", "mouse/semicolon", s("a;b=c"), {}},
            {"backslash", "mouse/backslash", s("a\\b"), {}},
            {"escaped quote", "mouse/quote", s("say \"hi\""), {}},
            {"tab", "mouse/tab", s("a\tb"), {}},
            {"list of quoted and escaped", "mouse/textList",
             QVariant(QStringList{"1,A", QString::fromUtf8("宏"), "plain"}),
             {"1,A", QString::fromUtf8("宏"), "plain"}},
            {"doubled at sign", "mouse/atSign", s("@at"), {}},
            {"deeper path", "mouse/deep/path", s("7"), {}},
            {"general section", "top", s("1"), {}},
            {"escaped group name", QString::fromUtf8("宏/name"), s("macro"), {}},
        };
        for (bool crlf : {false, true}) {
            for (const Row &r : rows) {
                QTest::addRow("%s%s", r.name, crlf ? " CRLF" : "")
                    << crlf << r.key << r.expected << r.list;
            }
        }
    }
    void readsQt4Form()
    {
        QFETCH(bool, crlf);
        QFETCH(QString, key);
        QFETCH(QVariant, expected);
        QFETCH(QVariantList, list);
        QByteArray content = readBytes(dataDir() + QStringLiteral("/qt4/qt4form.bin"));
        if (crlf)
            content.replace("\n", "\r\n");
        QVERIFY(writeBytes(file(QStringLiteral("p6.bin")), content));
        m_store = std::make_unique<SettingsStore>(m_dir);
        m_store->setCurrentProfile(5);
        QCOMPARE(m_store->getData(key, false), expected);
        QCOMPARE(m_store->getDataList(key, false), list);
    }

    // Every value the program writes reads back equal after a restart.
    void qt4FormSurvivesRewrite()
    {
        QVERIFY(writeBytes(file(QStringLiteral("p6.bin")), readBytes(dataDir() + QStringLiteral("/qt4/qt4form.bin"))));
        m_store = std::make_unique<SettingsStore>(m_dir);
        m_store->setCurrentProfile(5);
        QSettings *p = m_store->currentStore();
        const QStringList keys = p->allKeys();
        QMap<QString, QVariant> before;
        for (const QString &k : keys)
            before.insert(k, p->value(k));
        m_store->setData(QStringLiteral("mouse/touched"), 1);   // forces a rewrite
        m_store->syncAll();
        for (const QString &k : keys)
            QCOMPARE(freshValue(file(QStringLiteral("p6.bin")), k), before.value(k));
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
