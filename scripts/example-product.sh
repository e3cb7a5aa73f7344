#!/usr/bin/env bash
# The example product's build: a product of the older family made in one layout, added by the
# files README.md lists under "Adding a product" (where ZAL_EXAMPLE_PRODUCT is on), then every test,
# windows and packages included. CI runs it after the ordinary build; the tests themselves are the
# ordinary ones: a product added to the rows is tested with the rest.
set -euo pipefail
source "$(dirname "$0")/common.sh"
zal_install_packages libreoffice-calc-nogui
example_build=${ZAL_EXAMPLE_BUILD:-$ZAL_ROOT/build-example}
if [ ! -f "$example_build/CMakeCache.txt" ]; then
    cmake -S "$ZAL_ROOT" -B "$example_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZAL_EXAMPLE_PRODUCT=ON -DZAL_WERROR="$([ -n "${CI:-}" ] && echo ON || echo OFF)"
fi
echo "example product: build ($(date -u +%H:%M:%S))"
cmake --build "$example_build" -j "$(nproc)"
echo "example product: every test ($(date -u +%H:%M:%S))"
cd "$example_build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
