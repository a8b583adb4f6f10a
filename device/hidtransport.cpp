#include "hidtransport.h"

#include "devicehost.h"
#include "openhint.h"
#include "protocol.h"
#include "protocolclock.h"

#include <QDebug>
#include <algorithm>
#include <cstring>
#include <hidapi/hidapi.h>
#include <vector>

uchar SecrecyCode[8] = {};

HidTransport::~HidTransport()
{
    hidClose();
    hidCloseListen();
}

ProtocolClock *HidTransport::clk() const
{
    return clock ? clock : realProtocolClock();
}

bool HidTransport::currentDeviceGone() const
{
    std::lock_guard<std::mutex> lock(pathLock);
    return currentIndex < 0 || currentIndex >= deviceTable.size()
           || deviceTable.at(currentIndex).path.isEmpty();
}

// ---------------------------------------------------------------- transport

// Opens one interface of entry `index` into `handle`, closing what it held.
// A failed open clears that interface's path, so later exchanges fail at once
// until the table is rebuilt.
hid_device *HidTransport::openInterface(int index, QString DeviceEntry::*path, hid_device *&handle)
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

hid_device *HidTransport::hidOpen(int index)
{
    return openInterface(index, &DeviceEntry::path, cmdHandle);
}

hid_device *HidTransport::hidOpenListen(int index)
{
    return openInterface(index, &DeviceEntry::path2, listenHandle);
}

void HidTransport::hidClose()
{
    if (cmdHandle) {
        hid_close(cmdHandle);
        cmdHandle = nullptr;
    }
}

void HidTransport::hidCloseListen()
{
    if (listenHandle) {
        hid_close(listenHandle);
        listenHandle = nullptr;
    }
}

bool HidTransport::waitHidIdle()
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
void HidTransport::busyPause()
{
    clk()->sleepMs(proto::kBusyStepMs);
    clk()->sleepMs(proto::kBusyStepMs);
}

bool HidTransport::currentEncoded() const
{
    std::lock_guard<std::mutex> lock(pathLock);
    return currentIndex >= 0 && currentIndex < deviceTable.size()
           && deviceTable.at(currentIndex).isEncode;
}

int HidTransport::currentReportLength() const
{
    std::lock_guard<std::mutex> lock(pathLock);
    if (currentIndex < 0 || currentIndex >= deviceTable.size())
        return 0;
    return deviceTable.at(currentIndex).reportLength;
}

bool HidTransport::exchangeRefused()
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

bool HidTransport::endExchange(bool ok)
{
    hidClose();
    hidIdle = 1;
    return ok;
}

// Opens the command interface, scrambles the request when asked, reopens and
// sends it. False: the exchange has to end as failed.
bool HidTransport::sendRequest(bool encoded)
{
    if (!hidOpen(currentIndex))
        return false;
    if (encoded)
        proto::scrambleBlock(outReport + 1, SecrecyCode);
    return hidOpen(currentIndex) && hid_send_feature_report(cmdHandle, outReport, 9) >= 0;
}

bool HidTransport::hidSend(int length, bool pause)
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

bool HidTransport::hidQuery(int length)
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
            proto::unscrambleBlock(inReport + 1, SecrecyCode);
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

bool HidTransport::beginCommand(const char *failLine)
{
    lastQueryOk = false;   // a read that never runs has read nothing
    if (waitHidIdle())
        return true;
    qDebug("%s", failLine);
    return false;
}

bool HidTransport::beginWrite(const char *failLine)
{
    if (beginCommand(failLine))
        return true;
    endWrite(false);
    return false;
}

void HidTransport::endWrite(bool ok)
{
    if (!ok)
        writeFailed();
}

void HidTransport::writeFailed()
{
    if (owner)
        owner->deviceWriteFailed();
}

// Commands that return at once: no pause, a short settle after the request.
bool HidTransport::sendAndSettle(uchar code, std::initializer_list<uchar> params)
{
    proto::buildRequest(outReport, code, params);
    const bool ok = hidSend(0, false);
    clk()->sleepMs(proto::kAfterSendMs);
    return ok;
}

bool HidTransport::sendWithPause(uchar code, std::initializer_list<uchar> params,
                               const uchar *bulk, int bulkLength)
{
    proto::buildRequest(outReport, code, params);
    if (bulkLength > 0)
        std::memcpy(bulkBuf, bulk, size_t(bulkLength));
    return hidSend(bulkLength, true);
}

void HidTransport::queryResults(std::initializer_list<uchar *> results, bool presetFromCaller)
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


bool HidTransport::sendPerPosition(uchar code, uchar value)
{
    bool ok = true;
    for (uchar p = 1; p <= 4; ++p) {
        ok = sendWithPause(code, {p, value}) && ok;
        if (owner && owner->isGun())
            break;
    }
    return ok;
}
