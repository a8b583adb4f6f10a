// Linux backend of the input hooks: XInput2 raw key and button events of the
// whole desktop, read on a display connection of our own so that they arrive
// whichever window has the focus. Nothing is grabbed, so no input is blocked
// or altered. Without an X display (none, or Wayland only) installation fails
// and the program runs on without captured input.

#include "app/inputhook_linux.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include "app/inputhook_core.h"

namespace InputHook {

bool scanCodeForEvdevKey(unsigned evdevCode, std::uint32_t *scanCode, std::uint32_t *flags)
{
    std::uint32_t scan = 0;
    std::uint32_t extended = 0;
    switch (evdevCode) {
    // Keys whose set-1 scan code carries the E0 prefix, or whose code the
    // hook tables know only in its extended form.
    case 54: scan = 0x36; extended = 1; break;    // right Shift
    case 69: scan = 0x45; extended = 1; break;    // Num Lock
    case 96: scan = 0x1C; extended = 1; break;    // keypad Enter
    case 97: scan = 0x1D; extended = 1; break;    // right Ctrl
    case 98: scan = 0x35; extended = 1; break;    // keypad /
    case 99: scan = 0x37; extended = 1; break;    // Print Screen
    case 100: scan = 0x38; extended = 1; break;   // right Alt
    case 102: scan = 0x47; extended = 1; break;   // Home
    case 103: scan = 0x48; extended = 1; break;   // Up
    case 104: scan = 0x49; extended = 1; break;   // Page Up
    case 105: scan = 0x4B; extended = 1; break;   // Left
    case 106: scan = 0x4D; extended = 1; break;   // Right
    case 107: scan = 0x4F; extended = 1; break;   // End
    case 108: scan = 0x50; extended = 1; break;   // Down
    case 109: scan = 0x51; extended = 1; break;   // Page Down
    case 110: scan = 0x52; extended = 1; break;   // Insert
    case 111: scan = 0x53; extended = 1; break;   // Delete
    case 119: scan = 0x45; break;                 // Pause
    case 125: scan = 0x5B; extended = 1; break;   // left Windows
    case 126: scan = 0x5C; extended = 1; break;   // right Windows
    case 127: scan = 0x5D; extended = 1; break;   // Menu
    case 183: case 184: case 185: case 186: case 187:
    case 188: case 189: case 190: case 191: case 192:
        scan = 0x64 + (evdevCode - 183);          // F13 to F22
        break;
    case 193: scan = 0x6E; break;                 // F23
    case 194: scan = 0x76; break;                 // F24
    default:
        // Below 84 (and 86 to 88) evdev numbers the keys by their plain
        // set-1 scan code.
        if ((evdevCode >= 1 && evdevCode <= 83) || (evdevCode >= 86 && evdevCode <= 88)) {
            scan = evdevCode;
            break;
        }
        return false;
    }
    *scanCode = scan;
    *flags = extended ? kFlagExtended : 0;
    return true;
}

bool mouseMessageForX11Button(unsigned button, bool isPress, unsigned *message)
{
    switch (button) {
    case 1: *message = isPress ? LeftButtonDown : LeftButtonUp; return true;
    case 2: *message = isPress ? MiddleButtonDown : MiddleButtonUp; return true;
    case 3: *message = isPress ? RightButtonDown : RightButtonUp; return true;
    // A wheel step is a press and a release; the press stands for the step.
    case 4: case 5:
        if (!isPress)
            return false;
        *message = MouseWheel;
        return true;
    case 6: case 7:
        if (!isPress)
            return false;
        *message = MouseHWheel;
        return true;
    case 8: case 9: *message = isPress ? XButtonDown : XButtonUp; return true;
    default: return false;
    }
}

namespace {

struct X11Capture
{
    Display *display = nullptr;
    int xiOpcode = 0;
    QSocketNotifier *notifier = nullptr;
};

X11Capture capture;
bool readingEvents = false;

bool selectFailed = false;
int recordSelectError(Display *, XErrorEvent *)
{
    selectFailed = true;
    return 0;
}

void handleRawEvent(Display *display, int evtype, const XIRawEvent *raw)
{
    const unsigned detail = unsigned(raw->detail);
    switch (evtype) {
    case XI_RawKeyPress:
    case XI_RawKeyRelease: {
        if (detail < 8)
            return;
        std::uint32_t scanCode = 0;
        std::uint32_t flags = 0;
        if (scanCodeForEvdevKey(detail - 8, &scanCode, &flags))
            keyEvent(scanCode, flags, evtype == XI_RawKeyPress);
        return;
    }
    case XI_RawButtonPress:
    case XI_RawButtonRelease: {
        unsigned message = 0;
        if (!mouseMessageForX11Button(detail, evtype == XI_RawButtonPress, &message))
            return;
        unsigned char code = 0;
        bool isDown = false;
        int x = 0;
        int y = 0;
        // Raw events carry no position; only reported buttons pay for the query.
        if (mouseButtonForMessage(message, &code, &isDown)) {
            Window root = 0;
            Window child = 0;
            int windowX = 0;
            int windowY = 0;
            unsigned int mask = 0;
            XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y,
                          &windowX, &windowY, &mask);
        }
        mouseEvent(message, x, y);
        return;
    }
    default:
        return;
    }
}

void readEvents()
{
    Display *display = capture.display;
    readingEvents = true;
    // XPending also counts events an earlier request read into Xlib's queue,
    // which the socket notifier would never announce.
    while (display && display == capture.display && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie *cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != capture.xiOpcode)
            continue;
        if (!XGetEventData(display, cookie))
            continue;
        const XIRawEvent raw = *static_cast<const XIRawEvent *>(cookie->data);
        const int evtype = cookie->evtype;
        XFreeEventData(display, cookie);
        // A callback may remove the hooks; the loop condition notices.
        handleRawEvent(display, evtype, &raw);
    }
    readingEvents = false;
}

bool selectRawEvents(Display *display)
{
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;

    // Xlib's default error handler ends the process; a refused selection
    // must only make the installation fail.
    selectFailed = false;
    XSync(display, False);
    int (*previous)(Display *, XErrorEvent *) = XSetErrorHandler(recordSelectError);
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    XSetErrorHandler(previous);
    return !selectFailed;
}

} // namespace

bool installPlatformHooks()
{
    removePlatformHooks();
    if (!QCoreApplication::instance())
        return false;   // no event loop to read the events with

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        qDebug() << "Input capture: no X display";
        return false;
    }
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError)
        || XIQueryVersion(display, &major, &minor) != Success
        || !selectRawEvents(display)) {
        qDebug() << "Input capture: X input extension 2 not available";
        XCloseDisplay(display);
        return false;
    }

    capture.display = display;
    capture.xiOpcode = opcode;
    capture.notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read);
    QObject::connect(capture.notifier, &QSocketNotifier::activated, capture.notifier,
                     [] { readEvents(); });
    // Events may already wait in Xlib's queue after the synchronous calls.
    readEvents();
    return true;
}

void removePlatformHooks()
{
    if (capture.notifier) {
        // Removal from inside a callback must not delete the notifier that
        // is delivering the event.
        capture.notifier->setEnabled(false);
        if (readingEvents)
            capture.notifier->deleteLater();
        else
            delete capture.notifier;
    }
    capture.notifier = nullptr;
    if (capture.display)
        XCloseDisplay(capture.display);
    capture.display = nullptr;
    capture.xiOpcode = 0;
}

} // namespace InputHook
