#pragma once

#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/burstlimiter.h"
#include "device/devicehost.h"
#include "device/hid_thread.h"
// BEGIN detect-owned includes
#include "device/devicechange.h"
// END detect-owned includes

class GameWatcher;
class QAction;
class Ui_Controler;
class myQQuickView;

// Process-wide: true while a configured device has passed the check.
extern bool deviceConnected;

// Posted to the window to have the screen run its `run` function.
class UserEvent : public QEvent
{
public:
    static constexpr QEvent::Type EventType = QEvent::User;   // 1000
    static constexpr int RunUICode = 2177;
    explicit UserEvent(int code) : QEvent(EventType), code(code) {}
    int code;
};

// The only top-level window: owns the device object, the check timer, the
// window controller with the QML view, and the tray icon.
class Widget : public QWidget, public DeviceHost
{
    Q_OBJECT
public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    Ui_Controler *controller() const { return m_controller; }
    myQQuickView *view() const;
    Hid_Thread &device() { return hidThread; }
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    QTimer &checkTimer() { return m_checkTimer; }

    // DeviceHost: the view's facts and the listener's effects (GUI thread).
    QString icType() const override;
    bool isGun() const override;
    void setViewEnabled(bool enabled) override;
    void setCurrentDPI(int stage) override;
    void showBalloon(const QString &title, const QString &text) override;
    // A setting did not reach the mouse: one "Info" balloon per burst of
    // such failures. The setting itself stays stored.
    void deviceWriteFailed() override;
    BurstLimiter &writeFailureLimiter() { return m_writeFailures; }
    // How many writes failed since start: an operation compares the count
    // before and after to learn whether all of it reached the mouse.
    int writeFailureCount() const { return m_writeFailureCount; }
    // A settings file could not be written (problem: FileOps::WriteProblem):
    // one "Info" balloon per burst naming the file and why.
    void settingsFileNotWritten(const QString &file, int problem);
    // A native message in the configured language (built-in English where
    // the language file has none); %1 takes `arg`, %2 `arg2`.
    QString messageText(int id, const QString &arg = QString(), const QString &arg2 = QString()) const;
    // The window's close button and the desktop's close request: hide to
    // the tray where there is one, else end the program as its quit does.
    void closeWindow();
    // Whether the desktop has a system tray now; tests set their own answer.
    void setTrayProbe(std::function<bool()> probe) { m_trayProbe = std::move(probe); }

    // A device was connected: queue the screen's initUI, then post runUI.
    void notifyConnected();
    // Shows the window in its normal state (the restore message's effect).
    void restoreWindow();
    // A device-change notification: restart the check timer unless listening.
    void deviceChanged();
    // Tells the user (debug output and one balloon) which data files are
    // missing, unreadable or damaged; run once when the window is built.
    void reportDataTreeProblems();

signals:
    // Every tray balloon, also where no tray exists (tests listen here).
    void balloonShown(const QString &title, const QString &text);

public slots:
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void checkDevice();
    void exitSYS();
    void receiveMessage(QString message);

protected:
    void customEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void setupTrayIcon();

    QTimer m_checkTimer;
    bool m_checking = false;
    Ui_Controler *m_controller = nullptr;
    Hid_Thread hidThread;
    QSystemTrayIcon *m_trayIcon = nullptr;
    // Quiet time that ends a burst of write failures: the balloon's own
    // display time.
    BurstLimiter m_writeFailures{10000};
    int m_writeFailureCount = 0;

    // BEGIN games-owned members
public:
    GameWatcher *gameWatcher() const { return m_gameWatcher; }
    QAction *gameProfilesAction() const { return m_gameProfilesAction; }
    // Re-reads games.ini into the watcher; a damaged file is reported.
    void loadGameBindings();
    // The tray entry: automatic switching on or off, stored.
    void setGameProfilesOn(bool on);
private:
    void setupGameWatcher();
    void gameSwitched(int profile, const QString &program, bool started);
    GameWatcher *m_gameWatcher = nullptr;
    QAction *m_gameProfilesAction = nullptr;
    // END games-owned members
    BurstLimiter m_fileFailures{10000};
    std::function<bool()> m_trayProbe = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };

    // BEGIN detect-owned members
    // Device-change notifications (udev, simulated mouse); a child of the window.
    DeviceChangeMonitor *m_deviceChangeMonitor = nullptr;
    // END detect-owned members
};
