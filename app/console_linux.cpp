#include "app/console.h"

// Standard output and error are the terminal's already.
void console::useParentConsole()
{
}
