#!/usr/bin/env bash
# Sets up, builds and runs every test twice: a normal build (build/) and an
# AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/).
# Any test failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

export CCACHE_BASEDIR=$root
jobs=${JOBS:-2}

run_suite() {
    local dir=$1; shift
    echo "== configure and build $dir"
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    echo "== tests in $dir"
    local log=$root/$dir/ctest.log
    set +e
    (cd "$dir" && ctest --output-on-failure -j"$jobs" --output-log "$log")
    local status=$?
    set -e
    if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: UndefinedBehaviorSanitizer' "$log"; then
        echo "Sanitizer report in $dir:"
        grep -nE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$log" | head -20
        status=1
    fi
    return $status
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DORVIK_SANITIZE=ON

echo "All tests passed in both builds."
