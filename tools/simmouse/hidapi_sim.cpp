// The hidapi C API over the firmware model. Signatures come from the real
// header, so a mismatch is a compile error rather than a crash at run time.
#include "ctlserver.h"
#include "model.h"

#include <cwchar>

using simmouse::detail::Model;
using simmouse::detail::autoStart;

namespace {

int copyWide(const wchar_t *text, wchar_t *string, size_t maxlen)
{
    if (!string || maxlen == 0)
        return -1;
    std::wcsncpy(string, text, maxlen);
    string[maxlen - 1] = L'\0';
    return 0;
}

thread_local const wchar_t *lastError = nullptr;

int result(int value, const wchar_t *error)
{
    lastError = value < 0 ? error : nullptr;
    return value;
}

// A transfer's result, once a device pulled out right after it is gone.
int afterTransfer(int value, const wchar_t *error)
{
    Model::instance().applyPendingUnplug();
    return result(value, error);
}

} // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    autoStart();
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    return 0;
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                   unsigned short product_id)
{
    autoStart();
    return Model::instance().enumerate(vendor_id, product_id);
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    simmouse::detail::freeInfoList(devs);
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                 const wchar_t *)
{
    autoStart();
    hid_device *handle = Model::instance().open(vendor_id, product_id);
    lastError = handle ? nullptr : L"simulated device not found";
    return handle;
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path)
{
    autoStart();
    hid_device *handle = Model::instance().open(path);
    lastError = handle ? nullptr : L"simulated device not found";
    return handle;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    autoStart();
    return afterTransfer(Model::instance().write(dev, data, length), L"output report failed");
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *dev, unsigned char *data, size_t length,
                                                 int milliseconds)
{
    autoStart();
    return afterTransfer(Model::instance().read(dev, data, length, milliseconds), L"read failed");
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    autoStart();
    const int timeout = dev && dev->nonblocking ? 0 : -1;
    return afterTransfer(Model::instance().read(dev, data, length, timeout), L"read failed");
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock)
{
    return Model::instance().setNonblocking(dev, nonblock);
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *dev, const unsigned char *data,
                                                        size_t length)
{
    autoStart();
    return afterTransfer(Model::instance().sendFeature(dev, data, length), L"feature report failed");
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *dev, unsigned char *data,
                                                       size_t length)
{
    autoStart();
    return afterTransfer(Model::instance().getFeature(dev, data, length), L"feature report failed");
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device *, unsigned char *, size_t)
{
    return result(-1, L"not supported by the simulated device");
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev)
{
    Model::instance().close(dev);
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    if (!Model::instance().handleValid(dev))
        return -1;
    return copyWide(dev->info->manufacturer_string, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    if (!Model::instance().handleValid(dev))
        return -1;
    return copyWide(dev->info->product_string, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    if (!Model::instance().handleValid(dev))
        return -1;
    return copyWide(dev->info->serial_number, string, maxlen);
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_get_device_info(hid_device *dev)
{
    return dev ? dev->info : nullptr;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device *, int, wchar_t *, size_t)
{
    return result(-1, L"not supported by the simulated device");
}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *)
{
    return lastError;
}

HID_API_EXPORT const struct hid_api_version *HID_API_CALL hid_version(void)
{
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    return &version;
}

HID_API_EXPORT const char *HID_API_CALL hid_version_str(void)
{
    return HID_API_VERSION_STR;
}

} // extern "C"
