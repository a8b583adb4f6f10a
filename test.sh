#!/usr/bin/env bash
# Runs every test: the cross-compile check of the Windows-only code, then the
# whole ctest suite, then the same suite built with sanitizers
# (.ci/sanitize.sh) and a bounded run of the fuzz targets (.ci/fuzz.sh).
# QUILL_QUICK=1 runs the first two only. Each part's time is printed.
#
# Each test brings its own X display and D-Bus session (tests/session.sh), so
# independent tests run side by side: QUILL_TEST_JOBS at a time, by default
# one more than the cores (many tests wait on timers more than they compute).
# Meanwhile the sanitizer and fuzz builds compile at the lowest CPU priority
# on what the tests leave over; their logs are in build/test-logs/.
set -euo pipefail
cd "$(dirname "$0")"
root="$PWD"

# The caller's desktop session stays out of the tests: a test that leaned on
# it would pass on a desktop and fail on a fresh machine.
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS XAUTHORITY
export QUILL_TEST_JOBS="${QUILL_TEST_JOBS:-$(($(nproc) + 1))}"

timed() {   # label command...
    local label="$1" start status=0
    shift
    start=$(date +%s)
    "$@" || status=$?
    echo "test.sh: $label took $(($(date +%s) - start)) s"
    return "$status"
}

logs="$root/build/test-logs"
builder=""
stop_builder() {
    if [ -n "$builder" ] && kill -0 "$builder" 2>/dev/null; then
        kill -TERM -- "-$builder" 2>/dev/null || true
        wait "$builder" 2>/dev/null || true
    fi
}
trap stop_builder EXIT

# The builds the later parts need, one after the other, each leaving
# <step>.ok or <step>.failed beside its log. At the lowest priority while
# tests run, so they hardly take a core a test wants; at ours while we wait.
own_nice="$(nice)"
start_builds() {
    rm -rf "$logs"
    mkdir -p "$logs"
    set -m   # its own process group, so stopping it stops its compilers too
    (
        renice -n 19 -p "$BASHPID" >/dev/null
        for step in asan-build tsan-build fuzz-build; do
            case "$step" in
            fuzz-build) cmd=(.ci/fuzz.sh --build) ;;
            *) cmd=(.ci/sanitize.sh "$step") ;;
            esac
            if "${cmd[@]}" >"$logs/$step.log" 2>&1 </dev/null; then
                touch "$logs/$step.ok"
            else
                touch "$logs/$step.failed"
                exit 1
            fi
        done
    ) &
    builder=$!
    set +m
}
builder_nice() {   # niceness; raising it back needs root (as in CI), else it stays
    renice -n "$1" -g "$builder" >/dev/null 2>&1 || true
}
await_build() {   # step
    builder_nice "$own_nice"
    while [ ! -e "$logs/$1.ok" ] && [ ! -e "$logs/$1.failed" ]; do
        if ! kill -0 "$builder" 2>/dev/null; then
            break
        fi
        sleep 1
    done
    builder_nice 19
    cat "$logs/$1.log" 2>/dev/null || true
    if [ ! -e "$logs/$1.ok" ]; then
        echo "test.sh: $1 failed" >&2
        return 1
    fi
}

all_start=$(date +%s)
quick="${QUILL_QUICK:-0}"
[ "$quick" = 1 ] || start_builds
timed "MinGW check" .ci/mingw-check.sh
timed "test suite" ctest --test-dir build --output-on-failure --timeout 600 \
    -j"$QUILL_TEST_JOBS" "$@"
if [ "$quick" != 1 ]; then
    timed "waiting for the AddressSanitizer build" await_build asan-build
    timed "AddressSanitizer suite" .ci/sanitize.sh asan-test
    timed "waiting for the ThreadSanitizer build" await_build tsan-build
    timed "ThreadSanitizer tests" .ci/sanitize.sh tsan-test
    timed "waiting for the fuzz build" await_build fuzz-build
    timed "fuzz runs" .ci/fuzz.sh --run
fi
echo "test.sh: all passed in $(($(date +%s) - all_start)) s"
