#!/usr/bin/env bash
# Runs the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# and the thread-heavy suites (search, connection) under
# ThreadSanitizer. Any report fails the run, and so does a planted race that
# ThreadSanitizer does not report: the suppressions must not hide races in
# the code the project runs on threads.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" sanitizers
supp="$root/tools/sanitizers"

asan="${ASAN_BUILD_DIR:-$root/build-asan}"
BUILD_DIR="$asan" BUILD_TYPE=Debug "$root/scripts/build.sh" -DZR_SANITIZE=ON -DZR_BUILD_BENCHMARKS=OFF
(
    cd "$asan"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$supp/lsan.supp"
    ctest --output-on-failure --parallel "$(nproc)" --timeout 900 -LE e2e
)

tsan="${TSAN_BUILD_DIR:-$root/build-tsan}"
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZR_TSAN=ON -DZR_BUILD_BENCHMARKS=OFF \
    -DZR_WERROR="${ZR_WERROR:-OFF}" >/dev/null
(
    cd "$tsan"
    # Only what the thread-heavy suites need.
    mapfile -t threaded < <(ctest -N -L threads | sed -n 's/^ *Test *#[0-9]*: //p')
    [ ${#threaded[@]} -gt 0 ] || { echo "no suites labelled threads" >&2; exit 1; }
    targets=()
    for t in "${threaded[@]}"; do targets+=(--target "tst_$t"); done
    cmake --build . --parallel "$(nproc)" "${targets[@]}" --target planted_race
    export TSAN_OPTIONS="suppressions=$supp/tsan.supp halt_on_error=1 second_deadlock_stack=1"
    ctest --output-on-failure --timeout 900 -L threads
    for race in workers loop; do
        log="planted_race_$race.log"
        if ./tools/sanitizers/planted_race "$race" >"$log" 2>&1 || ! grep -q 'ThreadSanitizer: data race' "$log"; then
            cat "$log" >&2
            echo "ThreadSanitizer did not report the planted race ($race): tools/sanitizers/tsan.supp hides it" >&2
            exit 1
        fi
    done
    echo "ThreadSanitizer reported both planted races"
)
