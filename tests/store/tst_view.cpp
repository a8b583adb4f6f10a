// The view's file slots over a ./modules tree in the working directory, as
// the screens call them.
#include "app/filedialogs_qt.h"
#include "app/myqquickview.h"
#include "device/hid_thread.h"
#include "store/langstrings.h"
#include "storetestutil.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTimer>
#include <QJSValue>
#include <QtTest>

using namespace StoreTest;

class TestView : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_oldCwd;
    std::unique_ptr<myQQuickView> m_view;
    ScriptedDialogs *m_dialogs = nullptr;

    QVariant call(const char *slot, QVariant a, bool b)
    {
        QVariant result;
        const bool ok = QMetaObject::invokeMethod(m_view.get(), slot, Q_RETURN_ARG(QVariant, result),
                                                  Q_ARG(QVariant, a), Q_ARG(bool, b));
        return ok ? result : QVariant(QStringLiteral("<not invokable>"));
    }

private slots:
    void initTestCase()
    {
        // The dialogs start on the desktop: give the test a home of its own.
        QVERIFY(QDir().mkpath(m_tmp.path() + QStringLiteral("/home/Desktop")));
        qputenv("HOME", (m_tmp.path() + QStringLiteral("/home")).toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(DialogTexts::startFolder(), m_tmp.path() + QStringLiteral("/home/Desktop"));
    }

    void init()
    {
        const QString root = newRunDir(m_tmp);
        QVERIFY(copyTree(QStringLiteral("modules"), root + QStringLiteral("/modules")));
        QVERIFY(copyTree(QStringLiteral("exchange"), root + QStringLiteral("/exchange")));
        m_oldCwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root));
        m_view = std::make_unique<myQQuickView>();
        auto dialogs = std::make_unique<ScriptedDialogs>();
        m_dialogs = dialogs.get();
        m_view->setFileDialogs(std::move(dialogs));
    }
    void cleanup()
    {
        m_view.reset();
        QDir::setCurrent(m_oldCwd);
    }

    void deviceFactsReadAtConstruction()
    {
        QVERIFY(m_view->isColorful);
        QVERIFY(m_view->isGun);
        QVERIFY(!m_view->is55328);
        QCOMPARE(m_view->icType, QStringLiteral("560"));
    }

    void dataSlotsFollowCurrentProfile_data()
    {
        QTest::addColumn<int>("profile");
        QTest::addColumn<bool>("isRecovery");
        QTest::addColumn<QVariant>("tag");
        QTest::newRow("start is profile 0") << -2 << false << QVariant(QStringLiteral("p1"));
        QTest::newRow("profile 3 reads p4") << 3 << false << QVariant(QStringLiteral("p4"));
        QTest::newRow("recovery reads pD") << 3 << true << QVariant(QStringLiteral("pD"));
        QTest::newRow("profile 10 reads nothing") << 10 << false << QVariant();
    }
    void dataSlotsFollowCurrentProfile()
    {
        QFETCH(int, profile);
        QFETCH(bool, isRecovery);
        QFETCH(QVariant, tag);
        if (profile != -2)
            QVERIFY(QMetaObject::invokeMethod(m_view.get(), "setCurrentProfile", Q_ARG(int, profile)));
        QCOMPARE(call("getData", QStringLiteral("mouse/tag"), isRecovery), tag);
    }

    void scriptValuesAreStoredPlain()
    {
        m_view->setCurrentProfile(4);
        m_view->setData(QStringLiteral("mouse/reportRate"), QVariant::fromValue(QJSValue(3)));
        m_view->setDataList(QStringLiteral("mouse/lightValue"),
                            QVariantList{QVariant::fromValue(QJSValue(1)), 2.0, QVariant::fromValue(QJSValue(5))});
        m_view->setGlobalData(QStringLiteral("mouse/profileNo"), QVariant::fromValue(QJSValue(4)));
        m_view->store().syncAll();
        const QList<QByteArray> mouse = sectionLines(QStringLiteral("modules/setting/p5.bin"), "mouse");
        QVERIFY(mouse.contains("reportRate=3"));
        QVERIFY(mouse.contains("lightValue=1, 2, 5"));
        QVERIFY(sectionLines(QStringLiteral("modules/setting/apConfig.bin"), "mouse").contains("profileNo=4"));
        QCOMPARE(m_view->getDataList(QStringLiteral("mouse/lightValue"), false).size(), 3);
    }

    void profileImportThroughDialog()
    {
        m_dialogs->answers << QString() << QStringLiteral("exchange/imported.pf");
        QVERIFY(!m_view->loadProfile(0));
        QVERIFY(m_view->loadProfile(0));
        QCOMPARE(m_view->getData(QStringLiteral("mouse/tag"), false).toString(), QStringLiteral("imported"));
        QCOMPARE(readBytes(QStringLiteral("modules/setting/p1.bin")), readBytes(QStringLiteral("exchange/imported.pf")));
        m_view->resetProfile(0);
        QCOMPARE(m_view->getData(QStringLiteral("mouse/tag"), false).toString(), QStringLiteral("pD"));
        m_view->copyProfile(0, 3);
        QCOMPARE(m_view->getData(QStringLiteral("mouse/tag"), false).toString(), QStringLiteral("p4"));
        m_dialogs->answers << QStringLiteral("exchange/out.pf");
        m_view->saveProfile(0);
        QCOMPARE(readBytes(QStringLiteral("exchange/out.pf")), readBytes(QStringLiteral("modules/setting/p4.bin")));
    }

    void macroSlotsUseTheLibraryFolder()
    {
        QCOMPARE(m_view->createMacroIni(QStringLiteral("Macro_3"), 0), QVariant(true));
        QVERIFY(QFileInfo::exists(QStringLiteral("modules/macro/Macro_3.bin")));
        QCOMPARE(m_view->saveMacroIni(QStringLiteral("Macro_3"), {"1,A", "2,A"}, QVariant::fromValue(QJSValue(2))),
                 QVariant(true));
        QCOMPARE(m_view->loadMacroIni(QStringLiteral("Macro_3")), (QStringList{"1,A", "2,A", "2"}));
        QCOMPARE(m_view->modifyMacroNameUpdateProfile(QStringLiteral("Macro_0"), QStringLiteral("M")), QVariant(true));
        QCOMPARE(m_view->getData(QStringLiteral("mouseMacroKey/1"), false).toString(), QStringLiteral("M"));
        m_view->deleteMacroUpdateProfile(QStringLiteral("M"));
        QCOMPARE(m_view->getDataList(QStringLiteral("mouseKeyMatrix/5"), false),
                 (QVariantList{"1", "240", "5", "0"}));
        QCOMPARE(m_view->deleteMacroIni(QStringLiteral("M")), QVariant(true));
        QCOMPARE(m_view->createMacroIni(QStringLiteral("../setting/p1"), 0), QVariant(false));
        m_dialogs->answers << QStringLiteral("exchange/imported.mc");
        QVERIFY(m_view->loadMacroFile(QStringLiteral("Macro_4")));
        QCOMPARE(m_view->loadMacroIni(QStringLiteral("Macro_4")), (QStringList{"1,B", "7"}));
        m_dialogs->answers << QStringLiteral("exchange/m4.mc");
        m_view->saveMacroFile(QStringLiteral("Macro_4"));
        QCOMPARE(readBytes(QStringLiteral("exchange/m4.mc")), readBytes(QStringLiteral("exchange/imported.mc")));
    }

    void listAndGunSlots()
    {
        QCOMPARE(m_view->updataNameList(0, {QStringLiteral("Macro_0")}), QVariant(true));
        QCOMPARE(m_view->getNameList(0), (QVariantList{"Macro_0", "loaderzentic"}));
        m_view->mouseSaveGundata(2, {"M16A4", "L-Click", 9.0, 0.0, 8.0, 0.0});
        QVERIFY(sectionLines(QStringLiteral("modules/gun/gunData.bin"), "gunData")
                    .contains("2=M16A4, L-Click, 9, 0, 8, 0"));
        QCOMPARE(m_view->getGunData(2).size(), 6);
        m_view->modifyGundata(0, {"AKM"});
        QCOMPARE(m_view->getGunDataKey(), (QStringList{"0", "2"}));
        QCOMPARE(m_view->getXYSensitive(1), QVariant(4));
        m_view->setXYSensitive(1, 3);
        QCOMPARE(m_view->getXYSensitive(1), QVariant(3));
        m_view->setSelectGun(0, QStringLiteral("2"));
        QCOMPARE(m_view->getselectGun(0), QVariant(QStringLiteral("2")));
    }

    void otherSectionSetsBalloonTexts()
    {
        const QStringList eight{"Stage 1:", "Stage 2:", "Stage 3:", "Stage 4:",
                                "Stage 5:", "Stage 6:", "Stage 7:", "Stage ?:"};
        QCOMPARE(m_view->getLangStrings(QStringLiteral("profile"), QStringLiteral("English")).size(), 6);
        QCOMPARE(m_view->getLangStrings(QStringLiteral("other"), QStringLiteral("English")), eight);
        QCOMPARE(dpiSwitchTexts(), eight);
        // Other sections leave the balloon texts alone.
        m_view->getLangStrings(QStringLiteral("profile"), QStringLiteral("English"));
        QCOMPARE(dpiSwitchTexts(), eight);
    }

    // A language section reaches the screens as the file gives it; the
    // screens fill in what it leaves out from their own built-in texts.
    // Within the announced total a missing string stays empty.
    void sectionReachesTheScreensAsTheFileGivesIt_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("strings");
        QTest::newRow("total 3 of 11")
            << QByteArray("[main]\ntotal=3\n0=A\n1=B\n2=C\n") << "main"
            << QStringList{"A", "B", "C"};
        QTest::newRow("gap within the total stays empty")
            << QByteArray("[main]\ntotal=3\n0=A\n2=C\n") << "main"
            << QStringList{"A", "", "C"};
        QTest::newRow("full section unchanged")
            << QByteArray("[profile]\ntotal=6\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\n") << "profile"
            << QStringList{"a", "b", "c", "d", "e", "f"};
        QTest::newRow("longer section kept whole")
            << QByteArray("[dpiSetting]\ntotal=2\n0=DPI\n1=extra\n") << "dpiSetting"
            << QStringList{"DPI", "extra"};
        QTest::newRow("section absent") << QByteArray("[main]\ntotal=1\n0=A\n") << "profile"
                                        << QStringList{};
        QTest::newRow("section of no screen") << QByteArray("[mine]\ntotal=1\n0=A\n") << "mine"
                                              << QStringList{"A"};
    }
    void sectionReachesTheScreensAsTheFileGivesIt()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QStringList, strings);
        QVERIFY(writeBytes(QStringLiteral("modules/i18n/Short.ini"), file));
        QCOMPARE(m_view->getLangStrings(section, QStringLiteral("Short")), strings);
    }

    // The program's own dialogs: standard file dialogs over the view with
    // the titles and filters of each operation. The test answers them.
    void standardDialogs_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("import profile") << false << "Open File" << "Profile(*.pf)";
        QTest::newRow("export macro") << true << "Save File" << "Macro(*.mc)";
    }
    void standardDialogs()
    {
        QFETCH(bool, save);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        m_view->setFileDialogs(std::make_unique<QtFileDialogs>(m_view.get()));
        const QString chosen = QDir::current().absoluteFilePath(
            save ? QStringLiteral("exchange/macro0.mc") : QStringLiteral("exchange/imported.pf"));

        QString seenTitle, seenFilter, seenFolder;
        QWidget *seenParent = nullptr;
        QTimer poll;
        poll.setInterval(20);
        // Answers whichever file dialog is open, until the operation returns.
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            if (!seenParent) {   // as first shown
                seenTitle = dlg->windowTitle();
                seenFilter = dlg->nameFilters().join(QLatin1Char(';'));
                seenFolder = dlg->directory().absolutePath();
                seenParent = dlg->parentWidget();
            }
            if (auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(chosen);
            else
                dlg->selectFile(chosen);
            QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
        });
        poll.start();
        if (save) {
            m_view->saveMacroFile(QStringLiteral("Macro_0"));
            QCOMPARE(readBytes(chosen), readBytes(QStringLiteral("modules/macro/Macro_0.bin")));
        } else {
            QVERIFY(m_view->loadProfile(1));
            QCOMPARE(m_view->store().profile(1)->value(QStringLiteral("mouse/tag")).toString(),
                     QStringLiteral("imported"));
        }
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenFilter, filter);
        QCOMPARE(seenParent, m_view.get());
        QCOMPARE(seenFolder, m_tmp.path() + QStringLiteral("/home/Desktop"));
    }

    void noDesktopFolderStartsAtHome()
    {
        const QString desktop = m_tmp.path() + QStringLiteral("/home/Desktop");
        QVERIFY(QDir(desktop).removeRecursively());
        QCOMPARE(DialogTexts::startFolder(), QDir::homePath());
        QVERIFY(QDir().mkpath(desktop));
    }

    void resetApconfigSlot()
    {
        m_view->resetApconfig();
        QCOMPARE(readBytes(QStringLiteral("modules/setting/apConfig.bin")),
                 readBytes(QStringLiteral("modules/setting/apConfigD.bin")));
        QCOMPARE(m_view->getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("553"));
        QCOMPARE(m_view->icType, QStringLiteral("560"));   // not read again
    }
};

QTEST_MAIN(TestView)
#include "tst_view.moc"
