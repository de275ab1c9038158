#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in their own build folder, then runs each for
# FUZZ_SECONDS seconds (default 60). FUZZ_SECONDS=0 only replays the seeds in
# tests/fuzz/corpus/<target>/ (a quick regression run). Arguments name the
# targets to run; default: every target tests/fuzz/CMakeLists.txt declares.
# Crashing inputs are kept in $FUZZ_BUILD_DIR/artifacts/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" fuzz

build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DZR_FUZZ=ON -DZR_BUILD_TESTS=OFF -DZR_BUILD_BENCHMARKS=OFF -DZR_WERROR="${ZR_WERROR:-OFF}" >/dev/null

if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < "$build/fuzz_targets.txt"
fi
nice cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tools/sanitizers/lsan.supp"

failed=()
for t in "${targets[@]}"; do
    binary="$build/tests/fuzz/fuzz_$t"
    seeds="$root/tests/fuzz/corpus/$t"
    mkdir -p "$seeds" "$build/corpus/$t" "$build/artifacts/$t"
    options=(-timeout=10 -rss_limit_mb=4096 -print_final_stats=1 "-artifact_prefix=$build/artifacts/$t/")
    [ -f "$root/tests/fuzz/$t.dict" ] && options+=("-dict=$root/tests/fuzz/$t.dict")
    log="$build/fuzz_$t.log"
    if [ "$seconds" = 0 ]; then
        echo "== $t: replaying $(find "$seeds" -maxdepth 1 -type f | wc -l) seeds"
    else
        echo "== $t: fuzzing for $seconds s"
    fi
    if [ "$seconds" = 0 ]; then
        run=("$binary" "${options[@]}" -runs=0 "$seeds")
    else
        # New inputs go to the build's corpus, not to the seeds in the tree.
        run=(nice "$binary" "${options[@]}" -max_total_time="$seconds" "$build/corpus/$t" "$seeds")
    fi
    if "${run[@]}" >"$log" 2>&1; then
        grep -E '^(#[0-9]+ +DONE|Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb|stat::new_units_added)' "$log" || true
    else
        failed+=("$t")
        tail -n 40 "$log"
        echo "== $t FAILED; log: $log"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]}"
    exit 1
fi
echo "All fuzz targets clean."
