// Settings files whose values claim absurd sizes: a value of the form
// @Variant(...) holds a serialised variant that may announce billions of
// list entries or characters. Found by fuzzing the readers; each store must
// read such a file without crashing or hanging, also where memory is short
// (the announced sizes cannot be had), and go on to write a complete file.

#include "store/gunstore.h"
#include "store/langstrings.h"
#include "store/macrolibrary.h"
#include "store/namelists.h"
#include "store/settingsstore.h"
#include "storetestutil.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QtTest>

#include <functional>
#include <sys/resource.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUILL_ASAN 1
#endif

using namespace StoreTest;

namespace {

// A value as QSettings writes a variant it cannot write as text, around a
// stream that announces `count` elements of a type and then ends.
QByteArray hostileVariant(quint32 type, quint32 count)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_0);
    out << type << quint8(0) << count;
    QByteArray escaped;
    for (uchar c : payload)
        escaped += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
    return "@Variant(" + escaped + ")";
}

// Memory is short: address space for what the process has plus a little.
// (Not under AddressSanitizer, which reserves its shadow memory up front.)
class ShortMemory
{
public:
    ShortMemory()
    {
#ifndef QUILL_ASAN
        if (getrlimit(RLIMIT_AS, &m_saved) != 0)
            return;
        rlimit limited = m_saved;
        limited.rlim_cur = rlim_t(currentSize()) + (rlim_t(512) << 20);
        m_active = setrlimit(RLIMIT_AS, &limited) == 0;
#endif
    }
    ~ShortMemory()
    {
        if (m_active)
            setrlimit(RLIMIT_AS, &m_saved);
    }

private:
    static qint64 currentSize()
    {
        QFile status(QStringLiteral("/proc/self/statm"));
        if (!status.open(QIODevice::ReadOnly))
            return 4LL << 30;
        return status.readAll().split(' ').value(0).toLongLong() * 4096;
    }
    rlimit m_saved{};
    bool m_active = false;
};

using Reader = std::function<void(const QString &root)>;

} // namespace

Q_DECLARE_METATYPE(Reader)

class TestHostileFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;

private slots:
    void readers_data()
    {
        QTest::addColumn<QString>("file");      // relative to the run folder
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Reader>("read");

        const Reader profile = [](const QString &root) {
            SettingsStore store(root + QStringLiteral("/modules/setting"));
            store.getDataList(QStringLiteral("mouse/dpiValueArray"), false);
            store.getData(QStringLiteral("macro/macroName"), false);
            store.setData(QStringLiteral("mouse/reportRate"), 2);
            store.syncAll();
            QCOMPARE(freshValue(root + QStringLiteral("/modules/setting/p1.bin"), QStringLiteral("mouse/reportRate")),
                     QVariant(QStringLiteral("2")));
        };
        const Reader names = [](const QString &root) {
            NameLists lists(root + QStringLiteral("/modules/setting/name.bin"));
            for (int t = 0; t < 4; ++t)
                lists.getNameList(t);
            QVERIFY(lists.updataNameList(2, {"Standard0", "profile_11"}));
            QCOMPARE(lists.getNameList(2), (QVariantList{"Standard0", "profile_11"}));
        };
        const Reader guns = [](const QString &root) {
            GunStore store(root + QStringLiteral("/modules/gun/gunData.bin"));
            for (const QString &key : store.getGunDataKey())
                store.getGunData(key);
            QVERIFY(store.mouseSaveGundata(2, {"M16A4", "L-Click", 9, 0, 8, 0}));
            QCOMPARE(store.getGunData(2).size(), 6);
        };
        const Reader macro = [](const QString &root) {
            SettingsStore store(root + QStringLiteral("/modules/setting"));
            MacroLibrary lib(root + QStringLiteral("/modules/macro"), store);
            lib.loadMacroIni(QStringLiteral("Macro_0"));
            QVERIFY(lib.saveMacroIni(QStringLiteral("Macro_0"), {"1,A"}, 1));
            QCOMPARE(lib.loadMacroIni(QStringLiteral("Macro_0")), (QStringList{"1,A", "1"}));
        };
        const Reader language = [](const QString &root) {
            for (const char *section : {"main", "other", "keyCode"})
                LangStrings::getLangStrings(root + QStringLiteral("/modules/i18n"),
                                            QString::fromLatin1(section), QStringLiteral("English"));
        };

        // The inputs the fuzzer found, as it found them.
        QTest::newRow("profile: fuzzed list") << "modules/setting/p1.bin"
            << readBytes(dataDir() + QStringLiteral("/hostile/profile-huge-list.bin")) << profile;
        QTest::newRow("name list: fuzzed variant") << "modules/setting/name.bin"
            << readBytes(dataDir() + QStringLiteral("/hostile/namelist-huge-variant.bin")) << names;

        // Each kind of serialised container, announcing 4 billion entries.
        const QList<QPair<const char *, quint32>> types{
            {"list", 9}, {"string list", 11}, {"map", 8}, {"text", 10}, {"bytes", 12}};
        for (const auto &t : types) {
            const QByteArray value = hostileVariant(t.second, 0xFFFFFFF0u);
            QTest::addRow("profile: %s", t.first) << "modules/setting/p1.bin"
                << "[mouse]\ndpiValueArray=" + value + "\nreportRate=3\n" << profile;
            QTest::addRow("name list: %s", t.first) << "modules/setting/name.bin"
                << "[macro]\nmacroName=" + value + "\n" << names;
            QTest::addRow("recoil data: %s", t.first) << "modules/gun/gunData.bin"
                << "[gunData]\n0=" + value + "\n1=AKM, L-Click, 9, 0, 7, 0\n" << guns;
            QTest::addRow("macro: %s", t.first) << "modules/macro/Macro_0.bin"
                << "[config]\ntotal=" + value + "\nrepeat=" + value + "\n[macro]\n0=" + value + "\n" << macro;
            QTest::addRow("language: %s", t.first) << "modules/i18n/English.ini"
                << "[main]\ntotal=2\n0=" + value + "\n1=x\n[other]\ntotal=" + value + "\n" << language;
        }
    }

    void readers()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(Reader, read);
        const QString root = newRunDir(m_tmp);
        QVERIFY(copyTree(QStringLiteral("modules"), root + QStringLiteral("/modules")));
        QVERIFY(writeBytes(root + QLatin1Char('/') + file, content));
        QElapsedTimer took;
        took.start();
        {
            ShortMemory shortMemory;
            read(root);
        }
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
