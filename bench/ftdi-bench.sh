#!/usr/bin/env bash
# The device benchmark through the libftdi path: the real libftdi1 and FtdiTransport, with libusb
# replaced by the tests' model of the FT232R chip with a KBX behind it (no hardware needed): its latency
# timer and its event character, which sends a reply the moment its ETX arrives.
# Target: write with verification at most 1.05x the line time, CPU under 2 % (exit code 1 when missed).
#   bench/ftdi-bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
unset ZAL_KBX_PORT
LD_PRELOAD="$build/tests/libzal_fakeusb.so" "$build/bench/device-bench" "$rounds" --ftdi
