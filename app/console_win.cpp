#include "app/console.h"

#include <cstdio>
#include <io.h>
#include <windows.h>

void console::useParentConsole()
{
    // Redirected (to a file, a pipe): the streams work already.
    const bool outFree = _fileno(stdout) < 0;
    const bool errFree = _fileno(stderr) < 0;
    if ((!outFree && !errFree) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;   // also when started from Explorer or a shortcut: nowhere to write
    FILE *unused = nullptr;
    if (outFree)
        freopen_s(&unused, "CONOUT$", "w", stdout);
    if (errFree)
        freopen_s(&unused, "CONOUT$", "w", stderr);
}
