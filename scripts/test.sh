#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
# SPDX-License-Identifier: MIT
# Sets up, builds and runs every test twice: a normal build (build/) and an
# AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/); then the
# tests that involve the library's threads under ThreadSanitizer (build-tsan/)
# and the description loader under libFuzzer for ORVIK_FUZZ_SECONDS (default
# 60; build-fuzz/). Between the first two, the style check (clang-format and
# clang-tidy, scripts/check-style.sh). Any test failure, sanitizer report,
# fuzzer finding or style finding fails the run. Each stage prints how long
# it took.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

# Paths relative to the checkout and the working folder left out of the hash:
# another clone of the project on this machine reuses what one compiled.
export CCACHE_BASEDIR=$root
export CCACHE_NOHASHDIR=true
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

timings=()
stage_start=$SECONDS
stage_done() {
    timings+=("$(printf '%-28s %4d s' "$1" $((SECONDS - stage_start)))")
    stage_start=$SECONDS
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage_done "normal build and tests"

# Every C++ file as clang-format writes it, clang-tidy silent on the sources.
echo "== style"
JOBS=$jobs scripts/check-style.sh build
stage_done "format and clang-tidy"

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
# The soak test runs 8 s per camera in the normal build and 4 s under each
# sanitizer: about a minute in all.
export ORVIK_SOAK_SECONDS=${ORVIK_SOAK_SECONDS:-4}
run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DORVIK_SANITIZE=ON
stage_done "ASan+UBSan build and tests"

# ThreadSanitizer: only the tests labelled "threads" (tests/CMakeLists.txt),
# and only what they need is built. scripts/tsan.supp says what it may hold.
echo "== configure and build build-tsan (thread tests)"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVIK_TSAN=ON >/dev/null
cmake --build build-tsan --target thread-tests -j"$jobs"
echo "== thread tests in build-tsan"
tsan_log=$root/build-tsan/ctest.log
set +e
(cd build-tsan && TSAN_OPTIONS="suppressions=$root/scripts/tsan.supp:second_deadlock_stack=1" \
    ctest -L threads --output-on-failure -j"$jobs" --output-log "$tsan_log")
tsan_status=$?
set -e
if grep -q 'WARNING: ThreadSanitizer' "$tsan_log"; then
    echo "ThreadSanitizer report in build-tsan:"
    grep -n 'SUMMARY: ThreadSanitizer' "$tsan_log" | head -20
    tsan_status=1
fi
[ $tsan_status -eq 0 ] || exit $tsan_status
stage_done "TSan build and thread tests"

# libFuzzer on the description loader, seeded with the shipped cameras and the
# files that once crashed it. A finding is written to build-fuzz/findings/;
# once fixed, it belongs in tests/fuzz/crashes/ as a regression case.
echo "== configure and build build-fuzz (clang, libFuzzer)"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVIK_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzz_descriptionloader -j"$jobs"
fuzz_seconds=${ORVIK_FUZZ_SECONDS:-60}
echo "== fuzzing the description loader for ${fuzz_seconds} s"
mkdir -p build-fuzz/corpus build-fuzz/findings
fuzz_log=$root/build-fuzz/fuzz.log
set +e
build-fuzz/bin/fuzz_descriptionloader -max_total_time="$fuzz_seconds" -max_len=16384 -timeout=10 \
    -rss_limit_mb=2048 -dict=tests/fuzz/description.dict -artifact_prefix=build-fuzz/findings/ \
    build-fuzz/corpus cameras tests/fuzz/crashes >"$fuzz_log" 2>&1
fuzz_status=$?
set -e
if [ $fuzz_status -ne 0 ]; then
    echo "The fuzzer found a problem ($(grep -m1 -o 'Seed: [0-9]*' "$fuzz_log")); see $fuzz_log:"
    grep -E 'ERROR|SUMMARY|Test unit written|runtime error' "$fuzz_log" | head -20
    exit $fuzz_status
fi
grep -E '^Done [0-9]+ runs' "$fuzz_log"
stage_done "fuzzing (build and run)"

printf '%s\n' "${timings[@]}"
echo "All tests passed in every build; the fuzzer found nothing."
