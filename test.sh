#!/bin/sh
# Runs every test: the cross-compile check of the Windows-only code, then the
# whole ctest suite, then the same suite built with sanitizers
# (.ci/sanitize.sh) and a bounded run of the fuzz targets (.ci/fuzz.sh).
# Each test brings its own X display and D-Bus session (tests/session.sh), so
# independent tests run side by side (QUILL_TEST_JOBS at a time, default one
# more than the cores: many tests wait on timers more than they compute).
# QUILL_QUICK=1 runs the first two only. Each part's time is printed.
set -eu
cd "$(dirname "$0")"

# The caller's desktop session stays out of the tests: a test that leaned on
# it would pass on a desktop and fail on a fresh machine.
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS XAUTHORITY
QUILL_TEST_JOBS="${QUILL_TEST_JOBS:-$(($(nproc) + 1))}"
export QUILL_TEST_JOBS

timed() {   # label command...
    label="$1"
    shift
    start=$(date +%s)
    status=0
    "$@" || status=$?
    echo "test.sh: $label took $(($(date +%s) - start)) s"
    return "$status"
}

all_start=$(date +%s)
timed "MinGW check" .ci/mingw-check.sh
timed "test suite" ctest --test-dir build --output-on-failure --timeout 600 \
    -j"$QUILL_TEST_JOBS" "$@"
if [ "${QUILL_QUICK:-0}" != 1 ]; then
    timed "sanitizer suites" .ci/sanitize.sh
    timed "fuzz runs" .ci/fuzz.sh
fi
echo "test.sh: all passed in $(($(date +%s) - all_start)) s"
