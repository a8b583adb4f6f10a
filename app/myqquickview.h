#pragma once

#include <QQuickWidget>
#include <QTimer>
#include <QUrl>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <memory>

#include "store/settingsstore.h"
// BEGIN bridge-owned includes
#include "bridge/deviceops.h"
#include "bridge/pagerules.h"
#include "bridge/profilesettings.h"
// END bridge-owned includes
// BEGIN store-owned includes
#include "store/filedialogs.h"
// END store-owned includes

class Hid_Thread;

// The QML host view: loads the screens, keeps the settings stores and the
// device facts, and offers the whole native API to QML as slots. The work of
// the slots lives in bridge/ (device) and store/ (files); the slot bodies are
// split accordingly: myqquickview.cpp (shell), view_bridge.cpp, view_store.cpp.
class myQQuickView : public QQuickWidget
{
    Q_OBJECT
    // True while device writes are queued or under way; the screen shows its
    // busy text meanwhile (and stays usable: what the user does is queued).
    Q_PROPERTY(bool deviceBusy READ deviceBusy NOTIFY deviceBusyChanged)
public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    Hid_Thread *hidThread = nullptr;   // set by the window after construction
    bool isColorful = false;
    bool isGun = false;
    QString icType;
    bool is55328 = false;

    SettingsStore &store() { return *m_store; }
    bool deviceBusy() const { return m_deviceBusy; }
    void setDeviceBusy(bool busy);

    // Forwarders of the global input hooks (queued to the QML root).
    void forwardKeyboard(bool isDown, uchar usbCode);
    void forwardMouse(bool isDown, uchar button, uint x, uint y);

public slots:
    void clearHidBusy();
    void initUI();
    void runUI();
    void resetApconfig();
    bool loadMacroFile(QVariant macroFileName);
    void saveMacroFile(QVariant macroFileName);
    bool loadProfile(int profile);
    void saveProfile(int profile);
    bool resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QStringList getLangStrings(QString typeStr, QString langCode);
    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname);
    void deleteMacroUpdateProfile(QVariant macroName);
    QVariant deleteMacroIni(QVariant name);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariant repeat);
    QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex);
    QStringList loadMacroIni(QVariant name);
    void mouseSaveGundata(QVariant index, QVariantList src6);
    void mouseSendGundata(int index, QVariantList src6);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();
    QVariant getXYSensitive(QVariant index);
    QVariant getselectGun(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    void setSelectGun(QVariant index, QVariant xyData);
    void setCurrentProfile(int profile);
    void mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void mouseSetReportRate(uchar rate);
    void mouseSetCurrentDPI(uchar currentDPI);
    void mouseResetKeyMatrix();
    QVariant mouseGetCurrentDPI();
    void mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam);
    void mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray);
    void mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    void mouseSetRGBColor(uchar type, QVariantList src24);
    void mouseSetProfile(uint profileNo);
    void mouseReadProfile(uint profileNo);
    QVariant mouseReadCurrentProfile();
    void mouseSwitchKeyMatrix(int indexNo);
    QVariantList GetKeyboardoption();
    void mouseSetCursorSpeed(uint cursorSpeed);
    void mouseSetVerticalScrollLines(uint lines);
    void mouseSetDoubleClickSpeed(uint speed);
    QVariantList mouseGetKeydefine(QVariant index, bool isRecovery);
    void openUpdateExe();
    QVariant getData(QVariant key, bool isRecovery);
    QVariant getGlobalData(QVariant key);
    QVariantList getDataList(QVariant key, bool isRecovery);
    void setData(QVariant key, QVariant data);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setDataList(QVariant key, QVariantList datalist);
    void setBusy(int busyTime);
    void setCurrentDPI(int dpiValue);
    // The active profile to the mouse whole (profile change, factory reset,
    // the resend after a failed write, the command line).
    void sendActiveProfile();

signals:
    void deviceBusyChanged(bool busy);
    // A write did not reach the mouse: the screen keeps its pages unsaved.
    void writeFailed();
    // After a failed write the mouse came back and got the whole profile.
    void profileResent();
    // A desktop pointer setting (speed, double-click time, scroll lines) was
    // refused; message is the operation's failure text.
    void pointerSettingFailed(const QString &message);
    // The hidden view has let its drawing go (see hideEvent).
    void drawingReleased();

protected:
    void focusInEvent(QFocusEvent *event) override;
    // While hidden (in the tray, minimised) the view keeps only the scene:
    // the screen lets its pictures go, and the drawing made from them is
    // dropped; showing draws it all afresh before the first paint.
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Invokes a function of the QML root object; does nothing without a root.
    void invokeRoot(const char *function, Qt::ConnectionType type,
                    const QVariantList &args = {});
    // Defined in view_bridge.cpp / view_store.cpp: set up their own state.
    void initBridgeState();
    void initStoreState();

    std::unique_ptr<SettingsStore> m_store;

    void releaseDrawing();
    bool m_hidden = false;
    bool m_deviceBusy = false;
    bool m_releaseQueued = false;
    bool m_frameDropped = false;
    QMetaObject::Connection m_idleReturn;

    // BEGIN bridge-owned members
public:
    // The device operations behind the bridge slots (profile blocks included).
    DeviceOps &deviceOps() { return m_deviceOps; }
    // A write failed: the next connection sends the active profile whole.
    void noteWriteFailed();
    // Called when a mouse is accepted: sends the profile once if a write failed.
    void resendIfWriteFailed();
public slots:
    // The desktop's pointer settings for the system page, in the page's
    // order (speed, double-click, wheel lines): each {"reason": why it cannot
    // be applied (0: it can), "current": the desktop's value as the page
    // shows it, absent where it cannot be read}.
    QVariantList pointerSettingStates();
private:
    DeviceOps m_deviceOps;
    std::unique_ptr<PageRules> m_pageRules;
    bool m_resendPending = false;
    std::unique_ptr<StoreProfileSettings> m_profileSettings;
    // END bridge-owned members

    // BEGIN store-owned members
public:
    // The open and save dialogs of import and export; tests answer them.
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);
public slots:
    // Puts every pending settings change on disk now; false, after telling
    // the user, when a file could not be written. (Changes are also put on
    // disk, and failures told, once control returns to the event loop.)
    bool flushSettings();
signals:
    // A settings file could not be written; problem is a FileOps::WriteProblem.
    void settingsFileNotWritten(const QString &file, int problem);
private:
    void scheduleFlush();
    void reportNotWritten(const QString &file);
    std::unique_ptr<FileDialogs> m_fileDialogs;
    QTimer m_flushTimer;
    // END store-owned members

    // BEGIN lean-owned members
    // Put away in the tray for a while with nothing unsaved, the view lets
    // its screens go (the QML root and all pages); shown again, it builds
    // them anew before the first paint.
public:
    static constexpr int kUnloadDelayMs = 10000;
    // Time in the tray before the screens go (tests shorten it).
    void setUnloadDelay(int ms) { m_unloadTimer.setInterval(ms); }
    bool screensUnloaded() const { return m_unloaded; }
signals:
    void screensLetGo();
private:
    void unloadScreens();
    void rebuildScreens();
    QTimer m_unloadTimer;
    QUrl m_screenSource;
    bool m_unloaded = false;
    bool m_wasInitialised = false;   // the screen had run initUI
    bool m_initPending = false;      // initUI asked for while unloaded
    // END lean-owned members

    // BEGIN games-owned members (view_games.cpp)
    // The "Bind program..." dialog's operations over games.ini.
public slots:
    // The user's running programs by name, for picking a game.
    QStringList runningPrograms();
    // The programs bound to `profile` (0-5), in binding order.
    QStringList gameBindings(int profile);
    // False when nothing changed (blank, already bound, file not written).
    bool addGameBinding(QString program, int profile);
    bool removeGameBinding(QString program, int profile);
signals:
    // games.ini changed: the watcher takes the new bindings.
    void gameBindingsChanged();
    // END games-owned members
};
