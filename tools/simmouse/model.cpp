#include "model.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace simmouse::detail {

namespace {

uint64_t nowNs()
{
    return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
}

wchar_t *wideCopy(const wchar_t *text)
{
    const size_t n = std::wcslen(text) + 1;
    auto *copy = static_cast<wchar_t *>(std::malloc(n * sizeof(wchar_t)));
    std::wmemcpy(copy, text, n);
    return copy;
}

hid_device_info *makeInfo(const Config &config, int interface, const std::string &path)
{
    auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    info->path = strdup(path.c_str());
    info->vendor_id = config.vid;
    info->product_id = config.pid;
    info->serial_number = wideCopy(L"SIM0001");
    info->release_number = 0x0100;
    info->manufacturer_string = wideCopy(L"Simulated");
    info->product_string = wideCopy(L"Simulated mouse");
    info->usage_page = interface == 0 ? config.usagePage : config.usagePage2;
    info->usage = interface == 0 ? config.usage : config.usage2;
    info->interface_number = interface;
    info->next = nullptr;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

} // namespace

void freeInfoList(hid_device_info *info)
{
    while (info) {
        hid_device_info *next = info->next;
        std::free(info->path);
        std::free(info->serial_number);
        std::free(info->manufacturer_string);
        std::free(info->product_string);
        std::free(info);
        info = next;
    }
}

Model &Model::instance()
{
    // Never destroyed: pool threads and the control thread may still be
    // inside a call while the process runs its exit handlers.
    static Model *model = new Model;
    return *model;
}

Model::Model()
{
    devices_.resize(1);
    resetDevice(devices_[0], Config());
}

void Model::resetDevice(Device &dev, const Config &config)
{
    dev = Device();
    dev.config = config;
    dev.config.reportLength = std::max(1, config.reportLength);
    dev.code = codeBytes(config.code);
    dev.plugged = config.plugged;
    dev.generation = nextGeneration_++;
}

// ---------------------------------------------------------------- control

void Model::reset(const std::vector<Config> &devices)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        devices_.clear();
        devices_.resize(devices.size());
        for (size_t i = 0; i < devices.size(); ++i)
            resetDevice(devices_[i], devices[i]);
        log_.clear();
        failCountdown_ = 0;
        unplugCountdown_ = 0;
        pendingUnplug_ = -1;
        failOpen_ = false;
    }
    // Readers blocked on an old handle must see it die.
    queued_.notify_all();
}

int Model::deviceCount()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return int(devices_.size());
}

Config Model::config(int device)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Device *dev = deviceAt(device);
    return dev ? dev->config : Config();
}

void Model::setPlugged(int device, bool plugged)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Device *dev = deviceAt(device);
        if (!dev || dev->plugged == plugged)
            return;
        dev->plugged = plugged;
        // Handles of the previous connection never come back to life.
        dev->generation = nextGeneration_++;
        for (auto &queue : dev->queues)
            queue.clear();
        dev->hasReply = false;
        dev->bulk = BulkTarget::None;
    }
    queued_.notify_all();
    notifyChange();
}

bool Model::isPlugged(int device)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Device *dev = deviceAt(device);
    return dev && dev->plugged;
}

std::string Model::pathLocked(int device, int interface) const
{
    const Config &c = devices_[device].config;
    char text[64];
    if (device == 0)
        std::snprintf(text, sizeof text, "sim:%04x:%04x:%d", c.vid, c.pid, interface);
    else
        std::snprintf(text, sizeof text, "sim%d:%04x:%04x:%d", device, c.vid, c.pid, interface);
    return text;
}

std::string Model::path(int device, int interface)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return deviceAt(device) ? pathLocked(device, interface) : std::string();
}

void Model::queueReport(int device, int interface, const std::vector<uint8_t> &bytes)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Device *dev = deviceAt(device);
        if (!dev || !dev->plugged || interface < 0 || interface > 1)
            return;
        dev->queues[size_t(interface)].push_back(bytes);
    }
    queued_.notify_all();
}

void Model::pressDpiButton(int device, uint8_t stage)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Device *dev = deviceAt(device);
        if (!dev || !dev->plugged)
            return;
        dev->state.currentDpiStage = stage;
        dev->state.dpiStageByPosition.fill(stage);
        dev->queues[1].push_back({0x06, 0x07, 0x00, stage});
    }
    queued_.notify_all();
}

int Model::pendingReports(int device, int interface)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Device *dev = deviceAt(device);
    if (!dev || interface < 0 || interface > 1)
        return 0;
    return int(dev->queues[size_t(interface)].size());
}

int Model::waitingReads(int device, int interface)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!deviceAt(device) || interface < 0 || interface > 1)
        return 0;
    return device < int(waiting_.size()) ? waiting_[size_t(device)][size_t(interface)] : 0;
}

void Model::withholdReplies(int device, bool on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (Device *dev = deviceAt(device))
        dev->withhold = on;
}

void Model::corruptNextReply(int device)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (Device *dev = deviceAt(device))
        dev->corruptNext = true;
}

void Model::failTransferAfter(int n)
{
    std::lock_guard<std::mutex> lock(mutex_);
    failCountdown_ = std::max(0, n);
}

void Model::failOpen(bool on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    failOpen_ = on;
}

void Model::unplugAfterTransfers(int n)
{
    std::lock_guard<std::mutex> lock(mutex_);
    unplugCountdown_ = std::max(0, n);
    pendingUnplug_ = -1;
}

void Model::transferDone(int device)
{
    if (unplugCountdown_ > 0 && --unplugCountdown_ == 0)
        pendingUnplug_ = device;
}

void Model::applyPendingUnplug()
{
    int device = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::swap(device, pendingUnplug_);
    }
    if (device >= 0)
        setPlugged(device, false);
}

State Model::state(int device)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const Device *dev = deviceAt(device);
    return dev ? dev->state : State();
}

void Model::setState(int device, const State &state)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (Device *dev = deviceAt(device))
        dev->state = state;
}

std::vector<WireRecord> Model::wireLog()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void Model::clearWireLog()
{
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
}

void Model::setChangeCallback(void (*cb)(void *), void *ctx)
{
    std::lock_guard<std::mutex> lock(callbackMutex_);
    callback_ = cb;
    callbackCtx_ = ctx;
}

void Model::notifyChange()
{
    void (*cb)(void *);
    void *ctx;
    {
        std::lock_guard<std::mutex> lock(callbackMutex_);
        cb = callback_;
        ctx = callbackCtx_;
    }
    // Outside every lock: the callback may well enumerate at once.
    if (cb)
        cb(ctx);
}

// ---------------------------------------------------------------- hidapi

hid_device_info *Model::enumerate(uint16_t vid, uint16_t pid)
{
    std::lock_guard<std::mutex> lock(mutex_);
    hid_device_info *head = nullptr;
    hid_device_info **tail = &head;
    for (int i = 0; i < int(devices_.size()); ++i) {
        const Device &dev = devices_[i];
        if (!dev.plugged)
            continue;
        if ((vid != 0 && vid != dev.config.vid) || (pid != 0 && pid != dev.config.pid))
            continue;
        for (int interface = 0; interface < 2; ++interface) {
            *tail = makeInfo(dev.config, interface, pathLocked(i, interface));
            tail = &(*tail)->next;
        }
    }
    return head;
}

hid_device *Model::open(const char *path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (failOpen_ || !path)
        return nullptr;
    for (int i = 0; i < int(devices_.size()); ++i) {
        if (!devices_[i].plugged)
            continue;
        for (int interface = 0; interface < 2; ++interface) {
            const std::string p = pathLocked(i, interface);
            if (p != path)
                continue;
            auto *handle = new hid_device_;
            handle->device = i;
            handle->interface = interface;
            handle->generation = devices_[i].generation;
            handle->info = makeInfo(devices_[i].config, interface, p);
            return handle;
        }
    }
    return nullptr;
}

hid_device *Model::open(uint16_t vid, uint16_t pid)
{
    std::string p;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int i = 0; i < int(devices_.size()) && p.empty(); ++i) {
            const Device &dev = devices_[i];
            if (dev.plugged && (vid == 0 || vid == dev.config.vid) && (pid == 0 || pid == dev.config.pid))
                p = pathLocked(i, 0);
        }
    }
    return p.empty() ? nullptr : open(p.c_str());
}

void Model::close(hid_device *handle)
{
    if (!handle)
        return;
    freeInfoList(handle->info);
    delete handle;
}

bool Model::handleValid(hid_device *handle)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return deviceFor(handle) != nullptr;
}

Model::Device *Model::deviceAt(int device)
{
    return device >= 0 && device < int(devices_.size()) ? &devices_[size_t(device)] : nullptr;
}

Model::Device *Model::deviceFor(hid_device *handle)
{
    Device *dev = handle ? deviceAt(handle->device) : nullptr;
    if (!dev || !dev->plugged || dev->generation != handle->generation)
        return nullptr;
    return dev;
}

WireRecord Model::record(Kind kind, const hid_device *handle, const uint8_t *data, size_t length)
{
    WireRecord rec;
    rec.timestampNs = nowNs();
    rec.kind = kind;
    rec.device = handle->device;
    rec.interface = handle->interface;
    if (deviceAt(handle->device))
        rec.path = pathLocked(handle->device, handle->interface);
    if (data)
        rec.bytes.assign(data, data + length);
    return rec;
}

void Model::log(WireRecord record)
{
    log_.push_back(std::move(record));
}

bool Model::takeFailure()
{
    if (failCountdown_ <= 0)
        return false;
    return --failCountdown_ == 0;
}

int Model::setNonblocking(hid_device *handle, int nonblock)
{
    if (!handle)
        return -1;
    std::lock_guard<std::mutex> lock(mutex_);
    handle->nonblocking = nonblock != 0;
    return 0;
}

// A failed transfer is logged with the reason and returns -1.
int Model::fail(WireRecord rec, std::string why)
{
    rec.ok = false;
    rec.note = std::move(why);
    log(std::move(rec));
    return -1;
}

int Model::sendFeature(hid_device *handle, const uint8_t *data, size_t length)
{
    if (!handle || !data)
        return -1;
    std::lock_guard<std::mutex> lock(mutex_);
    WireRecord rec = record(Kind::FeatureOut, handle, data, length);
    Device *dev = deviceFor(handle);
    if (!dev)
        return fail(std::move(rec), "device not present");
    if (handle->interface != 0)
        return fail(std::move(rec), "no feature reports on this interface");
    if (length != 9)
        return fail(std::move(rec), "feature report must be 9 bytes");
    if (data[0] != 0)
        return fail(std::move(rec), "report ID must be 0");
    if (takeFailure())
        return fail(std::move(rec), "injected transfer failure");

    std::array<uint8_t, 9> request;
    std::copy(data, data + 9, request.begin());
    if (dev->config.isEncode)
        unscramble(request.data() + 1, dev->code.data());
    rec.clear.assign(request.begin(), request.end());
    handleRequest(*dev, request, rec);
    log(std::move(rec));
    transferDone(handle->device);
    return 9;
}

int Model::getFeature(hid_device *handle, uint8_t *data, size_t length)
{
    if (!handle || !data)
        return -1;
    std::lock_guard<std::mutex> lock(mutex_);
    WireRecord rec = record(Kind::FeatureIn, handle, nullptr, 0);
    Device *dev = deviceFor(handle);
    if (!dev)
        return fail(std::move(rec), "device not present");
    if (handle->interface != 0)
        return fail(std::move(rec), "no feature reports on this interface");
    if (length < 9)
        return fail(std::move(rec), "buffer smaller than the feature report");
    if (data[0] != 0)
        return fail(std::move(rec), "report ID must be 0");
    if (dev->withhold)
        return fail(std::move(rec), "reply withheld");
    if (takeFailure())
        return fail(std::move(rec), "injected transfer failure");

    std::array<uint8_t, 9> clear{};
    std::array<uint8_t, 9> wire{};
    if (dev->hasReply) {
        clear = dev->reply;
        wire = clear;
        if (dev->config.isEncode)
            scramble(wire.data() + 1, dev->code.data());
    } else {
        rec.note = "no reply pending";
    }
    std::copy(wire.begin(), wire.end(), data);
    rec.bytes.assign(wire.begin(), wire.end());
    rec.clear.assign(clear.begin(), clear.end());
    log(std::move(rec));
    transferDone(handle->device);
    return 9;
}

int Model::write(hid_device *handle, const uint8_t *data, size_t length)
{
    if (!handle || !data)
        return -1;
    std::lock_guard<std::mutex> lock(mutex_);
    WireRecord rec = record(Kind::Output, handle, data, length);
    Device *dev = deviceFor(handle);
    if (!dev)
        return fail(std::move(rec), "device not present");
    if (handle->interface != 0)
        return fail(std::move(rec), "no output reports on this interface");
    const size_t reportLength = size_t(dev->config.reportLength);
    if (length != reportLength + 1)
        return fail(std::move(rec), "output report must be " + std::to_string(reportLength + 1) + " bytes");
    if (data[0] != 0)
        return fail(std::move(rec), "report ID must be 0");
    if (takeFailure())
        return fail(std::move(rec), "injected transfer failure");

    if (dev->bulk == BulkTarget::None)
        rec.note = "no bulk transfer expected; ignored";
    else
        storeBulk(*dev, data + 1, std::min(reportLength, dev->bulkLength - dev->bulkReceived));
    log(std::move(rec));
    transferDone(handle->device);
    return int(length);
}

int Model::read(hid_device *handle, uint8_t *data, size_t length, int timeoutMs)
{
    if (!handle || !data)
        return -1;
    const bool blocking = timeoutMs < 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        Device *dev = deviceFor(handle);
        if (!dev)
            return -1;
        auto &queue = dev->queues[handle->interface];
        if (!queue.empty()) {
            std::vector<uint8_t> report = std::move(queue.front());
            queue.pop_front();
            WireRecord rec = record(handle->interface == 0 ? Kind::Input : Kind::NotifyIn,
                                    handle, report.data(), report.size());
            if (takeFailure())
                return fail(std::move(rec), "injected transfer failure");
            const size_t n = std::min(length, report.size());
            std::copy(report.begin(), report.begin() + n, data);
            rec.bytes.resize(n);
            log(std::move(rec));
            transferDone(handle->device);
            return int(n);
        }
        if (timeoutMs == 0)
            return 0;
        // Like hidapi, a blocking read waits until a report comes or the
        // device goes away.
        const size_t device = size_t(handle->device);
        if (waiting_.size() <= device)
            waiting_.resize(device + 1);
        ++waiting_[device][size_t(handle->interface)];
        const bool timedOut = blocking ? (queued_.wait(lock), false)
                                       : queued_.wait_until(lock, deadline) == std::cv_status::timeout;
        --waiting_[device][size_t(handle->interface)];
        if (timedOut) {
            dev = deviceFor(handle);
            if (!dev)
                return -1;
            if (dev->queues[handle->interface].empty())
                return 0;
        }
    }
}

// ---------------------------------------------------------------- firmware

void Model::handleRequest(Device &dev, const std::array<uint8_t, 9> &request, WireRecord &rec)
{
    auto addNote = [&rec](const char *text) {
        rec.note += rec.note.empty() ? text : std::string("; ") + text;
    };
    if (dev.bulk != BulkTarget::None)
        addNote("unfinished bulk transfer abandoned");
    dev.bulk = BulkTarget::None;
    dev.hasReply = false;

    if (checksum(request.data() + 1) != request[8]) {
        addNote("bad checksum; ignored");
        return;
    }
    std::array<uint8_t, 9> reply{};
    reply[1] = request[1];
    const bool known = dev.config.family == 560 ? handle560(dev, request.data(), reply.data())
                                                : handle553(dev, request.data(), reply.data());
    if (!known) {
        addNote("unknown command; ignored");
        return;
    }
    reply[8] = checksum(reply.data() + 1);
    // 8CH hands a corruption on to its input reports instead.
    if (dev.corruptNext && request[1] != 0x8C) {
        for (int i = 2; i <= 5; ++i)
            reply[i] = uint8_t(~reply[i]);
        dev.corruptNext = false;
    }
    dev.reply = reply;
    dev.hasReply = true;
}

bool Model::handle553(Device &dev, const uint8_t *req, uint8_t *reply)
{
    State &s = dev.state;
    switch (req[1]) {
    case 0x00:
        std::copy(req + 2, req + 6, reply + 2);
        return true;
    case 0x01:
        s.reportRate = req[2];
        return true;
    case 0x02:
        s.currentKeyMatrix = req[2];
        return true;
    case 0x03:
        std::copy(req + 2, req + 6, s.keyboardOption.begin());
        return true;
    case 0x04:
        // Byte 2 stays 0; times, x, y, slot follow in bytes 3..6.
        s.gunData[req[6]] = {req[3], req[4], req[5], req[6]};
        return true;
    case 0x0B:
        s.currentDpiStage = req[2];
        return true;
    case 0x0C:
        std::copy(req + 2, req + 5, s.fixLedColor.begin());
        return true;
    case 0x0D:
        std::copy(req + 2, req + 5, s.rgbLedEffect.begin());
        return true;
    case 0x10:
        startBulk(dev, BulkTarget::Led8Stage, req[2], req[3]);
        return true;
    case 0x11:
        startBulk(dev, BulkTarget::DpiSet, req[2], req[3]);
        return true;
    case 0x12:
        startBulk(dev, BulkTarget::KeyMatrix, req[2], req[3]);
        return true;
    case 0x13:
        startBulk(dev, BulkTarget::Macro, req[2], req[3]);
        return true;
    case 0x83:
        std::copy(s.keyboardOption.begin(), s.keyboardOption.end(), reply + 2);
        return true;
    case 0x8B:
        reply[2] = s.currentDpiStage;
        return true;
    default:
        return false;
    }
}

bool Model::handle560(Device &dev, const uint8_t *req, uint8_t *reply)
{
    State &s = dev.state;
    const uint8_t p = req[2];
    const bool position = p >= 1 && p <= 4;
    switch (req[1]) {
    case 0x00:
        std::copy(req + 2, req + 6, reply + 2);
        return true;
    case 0x01:
        s.keyboardOption[0] = req[2];
        s.keyboardOption[1] = req[3];
        return true;
    case 0x02:
        s.currentProfile = req[2];
        return true;
    case 0x03:
        if (position)
            s.reportRateByPosition[p - 1] = req[3];
        return true;
    case 0x04:
        if (position)
            s.dpiStageByPosition[p - 1] = req[3];
        return true;
    case 0x0C:
        startBulk(dev, req[2] < 5 ? BulkTarget::Profile : BulkTarget::Discard, req[2], req[3]);
        return true;
    case 0x0D:
        startBulk(dev, BulkTarget::KeyMatrix, req[2], req[3]);
        return true;
    case 0x0F:
        startBulk(dev, BulkTarget::Macro, req[2], req[3]);
        return true;
    case 0x81:
        reply[2] = s.keyboardOption[0];
        reply[3] = s.keyboardOption[1];
        return true;
    case 0x82:
        reply[2] = s.currentProfile;
        return true;
    case 0x83:
        std::copy(s.keyboardOption.begin(), s.keyboardOption.end(), reply + 2);
        return true;
    case 0x84:
        reply[2] = p;
        reply[3] = position ? s.dpiStageByPosition[p - 1] : 0;
        return true;
    case 0x8C:
        reply[2] = p;
        queueProfile(dev, p);
        return true;
    default:
        return false;
    }
}

std::vector<uint8_t> *Model::bulkStore(State &s, BulkTarget target, uint8_t id)
{
    switch (target) {
    case BulkTarget::KeyMatrix:
        return &s.keyMatrixLayers[id];
    case BulkTarget::Macro:
        return &s.macros[id];
    case BulkTarget::DpiSet:
        return &s.dpiSets[id];
    case BulkTarget::Led8Stage:
        return &s.led8StageColors[id];
    default:
        return nullptr;
    }
}

void Model::startBulk(Device &dev, BulkTarget target, uint8_t id, uint8_t length)
{
    if (length == 0)
        return;
    dev.bulk = target;
    dev.bulkId = id;
    dev.bulkLength = length;
    dev.bulkReceived = 0;
    if (std::vector<uint8_t> *store = bulkStore(dev.state, target, id))
        store->resize(length);
}

void Model::storeBulk(Device &dev, const uint8_t *data, size_t count)
{
    uint8_t *dst = nullptr;
    size_t capacity = 0;
    if (std::vector<uint8_t> *store = bulkStore(dev.state, dev.bulk, dev.bulkId)) {
        dst = store->data();
        capacity = store->size();
    } else if (dev.bulk == BulkTarget::Profile) {
        dst = dev.state.profiles[dev.bulkId].data();
        capacity = dev.state.profiles[dev.bulkId].size();
    }
    for (size_t i = 0; i < count; ++i) {
        const size_t at = dev.bulkReceived + i;
        if (at < capacity)
            dst[at] = data[i];
    }
    dev.bulkReceived += count;
    if (dev.bulkReceived >= dev.bulkLength)
        dev.bulk = BulkTarget::None;
}

void Model::queueProfile(Device &dev, uint8_t profileNo)
{
    auto &queue = dev.queues[0];
    queue.clear();
    if (dev.withhold)
        return;
    std::array<uint8_t, 128> record{};
    if (profileNo < 5)
        record = dev.state.profiles[profileNo];
    const size_t chunk = size_t(dev.config.reportLength);
    for (size_t offset = 0; offset < record.size(); offset += chunk) {
        std::vector<uint8_t> report(chunk, 0);
        const size_t n = std::min(chunk, record.size() - offset);
        std::copy(record.begin() + offset, record.begin() + offset + n, report.begin());
        if (dev.corruptNext) {
            for (auto &b : report)
                b = uint8_t(~b);
            dev.corruptNext = false;
        }
        queue.push_back(std::move(report));
    }
    queued_.notify_all();
}

} // namespace simmouse::detail
