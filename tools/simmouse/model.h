#pragma once

// The firmware model behind both the hidapi C layer and the control API.
// One process-wide instance; every member function takes the lock itself.

#include "simmouse.h"

#include <hidapi.h>

#include <condition_variable>
#include <deque>
#include <mutex>

// hidapi's opaque handle: which device and interface, and the plug
// generation it was opened in (a handle dies with an unplug or a reset).
struct hid_device_
{
    int device = 0;
    int interface = 0;
    uint64_t generation = 0;
    bool nonblocking = false;
    hid_device_info *info = nullptr;
};

namespace simmouse::detail {

// Frees a list built by Model::enumerate (hid_free_enumeration).
void freeInfoList(hid_device_info *info);

class Model
{
public:
    static Model &instance();

    // Control side.
    void reset(const std::vector<Config> &devices);
    int deviceCount();
    Config config(int device);
    void setPlugged(int device, bool plugged);
    bool isPlugged(int device);
    std::string path(int device, int interface);
    void queueReport(int device, int interface, const std::vector<uint8_t> &bytes);
    void pressDpiButton(int device, uint8_t stage);
    int pendingReports(int device, int interface);
    int waitingReads(int device, int interface);
    void withholdReplies(int device, bool on);
    void corruptNextReply(int device);
    void failTransferAfter(int n);
    void failOpen(bool on);
    void unplugAfterTransfers(int n);
    // Carries out an unplug that the last transfer asked for; the hidapi
    // layer calls it after every transfer, outside the lock.
    void applyPendingUnplug();
    State state(int device);
    void setState(int device, const State &state);
    std::vector<WireRecord> wireLog();
    void clearWireLog();
    void setChangeCallback(void (*cb)(void *), void *ctx);

    // hidapi side.
    hid_device_info *enumerate(uint16_t vid, uint16_t pid);
    hid_device *open(const char *path);
    hid_device *open(uint16_t vid, uint16_t pid);
    void close(hid_device *handle);
    int sendFeature(hid_device *handle, const uint8_t *data, size_t length);
    int getFeature(hid_device *handle, uint8_t *data, size_t length);
    int write(hid_device *handle, const uint8_t *data, size_t length);
    // timeoutMs < 0: blocking, until a report comes or the handle dies.
    int read(hid_device *handle, uint8_t *data, size_t length, int timeoutMs);
    int setNonblocking(hid_device *handle, int nonblock);
    bool handleValid(hid_device *handle);

private:
    enum class BulkTarget { None, KeyMatrix, Macro, DpiSet, Led8Stage, Profile, Discard };

    struct Device
    {
        Config config;
        std::array<uint8_t, 8> code{};
        State state;
        bool plugged = true;
        uint64_t generation = 0;
        std::array<std::deque<std::vector<uint8_t>>, 2> queues;
        std::array<uint8_t, 9> reply{};       // clear form
        bool hasReply = false;
        BulkTarget bulk = BulkTarget::None;
        uint8_t bulkId = 0;
        size_t bulkLength = 0;
        size_t bulkReceived = 0;
        bool withhold = false;
        bool corruptNext = false;
    };

    Model();
    Device *deviceAt(int device);            // null when out of range
    Device *deviceFor(hid_device *handle);   // null when the handle is dead
    void log(WireRecord record);
    WireRecord record(Kind kind, const hid_device *handle, const uint8_t *data, size_t length);
    bool takeFailure();                      // counts one transfer
    void transferDone(int device);           // counts one successful transfer
    int fail(WireRecord rec, std::string why);
    void handleRequest(Device &dev, const std::array<uint8_t, 9> &request, WireRecord &rec);
    bool handle553(Device &dev, const uint8_t *req, uint8_t *reply);
    bool handle560(Device &dev, const uint8_t *req, uint8_t *reply);
    // The state's variable-length store a bulk target fills (made on first
    // use); null for the fixed profile records and for discarded data.
    static std::vector<uint8_t> *bulkStore(State &s, BulkTarget target, uint8_t id);
    void startBulk(Device &dev, BulkTarget target, uint8_t id, uint8_t length);
    void storeBulk(Device &dev, const uint8_t *data, size_t count);
    void queueProfile(Device &dev, uint8_t profileNo);
    void notifyChange();
    std::string pathLocked(int device, int interface) const;
    void resetDevice(Device &dev, const Config &config);

    std::mutex mutex_;
    std::condition_variable queued_;
    std::vector<Device> devices_;
    std::vector<WireRecord> log_;
    // Reads parked per device index and interface; kept apart from the
    // devices so that a reset does not lose count of readers still waking.
    std::vector<std::array<int, 2>> waiting_;
    uint64_t nextGeneration_ = 1;
    int failCountdown_ = 0;
    int unplugCountdown_ = 0;
    int pendingUnplug_ = -1;
    bool failOpen_ = false;
    std::mutex callbackMutex_;
    void (*callback_)(void *) = nullptr;
    void *callbackCtx_ = nullptr;
};

} // namespace simmouse::detail
