#pragma once

// The platform-independent part of the input hooks: key tables, key state,
// callbacks and the event functions the platform backends call. Free of Qt.

#include <cstddef>
#include <cstdint>

#include "app/inputhook.h"

namespace InputHook {

// Bits of the keyboard hook's flags that the tables look at.
constexpr unsigned kFlagExtended = 0x01;
constexpr unsigned kFlagAltDown = 0x20;

// Window message numbers of the mouse hook (the Windows values).
enum MouseMessage : unsigned {
    MouseMove = 0x0200,
    LeftButtonDown = 0x0201,
    LeftButtonUp = 0x0202,
    LeftButtonDoubleClick = 0x0203,
    RightButtonDown = 0x0204,
    RightButtonUp = 0x0205,
    RightButtonDoubleClick = 0x0206,
    MiddleButtonDown = 0x0207,
    MiddleButtonUp = 0x0208,
    MiddleButtonDoubleClick = 0x0209,
    MouseWheel = 0x020A,
    XButtonDown = 0x020B,
    XButtonUp = 0x020C,
    MouseHWheel = 0x020E,
};

constexpr unsigned kCopyDataMessage = 0x004A;   // WM_COPYDATA

constexpr unsigned char kLeftButtonCode = 0xF0;
constexpr unsigned char kRightButtonCode = 0xF1;
constexpr unsigned char kMiddleButtonCode = 0xF2;

struct ScanCodeRow
{
    std::uint8_t scanCode;
    bool extended;
    std::uint8_t virtualKey;
    std::uint8_t usage;
};

struct VirtualKeyRow
{
    std::uint8_t virtualKey;
    std::uint8_t usage;
};

// The key table: one row per physical key position the hooks know.
extern const ScanCodeRow kScanCodeRows[];
extern const std::size_t kScanCodeRowCount;
// Virtual keys that no scan code reaches but that still have a usage.
extern const VirtualKeyRow kExtraVirtualKeys[];
extern const std::size_t kExtraVirtualKeyCount;

// Fills scanCodeMap and virtualKeyMap; value selects the usage of virtual
// key 0xDC (0x31 for 0, 0x32 otherwise). Until then no key is known.
void buildTables(unsigned char value);
// scanCodeMap: key is scan code * 256 + extended flag; 0 when absent.
unsigned char scanCodeToVirtualKey(unsigned key);
// virtualKeyMap; 0 when absent.
unsigned char virtualKeyToUsage(unsigned char virtualKey);
// The usage a key event stands for, with the Break and Alt + Print Screen
// exceptions; 0 when the key is not reported. scanCode is the hook's 32-bit
// value (above 255 counts as 0), flags the hook's flags.
unsigned char usageForKey(std::uint32_t scanCode, std::uint32_t flags);

// One keyboard hook event. Reports a change of the key's state through the
// keyboard callback; true when the state changed.
bool keyEvent(std::uint32_t scanCode, std::uint32_t flags, bool isDown);
// One mouse hook event. Reports the three main buttons' presses and releases
// through the mouse callback; true when the message is one of them.
bool mouseEvent(unsigned message, int x, int y);
// Mouse button table: code and direction of a button message.
bool mouseButtonForMessage(unsigned message, unsigned char *code, bool *isDown);

// One byte per usage, 1 while that key is down.
const unsigned char *keyState();
void resetKeyState();

// The application's native message filter: hands WM_COPYDATA to the callback
// and answers it as handled (result 1); true when handled.
bool dispatchNativeMessage(unsigned message, const CopyData *data, std::intptr_t *result);
// Stores the WM_COPYDATA callback without touching the application object.
void storeCopyDataCallback(CopyDataCallback callback, void *context);

// Backend seam (one of inputhook_win.cpp / inputhook_linux.cpp): installs
// both hooks, removing any installed ones first; false leaves none installed.
bool installPlatformHooks();
void removePlatformHooks();

} // namespace InputHook
