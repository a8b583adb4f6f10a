// The notification listener: a task on the global thread pool that watches the
// device's second interface for DPI-button reports and notices removal.

#include "hid_thread.h"

#include <QDebug>
#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <mutex>

#include <hidapi.h>

#include "devicehost.h"

namespace {

constexpr int DpiTextCount = 8;
constexpr int ListenReadMs = 500;

const QString &defaultDpiText()
{
    static const QString text = QStringLiteral("DPI Switch to");
    return text;
}

// The texts are replaced on the GUI thread and read by the listener: the whole
// list is swapped under the lock, readers take a copy.
std::mutex dpiTextsLock;
QStringList &dpiTextsStorage()
{
    static QStringList texts(DpiTextCount, defaultDpiText());
    return texts;
}

// Released by every listener task as its very last step and acquired by
// waitListener: whatever the task did is visible to the waiter, in a way that
// race checkers can see too (they cannot look into Qt's own future hand-over).
std::atomic<unsigned> listenersEnded{0};

struct EndOfListener
{
    ~EndOfListener() { listenersEnded.fetch_add(1, std::memory_order_release); }
};

// A DPI-switch report is exactly 06 07 xx stage; anything else is noise.
bool isDpiReport(const uchar *report, int length)
{
    return length == 4 && report[0] == 0x06 && report[1] == 0x07;
}

// Stage codes 1..7 take texts 0..6, every other code text 7; the balloon adds
// one blank.
QString dpiBalloonText(const QStringList &texts, int code)
{
    const int entry = (code >= 1 && code <= 7) ? code - 1 : 7;
    return texts.value(entry, defaultDpiText()) + QLatin1Char(' ');
}

} // namespace

QStringList dpiSwitchTexts()
{
    std::lock_guard<std::mutex> lock(dpiTextsLock);
    return dpiTextsStorage();
}

void setDpiSwitchTexts(const QStringList &texts)
{
    // Always eight entries: where the language gives fewer, the default stays.
    QStringList next;
    next.reserve(DpiTextCount);
    for (int i = 0; i < DpiTextCount; ++i)
        next.append(i < texts.size() ? texts.at(i) : defaultDpiText());
    std::lock_guard<std::mutex> lock(dpiTextsLock);
    dpiTextsStorage().swap(next);
}

void Hid_Thread::startListener(uint index)
{
    // Only one listener at a time: end the running one before arming again.
    stopListener();
    waitListener();

    // Arm the device's notification option; the other option bits go back as
    // read. A read that did not complete leaves nothing defined to write back,
    // so the write is skipped and the listener starts all the same.
    const QString ic = owner ? owner->icType() : QString();
    uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
    bool read = false;
    if (ic == QLatin1String("560")) {
        hid560_81H_GetKeyboardoption(b1, b2);
        read = lastReadOk();
        if (read)
            hid560_01H_SetKeyboardoption(uchar(b1 | 0x08), b2);
    } else {
        hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
        read = lastReadOk();
        if (read)
            hid553_03H_SetKeyboardoption(b1, b2, b3, uchar(b4 | 0x40));
    }
    if (!read)
        qDebug("listener: keyboard option not read, left unchanged");

    listening = 1;
    listenFuture = QtConcurrent::run([this, index] { listenLoop(index); });
}

void Hid_Thread::listenLoop(uint index)
{
    const EndOfListener end;
    {
        std::lock_guard<std::mutex> lock(pathLock);
        if (index >= uint(deviceTable.size()) || deviceTable.at(int(index)).path2.isEmpty())
            return;   // `listening` stays as it is
    }

    while (listening) {
        // A failed open has already cleared the entry's path2.
        hid_device *handle = hidOpenListen(int(index));
        if (!handle) {
            qDebug("Device removed");
            Effect removed;
            removed.kind = Effect::Removed;
            postEffect(removed);
            listening = 0;
            return;
        }

        uchar report[4] = {};
        const int got = hid_read_timeout(handle, report, sizeof report, ListenReadMs);
        if (isDpiReport(report, got)) {
            Effect dpi;
            dpi.kind = Effect::DpiStage;
            dpi.stage = report[3];
            dpi.balloonText = dpiBalloonText(dpiSwitchTexts(), dpi.stage);
            postEffect(dpi);
        }
        hidCloseListen();
    }
}

void Hid_Thread::postEffect(Effect effect)
{
    {
        std::lock_guard<std::mutex> lock(effectsLock);
        pendingEffects.push_back(std::move(effect));
    }
    // GUI objects are touched on the GUI thread only; a call still queued
    // when this object dies is dropped with it.
    QMetaObject::invokeMethod(this, "deliverEffects", Qt::QueuedConnection);
}

void Hid_Thread::deliverEffects()
{
    std::vector<Effect> effects;
    {
        std::lock_guard<std::mutex> lock(effectsLock);
        effects.swap(pendingEffects);
    }
    for (const Effect &e : effects) {
        switch (e.kind) {
        case Effect::BusyChanged: {
            const bool busy = m_queue.busy();
            if (busy != m_busyShown) {
                m_busyShown = busy;
                emit deviceBusyChanged(busy);
            }
            break;
        }
        case Effect::WriteFailed:
            if (owner)
                owner->deviceWriteFailed();
            break;
        case Effect::Removed:
            if (owner)
                owner->setViewEnabled(false);
            break;
        case Effect::DpiStage:
            // The screen shows the stage first, then the balloon follows.
            if (owner) {
                owner->setCurrentDPI(e.stage);
                owner->showBalloon(QStringLiteral("Info"), e.balloonText);
            }
            break;
        }
    }
}

void Hid_Thread::stopListener()
{
    listening = 0;
}

void Hid_Thread::waitListener()
{
    // The task never waits for the GUI thread, so this cannot dead-lock; it
    // returns within one read time-out once `listening` is clear.
    listenFuture.waitForFinished();
    listenersEnded.load(std::memory_order_acquire);
}
