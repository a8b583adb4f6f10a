// The control API: thin forwarding onto the model, plus log formatting.
#include "ctlserver.h"
#include "model.h"

#include <cstdio>

namespace simmouse {

using detail::Model;

void reset(const Config &config)
{
    Model::instance().reset({config});
}

void reset(const std::vector<Config> &devices)
{
    Model::instance().reset(devices);
}

int deviceCount()
{
    return Model::instance().deviceCount();
}

Config config(int device)
{
    return Model::instance().config(device);
}

void plug(int device)
{
    Model::instance().setPlugged(device, true);
}

void unplug(int device)
{
    Model::instance().setPlugged(device, false);
}

bool isPlugged(int device)
{
    return Model::instance().isPlugged(device);
}

std::string path(int device, int interface)
{
    return Model::instance().path(device, interface);
}

void pressDpiButton(uint8_t stage, int device)
{
    Model::instance().pressDpiButton(device, stage);
}

void queueNotifyReport(const std::vector<uint8_t> &bytes, int device)
{
    Model::instance().queueReport(device, 1, bytes);
}

int pendingReports(int device, int interface)
{
    return Model::instance().pendingReports(device, interface);
}

int waitingReads(int device, int interface)
{
    return Model::instance().waitingReads(device, interface);
}

void withholdReplies(bool on, int device)
{
    Model::instance().withholdReplies(device, on);
}

void corruptNextReply(int device)
{
    Model::instance().corruptNextReply(device);
}

void failTransferAfter(int n)
{
    Model::instance().failTransferAfter(n);
}

void failOpen(bool on)
{
    Model::instance().failOpen(on);
}

void unplugAfterTransfers(int n)
{
    Model::instance().unplugAfterTransfers(n);
}

State state(int device)
{
    return Model::instance().state(device);
}

void setState(const State &state, int device)
{
    Model::instance().setState(device, state);
}

std::vector<WireRecord> wireLog()
{
    return Model::instance().wireLog();
}

void clearWireLog()
{
    Model::instance().clearWireLog();
}

const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::FeatureOut: return "FeatureOut";
    case Kind::FeatureIn: return "FeatureIn";
    case Kind::Output: return "Output";
    case Kind::Input: return "Input";
    case Kind::NotifyIn: return "NotifyIn";
    }
    return "?";
}

std::string formatRecord(const WireRecord &record)
{
    char head[96];
    std::snprintf(head, sizeof head, "%llu.%06llu %-10s %s ",
                  (unsigned long long)(record.timestampNs / 1000000000ull),
                  (unsigned long long)(record.timestampNs / 1000ull % 1000000ull),
                  kindName(record.kind), record.path.c_str());
    std::string text = head + detail::hexText(record.bytes.data(), record.bytes.size());
    if (!record.clear.empty() && record.clear != record.bytes)
        text += " [clear " + detail::hexText(record.clear.data(), record.clear.size()) + "]";
    if (!record.ok)
        text += " FAILED";
    if (!record.note.empty())
        text += " (" + record.note + ")";
    return text;
}

} // namespace simmouse

namespace simmouse::detail {

std::string hexText(const uint8_t *bytes, size_t n)
{
    std::string text;
    char b[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, i ? " %02x" : "%02x", bytes[i]);
        text += b;
    }
    return text;
}

} // namespace simmouse::detail

extern "C" void simmouse_set_change_callback(void (*cb)(void *), void *ctx)
{
    simmouse::detail::autoStart();
    simmouse::detail::Model::instance().setChangeCallback(cb, ctx);
}
