#!/usr/bin/env bash
# The device benchmark through the libftdi path: the real libftdi1 and FtdiTransport, with libusb
# replaced by the tests' model of the FT232R chip with a KBX behind it (no hardware needed).
#   bench/ftdi-bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
unset ZAL_KBX_PORT
LD_PRELOAD="$build/tests/libzal_fakeusb.so" "$build/bench/device-bench" "$rounds" --ftdi
