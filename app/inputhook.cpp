#include "app/inputhook_core.h"

#include <array>
#include <cstring>

namespace InputHook {

// Scan code, extended flag, virtual key, USB HID keyboard usage. Keypad
// Enter has its own virtual key 0x0E so that it stays apart from Enter; the
// right Windows key (5C extended) is deliberately absent.
const ScanCodeRow kScanCodeRows[] = {
    {0x01, false, 0x1B, 0x29},
    {0x02, false, 0x31, 0x1E},
    {0x03, false, 0x32, 0x1F},
    {0x04, false, 0x33, 0x20},
    {0x05, false, 0x34, 0x21},
    {0x06, false, 0x35, 0x22},
    {0x07, false, 0x36, 0x23},
    {0x08, false, 0x37, 0x24},
    {0x09, false, 0x38, 0x25},
    {0x0A, false, 0x39, 0x26},
    {0x0B, false, 0x30, 0x27},
    {0x0C, false, 0xBD, 0x2D},
    {0x0D, false, 0xBB, 0x2E},
    {0x0E, false, 0x08, 0x2A},
    {0x0F, false, 0x09, 0x2B},
    {0x10, false, 0x51, 0x14},
    {0x11, false, 0x57, 0x1A},
    {0x12, false, 0x45, 0x08},
    {0x13, false, 0x52, 0x15},
    {0x14, false, 0x54, 0x17},
    {0x15, false, 0x59, 0x1C},
    {0x16, false, 0x55, 0x18},
    {0x17, false, 0x49, 0x0C},
    {0x18, false, 0x4F, 0x12},
    {0x19, false, 0x50, 0x13},
    {0x1A, false, 0xDB, 0x2F},
    {0x1B, false, 0xDD, 0x30},
    {0x1C, false, 0x0D, 0x28},
    {0x1C, true , 0x0E, 0x58},
    {0x1D, false, 0xA2, 0xE0},
    {0x1D, true , 0xA3, 0xE4},
    {0x1E, false, 0x41, 0x04},
    {0x1F, false, 0x53, 0x16},
    {0x20, false, 0x44, 0x07},
    {0x21, false, 0x46, 0x09},
    {0x22, false, 0x47, 0x0A},
    {0x23, false, 0x48, 0x0B},
    {0x24, false, 0x4A, 0x0D},
    {0x25, false, 0x4B, 0x0E},
    {0x26, false, 0x4C, 0x0F},
    {0x27, false, 0xBA, 0x33},
    {0x28, false, 0xDE, 0x34},
    {0x29, false, 0xC0, 0x35},
    {0x2A, false, 0xA0, 0xE1},
    {0x2B, false, 0xDC, 0x31},
    {0x2C, false, 0x5A, 0x1D},
    {0x2D, false, 0x58, 0x1B},
    {0x2E, false, 0x43, 0x06},
    {0x2F, false, 0x56, 0x19},
    {0x30, false, 0x42, 0x05},
    {0x31, false, 0x4E, 0x11},
    {0x32, false, 0x4D, 0x10},
    {0x33, false, 0xBC, 0x36},
    {0x34, false, 0xBE, 0x37},
    {0x35, false, 0xBF, 0x38},
    {0x35, true , 0x6F, 0x54},
    {0x36, true , 0xA1, 0xE5},
    {0x37, false, 0x6A, 0x55},
    {0x37, true , 0x2C, 0x46},
    {0x38, false, 0xA4, 0xE2},
    {0x38, true , 0xA5, 0xE6},
    {0x39, false, 0x20, 0x2C},
    {0x3A, false, 0x14, 0x39},
    {0x3B, false, 0x70, 0x3A},
    {0x3C, false, 0x71, 0x3B},
    {0x3D, false, 0x72, 0x3C},
    {0x3E, false, 0x73, 0x3D},
    {0x3F, false, 0x74, 0x3E},
    {0x40, false, 0x75, 0x3F},
    {0x41, false, 0x76, 0x40},
    {0x42, false, 0x77, 0x41},
    {0x43, false, 0x78, 0x42},
    {0x44, false, 0x79, 0x43},
    {0x45, false, 0x13, 0x48},
    {0x45, true , 0x90, 0x53},
    {0x46, false, 0x91, 0x47},
    {0x47, false, 0x67, 0x5F},
    {0x47, true , 0x24, 0x4A},
    {0x48, false, 0x68, 0x60},
    {0x48, true , 0x26, 0x52},
    {0x49, false, 0x69, 0x61},
    {0x49, true , 0x21, 0x4B},
    {0x4A, false, 0x6D, 0x56},
    {0x4B, false, 0x64, 0x5C},
    {0x4B, true , 0x25, 0x50},
    {0x4C, false, 0x65, 0x5D},
    {0x4D, false, 0x66, 0x5E},
    {0x4D, true , 0x27, 0x4F},
    {0x4E, false, 0x6B, 0x57},
    {0x4F, false, 0x61, 0x59},
    {0x4F, true , 0x23, 0x4D},
    {0x50, false, 0x62, 0x5A},
    {0x50, true , 0x28, 0x51},
    {0x51, false, 0x63, 0x5B},
    {0x51, true , 0x22, 0x4E},
    {0x52, false, 0x60, 0x62},
    {0x52, true , 0x2D, 0x49},
    {0x53, false, 0x6E, 0x63},
    {0x53, true , 0x2E, 0x4C},
    {0x56, false, 0xE2, 0x64},
    {0x57, false, 0x7A, 0x44},
    {0x58, false, 0x7B, 0x45},
    {0x5B, true , 0x5B, 0xE3},
    {0x5D, true , 0x5D, 0x65},
    {0x6E, false, 0x86, 0x72},
};
const std::size_t kScanCodeRowCount = sizeof(kScanCodeRows) / sizeof(kScanCodeRows[0]);

const VirtualKeyRow kExtraVirtualKeys[] = {
    {0x5C, 0xE7}, {0x7C, 0x68}, {0x7D, 0x69}, {0x7E, 0x6A}, {0x7F, 0x6B}, {0x80, 0x6C},
    {0x81, 0x6D}, {0x82, 0x6E}, {0x83, 0x6F}, {0x84, 0x70}, {0x85, 0x71}, {0x87, 0x73},
    {0xC1, 0x87}, {0xC2, 0x85}, {0xEB, 0x8B}, {0xFF, 0x66},
};
const std::size_t kExtraVirtualKeyCount = sizeof(kExtraVirtualKeys) / sizeof(kExtraVirtualKeys[0]);

namespace {

constexpr unsigned char kBackslashVirtualKey = 0xDC;
constexpr unsigned kBreakScanCode = 0x46;        // with the extended flag
constexpr unsigned char kPauseVirtualKey = 0x13;
constexpr unsigned kSysRqScanCode = 0x54;        // Print Screen while Alt is held
constexpr unsigned char kPrintScreenVirtualKey = 0x2C;

// The hook procedures run for every event of the desktop: flat arrays keep
// each look-up a single index. Scan codes are cut to 8 bits before the look-up,
// so scan code * 2 + extended flag covers every key.
std::array<unsigned char, 256 * 2> scanCodeMap{};
std::array<unsigned char, 256> virtualKeyMap{};
std::array<unsigned char, 256> keyStateBytes{};
unsigned char initValue = 0;

KeyboardCallback keyboardCallback = nullptr;
void *keyboardContext = nullptr;
MouseCallback mouseCallback = nullptr;
void *mouseContext = nullptr;
CopyDataCallback copyDataCallback = nullptr;
void *copyDataContext = nullptr;

} // namespace

void buildTables(unsigned char value)
{
    initValue = value;
    scanCodeMap.fill(0);
    virtualKeyMap.fill(0);
    for (std::size_t i = 0; i < kScanCodeRowCount; ++i) {
        const ScanCodeRow &row = kScanCodeRows[i];
        scanCodeMap[row.scanCode * 2u + (row.extended ? 1u : 0u)] = row.virtualKey;
        virtualKeyMap[row.virtualKey] = row.usage;
    }
    for (std::size_t i = 0; i < kExtraVirtualKeyCount; ++i)
        virtualKeyMap[kExtraVirtualKeys[i].virtualKey] = kExtraVirtualKeys[i].usage;
    virtualKeyMap[kBackslashVirtualKey] = initValue == 0 ? 0x31 : 0x32;
}

unsigned char scanCodeToVirtualKey(unsigned key)
{
    const unsigned scanCode = key >> 8;
    const unsigned extended = key & 0xFFu;
    if (scanCode > 0xFFu || extended > 1u)
        return 0;
    return scanCodeMap[scanCode * 2u + extended];
}

unsigned char virtualKeyToUsage(unsigned char virtualKey)
{
    return virtualKeyMap[virtualKey];
}

unsigned char usageForKey(std::uint32_t scanCode, std::uint32_t flags)
{
    const unsigned s = scanCode > 0xFFu ? 0u : unsigned(scanCode);
    const unsigned extended = flags & kFlagExtended;
    unsigned char virtualKey = scanCodeMap[s * 2u + extended];
    // Ctrl + Pause arrives as Break (46 extended) and Alt + Print Screen as
    // SysRq (54): both count as the key the user pressed.
    if (s == kBreakScanCode && extended)
        virtualKey = kPauseVirtualKey;
    if (s == kSysRqScanCode && (flags & kFlagAltDown))
        virtualKey = kPrintScreenVirtualKey;
    if (virtualKey == 0)
        return 0;
    return virtualKeyMap[virtualKey];
}

bool keyEvent(std::uint32_t scanCode, std::uint32_t flags, bool isDown)
{
    const unsigned char usage = usageForKey(scanCode, flags);
    if (usage == 0)
        return false;
    // Auto-repeat sends further key-downs: only real changes are reported.
    const unsigned char state = isDown ? 1 : 0;
    if (keyStateBytes[usage] == state)
        return false;
    keyStateBytes[usage] = state;
    if (keyboardCallback)
        keyboardCallback(usage, isDown, keyboardContext);
    return true;
}

bool mouseButtonForMessage(unsigned message, unsigned char *code, bool *isDown)
{
    switch (message) {
    case LeftButtonDown: *code = kLeftButtonCode; *isDown = true; return true;
    case LeftButtonUp: *code = kLeftButtonCode; *isDown = false; return true;
    case RightButtonDown: *code = kRightButtonCode; *isDown = true; return true;
    case RightButtonUp: *code = kRightButtonCode; *isDown = false; return true;
    case MiddleButtonDown: *code = kMiddleButtonCode; *isDown = true; return true;
    case MiddleButtonUp: *code = kMiddleButtonCode; *isDown = false; return true;
    default: return false;
    }
}

bool mouseEvent(unsigned message, int x, int y)
{
    unsigned char code = 0;
    bool isDown = false;
    if (!mouseButtonForMessage(message, &code, &isDown))
        return false;
    if (mouseCallback)
        mouseCallback(code, isDown, x, y, mouseContext);
    return true;
}

const unsigned char *keyState()
{
    return keyStateBytes.data();
}

void resetKeyState()
{
    keyStateBytes.fill(0);
}

bool dispatchNativeMessage(unsigned message, const CopyData *data, std::intptr_t *result)
{
    if (message != kCopyDataMessage || !copyDataCallback)
        return false;
    copyDataCallback(data, copyDataContext);
    if (result)
        *result = 1;
    return true;
}

void storeCopyDataCallback(CopyDataCallback callback, void *context)
{
    copyDataCallback = callback;
    copyDataContext = context;
}

bool init(unsigned char value)
{
    buildTables(value);
    return installPlatformHooks();
}

void setKeyboardCallback(KeyboardCallback callback, void *context)
{
    keyboardCallback = callback;
    keyboardContext = context;
}

void setMouseCallback(MouseCallback callback, void *context)
{
    mouseCallback = callback;
    mouseContext = context;
}

void removeHooks()
{
    removePlatformHooks();
}

} // namespace InputHook
