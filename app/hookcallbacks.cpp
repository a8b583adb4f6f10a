#include "app/hookcallbacks.h"

#include <QMessageBox>

#include "app/myqquickview.h"
#include "app/widget.h"

namespace {
constexpr quintptr kWarningTag = 0x250F;
}

bool warningTextFromCopyData(const CopyData *data, QString *text)
{
    // Only the tagged message; its text is read within cbData bytes and must
    // be exactly that long (a count that includes the terminator is not).
    return data && data->dwData == kWarningTag && InputHook::copyDataText(data, text);
}

void keyboardHookCallback(uchar usbCode, bool isDown, void *context)
{
    auto *window = static_cast<Widget *>(context);
    if (!window || !window->view())
        return;
    window->view()->forwardKeyboard(isDown, usbCode);
}

void mouseHookCallback(uchar button, bool isDown, int x, int y, void *context)
{
    auto *window = static_cast<Widget *>(context);
    if (!window || !window->view())
        return;
    window->view()->forwardMouse(isDown, button, uint(x), uint(y));
}

void copyDataCallback(const CopyData *data, void *context)
{
    auto *window = static_cast<Widget *>(context);
    if (!window)
        return;
    QString text;
    if (!warningTextFromCopyData(data, &text))
        return;
    QMessageBox::warning(nullptr, window->windowTitle(), text, QMessageBox::Ok, QMessageBox::NoButton);
}
