#include "fuzz_hidapi.h"

#include <cstdlib>
#include <cstring>
#include <hidapi.h>
#include <string>

struct hid_device_ { int unused; };

namespace {

FuzzedDataProvider *input = nullptr;
unsigned long callCount = 0;
hid_device_ handles[4];

bool more()
{
    ++callCount;
    return input && input->remaining_bytes() > 0;
}

// A transfer's result: mostly success, sometimes -1.
bool succeeds()
{
    return more() && input->ConsumeIntegralInRange<uint8_t>(0, 15) != 0;
}

// Fills up to `length` bytes; returns the count or -1.
int fill(unsigned char *data, size_t length)
{
    if (!more())
        return -1;
    const uint8_t kind = input->ConsumeIntegralInRange<uint8_t>(0, 7);
    if (kind == 0)
        return -1;
    if (kind == 1)
        return 0;
    const size_t n = input->ConsumeIntegralInRange<size_t>(0, length);
    const std::string bytes = input->ConsumeBytesAsString(n);
    std::memcpy(data, bytes.data(), bytes.size());
    return int(bytes.size());
}

} // namespace

namespace fuzzhid {

void feed(FuzzedDataProvider *provider)
{
    input = provider;
    callCount = 0;
}

unsigned long calls()
{
    return callCount;
}

} // namespace fuzzhid

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) { return 0; }
int HID_API_EXPORT HID_API_CALL hid_exit(void) { return 0; }

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                   unsigned short product_id)
{
    hid_device_info *head = nullptr;
    hid_device_info **tail = &head;
    int count = more() ? input->ConsumeIntegralInRange<int>(0, 4) : 0;
    while (count-- > 0 && more()) {
        auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
        info->path = strdup(input->ConsumeRandomLengthString(24).c_str());
        info->vendor_id = vendor_id;
        info->product_id = product_id;
        info->usage_page = input->ConsumeIntegral<unsigned short>();
        info->usage = input->ConsumeIntegral<unsigned short>();
        *tail = info;
        tail = &info->next;
    }
    return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(unsigned short, unsigned short, const wchar_t *)
{
    return succeeds() ? &handles[0] : nullptr;
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *)
{
    return succeeds() ? &handles[input->ConsumeIntegralInRange<int>(0, 3)] : nullptr;
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *, int) { return 0; }

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *, const unsigned char *, size_t length)
{
    return succeeds() ? int(length) : -1;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *, const unsigned char *, size_t length)
{
    return succeeds() ? int(length) : -1;
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *, unsigned char *data, size_t length)
{
    return fill(data, length);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *, unsigned char *data, size_t length, int)
{
    return fill(data, length);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *, unsigned char *data, size_t length)
{
    return fill(data, length);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *) {}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *) { return L"fuzzed"; }

} // extern "C"
