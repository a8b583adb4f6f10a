#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehavior-
# Sanitizer in build-asan/ and runs every ctest test there (benchmarks are not
# built); then ThreadSanitizer over the listener and detection tests in
# build-tsan/. Any report from our code fails the run: the sanitizers stop
# the process, and every report is also written to a log file, so one from a
# process a test starts (the real program) is not lost. Suppressions, each
# with its reason, cover findings inside Qt, GLib and the system libraries
# only: .ci/lsan.supp, .ci/ubsan.supp, tests/detect/tsan.supp.
#
#   .ci/sanitize.sh [asan|tsan]...   (default: both)
#
# asan-build, asan-test, tsan-build and tsan-test run one half of a stage
# (test.sh builds while the plain suite runs).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
# Tests at a time: each has its own display and bus, and many of them wait
# on timers more than they compute.
test_jobs="${QUILL_TEST_JOBS:-$((jobs + 1))}"
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(asan tsan)

configure() {   # folder sanitizer
    cmake -S "$root" -B "$root/$1" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DCMAKE_C_FLAGS_DEBUG="-O1 -g" -DQUILL_SANITIZE="$2" -DQUILL_BUILD_BENCH=OFF \
        "${launcher[@]}" >/dev/null
}

# Runs ctest in a build folder; fails when a test fails or any sanitizer
# report was written.
run_tests() {   # folder ctest-args...
    local dir="$1"
    shift
    local reports="$root/$dir/sanitizer-reports"
    rm -rf "$reports"
    mkdir -p "$reports"
    local status=0
    (
        # The screens render with Qt Quick's software backend here: Mesa's
        # software OpenGL driver, which Xvfb would have Qt load, keeps memory
        # until exit and unloads itself first, so LeakSanitizer could neither
        # name nor suppress it. Our code does not draw; nothing of ours is lost.
        export QT_QUICK_BACKEND=software
        # An allocation the machine cannot give returns null, as malloc does
        # for the program (settings files may announce absurd sizes; Qt copes).
        export ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:allocator_may_return_null=1:max_allocation_size_mb=4096"
        export LSAN_OPTIONS="suppressions=$root/.ci/lsan.supp:print_suppressions=0"
        export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1:suppressions=$root/.ci/ubsan.supp"
        export TSAN_OPTIONS="log_path=$reports/tsan:halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/detect/tsan.supp"
        # Every test brings its own display and session bus (tests/session.sh);
        # none of the caller's may stand in for them.
        unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS XAUTHORITY
        ctest --test-dir "$root/$dir" --output-on-failure --timeout 900 "$@"
    ) || status=1
    # A report names an error; a log with only the allocator's notes of
    # allocations it refused (see ASAN_OPTIONS) is no finding.
    local found
    found="$(grep -lE 'ERROR|runtime error|SUMMARY|ThreadSanitizer' "$reports"/* 2>/dev/null || true)"
    if [ -n "$found" ]; then
        echo "sanitize: reports in $dir:" >&2
        for f in $found; do
            echo "---- $f" >&2
            cat "$f" >&2
        done
        status=1
    fi
    return $status
}

took() {   # label start-seconds
    echo "sanitize: $1 took $(($(date +%s) - $2)) s"
}

asan_build() {
    local start
    start=$(date +%s)
    configure build-asan address,undefined
    cmake --build "$root/build-asan" -j"$jobs"
    took "AddressSanitizer build" "$start"
}
asan_test() {
    echo "sanitize: AddressSanitizer + UndefinedBehaviorSanitizer, whole suite"
    local start
    start=$(date +%s)
    run_tests build-asan -j"$test_jobs"
    took "AddressSanitizer suite" "$start"
}
tsan_build() {
    local start
    start=$(date +%s)
    configure build-tsan thread
    local targets
    mapfile -t targets < <(ctest --test-dir "$root/build-tsan" -N -R '^(detect_|device_queue)' \
                               | sed -n 's/^ *Test *#[0-9]*: //p')
    cmake --build "$root/build-tsan" -j"$jobs" --target "${targets[@]}"
    took "ThreadSanitizer build" "$start"
}
tsan_test() {
    echo "sanitize: ThreadSanitizer, listener, detection and device-thread tests"
    local start
    start=$(date +%s)
    run_tests build-tsan -j"$test_jobs" -R '^(detect_|device_queue)'
    took "ThreadSanitizer tests" "$start"
}

for stage in "${stages[@]}"; do
    case "$stage" in
    asan) asan_build; asan_test ;;
    tsan) tsan_build; tsan_test ;;
    asan-build) asan_build ;;
    asan-test) asan_test ;;
    tsan-build) tsan_build ;;
    tsan-test) tsan_test ;;
    *)
        echo "sanitize: unknown stage $stage" >&2
        exit 2
        ;;
    esac
done
echo "sanitize: ok"
