#include "app/widget.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>

#include "app/datatree.h"
#include "app/myqquickview.h"
#include "app/profilecontrol.h"
#include "app/ui_controler.h"
#include "gamewatch/gamewatcher.h"
#include "store/gamebindings.h"
#include "store/fileops.h"
#include "store/langstrings.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool deviceConnected = false;

namespace {

const char kTrayMenuStyle[] =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "
    "QMenu::item { height: 22px; padding: 0px 25px 0px 20px; } "
    "QMenu::item:enabled { color: rgb(225, 225, 225); } "
    "QMenu::item:!enabled { color: rgb(155, 155, 155); } "
    "QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: rgba(255, 255, 255, 40); } "
    "QMenu::separator { height: 1px; background: rgb(100, 100, 100); } "
    "QMenu::indicator { width: 13px; height: 13px; } "
    "QMenu::icon { padding-left: 2px; padding-right: 2px; } ";

constexpr int kBalloonMs = 10000;

const QString kGamesFile = QStringLiteral("./modules/setting/games.ini");
// Automatic switching for games; on unless the user turned it off.
const QString kGameProfilesKey = QStringLiteral("common/gameProfiles");

} // namespace

Widget::Widget(QWidget *parent)
    : QWidget(parent)
{
    hidThread.setOwner(this);
    // Device commands run on their own thread: the window never waits for
    // the mouse's pauses.
    hidThread.startDeviceThread();

    m_controller = new Ui_Controler;
    m_controller->setup(this);
    view()->hidThread = &hidThread;
    connect(&hidThread, &Hid_Thread::deviceBusyChanged, view(), &myQQuickView::setDeviceBusy);
    connect(view(), &myQQuickView::settingsFileNotWritten, this, &Widget::settingsFileNotWritten);

    m_checkTimer.setInterval(2048);
    m_checkTimer.setSingleShot(true);
    m_checkTimer.setTimerType(Qt::PreciseTimer);   // one check, 2048 ms after the last change
    connect(&m_checkTimer, &QTimer::timeout, this, &Widget::checkDevice);

    setupTrayIcon();
    setupGameWatcher();
    // BEGIN detect-owned construction
    m_deviceChangeMonitor = new DeviceChangeMonitor(this);
    connect(m_deviceChangeMonitor, &DeviceChangeMonitor::deviceChanged, this, &Widget::deviceChanged);
    // END detect-owned construction
    reportDataTreeProblems();
}

void Widget::reportDataTreeProblems()
{
    QStringList texts;
    for (const datatree::Problem &p : datatree::startupProblems(QStringLiteral("./modules"))) {
        qDebug().noquote() << p.debugLine();
        texts << messageText(p.kind, p.file);
    }
    if (!texts.isEmpty())
        showBalloon(QStringLiteral("Info"), texts.join(QLatin1Char('\n')));
}

Widget::~Widget()
{
    // The device object, destroyed next, waits for the listener to end; it
    // goes before the view, which the listener reaches.
    hidThread.stopListener();
    m_controller->deleteLater();
}

void Widget::setupTrayIcon()
{
    m_trayIcon = new QSystemTrayIcon(this);
    auto *quitAction = new QAction(tr("Quit (&Q)"), this);
    connect(quitAction, &QAction::triggered, this, &Widget::exitSYS);
    auto *menu = new QMenu(this);
    m_gameProfilesAction = new QAction(messageText(LangStrings::GameProfilesMenu), this);
    m_gameProfilesAction->setCheckable(true);
    const QVariant on = view() ? view()->store().getGlobalData(kGameProfilesKey) : QVariant();
    m_gameProfilesAction->setChecked(!on.isValid() || on.toBool());
    connect(m_gameProfilesAction, &QAction::toggled, this, &Widget::setGameProfilesOn);
    menu->addAction(m_gameProfilesAction);
    menu->addSeparator();
    menu->addAction(quitAction);
    menu->setStyleSheet(QString::fromLatin1(kTrayMenuStyle));
    m_trayIcon->setContextMenu(menu);
    m_trayIcon->setToolTip(QStringLiteral("TORVALE QUILL MOUSE K270"));
    m_trayIcon->setIcon(QIcon(QStringLiteral("./modules/img/logo.ico")));
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    m_trayIcon->show();
}

myQQuickView *Widget::view() const
{
    return m_controller ? m_controller->view : nullptr;
}

QString Widget::icType() const
{
    return view() ? view()->icType : QString();
}

bool Widget::isGun() const
{
    return view() && view()->isGun;
}

void Widget::setViewEnabled(bool enabled)
{
    if (view())
        view()->setEnabled(enabled);
}

void Widget::setCurrentDPI(int stage)
{
    if (view())
        view()->setCurrentDPI(stage);
}

void Widget::showBalloon(const QString &title, const QString &text)
{
    emit balloonShown(title, text);
    if (m_trayIcon)
        m_trayIcon->showMessage(title, text, QSystemTrayIcon::Information, kBalloonMs);
}

void Widget::deviceWriteFailed()
{
    ++m_writeFailureCount;
    if (view())
        view()->noteWriteFailed();
    if (m_writeFailures.admit())
        showBalloon(QStringLiteral("Info"), messageText(LangStrings::MouseRejectedSetting));
}

void Widget::settingsFileNotWritten(const QString &file, int problem)
{
    if (!m_fileFailures.admit())
        return;
    int reason = LangStrings::ProblemOther;
    if (problem == int(FileOps::WriteProblem::ReadOnly))
        reason = LangStrings::ProblemReadOnly;
    else if (problem == int(FileOps::WriteProblem::DiskFull))
        reason = LangStrings::ProblemDiskFull;
    showBalloon(QStringLiteral("Info"), messageText(LangStrings::FileNotWritten, file, messageText(reason)));
}

QString Widget::messageText(int id, const QString &arg, const QString &arg2) const
{
    const QString language =
        view() ? view()->store().getGlobalData(QStringLiteral("common/language")).toString() : QString();
    QString text = LangStrings::messageText(QStringLiteral("./modules/i18n"), language,
                                            LangStrings::MessageText(id));
    if (text.contains(QLatin1String("%2")))
        text = text.arg(arg, arg2);
    else if (text.contains(QLatin1String("%1")))
        text = text.arg(arg);
    return text;
}

void Widget::setupGameWatcher()
{
    m_gameWatcher = new GameWatcher(GameWatcher::kMinIntervalMs, this);
    connect(m_gameWatcher, &GameWatcher::switched, this, &Widget::gameSwitched);
    if (view())
        connect(view(), &myQQuickView::gameBindingsChanged, this, &Widget::loadGameBindings);
    m_gameWatcher->setEnabled(m_gameProfilesAction->isChecked());
    loadGameBindings();
    // The control the watcher switches with is set by the program (main.cpp);
    // without one the watcher does nothing.
    m_gameWatcher->setControl(nullptr);
}

void Widget::loadGameBindings()
{
    GameBindings games(kGamesFile);
    games.load();
    if (games.damaged()) {
        const datatree::Problem problem{LangStrings::FileDamaged, kGamesFile,
                                        QStringLiteral("only its readable game bindings are used")};
        qDebug().noquote() << problem.debugLine();
        showBalloon(QStringLiteral("Info"), messageText(LangStrings::FileDamaged, kGamesFile));
    }
    m_gameWatcher->setBindings(games.bindings());
}

void Widget::setGameProfilesOn(bool on)
{
    if (view())
        view()->store().setGlobalData(kGameProfilesKey, on);
    m_gameWatcher->setEnabled(on);
    if (m_gameProfilesAction->isChecked() != on)
        m_gameProfilesAction->setChecked(on);
}

void Widget::gameSwitched(int profile, const QString &program, bool started)
{
    // The profile by its name in the profile list, where it has one.
    QString name = QString::number(profile);
    if (const ProfileControl *control = m_gameWatcher->control()) {
        for (const auto &row : control->profiles()) {
            if (row.first == profile && !row.second.isEmpty())
                name = row.second;
        }
    }
    showBalloon(QStringLiteral("Info"),
                messageText(started ? LangStrings::GameStarted : LangStrings::GameEnded, name, program));
}

void Widget::notifyConnected()
{
    if (view())
        view()->initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::RunUICode));
}

void Widget::restoreWindow()
{
#ifdef Q_OS_WIN
    PostMessageW(reinterpret_cast<HWND>(winId()), WM_SYSCOMMAND, SC_RESTORE, 0);
#else
    // No restore message here: show the window in its normal state directly.
    showNormal();
    raise();
    activateWindow();
#endif
}

void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick && deviceConnected)
        restoreWindow();
}

void Widget::receiveMessage(QString message)
{
    Q_UNUSED(message);
    if (deviceConnected)
        restoreWindow();
}

void Widget::closeWindow()
{
    // Asked at every close: a tray may come or go while the program runs.
    if (m_trayProbe())
        setVisible(false);
    else
        exitSYS();
}

void Widget::closeEvent(QCloseEvent *event)
{
    // The window is never destroyed by a close; it hides or the program ends.
    event->ignore();
    closeWindow();
}

void Widget::exitSYS()
{
    hidThread.stopListener();
    // The command under way finishes; what is still queued is dropped (the
    // settings themselves are stored).
    const int dropped = hidThread.queue().pending() - 1;
    if (dropped > 0)
        qDebug("Quit: %d queued device commands dropped", dropped);
    hidThread.stopDeviceThread();
    QCoreApplication::exit(0);
}

void Widget::customEvent(QEvent *event)
{
    if (event->type() == UserEvent::EventType
        && static_cast<UserEvent *>(event)->code == UserEvent::RunUICode && view())
        view()->runUI();
}

bool Widget::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
#ifdef Q_OS_WIN
    Q_UNUSED(eventType);
    Q_UNUSED(result);
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message == WM_SYSCOMMAND && msg->wParam == SC_RESTORE)
        setVisible(true);
    else if (msg->message == WM_DEVICECHANGE)
        deviceChanged();
    // Never consumed: default processing also restores a minimised window.
    return false;
#else
    return QWidget::nativeEvent(eventType, message, result);
#endif
}
