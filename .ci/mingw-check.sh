#!/usr/bin/env bash
# Cross-compiles the input capture core and its Windows hook backend, which
# need no Qt, with MinGW-w64, and links them into a small Windows program, so
# that the code compiled only on Windows is checked on every run. Installs
# nothing: needs the Debian package g++-mingw-w64-x86-64.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cxx="${MINGW_CXX:-x86_64-w64-mingw32-g++}"
if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "mingw-check: $cxx not found (Debian package g++-mingw-w64-x86-64)" >&2
    exit 1
fi

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
flags=(-std=c++17 -Wall -Wextra -I"$root")

for src in app/inputhook.cpp app/inputhook_win.cpp; do
    echo "mingw-check: $src"
    "$cxx" "${flags[@]}" -c "$root/$src" -o "$out/$(basename "$src" .cpp).o"
done

# Every symbol the core needs must come from these two files and user32.
cat > "$out/main.cpp" <<'CPP'
#include "app/inputhook_core.h"
static void onKey(unsigned char, bool, void *) {}
static void onMouse(unsigned char, bool, int, int, void *) {}
int main()
{
    InputHook::setKeyboardCallback(onKey, nullptr);
    InputHook::setMouseCallback(onMouse, nullptr);
    const bool installed = InputHook::init(0);
    InputHook::keyEvent(0x1E, 0, true);
    InputHook::mouseEvent(InputHook::LeftButtonDown, 1, 2);
    InputHook::removeHooks();
    return installed ? 0 : 1;
}
CPP
"$cxx" "${flags[@]}" -c "$out/main.cpp" -o "$out/main.o"
"$cxx" -o "$out/inputhook-check.exe" "$out/main.o" "$out/inputhook.o" "$out/inputhook_win.o" -luser32
echo "mingw-check: ok"
