#pragma once

#include <QtGlobal>

#include "app/inputhook.h"

// The callbacks the entry function registers with the input hooks; each gets
// the main window as its context and does nothing without one.
void keyboardHookCallback(uchar usbCode, bool isDown, void *context);
void mouseHookCallback(uchar button, bool isDown, int x, int y, void *context);
void copyDataCallback(const CopyData *data, void *context);

// The text of a tagged WM_COPYDATA warning, read within cbData bytes only;
// false when the tag differs or cbData is not exactly the text's length.
class QString;
bool warningTextFromCopyData(const CopyData *data, QString *text);
