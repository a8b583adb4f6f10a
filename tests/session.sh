#!/bin/sh
# Runs one test command in a session of its own: a private X display (Xvfb on
# a free display number), a private D-Bus session bus (dbus-run-session) and
# private runtime and temporary folders. So a test gives the same result on a
# fresh machine with no desktop session as on a developer's desktop, never
# touches the developer's session, and tests can run side by side: nothing
# here is shared with another test.
#
#   tests/session.sh <command> [args...]
#
# Every ctest test gets it (see tests/CMakeLists.txt). QUILL_SESSION_SCREEN
# overrides the screen geometry (default 1280x1024x24).
set -eu

scratch="$(mktemp -d "${TMPDIR:-/tmp}/quill-session.XXXXXX")"
xvfb=""
cleanup() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# Xvfb picks a free display itself and writes its number once it accepts
# connections, so parallel sessions never race for one.
Xvfb -displayfd 3 -screen 0 "${QUILL_SESSION_SCREEN:-1280x1024x24}" -nolisten tcp \
    3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 </dev/null &
xvfb=$!
tries=0
while [ ! -s "$scratch/display" ]; do
    if ! kill -0 "$xvfb" 2>/dev/null || [ "$tries" -ge 600 ]; then
        echo "session.sh: Xvfb did not start:" >&2
        cat "$scratch/xvfb.log" >&2
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.05
done
DISPLAY=":$(tr -d '\n' <"$scratch/display")"
export DISPLAY

# Nothing of the caller's desktop session may reach the test: its bus, its
# Wayland compositor, its X cookie, its desktop's Qt theme plugins.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY XAUTHORITY \
    SESSION_MANAGER XDG_SESSION_TYPE XDG_CURRENT_DESKTOP DESKTOP_SESSION \
    QT_QPA_PLATFORMTHEME
# The temporary folder is open to all like /tmp: tests run some steps as an
# ordinary user, who must reach their files.
chmod 755 "$scratch"
mkdir -m 700 "$scratch/runtime"
mkdir -m 1777 "$scratch/tmp"
XDG_RUNTIME_DIR="$scratch/runtime"
TMPDIR="$scratch/tmp"
# Desktop settings written through GSettings stay in this process.
GSETTINGS_BACKEND=memory
# The simulated mouse's control socket, unless the test names its own:
# its default is one per user, which tests side by side would share.
SIMMOUSE_SOCKET="${SIMMOUSE_SOCKET:-$XDG_RUNTIME_DIR/simmouse.sock}"
export XDG_RUNTIME_DIR TMPDIR GSETTINGS_BACKEND SIMMOUSE_SOCKET

status=0
dbus-run-session -- "$@" || status=$?
exit "$status"
