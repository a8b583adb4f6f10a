#include <QtTest>

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QQmlContext>
#include <QQuickItem>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

#include "app/hookcallbacks.h"
#include "tests/common/faults.h"
#include "app/myqquickview.h"
#include "app/ui_controler.h"
#include "app/widget.h"
#include "gamewatch/gamewatcher.h"
#include "tests/common/fakes.h"
#include "tools/simmouse/simmouse.h"
#include "tests/common/files.h"

// The window, its controller and the host view, in the real event loop.
class TestShell : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_oldCwd;
    std::unique_ptr<Widget> m_window;

    QQuickItem *root() const { return m_window->view()->rootObject(); }
    QStringList calls() const { return root()->property("calls").toStringList(); }
    // Device commands run on the window's device thread: wait for them, then
    // let the effects they posted reach the window.
    void settle()
    {
        QVERIFY(m_window->device().queue().waitIdle(5000));
        QCoreApplication::processEvents();
    }
    void useRecorder()
    {
        m_window->view()->setSource(QUrl::fromLocalFile(QStringLiteral(QUILL_TEST_DATA_DIR "/recorder.qml")));
        QVERIFY(root());
    }

private slots:
    void initTestCase()
    {
        // A private copy of the data tree: the program works in ./modules/.
        QVERIFY(m_dir.isValid());
        QVERIFY(TestFiles::copyTree(QStringLiteral(QUILL_SOURCE_DIR "/modules/setting"),
                                    m_dir.filePath("modules/setting")));
        QSettings config(m_dir.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat);
        config.setValue("common/name", "Quill test");
        config.setValue("mouse/icType", "560");
        config.setValue("mouse/isGun", true);
        config.sync();
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }

    void init() { m_window = std::make_unique<Widget>(); }
    void cleanup() { m_window.reset(); }
    void cleanupTestCase() { QDir::setCurrent(m_oldCwd); }

    void construction()
    {
        Widget &w = *m_window;
        QCOMPARE(w.objectName(), QStringLiteral("Widget"));
        QCOMPARE(w.windowFlags() & (Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint),
                 Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
        QVERIFY(w.testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(w.styleSheet(), QStringLiteral("background:transparent;"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Quill test"));
        QCOMPARE(w.size(), QSize(1024, 640));

        myQQuickView *view = w.view();
        QVERIFY(view);
        QCOMPARE(view->objectName(), QStringLiteral("ui_View"));
        QCOMPARE(view->parentWidget(), &w);
        QCOMPARE(view->hidThread, &w.device());
        QCOMPARE(view->icType, QStringLiteral("560"));
        QVERIFY(view->isGun);
        QCOMPARE(w.icType(), QStringLiteral("560"));

        QVERIFY2(view->errors().isEmpty(), qPrintable(view->errors().value(0).toString()));
        QCOMPARE(view->status(), QQuickWidget::Ready);
        QVERIFY(root());
        QCOMPARE(root()->width(), 1024.0);
        QCOMPARE(root()->height(), 640.0);
        QVERIFY(!root()->isVisible());   // until the first initUI

        QQmlContext *ctx = view->rootContext();
        QCOMPARE(ctx->contextProperty("ui_View").value<QObject *>(), view);
        QCOMPARE(ctx->contextProperty("hid").value<QObject *>(), &w.device());
        QCOMPARE(ctx->contextProperty("ui_Ctl").value<QObject *>(), w.controller());

        QVERIFY(w.checkTimer().isSingleShot());
        QCOMPARE(w.checkTimer().interval(), 2048);
    }

    void trayIcon()
    {
        QSystemTrayIcon *tray = m_window->trayIcon();
        QVERIFY(tray);
        QCOMPARE(tray->toolTip(), QStringLiteral("TORVALE QUILL MOUSE K270"));
        QMenu *menu = tray->contextMenu();
        QVERIFY(menu);
        // The game-profile switch, a separator, and Quit last.
        QCOMPARE(menu->actions().size(), 3);
        QCOMPARE(menu->actions().last()->text(), QStringLiteral("Quit (&Q)"));
        QVERIFY(menu->styleSheet().startsWith("QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); }"));
        QVERIFY(menu->styleSheet().endsWith("QMenu::icon { padding-left: 2px; padding-right: 2px; } "));
    }

    void quitActionEndsLoopWithZero()
    {
        m_window->device().listening = 1;
        QAction *quit = m_window->trayIcon()->contextMenu()->actions().last();
        QTimer::singleShot(0, quit, &QAction::trigger);
        QEventLoop loop;
        QCOMPARE(loop.exec(), 0);
        QCOMPARE(int(m_window->device().listening), 0);   // the listener was told to stop
    }

    void restoreOnlyWhileConnected_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("shown");
        QTest::newRow("double click, connected") << true << int(QSystemTrayIcon::DoubleClick) << true;
        QTest::newRow("double click, no device") << false << int(QSystemTrayIcon::DoubleClick) << false;
        QTest::newRow("single click, connected") << true << int(QSystemTrayIcon::Trigger) << false;
        QTest::newRow("context, connected") << true << int(QSystemTrayIcon::Context) << false;
    }

    void restoreOnlyWhileConnected()
    {
        QFETCH(bool, connected);
        QFETCH(int, reason);
        QFETCH(bool, shown);
        deviceConnected = connected;
        m_window->hide();
        m_window->trayIconActivated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(m_window->isVisible(), shown);

        // A second start's message follows the same rule.
        m_window->hide();
        m_window->receiveMessage(QString());
        QCOMPARE(m_window->isVisible(), connected);
        deviceConnected = false;
    }

    void restoreBringsBackMinimised()
    {
        deviceConnected = true;
        m_window->showMinimized();
        m_window->trayIconActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(m_window->isVisible());
        QVERIFY(!m_window->isMinimized());
        deviceConnected = false;
    }

    void controllerWindowOperations()
    {
        Ui_Controler *ctl = m_window->controller();
        m_window->showNormal();
        m_window->move(100, 100);
        QTRY_COMPARE(m_window->pos(), QPoint(100, 100));
        ctl->onXChanged(15);
        ctl->onYChanged(-7);
        QCOMPARE(m_window->pos(), QPoint(115, 93));   // relative moves
        QCOMPARE(m_window->size(), QSize(1024, 640));  // never resized
        m_window->setTrayProbe([] { return true; });
        ctl->onClose();                                  // hidden to the tray
        QVERIFY(!m_window->isVisible());
        m_window->showNormal();
        QCloseEvent close;                               // the desktop's close request
        QApplication::sendEvent(m_window.get(), &close);
        QVERIFY(!close.isAccepted());
        QVERIFY(!m_window->isVisible());

        Ui_Controler detached;   // no window yet: nothing happens
        detached.onMinimize();
        detached.onClose();
        detached.setBusy(5);
    }

    void nativeToQmlInvocations()
    {
        useRecorder();
        myQQuickView *view = m_window->view();

        // Direct: inside the call.
        view->setBusy(750);
        view->setCurrentDPI(3);
        m_window->controller()->setBusy();
        QCOMPARE(calls(), QStringList({"setProtectUI 750", "setCurrentDPI 3", "setProtectUI 0"}));

        // Queued: only from the event loop, in order.
        view->initUI();
        view->runUI();
        view->forwardKeyboard(true, 0x28);
        view->forwardMouse(false, 0xF0, 321, 654);
        QCOMPARE(calls().size(), 3);
        QTRY_COMPARE(calls().size(), 7);
        QCOMPARE(calls().mid(3), QStringList({"initUI", "run", "detectKeyboard true 40",
                                              "detectMouse false 240 321 654"}));
    }

    void connectNotificationRunsInitThenRun()
    {
        useRecorder();
        m_window->notifyConnected();
        QVERIFY(calls().isEmpty());
        QTRY_COMPARE(calls(), QStringList({"initUI", "run"}));

        // Only the 2177 code makes the screen run.
        QCoreApplication::postEvent(m_window.get(), new UserEvent(2178));
        QCoreApplication::postEvent(m_window.get(), new UserEvent(2177));
        QTRY_COMPARE(calls().size(), 3);
        QCOMPARE(calls().last(), QStringLiteral("run"));
    }

    void hookCallbacksReachTheScreen()
    {
        useRecorder();
        keyboardHookCallback(0x58, true, m_window.get());
        mouseHookCallback(0xF1, true, 10, 20, m_window.get());
        keyboardHookCallback(0x04, false, nullptr);   // no context: nothing
        QTRY_COMPARE(calls(), QStringList({"detectKeyboard true 88", "detectMouse true 241 10 20"}));
    }

    void forwardersWorkWhileBusy()
    {
        useRecorder();
        m_window->view()->setEnabled(false);
        m_window->view()->forwardKeyboard(false, 0x04);
        QTRY_COMPARE(calls(), QStringList({"detectKeyboard false 4"}));
    }

    void busyLockOfTheMainScreen()
    {
        // The real main screen: setProtectUI disables the view until its timer ends.
        myQQuickView *view = m_window->view();
        QVERIFY(view->isEnabled());
        view->setBusy(200);
        QVERIFY(!view->isEnabled());
        QTRY_VERIFY(view->isEnabled());

        m_window->controller()->setBusy();   // 0 unlocks on the next turn of the loop
        QVERIFY(!view->isEnabled());
        QTRY_VERIFY(view->isEnabled());
    }

    void mainScreenDpiStage()
    {
        myQQuickView *view = m_window->view();
        view->setCurrentDPI(4);
        QCOMPARE(root()->property("currentDpiStage").toInt(), 3);
        view->setCurrentDPI(0);   // ignored
        QCOMPARE(root()->property("currentDpiStage").toInt(), 3);
    }

    void mainScreenKeySignal()
    {
        QSignalSpy spy(root(), SIGNAL(msg_KB(bool, int)));
        m_window->view()->forwardKeyboard(true, 0x1E);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(0).toBool(), true);
        QCOMPARE(spy.first().at(1).toInt(), 0x1E);
    }

    void reportRateChoice_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("interval");
        QTest::newRow("125Hz") << 0 << 8;
        QTest::newRow("250Hz") << 1 << 4;
        QTest::newRow("500Hz") << 2 << 2;
        QTest::newRow("1000Hz") << 3 << 1;
    }

    void reportRateChoice()
    {
        // Choosing on the screen stores the index in the current profile and
        // sends the report interval to the mouse.
        QFETCH(int, index);
        QFETCH(int, interval);
        simmouse::Config mouse;
        mouse.family = 553;
        simmouse::reset(mouse);
        RecordingClock clock;
        Hid_Thread &hid = m_window->device();
        hid.setClock(&clock);
        DeviceEntry entry;
        entry.path = QString::fromStdString(simmouse::path(0, 0));
        entry.isEncode = true;
        hid.deviceTable = {entry};
        QVERIFY(hid.chkDeviceIsEnCode(0));   // agrees on the scrambling code
        m_window->view()->icType = QStringLiteral("553");
        m_window->view()->setCurrentProfile(2);

        QObject *panel = root()->findChild<QObject *>(QStringLiteral("reportRate"));
        QVERIFY(panel);
        QVERIFY(QMetaObject::invokeMethod(panel, "choose", Q_ARG(QVariant, index)));
        QCOMPARE(panel->property("currentIndex").toInt(), index);
        QCOMPARE(m_window->view()->getData(QStringLiteral("mouse/reportRate"), false).toInt(), index);
        settle();
        QCOMPARE(int(simmouse::state().reportRate), interval);
        m_window->view()->setCurrentProfile(0);
    }

    void clearHidBusyFreesTheChannel()
    {
        m_window->device().hidIdle = 0;
        m_window->view()->clearHidBusy();
        settle();
        QCOMPARE(int(m_window->device().hidIdle), 1);
    }

    // The tray entry turns automatic game profiles off and on, and the
    // choice outlives the window.
    void gameProfilesTraySwitch()
    {
        QAction *entry = m_window->gameProfilesAction();
        QCOMPARE(m_window->trayIcon()->contextMenu()->actions().first(), entry);
        QCOMPARE(entry->text(), QStringLiteral("Switch profiles for games"));
        QVERIFY(entry->isCheckable());
        QVERIFY(entry->isChecked());   // on unless turned off
        QVERIFY(m_window->gameWatcher()->isEnabled());
        entry->trigger();
        QVERIFY(!m_window->gameWatcher()->isEnabled());
        QCOMPARE(m_window->view()->getGlobalData(QStringLiteral("common/gameProfiles")).toBool(), false);

        m_window = std::make_unique<Widget>();
        QVERIFY(!m_window->gameProfilesAction()->isChecked());
        QVERIFY(!m_window->gameWatcher()->isEnabled());
        m_window->gameProfilesAction()->trigger();
        QVERIFY(m_window->gameWatcher()->isEnabled());
        QCOMPARE(m_window->view()->getGlobalData(QStringLiteral("common/gameProfiles")).toBool(), true);
    }

    // What the watcher switched, and why, in a balloon.
    void gameSwitchBalloons()
    {
        QSignalSpy balloons(m_window.get(), &Widget::balloonShown);
        emit m_window->gameWatcher()->switched(2, QStringLiteral("questgame"), true);
        emit m_window->gameWatcher()->switched(0, QStringLiteral("questgame"), false);
        QCOMPARE(balloons.size(), 2);
        QCOMPARE(balloons.at(0), (QList<QVariant>{"Info", "Profile 2: questgame is running"}));
        QCOMPARE(balloons.at(1), (QList<QVariant>{"Info", "Back to profile 0: questgame has ended"}));
    }

    // The dialog's operations write games.ini and the watcher follows; a
    // damaged file is reported when the window reads it.
    void gameBindingSlots()
    {
        myQQuickView *view = m_window->view();
        QSignalSpy changed(view, &myQQuickView::gameBindingsChanged);
        QVERIFY(view->addGameBinding(QStringLiteral("questgame"), 2));
        QVERIFY(!view->addGameBinding(QStringLiteral("questgame"), 2));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(view->gameBindings(2), QStringList{"questgame"});
        QCOMPARE(view->gameBindings(1), QStringList());
        QCOMPARE(m_window->gameWatcher()->bindings(), (QList<GameBinding>{{"questgame", 2}}));
        QVERIFY(view->removeGameBinding(QStringLiteral("questgame"), 2));
        QCOMPARE(m_window->gameWatcher()->bindings(), QList<GameBinding>());
        // This test's own process is among the programs to pick from.
        QVERIFY(view->runningPrograms().contains(QStringLiteral("app_shell")));

        QVERIFY(TestFiles::writeBytes(QStringLiteral("modules/setting/games.ini"),
                                      "[bindings]\n1\\program=a\n1\\profile=7\nsize=1\n"));
        QTest::ignoreMessage(QtDebugMsg, "File damaged: ./modules/setting/games.ini "
                                         "(only its readable game bindings are used)");
        m_window = std::make_unique<Widget>();
        QCOMPARE(m_window->gameWatcher()->bindings(), QList<GameBinding>());
        QFile::remove(QStringLiteral("modules/setting/games.ini"));
    }

    // A write the mouse did not take: one "Info" balloon in the configured
    // language, the built-in English text where the language has none.
    void writeFailureBalloonText_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");
        const QString english = QStringLiteral("The mouse did not accept the setting");
        QTest::newRow("English") << "English" << QByteArray() << english;
        QTest::newRow("Chinese") << "ChineseSimplified" << QByteArray()
                                 << QString::fromUtf8("鼠标未接受该设置");
        QTest::newRow("language file missing") << "Klingon" << QByteArray() << english;
        QTest::newRow("section missing") << "Bare" << QByteArray("[main]\ntotal=1\n0=x\n") << english;
        QTest::newRow("entry empty") << "Blank" << QByteArray("[message]\ntotal=1\n0=\n") << english;
        QTest::newRow("own text") << "Own" << QByteArray("[message]\ntotal=1\n0=Not taken\n")
                                  << QStringLiteral("Not taken");
    }
    void writeFailureBalloonText()
    {
        QFETCH(QString, language);
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QDir().mkpath(QStringLiteral("modules/i18n"));
        for (const char *l : {"English", "ChineseSimplified"})
            QFile::copy(QStringLiteral(QUILL_SOURCE_DIR "/modules/i18n/%1.ini").arg(l),
                        QStringLiteral("modules/i18n/%1.ini").arg(l));
        if (!file.isEmpty())
            QVERIFY(TestFiles::writeBytes(QStringLiteral("modules/i18n/%1.ini").arg(language), file));
        const QVariant previous = m_window->view()->getGlobalData(QStringLiteral("common/language"));
        m_window->view()->setGlobalData(QStringLiteral("common/language"), language);
        QSignalSpy balloons(m_window.get(), &Widget::balloonShown);
        m_window->deviceWriteFailed();
        m_window->view()->setGlobalData(QStringLiteral("common/language"), previous);
        QCOMPARE(balloons.size(), 1);
        QCOMPARE(balloons.at(0), (QList<QVariant>{"Info", text}));
    }

    // A settings file that cannot be written: the change stays readable,
    // flushSettings says it is not on disk, one balloon per burst names the
    // file and why in the configured language, and the change lands once
    // the fault is gone.
    void unwritableSettingsAreTold_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("text");
        QTest::newRow("read-only folder") << "ChineseSimplified" << false
                                          << QString::fromUtf8("更改未能保存到 %1：该文件或其所在文件夹为只读");
        QTest::newRow("disk full") << "English" << true << QStringLiteral("Changes not saved to %1: the disk is full");
    }
    void unwritableSettingsAreTold()
    {
        QFETCH(QString, language);
        QFETCH(bool, diskFull);
        QFETCH(QString, text);
        QDir().mkpath(QStringLiteral("modules/i18n"));
        QFile::copy(QStringLiteral(QUILL_SOURCE_DIR "/modules/i18n/%1.ini").arg(language),
                    QStringLiteral("modules/i18n/%1.ini").arg(language));
        myQQuickView *view = m_window->view();
        const QVariant previousLanguage = view->getGlobalData(QStringLiteral("common/language"));
        const QVariant previousRate = view->getData(QStringLiteral("mouse/reportRate"), false);
        view->setGlobalData(QStringLiteral("common/language"), language);
        QVERIFY(view->flushSettings());
        const QString folder = QFileInfo(QStringLiteral("modules/setting")).absoluteFilePath();
        QSignalSpy balloons(m_window.get(), &Widget::balloonShown);
        bool written[2] = {true, true};
        {
            DacOverrideDropped asUser;
            const QFile::Permissions perms = QFile::permissions(folder);
            std::unique_ptr<FileSizeLimit> limit(diskFull ? new FileSizeLimit(64) : nullptr);
            QVERIFY(diskFull || QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            view->setData(QStringLiteral("mouse/reportRate"), 2);
            written[0] = view->flushSettings();
            written[1] = view->flushSettings();
            QFile::setPermissions(folder, perms);
        }
        QVERIFY(!written[0] && !written[1]);
        QCOMPARE(view->getData(QStringLiteral("mouse/reportRate"), false), QVariant(2));
        QCOMPARE(balloons.size(), 1);
        QCOMPARE(balloons.at(0), (QList<QVariant>{"Info", text.arg(QDir::toNativeSeparators(folder + "/p1.bin"))}));
        QVERIFY(view->flushSettings());
        QCOMPARE(QSettings(folder + "/p1.bin", QSettings::IniFormat).value("mouse/reportRate"), QVariant("2"));
        view->setData(QStringLiteral("mouse/reportRate"), previousRate);
        view->setGlobalData(QStringLiteral("common/language"), previousLanguage);
    }

    // A burst of failed writes (a "Save" sends many) gives one balloon; the
    // next comes after ten quiet seconds. The failures come from real
    // commands with no mouse to take them, and the channel and the screen
    // keep working.
    void writeFailuresShowOneBalloonPerBurst()
    {
        qint64 now = 1000;
        m_window->writeFailureLimiter().setClock([&now] { return now; });
        RecordingClock clock;
        Hid_Thread &hid = m_window->device();
        hid.setClock(&clock);
        hid.deviceTable = {DeviceEntry()};   // no path: every exchange fails
        hid.currentIndex = 0;
        QSignalSpy balloons(m_window.get(), &Widget::balloonShown);
        const QList<qint64> failureTimes{0, 50, 4000, 13999, 24000, 24001};
        const QList<int> balloonsAfter{1, 1, 1, 1, 2, 2};
        for (int i = 0; i < failureTimes.size(); ++i) {
            now = 1000 + failureTimes.at(i);
            m_window->view()->mouseSetReportRate(2);
            settle();
            QCOMPARE(balloons.size(), balloonsAfter.at(i));
        }
        QCOMPARE(int(hid.hidIdle), 1);
        QVERIFY(m_window->view()->isEnabled());
        m_window->writeFailureLimiter().setClock({});
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
