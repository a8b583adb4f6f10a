#pragma once

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <initializer_list>
#include <mutex>

#include "deviceentry.h"

struct hid_device_;
typedef struct hid_device_ hid_device;

class DeviceHost;
class ProtocolClock;

// The command channel to the mouse: opening and closing its interfaces,
// framed feature reports, bulk output and input reports in chunks of the
// entry's report length, scrambling, the idle token and the protocol's
// pauses (through the clock seam). Knows no command codes: the command sets
// of the two families are built on it.
//
// Not thread-safe by itself: one thread at a time runs exchanges (the device
// queue's worker, or a test's own thread). Only the entry paths are shared
// with the listener, under pathLock.
class HidTransport
{
public:
    HidTransport() = default;
    virtual ~HidTransport();
    HidTransport(const HidTransport &) = delete;
    HidTransport &operator=(const HidTransport &) = delete;

    void setOwner(DeviceHost *owner) { this->owner = owner; }
    void setClock(ProtocolClock *clock) { this->clock = clock; }
    DeviceHost *host() const { return owner; }

    DeviceTable deviceTable;
    int currentIndex = 1;
    uchar hidIdle = 1;

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
    virtual bool lastReadOk() const { return lastQueryOk; }
    void setLastReadOk(bool ok) { lastQueryOk = ok; }
    // For an operation that gives up before its write because what it needed
    // from the device could not be read: the owner hears that the setting
    // did not reach the mouse.
    void reportWriteFailure() { endWrite(false); }
    // Whether the current entry's command interface is known to be gone (a
    // failed open cleared its path): later writes to it cannot succeed.
    bool currentDeviceGone() const;

    uchar outReport[9] = {};
    uchar inReport[9] = {};
    uchar bulkBuf[512] = {};

    // ---- building blocks of the command sets -------------------------------

    // Takes the idle token; without it writes the command's failure line.
    bool beginCommand(const char *failLine);
    // The same for a command that writes a setting: a write that cannot
    // start, or whose exchange fails (endWrite(false)), is reported to the
    // owner so the user learns that the mouse did not take it.
    bool beginWrite(const char *failLine);
    void endWrite(bool ok);
    // Commands that return at once: no pause, a short settle after the request.
    bool sendAndSettle(uchar code, std::initializer_list<uchar> params);
    bool sendWithPause(uchar code, std::initializer_list<uchar> params,
                       const uchar *bulk = nullptr, int bulkLength = 0);
    // A gun device takes the value once; any other device once per position
    // 1..4. The caller took the token once; each send gives it back, and a
    // failed send does not stop the remaining positions.
    bool sendPerPosition(uchar code, uchar value);
    // Runs the prepared read request and copies reply bytes 2.. into results.
    void queryResults(std::initializer_list<uchar *> results, bool presetFromCaller = true);

protected:
    // A write did not reach the mouse. Tells the owner; a transport whose
    // owner lives on another thread hands it over instead.
    virtual void writeFailed();
    ProtocolClock *clk() const;
    // Guards the paths of deviceTable entries: the listener clears path2 on
    // its own thread.
    mutable std::mutex pathLock;
    DeviceHost *owner = nullptr;
    // Whether the last read command's exchange actually completed; the
    // handshake counts only a real echo.
    bool lastQueryOk = false;

private:
    hid_device *openInterface(int index, QString DeviceEntry::*path, hid_device *&handle);
    // The current entry's report length when it cannot serve as a chunk size
    // (one debug line); such an entry fails every exchange at once.
    bool exchangeRefused();
    bool currentEncoded() const;
    int currentReportLength() const;
    // Ends an exchange: closes the command handle and frees the idle token.
    bool endExchange(bool ok);
    bool sendRequest(bool encoded);

    ProtocolClock *clock = nullptr;
    hid_device *cmdHandle = nullptr;
    hid_device *listenHandle = nullptr;
};

// The process-wide 8-byte code of the scrambling; s1..s6 come from sCode.
extern uchar SecrecyCode[8];
