// The shipped tree read through the program's own file operations, on a
// copy: what the screens receive from it at start-up.

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include "datafiles.h"
#include "store/gunstore.h"
#include "store/langstrings.h"
#include "store/namelists.h"
#include "store/settingsstore.h"

using namespace datafiles;

class TestProductReaders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void languageSections_data();
    void languageSections();
    void builtInMessagesAreTheEnglishFile();
    void balloonTextsAllReplaced();
    void nameListsAsTheScreensGetThem();
    void recoilPresets();
    void storesServeTheFactoryState();

private:
    QTemporaryDir m_dir;
    QString modules() const { return m_dir.filePath(QStringLiteral("modules")); }
};

void TestProductReaders::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDirIterator it(modulesDir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = QDir(modulesDir()).relativeFilePath(src);
        if (rel.startsWith(QLatin1String("qml/")))
            continue;
        const QString dst = modules() + QLatin1Char('/') + rel;
        QVERIFY(QDir().mkpath(QFileInfo(dst).path()));
        QVERIFY2(QFile::copy(src, dst), qPrintable(rel));
    }
}

void TestProductReaders::languageSections_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("count");
    const QList<QPair<const char *, int>> sections{
        {"main", 11},         {"keyMatrix", 2},    {"keyAssigment", 57}, {"dpiSetting", 2},
        {"lightControl", 16}, {"macroEditor", 18}, {"systemSetting", 15}, {"gunControl", 10},
        {"profile", 15},      {"keyCode", 133},    {"other", 8},         {"message", 11}};
    for (const char *lang : {"English", "ChineseSimplified"})
        for (const auto &s : sections)
            QTest::addRow("%s/%s", lang, s.first)
                << QString::fromLatin1(lang) << QString::fromLatin1(s.first) << s.second;
}

void TestProductReaders::languageSections()
{
    QFETCH(QString, language);
    QFETCH(QString, section);
    QFETCH(int, count);
    const QStringList strings =
        LangStrings::getLangStrings(modules() + QStringLiteral("/i18n"), section, language);
    QCOMPARE(strings.size(), count);
    for (const QString &s : strings)
        QVERIFY2(!s.trimmed().isEmpty(), qPrintable(section));
}

// The native side's built-in messages stand in for the English file's
// "message" section, index for index.
void TestProductReaders::builtInMessagesAreTheEnglishFile()
{
    const QStringList english = LangStrings::getLangStrings(
        modules() + QStringLiteral("/i18n"), QStringLiteral("message"), QStringLiteral("English"));
    QCOMPARE(english.size(), 11);
    for (int id = 0; id < int(english.size()); ++id)
        QCOMPARE(LangStrings::builtInMessage(LangStrings::MessageText(id)), english.at(id));
}

void TestProductReaders::balloonTextsAllReplaced()
{
    for (const char *lang : {"English", "ChineseSimplified"}) {
        const QStringList other = LangStrings::getLangStrings(
            modules() + QStringLiteral("/i18n"), QStringLiteral("other"), QString::fromLatin1(lang));
        const QStringList texts = LangStrings::dpiSwitchTextsFrom(other);
        QCOMPARE(texts.size(), LangStrings::kDpiSwitchTextCount);
        for (const QString &t : texts)
            QVERIFY2(t != LangStrings::defaultDpiSwitchText(), lang);
    }
}

void TestProductReaders::nameListsAsTheScreensGetThem()
{
    NameLists names(modules() + QStringLiteral("/setting/name.bin"));
    // No macros ship: the editor starts with an empty library.
    QVERIFY(names.getNameList(0).isEmpty());
    QCOMPARE(names.getNameList(1),
             (QVariantList{"M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"}));
    // The standard profile alone, with the marker the screens drop.
    QCOMPARE(names.getNameList(2), (QVariantList{"Standard0", "loaderzentic"}));
}

void TestProductReaders::recoilPresets()
{
    GunStore guns(modules() + QStringLiteral("/gun/gunData.bin"));
    QStringList keys = guns.getGunDataKey();
    std::sort(keys.begin(), keys.end());
    QCOMPARE(keys, (QStringList{"0", "1", "2", "3", "4", "5"}));
    for (int row = 0; row < 6; ++row)
        QCOMPARE(guns.getGunData(row).size(), 6);
    QCOMPARE(guns.getGunData(0),
             (QVariantList{"M416", "L-Click", "9", "0", "5", "0"}));
}

void TestProductReaders::storesServeTheFactoryState()
{
    SettingsStore store(modules() + QStringLiteral("/setting"));
    QCOMPARE(store.getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("553"));
    QCOMPARE(store.getGlobalData(QStringLiteral("common/language")).toString(), QStringLiteral("English"));
    QCOMPARE(store.getGlobalData(QStringLiteral("mouse/selectGun")).toStringList(),
             (QStringList{"0", "1", "2"}));
    const int profileNo = store.getGlobalData(QStringLiteral("mouse/profileNo")).toInt();
    store.setCurrentProfile(profileNo);
    for (bool recovery : {false, true}) {
        QCOMPARE(store.getDataList(QStringLiteral("mouse/dpiValueArray"), recovery).size(), 8);
        QCOMPARE(store.getDataList(QStringLiteral("mouse/colorValue"), recovery).size(), 24);
        QCOMPARE(store.getDataList(QStringLiteral("mouse/lightValue"), recovery).size(), 3);
        QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), recovery).toString(), QStringLiteral("3"));
        for (int k = 0; k < 16; ++k) {
            QCOMPARE(store.getDataList(QStringLiteral("mouseKeyMatrix/%1").arg(k), recovery).size(), 4);
            QCOMPARE(store.getDataList(QStringLiteral("mouseFwKeyMatrix/%1").arg(k), recovery).size(), 4);
        }
    }
    QCOMPARE(GunStore::getXYSensitive(store, 0).toString(), QStringLiteral("4"));
}

QTEST_MAIN(TestProductReaders)
#include "tst_productreaders.moc"
