#pragma once

#include <QFuture>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "devicequeue.h"
#include "hidtransport.h"

// The device object. Its command slots are thin forwarders to the command
// set of each family (commands553, commands560) over the transport it is.
// Once the device thread runs (startDeviceThread), every command goes
// through the device queue: writes are queued in order and return at once,
// reads wait for their turn (bounded) and return the device's answer. Only
// the notification listener runs elsewhere, on the global thread pool.
class Hid_Thread : public QThread, public HidTransport
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    std::atomic<uchar> listening{0};

    // The program's device thread; without it (unit tests) commands run on
    // the caller's thread.
    void startDeviceThread();
    DeviceQueue &queue() { return m_queue; }
    // Finishes the running command, drops the rest and ends the device
    // thread (quitting).
    void stopDeviceThread();
    // Whether writes are queued or running.
    bool deviceBusy() const { return m_queue.busy(); }
    // For a caller of a read slot: whether that read completed.
    bool lastReadOk() const override;

    // How long a read waits for its turn and its answer.
    static constexpr int ReadWaitMs = 15000;

    // Notification listener.
    void startListener(uint index);
    void listenLoop(uint index);
    void stopListener();
    // Waits until a running listener task has ended.
    void waitListener();

signals:
    // Writes began to queue up, or the last one ended (GUI thread).
    void deviceBusyChanged(bool busy);

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
    // Carries out on the GUI thread what the device thread and the listener
    // found (DPI stage and balloon, removal, failed writes, busy state).
    void deliverEffects();

protected:
    void writeFailed() override;

private:
    struct Effect
    {
        enum Kind { Removed, DpiStage, WriteFailed, BusyChanged } kind = BusyChanged;
        int stage = 0;
        QString balloonText;
    };
    // Queues an effect and has the GUI thread deliver it. The hand-over goes
    // through a standard mutex, which race checkers see (they cannot look
    // into Qt's own event queue).
    void postEffect(Effect effect);

    // A write: queued when the device thread runs, else run here. A read:
    // waits for its turn; false when it could not run in time.
    void write(DeviceQueue::Job job, int mergeKey = DeviceQueue::NoMerge);
    bool read(const DeviceQueue::Job &job);

    DeviceQueue m_queue;
    QFuture<void> listenFuture;
    std::mutex effectsLock;
    std::vector<Effect> pendingEffects;
    bool m_busyShown = false;
    // The outcome of the last read a caller off the device thread waited for.
    bool m_callerReadOk = false;
};

// The eight texts of the DPI-switch balloon, written by the language loader
// (GUI thread) and read by the listener (pool thread).
QStringList dpiSwitchTexts();
void setDpiSwitchTexts(const QStringList &texts);
