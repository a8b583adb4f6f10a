// Windows backend of the input hooks: low-level keyboard and mouse hooks of
// the whole desktop. The procedures run on the installing (GUI) thread inside
// its message loop, only look up tables and call the callbacks, and always
// pass the event on unchanged. Free of Qt.

#include "app/inputhook_core.h"

namespace InputHook {

namespace {

HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;

static_assert(LeftButtonDown == WM_LBUTTONDOWN && LeftButtonUp == WM_LBUTTONUP
                  && RightButtonDown == WM_RBUTTONDOWN && RightButtonUp == WM_RBUTTONUP
                  && MiddleButtonDown == WM_MBUTTONDOWN && MiddleButtonUp == WM_MBUTTONUP
                  && MouseWheel == WM_MOUSEWHEEL && kCopyDataMessage == WM_COPYDATA,
              "mouse messages must keep their Windows numbers");
static_assert(kFlagExtended == LLKHF_EXTENDED && kFlagAltDown == LLKHF_ALTDOWN,
              "hook flags must keep their Windows values");

LRESULT CALLBACK keyboardProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    // A negative code must be passed on untouched.
    if (code >= 0 && lParam) {
        const auto *event = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        const bool isDown = code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN);
        keyEvent(event->scanCode, event->flags, isDown);
    }
    return CallNextHookEx(keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK mouseProcedure(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && lParam) {
        const auto *event = reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
        mouseEvent(unsigned(wParam), int(event->pt.x), int(event->pt.y));
    }
    return CallNextHookEx(mouseHook, code, wParam, lParam);
}

} // namespace

bool installPlatformHooks()
{
    if (keyboardHook || mouseHook)
        removePlatformHooks();
    HINSTANCE module = GetModuleHandleW(nullptr);
    keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardProcedure, module, 0);
    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, mouseProcedure, module, 0);
    if (keyboardHook && mouseHook)
        return true;
    // Half an installation would still report events although we said it
    // failed; take back whichever hook did get installed.
    removePlatformHooks();
    return false;
}

void removePlatformHooks()
{
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    keyboardHook = nullptr;
    mouseHook = nullptr;
}

} // namespace InputHook
