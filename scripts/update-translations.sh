#!/usr/bin/env bash
# Brings i18n/zal_en.ts up to date with the program's German texts: new texts come in unfinished (for a
# translator, in Qt Linguist), texts no longer in the program go. The build compiles the file; a test
# fails while a text has no translation. Run after configuring the build (it lists the value lists' texts).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZAL_BUILD:-$root/build}
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
"$lupdate" -silent -locations none -no-obsolete -source-language de -target-language en \
    "$root/src" "$build/i18n/ValueListTexts.cpp" -ts "$root/i18n/zal_en.ts"
