#include "app/console.h"

#include <cstdio>
#include <windows.h>

void console::useParentConsole()
{
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;   // started from Explorer or a shortcut: nowhere to write
    FILE *unused = nullptr;
    freopen_s(&unused, "CONOUT$", "w", stdout);
    freopen_s(&unused, "CONOUT$", "w", stderr);
}
