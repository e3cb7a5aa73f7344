#!/usr/bin/env bash
# The files a new product touches, as README.md lists them under "Adding a product", are the files
# that name the example product: no file the list leaves out, no entry of the list that it does not
# need. Usage: ExampleProductFilesTest.sh SOURCE_DIR
set -euo pipefail
cd "$1"
section=$(sed -n '/^## Adding a product/,/^## /p' README.md)
# The numbered entries' paths (their first backticked word), README.md itself aside: the example
# product is the one a README's hand-written lists leave out.
listed=$(printf '%s\n' "$section" | sed -n 's/^[0-9]\. `\([^`]*\)`.*/\1/p' | grep -v '^README.md$')
named=$(grep -rlE 'KARO|Karo|karo' --exclude-dir='build*' --exclude-dir=.git . | sed 's|^\./||' |
    grep -v -e '^README.md$' -e '^tests/data/ExampleProductFilesTest.sh$' | sort)
failures=0
for file in $named; do
    covered=no
    for entry in $listed; do
        # An entry is a file, or a folder (ending in /) that holds the file.
        if [ "$file" = "$entry" ] || { [ "${entry%/}" != "$entry" ] && [ "${file#"$entry"}" != "$file" ]; }; then
            covered=yes
        fi
    done
    [ $covered = yes ] || { echo "$file names the example product but the README's list leaves it out"; failures=$((failures + 1)); }
done
for entry in $listed; do
    printf '%s\n' "$named" | grep -q "^$entry" ||
        { echo "the README lists $entry, which the example product does not touch"; failures=$((failures + 1)); }
done
[ "$(printf '%s\n' "$listed" | grep -c .)" -le 8 ] || { echo "more than 8 files for a new product"; failures=$((failures + 1)); }
echo "$(printf '%s\n' "$named" | grep -c .) files name the example product; the README lists $(printf '%s\n' "$listed" | grep -c .) besides itself"
exit $failures
