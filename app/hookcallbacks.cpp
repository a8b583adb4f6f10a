#include "app/hookcallbacks.h"

#include <QMessageBox>

#include "app/myqquickview.h"
#include "app/widget.h"

namespace {
constexpr quintptr kWarningTag = 0x250F;
}

bool warningTextFromCopyData(const CopyData *data, QString *text)
{
    if (!data || data->dwData != kWarningTag || !data->lpData)
        return false;
    // Never read past the sender's cbData bytes: the text ends at the first
    // NUL inside them or at their end.
    const char *bytes = static_cast<const char *>(data->lpData);
    const qsizetype length = qstrnlen(bytes, data->cbData);
    *text = QString::fromUtf8(bytes, length);
    // Only a length that matches the text exactly (terminator not counted)
    // is shown; a count that includes the terminator is not.
    return quint64(data->cbData) == quint64(text->toUtf8().size());
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
