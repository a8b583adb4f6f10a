#pragma once

// Where a command's texts go. The Windows executable is a window program
// with no console of its own; a command given in a console writes there.
// Platform files: console_win.cpp, console_linux.cpp.
namespace console {
void useParentConsole();
}
