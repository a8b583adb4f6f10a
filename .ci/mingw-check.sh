#!/usr/bin/env bash
# Cross-compiles the input capture core and its Windows hook backend, which
# need no Qt, with MinGW-w64, and links them into a small Windows program;
# then compiles every other source file that holds Windows code (*_win.cpp
# and the files with Q_OS_WIN or _WIN32 branches) for syntax only against
# Debian's Qt 6 headers. So code built only on Windows is checked on every
# run. Installs nothing: needs g++-mingw-w64-x86-64 and qt6-base-dev.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The POSIX thread model, as Qt's own MinGW builds use: the standard
# library's mutexes and threads exist there.
cxx="${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}"
if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "mingw-check: $cxx not found (Debian package g++-mingw-w64-x86-64)" >&2
    exit 1
fi

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
flags=(-std=c++17 -Wall -Wextra -I"$root")

# The compiles are independent: up to one per core at a time, each with its
# own log, shown in order once all are done.
jobs="$(nproc)"
count=0
spawn() {   # what command...
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    count=$((count + 1))
    local n=$count
    echo "mingw-check: $1" >"$out/log.$n"
    shift
    ( "$@" >>"$out/log.$n" 2>&1 || touch "$out/failed.$n" ) &
}
collect() {   # fails when any spawned command failed
    wait
    local n
    for ((n = 1; n <= count; n++)); do cat "$out/log.$n"; done
    ! ls "$out"/failed.* >/dev/null 2>&1
}

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
for src in app/inputhook.cpp app/inputhook_win.cpp; do
    spawn "$src" "$cxx" "${flags[@]}" -c "$root/$src" -o "$out/$(basename "$src" .cpp).o"
done
spawn "inputhook check program" "$cxx" "${flags[@]}" -c "$out/main.cpp" -o "$out/main.o"

# Syntax only: the Linux build of Qt's headers serves (nothing is linked).
# The include folders are system folders, so only our code is warned about.
qt_inc="$(pkg-config --variable=includedir Qt6Core 2>/dev/null || true)"
[ -d "$qt_inc" ] || qt_inc=/usr/include/x86_64-linux-gnu/qt6
if [ ! -f "$qt_inc/QtCore/qglobal.h" ]; then
    echo "mingw-check: Qt 6 headers not found (Debian package qt6-base-dev)" >&2
    exit 1
fi
stubs="$out/include"
mkdir -p "$stubs"
# <hidapi.h> and <hidapi/hidapi.h> without the host's /usr/include.
ln -s /usr/include/hidapi "$stubs/hidapi"
syntax=(-std=c++17 -fsyntax-only -Wall -Wextra -I"$root" -I"$root/tools/simmouse"
        -isystem "$stubs" -isystem "$stubs/hidapi" -isystem "$qt_inc")
for d in "$qt_inc"/Qt*/; do
    syntax+=(-isystem "${d%/}")
done

cd "$root"
mapfile -t windows_sources < <(
    find . \( -name 'build*' -o -name '.git' -o -name 'fuzz-*' \) -prune -o -name '*.cpp' -print \
        | sed 's|^\./||' | sort \
        | while read -r f; do
              case "$f" in
              *_win.cpp) echo "$f" ;;
              *) grep -qE 'Q_OS_WIN|_WIN32' "$f" && echo "$f" ;;
              esac
          done)
# moc output a file includes is empty here: syntax needs no meta-objects.
for src in "${windows_sources[@]}"; do
    { grep -oE '#include "[^"]*(\.moc|moc_[^"]*\.cpp)"' "$src" || true; } \
        | sed 's/#include "//; s/"$//' | while read -r moc; do : > "$stubs/$moc"; done
done
for src in "${windows_sources[@]}"; do
    spawn "syntax $src" "$cxx" "${syntax[@]}" "$src"
done
if ! collect; then
    echo "mingw-check: Windows code does not compile" >&2
    exit 1
fi
"$cxx" -o "$out/inputhook-check.exe" "$out/main.o" "$out/inputhook.o" "$out/inputhook_win.o" -luser32
echo "mingw-check: ok"
