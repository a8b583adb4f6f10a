#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ (only when clang is installed),
# and runs each for a bounded time over a scratch copy of its committed seed
# corpus (fuzz/corpus/<target>). A crash, a hang (an input running longer
# than 10 s), a leak or any sanitizer report fails the run; the input is kept
# as build-fuzz/artifacts/<target>-* and belongs in a regression test.
#
#   FUZZ_SECONDS=20 FUZZ_JOBS=<cores> .ci/fuzz.sh [--build|--run] [target...]
#
# --build only builds, --run only runs what was built (test.sh builds while
# other tests run).
set -euo pipefail
steps=build,run
case "${1:-}" in
--build) steps=build; shift ;;
--run) steps=run; shift ;;
esac

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${FUZZ_SECONDS:-20}"
if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ not found, fuzz targets skipped (Debian packages clang, libclang-rt-14-dev)"
    exit 0
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
build="$root/build-fuzz"
if [ "$steps" != run ]; then
    build_start=$(date +%s)
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" \
        -DQUILL_FUZZ=ON -DQUILL_SANITIZE=address,undefined -DQUILL_BUILD_BENCH=OFF \
        "${launcher[@]}" >/dev/null
    cmake --build "$build" -j"$(nproc)" --target quill_fuzz
    echo "fuzz: build took $(($(date +%s) - build_start)) s"
fi
[ "$steps" != build ] || exit 0

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(cd "$root/fuzz/corpus" && ls -d fuzz_* | sort)
fi
rm -rf "$build/artifacts" "$build/corpus"
mkdir -p "$build/artifacts"

# One target's bounded run; its line of the table goes to $build/<target>.row.
fuzz_one() {   # target
    local t="$1"
    local seeds="$root/fuzz/corpus/$t"
    local work="$build/corpus/$t"
    local log="$build/$t.log"
    local row="$build/$t.row"
    mkdir -p "$work"
    local dict=()
    [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
    local start
    start=$(date +%s)
    rm -f "$row" "$build/$t.failed"
    # The first folder takes what the run finds; the committed seeds stay.
    # An allocation too big for the machine fails (returns null) as it does
    # for the program on a small machine, instead of ending the run: values
    # of the form @Variant(...) may announce billions of elements, which Qt
    # tries to reserve and copes with when it gets nothing. What the run then
    # does with the null (Qt's code or ours) is checked like everything else;
    # memory that is really used is still bounded by -rss_limit_mb.
    if ! ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1:max_allocation_size_mb=2048" \
         UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
         "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
             -malloc_limit_mb=4096 \
             -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" "${dict[@]}" \
             "$work" "$seeds" >"$log" 2>&1; then
        touch "$build/$t.failed"
    fi
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    printf '%-18s %10s %8s %8s %8s\n' "$t" "${runs:-?}" "$(( $(date +%s) - start ))" \
        "$(ls "$seeds" | wc -l)" "$(( $(ls "$work" | wc -l) + $(ls "$seeds" | wc -l) ))" >"$row"
}

# The targets are independent: one run per core at a time (each is
# single-threaded), so the wall time is about seconds x targets / cores.
jobs="${FUZZ_JOBS:-$(nproc)}"
for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    fuzz_one "$t" &
done
wait

status=0
printf '%-18s %10s %8s %8s %8s\n' target executions seconds seeds corpus
for t in "${targets[@]}"; do
    cat "$build/$t.row" 2>/dev/null || echo "$t: no result"
done
for t in "${targets[@]}"; do
    if [ -f "$build/$t.failed" ] || [ ! -f "$build/$t.row" ]; then
        echo "fuzz: $t failed; the input is in $build/artifacts:" >&2
        grep -E "ERROR|SUMMARY|runtime error|Test unit written" "$build/$t.log" >&2 \
            || tail -40 "$build/$t.log" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "fuzz: ok"
exit "$status"
