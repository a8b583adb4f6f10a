#pragma once

// Kept free of Qt so that the key tables and the Windows hook procedures
// also build on their own with a plain Windows cross compiler.
#include <cstdint>

class QCoreApplication;
class QString;

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
using CopyData = COPYDATASTRUCT;
#else
// Same shape as the Windows COPYDATASTRUCT, so the callback is one piece of code.
struct CopyData
{
    std::uintptr_t dwData;
    std::uint32_t cbData;
    const void *lpData;
};
#endif

// Global keyboard and mouse capture for macro recording and key capture.
// The hook procedures are plain functions, so the state is process-wide.
// Everything here runs on the GUI thread.
namespace InputHook {

using KeyboardCallback = void (*)(unsigned char usbCode, bool isDown, void *context);
using MouseCallback = void (*)(unsigned char button, bool isDown, int x, int y, void *context);
using CopyDataCallback = void (*)(const CopyData *data, void *context);

// Fills the key tables (value selects the usage of virtual key 0xDC) and
// installs the hooks; true when both are installed. When they cannot both
// be installed, none stays installed and no event is reported.
bool init(unsigned char value);
void setKeyboardCallback(KeyboardCallback callback, void *context);
void setMouseCallback(MouseCallback callback, void *context);
// Also installs the application-wide native event filter for WM_COPYDATA.
void setCopyDataCallback(CopyDataCallback callback, QCoreApplication *app, void *context);
void removeHooks();

// The UTF-8 text a WM_COPYDATA message carries, read within its cbData bytes
// only. The text ends at the first NUL inside them or at their end; true only
// when cbData equals the text's length encoded again as UTF-8, so a count
// that includes the terminator is refused. The tag (dwData) is not looked at.
bool copyDataText(const CopyData *data, QString *out);

} // namespace InputHook
