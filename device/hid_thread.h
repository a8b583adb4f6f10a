#pragma once

#include <QFuture>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "deviceentry.h"

struct hid_device_;
typedef struct hid_device_ hid_device;

class DeviceHost;
class ProtocolClock;

// The one object that talks to the mouse. Derives from QThread for its slots
// but is never started: every command runs on its caller's (GUI) thread; only
// the notification listener runs on the global thread pool.
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    // Owner seams: the window's device facts and effects, and the clock.
    void setOwner(DeviceHost *owner) { this->owner = owner; }
    void setClock(ProtocolClock *clock);

    DeviceTable deviceTable;
    int currentIndex = 1;
    uchar hidIdle = 1;
    std::atomic<uchar> listening{0};

    // Notification listener.
    void startListener(uint index);
    void listenLoop(uint index);
    void stopListener();
    // Waits until a running listener task has ended.
    void waitListener();

    // Transport.
    hid_device *hidOpen(int index);
    hid_device *hidOpenListen(int index);
    void hidClose();
    void hidCloseListen();
    bool waitHidIdle();
    void busyPause();
    bool hidSend(int length, bool pause);
    bool hidQuery(int length);

    // Whether the last read command's exchange completed, so its results
    // are the device's and not the caller's presets.
    bool lastReadOk() const { return lastQueryOk; }
    // For an operation that gives up before its write because what it needed
    // from the device could not be read: the owner hears that the setting
    // did not reach the mouse.
    void reportWriteFailure() { endWrite(false); }

    uchar outReport[9] = {};
    uchar inReport[9] = {};
    uchar bulkBuf[512] = {};

public slots:
    uchar hidCS(uchar *cmd);
    bool chkDeviceIsEnCode(int index);
    void USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[]);
    void USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[]);
    void hid553_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2);
    void hid560_82H_GetCurrentProfile(uchar &byte1);
    void hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2);
    void hid553_8BH_GetCurrentDPI(uchar &byte1);
    void hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2);
    void hid553_01H_SetReportRate(uchar rate);
    void hid560_03H_SetReportRate(uchar rate);
    void hid560_04H_SetCurrentDPI(uchar stage);
    void hid553_0BH_SetCurrentDPI(uchar stage);
    void hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    void hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne);
    void hid560_0CH_setProfile(uchar *src128, uchar profileData);
    void hid560_8CH_readProfile(uchar *src128, uchar profileNo);
    void hid560_02H_SetCurrentProfile(uchar profile);
    void hid553_13H_SetMacroKey(uchar macroId, uchar *src128);
    void hid560_0FH_SetMacroKey(uchar macroId, uchar *src128);
    void hid553_11H_SetDPISet(uchar dpiStage, uchar *src8);
    void hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix);
    void hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid553_0CH_SetFixLEDColor(uchar *src3);
    void hid553_10H_SetLED8StageColor(uchar type, uchar *src24);

private slots:
    // Carries out on the GUI thread what the listener found (DPI stage and
    // balloon, removal).
    void deliverListenerEffects();

private:
    struct ListenerEffect
    {
        bool removed = false;
        int stage = 0;
        QString balloonText;
    };
    // Queues an effect and has the GUI thread deliver it. The hand-over goes
    // through a standard mutex, which race checkers see (they cannot look
    // into Qt's own event queue).
    void postListenerEffect(ListenerEffect effect);

    ProtocolClock *clk() const;
    hid_device *openInterface(int index, QString DeviceEntry::*path, hid_device *&handle);
    // Runs the prepared read request and copies reply bytes 2.. into results.
    void queryResults(std::initializer_list<uchar *> results, bool presetFromCaller = true);
    // Takes the idle token; without it writes the command's failure line.
    bool beginCommand(const char *failLine);
    // The same for a command that writes a setting: a write that cannot
    // start, or whose exchange fails (endWrite(false)), is reported to the
    // owner so the user learns that the mouse did not take it.
    bool beginWrite(const char *failLine);
    void endWrite(bool ok);
    // The current entry's report length when it cannot serve as a chunk size
    // (one debug line); such an entry fails every exchange at once.
    bool exchangeRefused();
    bool currentEncoded() const;
    int currentReportLength() const;
    // Ends an exchange: closes the command handle and frees the idle token.
    bool endExchange(bool ok);
    bool sendRequest(bool encoded);
    bool sendAndSettle(uchar code, std::initializer_list<uchar> params);
    bool sendWithPause(uchar code, std::initializer_list<uchar> params,
                       const uchar *bulk = nullptr, int bulkLength = 0);
    bool sendPerPosition(uchar code, uchar value);

    DeviceHost *owner = nullptr;
    ProtocolClock *clock = nullptr;
    hid_device *cmdHandle = nullptr;
    hid_device *listenHandle = nullptr;
    QFuture<void> listenFuture;
    // Guards the paths of deviceTable entries: the listener clears path2 on
    // its own thread.
    mutable std::mutex pathLock;
    std::mutex effectsLock;
    std::vector<ListenerEffect> pendingEffects;
    // Whether the last read command's exchange actually completed; the
    // handshake counts only a real echo.
    bool lastQueryOk = false;
};

// The process-wide 8-byte code of the scrambling; s1..s6 come from sCode.
extern uchar SecrecyCode[8];

// The eight texts of the DPI-switch balloon, written by the language loader
// (GUI thread) and read by the listener (pool thread).
QStringList dpiSwitchTexts();
void setDpiSwitchTexts(const QStringList &texts);
