#!/usr/bin/env bash
# What CI runs after the ordinary build and tests: the unit and integration tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer, a soak run, the production line's test with
# ThreadSanitizer, then each fuzz target from its seed corpus for a bounded run. One clang build serves
# the sanitizer suite and the fuzz targets. The fuzz runs use a fixed seed and a fixed number of
# executions (at most 60 s each), so that a run can be repeated.
set -euo pipefail
source "$(dirname "$0")/common.sh"
zal_install_packages clang "$ZAL_CLANG_RUNTIME"
stage() { echo "hardening: $1 ($(date -u +%H:%M:%S))"; }

# The sanitizer suite: every test that runs the core's code in-process or through zalctl and kbx-sim
# (the windows and the package checks have their own run; the slow tests wait out the same deadlines
# the fast ones cover). Runtime errors end the test that hit them. This is also the clang build of the
# whole tree, windows included, with warnings as errors: what GCC accepts and clang refuses shows here.
sanitize_build=${ZAL_SANITIZE_BUILD:-$ZAL_ROOT/build-sanitize}
if [ ! -f "$sanitize_build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$ZAL_ROOT" -B "$sanitize_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZAL_SANITIZE=address,undefined -DZAL_FUZZ=ON -DZAL_WITH_GUI=ON -DZAL_WERROR=ON
fi
stage "sanitizer and fuzz build"
cmake --build "$sanitize_build" -j "$(nproc)"
stage "sanitizer suite"
(cd "$sanitize_build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" -L 'unit|integration' -LE slow)

# The soak run: write-with-verification cycles against kbx-sim with random faults; it fails when a
# cycle reported success wrongly or the program leaked. CI runs 300 (about two minutes); the bench's
# own 2000 are for a developer's longer look.
stage "soak"
"$ZAL_BUILD/bench/soak-bench" --cycles "${ZAL_SOAK_CYCLES:-300}"

# The production line runs a thread per KBX, sharing the log, the code supply, the backups and the
# support log: its test (two units, then Ctrl+C) under ThreadSanitizer, in zalctl and kbx-sim alike. A
# report makes the programs end with status 66, which the test does not accept.
tsan_build=${ZAL_TSAN_BUILD:-$ZAL_ROOT/build-tsan}
if [ ! -f "$tsan_build/CMakeCache.txt" ]; then
    cmake -S "$ZAL_ROOT" -B "$tsan_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAL_SANITIZE=thread \
        -DZAL_WITH_GUI=OFF
fi
stage "thread check"
cmake --build "$tsan_build" -j "$(nproc)" --target zalctl kbx-sim cli_tests
TSAN_OPTIONS="suppressions=$ZAL_ROOT/scripts/tsan.supp" QT_QPA_PLATFORM=offscreen \
    "$tsan_build/tests/cli_tests" --gtest_filter='*Line*' --gtest_repeat=3 --gtest_brief=1

# Executions per target: about a minute's worth on a CI machine.
stage "fuzz"
fuzz_build=$sanitize_build
# Executions per target: about a minute's worth on a CI machine.
declare -A runs=([kbx_reply]=500000 [settings]=100000 [radio_code]=2000000 [image]=8000 [set_keys]=4000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in kbx_reply settings radio_code image set_keys; do
    cp -r "$ZAL_ROOT/fuzz/corpus/$target" "$work/$target"
    echo "fuzz: $target"
    status=0
    "$fuzz_build/fuzz/${target}_fuzz" "$work/$target" -seed=1 -runs="${runs[$target]}" -max_total_time=60 \
        -artifact_prefix="$work/" > "$work/$target.log" 2>&1 || status=$?
    grep -E '^Done|ERROR|SUMMARY' "$work/$target.log" || true
    if [ "$status" -ne 0 ]; then
        echo "fuzz: $target ended with status $status"
        tail -n 30 "$work/$target.log"
        exit 1
    fi
    if compgen -G "$work/crash-*" > /dev/null || compgen -G "$work/leak-*" > /dev/null ||
        compgen -G "$work/timeout-*" > /dev/null || compgen -G "$work/oom-*" > /dev/null; then
        echo "fuzz: $target found a fault"
        exit 1
    fi
done
stage "sanitizer suite, soak run, thread check and fuzz runs passed"
