#include "hid_thread.h"

#include "devicehost.h"
#include "openhint.h"
#include "protocol.h"
#include "protocolclock.h"

#include <QDateTime>
#include <QDebug>
#include <cstring>
#include <hidapi/hidapi.h>
#include <vector>

uchar SecrecyCode[8] = {};

Hid_Thread::Hid_Thread(QObject *parent)
    : QThread(parent)
{
}

Hid_Thread::~Hid_Thread()
{
    // The listener task uses this object; it must be gone before we are.
    stopListener();
    waitListener();
    hidClose();
    hidCloseListen();
}

void Hid_Thread::setClock(ProtocolClock *clock)
{
    this->clock = clock;
}

ProtocolClock *Hid_Thread::clk() const
{
    return clock ? clock : realProtocolClock();
}

// ---------------------------------------------------------------- transport

// Opens one interface of entry `index` into `handle`, closing what it held.
// A failed open clears that interface's path, so later exchanges fail at once
// until the table is rebuilt.
hid_device *Hid_Thread::openInterface(int index, QString DeviceEntry::*path, hid_device *&handle)
{
    QByteArray pathText;
    {
        std::lock_guard<std::mutex> lock(pathLock);
        if (index < 0 || index >= deviceTable.size() || (deviceTable.at(index).*path).isEmpty())
            return nullptr;
        pathText = (deviceTable.at(index).*path).toLatin1();
    }
    if (handle) {
        hid_close(handle);
        handle = nullptr;
    }
    handle = hid_open_path(pathText.constData());
    if (!handle) {
        const QString hint = openFailureHint(QString::fromLatin1(pathText));
        if (!hint.isEmpty())
            qDebug().noquote() << hint;
        std::lock_guard<std::mutex> lock(pathLock);
        if (index < deviceTable.size())
            (deviceTable[index].*path).clear();
        return nullptr;
    }
    hid_set_nonblocking(handle, 0);
    return handle;
}

hid_device *Hid_Thread::hidOpen(int index)
{
    return openInterface(index, &DeviceEntry::path, cmdHandle);
}

hid_device *Hid_Thread::hidOpenListen(int index)
{
    return openInterface(index, &DeviceEntry::path2, listenHandle);
}

void Hid_Thread::hidClose()
{
    if (cmdHandle) {
        hid_close(cmdHandle);
        cmdHandle = nullptr;
    }
}

void Hid_Thread::hidCloseListen()
{
    if (listenHandle) {
        hid_close(listenHandle);
        listenHandle = nullptr;
    }
}

bool Hid_Thread::waitHidIdle()
{
    if (hidIdle) {
        hidIdle = 0;
        return true;
    }
    for (int sleeps = 1; sleeps <= proto::kIdleMaxSleeps; ++sleeps) {
        clk()->sleepMs(proto::kIdleStepMs);
        if (sleeps == proto::kIdleMaxSleeps)
            break;
        // A command suspended beneath us can only finish once we let the
        // events that continue it run.
        clk()->processEvents();
        if (hidIdle) {
            hidIdle = 0;
            return true;
        }
    }
    return false;
}

// The pause that lets the device work after a command: two 64 ms steps.
void Hid_Thread::busyPause()
{
    clk()->sleepMs(proto::kBusyStepMs);
    clk()->sleepMs(proto::kBusyStepMs);
}

bool Hid_Thread::currentEncoded() const
{
    std::lock_guard<std::mutex> lock(pathLock);
    return currentIndex >= 0 && currentIndex < deviceTable.size()
           && deviceTable.at(currentIndex).isEncode;
}

int Hid_Thread::currentReportLength() const
{
    std::lock_guard<std::mutex> lock(pathLock);
    if (currentIndex < 0 || currentIndex >= deviceTable.size())
        return 0;
    return deviceTable.at(currentIndex).reportLength;
}

bool Hid_Thread::exchangeRefused()
{
    std::lock_guard<std::mutex> lock(pathLock);
    if (currentIndex < 0 || currentIndex >= deviceTable.size())
        return false;   // no entry: the open fails silently
    const int reportLength = deviceTable.at(currentIndex).reportLength;
    if (proto::reportLengthUsable(reportLength))
        return false;
    qDebug("Device entry %d refused: report length %d", currentIndex, reportLength);
    return true;
}

bool Hid_Thread::endExchange(bool ok)
{
    hidClose();
    hidIdle = 1;
    return ok;
}

// Opens the command interface, scrambles the request when asked, reopens and
// sends it. False: the exchange has to end as failed.
bool Hid_Thread::sendRequest(bool encoded)
{
    if (!hidOpen(currentIndex))
        return false;
    if (encoded)
        USBDataEncryption(outReport + 1, SecrecyCode);
    return hidOpen(currentIndex) && hid_send_feature_report(cmdHandle, outReport, 9) >= 0;
}

bool Hid_Thread::hidSend(int length, bool pause)
{
    if (exchangeRefused() || length < 0 || length > proto::kBulkBufferSize)
        return endExchange(false);
    // A command run from the pending events (the position loops leave the
    // token free between their sends) builds its own request in the shared
    // buffers; ours must still go out as built.
    uchar request[proto::kFeatureReportSize];
    std::memcpy(request, outReport, sizeof request);
    const std::vector<uchar> bulk(bulkBuf, bulkBuf + length);
    clk()->processEvents();
    std::memcpy(outReport, request, sizeof request);
    if (length > 0)
        std::memcpy(bulkBuf, bulk.data(), size_t(length));
    if (!sendRequest(currentEncoded()))
        return endExchange(false);
    if (pause)
        busyPause();
    if (length == 0)
        return endExchange(true);

    // The table may have been rebuilt while events ran; re-read the entry.
    if (exchangeRefused())
        return endExchange(false);
    const int reportLength = currentReportLength();
    const int chunk = proto::chunkSize(length, reportLength);
    std::vector<uchar> report(size_t(reportLength) + 1, 0);
    for (int offset = 0; offset < length; offset += chunk) {
        proto::fillOutputReport(report.data(), reportLength, bulkBuf, length, offset);
        if (!hidOpen(currentIndex) || hid_write(cmdHandle, report.data(), report.size()) < 0)
            return endExchange(false);
        clk()->sleepMs(proto::kOutputReportGapMs);
    }
    if (pause)
        busyPause();
    return endExchange(true);
}

bool Hid_Thread::hidQuery(int length)
{
    if (exchangeRefused() || length < 0 || length > proto::kBulkBufferSize)
        return endExchange(false);
    const bool encoded = currentEncoded();
    if (!sendRequest(encoded))
        return endExchange(false);
    inReport[0] = 0;
    if (!hidOpen(currentIndex) || hid_get_feature_report(cmdHandle, inReport, 9) < 0)
        return endExchange(false);
    if (length == 0) {
        endExchange(true);
        if (encoded)
            USBDataDecipher(inReport + 1, SecrecyCode);
        return true;
    }

    const int reportLength = currentReportLength();
    const int chunk = proto::chunkSize(length, reportLength);
    std::vector<uchar> report(size_t(reportLength) + 1);
    for (int offset = 0; offset < length; offset += chunk) {
        std::fill(report.begin(), report.end(), 0);
        if (!hidOpen(currentIndex))
            return endExchange(false);
        // Bounded: a device that stops answering must not hang the GUI thread.
        const int got = hid_read_timeout(cmdHandle, report.data(), report.size(),
                                         proto::kBulkReadTimeoutMs);
        if (got <= 0)
            return endExchange(false);
        std::memcpy(bulkBuf + offset, report.data(), size_t(std::min(chunk, length - offset)));
    }
    return endExchange(true);
}

// ---------------------------------------------------------------- framing

uchar Hid_Thread::hidCS(uchar *cmd)
{
    return proto::checksum(cmd);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    proto::scrambleBlock(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    proto::unscrambleBlock(FIFOBuf, SecrecyCode);
}

bool Hid_Thread::chkDeviceIsEnCode(int index)
{
    currentIndex = index;
    uchar sent[4];
    proto::handshakeBytes(QDateTime::currentSecsSinceEpoch(), sent);
    {
        std::lock_guard<std::mutex> lock(pathLock);
        if (index >= 0 && index < deviceTable.size())
            proto::applyCodeText(deviceTable.at(index).sCode, SecrecyCode);
    }
    uchar echo[4] = {sent[0], sent[1], sent[2], sent[3]};
    lastQueryOk = false;
    hid553_00H_GetSecrecyCode(echo[0], echo[1], echo[2], echo[3]);
    // Without a completed exchange the bytes were never echoed, whatever
    // they hold now.
    return lastQueryOk && std::memcmp(echo, sent, 4) == 0;
}

// ---------------------------------------------------------------- commands

bool Hid_Thread::beginCommand(const char *failLine)
{
    lastQueryOk = false;   // a read that never runs has read nothing
    if (waitHidIdle())
        return true;
    qDebug("%s", failLine);
    return false;
}

bool Hid_Thread::beginWrite(const char *failLine)
{
    if (beginCommand(failLine))
        return true;
    endWrite(false);
    return false;
}

void Hid_Thread::endWrite(bool ok)
{
    if (!ok && owner)
        owner->deviceWriteFailed();
}

// Commands that return at once: no pause, a short settle after the request.
bool Hid_Thread::sendAndSettle(uchar code, std::initializer_list<uchar> params)
{
    proto::buildRequest(outReport, code, params);
    const bool ok = hidSend(0, false);
    clk()->sleepMs(proto::kAfterSendMs);
    return ok;
}

bool Hid_Thread::sendWithPause(uchar code, std::initializer_list<uchar> params,
                               const uchar *bulk, int bulkLength)
{
    proto::buildRequest(outReport, code, params);
    if (bulkLength > 0)
        std::memcpy(bulkBuf, bulk, size_t(bulkLength));
    return hidSend(bulkLength, true);
}

void Hid_Thread::queryResults(std::initializer_list<uchar *> results, bool presetFromCaller)
{
    // The reply is preset with the caller's values, so a failed read leaves
    // them as they were.
    std::memset(inReport, 0, sizeof inReport);
    int i = 2;
    if (presetFromCaller)
        for (uchar *r : results)
            inReport[i++] = *r;
    lastQueryOk = hidQuery(0);
    i = 2;
    for (uchar *r : results)
        *r = inReport[i++];
}

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    if (!beginCommand("cmd Failed 00"))
        return;
    proto::buildRequest(outReport, 0x00, {byte1, byte2, byte3, byte4});
    queryResults({&byte1, &byte2, &byte3, &byte4}, false);   // a failed echo yields zeros
}

void Hid_Thread::hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    if (!beginCommand("cmd Failed 83"))
        return;
    proto::buildRequest(outReport, 0x83);
    queryResults({&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2)
{
    if (!beginCommand("cmd Failed 81"))
        return;
    proto::buildRequest(outReport, 0x81);
    queryResults({&byte1, &byte2});
}

void Hid_Thread::hid560_82H_GetCurrentProfile(uchar &byte1)
{
    if (!beginCommand("cmd Failed 82"))
        return;
    proto::buildRequest(outReport, 0x82);
    queryResults({&byte1});
}

void Hid_Thread::hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2)
{
    if (!beginCommand("cmd Failed 84"))
        return;
    proto::buildRequest(outReport, 0x84, {byte1});
    queryResults({&byte1, &byte2});
}

void Hid_Thread::hid553_8BH_GetCurrentDPI(uchar &byte1)
{
    if (!beginCommand("cmd Failed 8BH"))
        return;
    proto::buildRequest(outReport, 0x8B);
    queryResults({&byte1});
}

void Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (!beginWrite("cmd Failed 03"))
        return;
    endWrite(sendAndSettle(0x03, {byte1, byte2, byte3, byte4}));
}

void Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (!beginWrite("cmd Failed 04"))
        return;
    endWrite(sendAndSettle(0x04, {0, byte1, byte2, byte3, byte4}));
}

void Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    if (!beginWrite("cmd Failed 01"))
        return;
    endWrite(sendAndSettle(0x01, {byte1, byte2}));
}

void Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    if (!beginWrite("cmd Failed 01"))
        return;
    endWrite(sendWithPause(0x01, {rate}));
}

// A gun device takes the value once; any other device once per position 1..4.
// The caller took the token once; each send gives it back, and a failed send
// does not stop the remaining positions.
bool Hid_Thread::sendPerPosition(uchar code, uchar value)
{
    bool ok = true;
    for (uchar p = 1; p <= 4; ++p) {
        ok = sendWithPause(code, {p, value}) && ok;
        if (owner && owner->isGun())
            break;
    }
    return ok;
}

void Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    if (!beginWrite("cmd Failed 03"))
        return;
    endWrite(sendPerPosition(0x03, rate));
}

void Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    if (!beginWrite("cmd Failed 04"))
        return;
    endWrite(sendPerPosition(0x04, stage));
}

void Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    if (!beginWrite("cmd Failed 0B"))
        return;
    endWrite(sendWithPause(0x0B, {stage}));
}

void Hid_Thread::hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    if (!beginWrite("cmd Failed 12"))
        return;
    endWrite(sendWithPause(0x12, {indexAddOne, 0x40, 0x08}, src64, 64));
}

void Hid_Thread::hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    if (!beginWrite("cmd Failed 0D"))
        return;
    uchar block[128] = {};
    std::memcpy(block, src64, 64);
    endWrite(sendWithPause(0x0D, {indexAddOne, 0x80}, block, 128));
}

void Hid_Thread::hid560_0CH_setProfile(uchar *src128, uchar profileData)
{
    if (!src128)
        return;
    if (!beginWrite("cmd Failed 0C"))
        return;
    endWrite(sendWithPause(0x0C, {profileData, 0x80}, src128, 128));
}

void Hid_Thread::hid560_8CH_readProfile(uchar *src128, uchar profileNo)
{
    if (!src128)
        return;
    if (!beginCommand("cmd Failed 8c"))
        return;
    proto::buildRequest(outReport, 0x8C, {profileNo});
    std::memset(inReport, 0, sizeof inReport);
    std::memcpy(bulkBuf, src128, 128);
    lastQueryOk = hidQuery(128);
    // Chunks read before a failure stay; the rest keeps the caller's bytes.
    std::memcpy(src128, bulkBuf, 128);
}

void Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    if (!beginWrite("cmd Failed 02"))
        return;
    endWrite(sendAndSettle(0x02, {profile}));
}

void Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    if (!beginWrite("cmd Failed 13"))
        return;
    endWrite(sendWithPause(0x13, {macroId, 0x80}, src128, 128));
}

void Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    if (!beginWrite("cmd Failed 0F"))
        return;
    endWrite(sendWithPause(0x0F, {macroId, 0x80}, src128, 128));
}

void Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, uchar *src8)
{
    if (!src8)
        return;
    if (!beginWrite("cmd Failed 11"))
        return;
    endWrite(sendWithPause(0x11, {dpiStage, 0x08}, src8, 8));
}

void Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    if (!beginWrite("cmd Failed 02"))
        return;
    endWrite(sendWithPause(0x02, {currentKeyMatrix}));
}

void Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    if (!beginWrite("cmd Failed 0D"))
        return;
    endWrite(sendWithPause(0x0D, {effect, option1, option2}));
}

void Hid_Thread::hid553_0CH_SetFixLEDColor(uchar *src3)
{
    if (!src3)
        return;
    if (!beginWrite("cmd Failed 0C"))
        return;
    endWrite(sendWithPause(0x0C, {src3[0], src3[1], src3[2]}));
}

void Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, uchar *src24)
{
    if (!src24)
        return;
    if (!beginWrite("cmd Failed 10"))
        return;
    const uchar n = type == 2 ? 4 : 24;
    endWrite(sendWithPause(0x10, {type, n}, src24, n));
}
