// The language files must give every screen a complete list: the screens
// replace their built-in texts with whatever a section returns, so a short
// section or an empty string shows as a blank on screen.

#include <QSet>
#include <QStringDecoder>
#include <QtTest>

#include "datafiles.h"

using namespace datafiles;

namespace {

struct Section
{
    const char *name;
    int total;
};

// Every section the screens and the language loader ask for, and the native
// side's own balloon texts, with the number of strings each expects.
const Section kSections[] = {
    {"main", 11},          {"keyMatrix", 2},   {"keyAssigment", 57}, {"dpiSetting", 2},
    {"lightControl", 16},  {"macroEditor", 18}, {"systemSetting", 15}, {"gunControl", 10},
    {"profile", 15},        {"keyCode", 133},   {"other", 8},          {"message", 11},
};

const char *const kLanguages[] = {"English", "ChineseSimplified"};

QString langFile(const QString &language)
{
    return path(QStringLiteral("i18n/") + language + QStringLiteral(".ini"));
}

// What the loader returns for a section: total strings in index order.
QStringList sectionStrings(const QSettings &s, const QString &section)
{
    QStringList out;
    const int total = s.value(section + QStringLiteral("/total")).toInt();
    for (int i = 0; i < total; ++i)
        out << s.value(section + QLatin1Char('/') + QString::number(i)).toString();
    return out;
}

// Key codes in the order of the keyCode section.
QList<int> keyCodes()
{
    QList<int> codes;
    for (int c = 0x04; c <= 0x73; ++c)
        codes << c;
    codes << 0x85;
    for (int c = 0x87; c <= 0x8B; ++c)
        codes << c;
    codes << 0x90 << 0x91;
    for (int c = 0xE0; c <= 0xE7; ++c)
        codes << c;
    for (int c = 0xF0; c <= 0xF4; ++c)
        codes << c;
    return codes;
}

// One test row per language file.
void languageRows()
{
    QTest::addColumn<QString>("language");
    for (const char *l : kLanguages)
        QTest::newRow(l) << QString::fromLatin1(l);
}

bool hasIdeograph(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

} // namespace

class TestLanguageData : public QObject
{
    Q_OBJECT

private slots:
    void fileForm_data();
    void fileForm();
    void sections_data();
    void sections();
    void englishTexts_data();
    void englishTexts();
    void keyNames_data();
    void keyNames();
    void englishKeyNames_data();
    void englishKeyNames();
    void dpiSwitchTexts_data();
    void dpiSwitchTexts();
    void chineseIsTranslated();
};

void TestLanguageData::fileForm_data()
{
    languageRows();
}

void TestLanguageData::fileForm()
{
    QFETCH(QString, language);
    const QByteArray raw = readAll(langFile(language));
    QVERIFY2(!raw.isEmpty(), qPrintable(language));
    QVERIFY2(!raw.startsWith("\xEF\xBB\xBF"), "byte-order mark would become part of the first section name");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(raw);
    QVERIFY2(!utf8.hasError(), "not valid UTF-8");
    QVERIFY(!text.contains(QChar(0xFFFD)));
    QString why;
    QVERIFY2(rewritesIdentically(langFile(language), &why), qPrintable(why));
}

void TestLanguageData::sections_data()
{
    languageRows();
}

void TestLanguageData::sections()
{
    QFETCH(QString, language);
    QSettings s(langFile(language), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);

    QStringList expected;
    for (const Section &sec : kSections)
        expected << QString::fromLatin1(sec.name);
    QStringList groups = s.childGroups();
    std::sort(expected.begin(), expected.end());
    std::sort(groups.begin(), groups.end());
    QCOMPARE(groups, expected);

    for (const Section &sec : kSections) {
        const QString name = QString::fromLatin1(sec.name);
        QCOMPARE(s.value(name + QStringLiteral("/total")).toString(), QString::number(sec.total));
        s.beginGroup(name);
        const int keys = s.childKeys().size();
        s.endGroup();
        // Nothing beyond total: a stray string would be silently dropped.
        QCOMPARE(keys, sec.total + 1);
        const QStringList strings = sectionStrings(s, name);
        for (int i = 0; i < strings.size(); ++i) {
            const QString key = name + QLatin1Char('/') + QString::number(i);
            // A list value would come back as one text with the commas
            // lost; every entry must be a single text.
            QVERIFY2(s.value(key).typeId() == QMetaType::QString, qPrintable(key));
            QVERIFY2(!strings.at(i).trimmed().isEmpty(), qPrintable(key));
        }
    }

    // The button names are followed by the button number after a blank.
    QVERIFY(s.value(QStringLiteral("keyMatrix/0")).toString().endsWith(QLatin1Char(' ')));
    QVERIFY(s.value(QStringLiteral("keyAssigment/0")).toString().endsWith(QLatin1Char(' ')));
}

void TestLanguageData::englishTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    // The screens' own texts, spelled as the screens spell them.
    const QList<QPair<const char *, const char *>> rows{
        {"main/0", "Editor"}, {"main/6", "Reset factory setting"}, {"main/10", "Save"},
        {"keyMatrix/0", "Key "}, {"keyMatrix/1", "Key Function"},
        {"keyAssigment/0", "Key "}, {"keyAssigment/10", "Click Input"},
        {"keyAssigment/13", "Endness"},
        {"keyAssigment/18", "Macro runs one-time after pressing the button"},
        {"keyAssigment/19", "Macro runs endless loop until any button is pressed"},
        {"keyAssigment/20", "Macro runs endless loop until button is released"},
        {"keyAssigment/24", "DPI LOOP"}, {"keyAssigment/29", "Privous"},
        {"keyAssigment/33", "Volumn+"}, {"keyAssigment/34", "Volumn-"},
        {"keyAssigment/35", "My PC"}, {"keyAssigment/41", "Run"}, {"keyAssigment/42", "New"},
        {"keyAssigment/51", "Select All"}, {"keyAssigment/52", "Gun Function"},
        {"keyAssigment/55", "Three Gun"}, {"keyAssigment/56", "Sniper Key"},
        {"dpiSetting/0", "DPI"},
        {"lightControl/0", "Light"}, {"lightControl/4", "OFF"}, {"lightControl/7", "Brightness"},
        {"lightControl/11", "Finger Moving"}, {"lightControl/13", "YO-YO"},
        {"lightControl/15", "Breath Loop"},
        {"macroEditor/5", "Stop Record"}, {"macroEditor/8", "Start Record"},
        {"macroEditor/13", "Insert Delay"}, {"macroEditor/17", "Insert Right Key"},
        {"systemSetting/0", "System Setting"}, {"systemSetting/6", "Number of Rows"},
        {"systemSetting/7", "Scroll one Screen"},
        {"gunControl/0", "Gun editor"}, {"gunControl/5", "Y axis"}, {"gunControl/9", "Endness"},
        {"profile/0", "config"}, {"profile/5", "Standard"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << QString::fromLatin1(r.first) << QString::fromLatin1(r.second);
}

void TestLanguageData::englishTexts()
{
    QFETCH(QString, key);
    QSettings s(langFile(QStringLiteral("English")), QSettings::IniFormat);
    QTEST(s.value(key).toString(), "text");
}

void TestLanguageData::keyNames_data()
{
    fileForm_data();
}

void TestLanguageData::keyNames()
{
    QFETCH(QString, language);
    QSettings s(langFile(language), QSettings::IniFormat);
    const QStringList names = sectionStrings(s, QStringLiteral("keyCode"));
    QCOMPARE(names.size(), keyCodes().size());
    // The macro editor turns names back into codes by the first match, so
    // two keys sharing a name would play the wrong key.
    QSet<QString> seen;
    for (const QString &n : names) {
        QVERIFY2(!seen.contains(n), qPrintable(n));
        seen.insert(n);
        // Names are shown and stored as they are; no stray blanks.
        QCOMPARE(n, n.trimmed());
    }
}

void TestLanguageData::englishKeyNames_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    const QList<QPair<int, QString>> rows{
        {0x04, "A"}, {0x1D, "Z"}, {0x1E, "1"}, {0x26, "9"}, {0x27, "0"}, {0x28, "Enter"},
        {0x2A, "Back"}, {0x2C, "Space"}, {0x2E, "="}, {0x31, "\\"}, {0x33, ";"},
        {0x36, ","}, {0x39, "Caps"}, {0x3A, "F1"}, {0x45, "F12"}, {0x46, "Prt"},
        {0x4F, QString(QChar(0x25BA))}, {0x50, QString(QChar(0x25C4))},
        {0x51, QString(QChar(0x25BC))}, {0x52, QString(QChar(0x25B2))},
        {0x53, "Num"}, {0x58, "KPEnter"}, {0x59, "KP1"}, {0x62, "KP0"}, {0x63, "KP."},
        {0x64, "Eur2"}, {0x67, "KP="}, {0x68, "F13"}, {0x73, "F24"}, {0x85, "Keypad"},
        {0x87, "Intl1"}, {0x8B, "Intl5"}, {0x90, "Lang1"}, {0x91, "Lang2"},
        {0xE0, "LCtrl"}, {0xE3, "LWin"}, {0xE7, "RWin"},
        {0xF0, "MS-L"}, {0xF1, "MS-R"}, {0xF2, "MS-M"}, {0xF3, "MS-B4"}, {0xF4, "MS-B5"},
    };
    for (const auto &r : rows)
        QTest::newRow(qPrintable(QStringLiteral("0x%1").arg(r.first, 2, 16, QLatin1Char('0'))))
            << r.first << r.second;
}

void TestLanguageData::englishKeyNames()
{
    QFETCH(int, code);
    QSettings s(langFile(QStringLiteral("English")), QSettings::IniFormat);
    const int index = keyCodes().indexOf(code);
    QVERIFY(index >= 0);
    QTEST(s.value(QStringLiteral("keyCode/%1").arg(index)).toString(), "name");
}

void TestLanguageData::dpiSwitchTexts_data()
{
    fileForm_data();
}

void TestLanguageData::dpiSwitchTexts()
{
    QFETCH(QString, language);
    QSettings s(langFile(language), QSettings::IniFormat);
    const QStringList texts = sectionStrings(s, QStringLiteral("other"));
    QCOMPARE(texts.size(), 8);
    // Text i is shown for stage i + 1: it must name that stage.
    for (int i = 0; i < 8; ++i)
        QVERIFY2(texts.at(i).contains(QString::number(i + 1)), qPrintable(texts.at(i)));
}

void TestLanguageData::chineseIsTranslated()
{
    QSettings en(langFile(QStringLiteral("English")), QSettings::IniFormat);
    QSettings zh(langFile(QStringLiteral("ChineseSimplified")), QSettings::IniFormat);
    for (const Section &sec : kSections) {
        const QString name = QString::fromLatin1(sec.name);
        if (name == QLatin1String("keyCode") || name == QLatin1String("dpiSetting"))
            continue;   // key names and "DPI" read the same in both
        const QStringList e = sectionStrings(en, name);
        const QStringList z = sectionStrings(zh, name);
        QCOMPARE(z.size(), e.size());
        for (int i = 0; i < z.size(); ++i) {
            // Only the symbolic DPI+ and DPI- stay as they are.
            if (name == QLatin1String("keyAssigment") && (i == 22 || i == 23)) {
                QCOMPARE(z.at(i), e.at(i));
                continue;
            }
            QVERIFY2(hasIdeograph(z.at(i)), qPrintable(name + QLatin1Char('/') + QString::number(i)));
        }
    }
}

QTEST_MAIN(TestLanguageData)
#include "tst_languagedata.moc"
