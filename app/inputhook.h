#pragma once

#include <QtGlobal>
#include <cstdint>

class QCoreApplication;

#ifdef Q_OS_WIN
#include <windows.h>
using CopyData = COPYDATASTRUCT;
#else
// Same shape as the Windows COPYDATASTRUCT, so the callback is one piece of code.
struct CopyData
{
    quintptr dwData;
    quint32 cbData;
    const void *lpData;
};
#endif

// Global keyboard and mouse capture for macro recording and key capture.
// The hook procedures are plain functions, so the state is process-wide.
namespace InputHook {

using KeyboardCallback = void (*)(uchar usbCode, bool isDown, void *context);
using MouseCallback = void (*)(uchar button, bool isDown, int x, int y, void *context);
using CopyDataCallback = void (*)(const CopyData *data, void *context);

// Fills the key tables (value selects the usage of virtual key 0xDC) and
// installs the hooks; true when both are installed.
bool init(uchar value);
void setKeyboardCallback(KeyboardCallback callback, void *context);
void setMouseCallback(MouseCallback callback, void *context);
// Also installs the application-wide native event filter for WM_COPYDATA.
void setCopyDataCallback(CopyDataCallback callback, QCoreApplication *app, void *context);
void removeHooks();

} // namespace InputHook
