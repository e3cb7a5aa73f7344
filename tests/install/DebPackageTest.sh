#!/usr/bin/env bash
# Builds the Debian package and checks its control fields and contents, then unpacks it into a
# throwaway root and runs the unpacked zalctl: it must find its shipped data under share/zal-programmer.
# Usage: DebPackageTest.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The package's times come from the commit, so that two builds of it give the same bytes.
SOURCE_DATE_EPOCH=$(git -C "$(dirname "$0")" log -1 --format=%ct 2>/dev/null || echo 1765000000)
export SOURCE_DATE_EPOCH
(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/zal-programmer_*.deb)

failures=0
info=$(dpkg-deb -I "$deb")
for field in 'Package: zal-programmer' 'Section: electronics' 'Architecture: amd64\|Architecture: arm64\|Architecture: ' \
             'Depends: .*libqt6core6' 'Depends: .*libqt6widgets6' 'Depends: .*libftdi1' 'Homepage: https://' \
             'Description: Configuration tool for the ZAL family' '^  BORA, ZAL, MUVE, DORF, ' '^  kbx-sim simulates a KBX'; do
    grep -q "$field" <<<"$info" || { echo "control lacks: $field"; failures=$((failures + 1)); }
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/zal-programmer ./usr/bin/zalctl ./usr/bin/kbx-sim ./usr/libexec/zal-programmer/zalctl-report ./usr/lib/udev/rules.d/70-zal-kbx.rules \
            ./usr/share/applications/zal-programmer.desktop ./usr/share/metainfo/se.vesk.ZalProgrammer.metainfo.xml \
            ./usr/share/mime/packages/zal-programmer.xml ./usr/share/icons/hicolor/48x48/apps/zal-programmer.png \
            ./usr/share/man/man1/zalctl.1.gz ./usr/share/bash-completion/completions/zalctl \
            ./usr/share/doc/zal-programmer/copyright ./usr/share/doc/zal-programmer/changelog.gz \
            ./usr/share/zal-programmer/Values.i; do
    grep -qF " $path" <<<"$contents" || { echo "package lacks $path"; failures=$((failures + 1)); }
done

dpkg-deb -x "$deb" "$work/root"
mkdir -p "$work/home"
HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$work/root/usr/bin/zalctl" folders > "$work/folders.txt"
grep -q ": $work/root/usr/share/zal-programmer/\?$" "$work/folders.txt" || {
    echo "the unpacked zalctl did not find its data:"; cat "$work/folders.txt"; failures=$((failures + 1)); }
grep -q "Default ZAL V22.bin" "$work/folders.txt" || { echo "no default images installed"; failures=$((failures + 1)); }
# The report commands run in zalctl-report, which zalctl finds in the package's libexec folder.
HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$work/root/usr/bin/zalctl" new ZAL -o "$work/z.Zal" > /dev/null 2>&1
HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$work/root/usr/bin/zalctl" export "$work/z.Zal" -o "$work/z.csv" ||
    { echo "the unpacked zalctl could not export"; failures=$((failures + 1)); }
[ -s "$work/z.csv" ] || { echo "no report exported"; failures=$((failures + 1)); }

# Stripped programs, their symbols in the debug package beside it.
dbgsym=$(ls "$work"/out/zal-programmer-dbgsym_*.ddeb 2>/dev/null || true)
[ -n "$dbgsym" ] || { echo "no zal-programmer-dbgsym package"; failures=$((failures + 1)); }
# (Each tool's output is read whole first: grep -q ending a pipe early would fail it under pipefail.)
for program in usr/bin/zal-programmer usr/bin/zalctl usr/bin/kbx-sim; do
    kind=$(file "$work/root/$program")
    dynamic=$(readelf -d "$work/root/$program")
    segments=$(readelf -l "$work/root/$program")
    grep -q ', stripped' <<<"$kind" || { echo "$program is not stripped"; failures=$((failures + 1)); }
    # Debian's hardening: bindnow and relro in the program, the fortified calls of its C library.
    grep -q 'BIND_NOW\|FLAGS.*NOW' <<<"$dynamic" || { echo "$program lacks bindnow"; failures=$((failures + 1)); }
    grep -q GNU_RELRO <<<"$segments" || { echo "$program lacks relro"; failures=$((failures + 1)); }
done
symbols=$(readelf -s --wide "$work/root/usr/bin/zalctl")
grep -q '__.*_chk@' <<<"$symbols" || { echo "zalctl is not fortified"; failures=$((failures + 1)); }

# A second build of the same commit gives the same package.
(cd "$build" && cpack -G DEB -B "$work/again" > "$work/cpack2.log") || { cat "$work/cpack2.log"; exit 1; }
for package in "$deb" $dbgsym; do
    cmp -s "$package" "$work/again/$(basename "$package")" ||
        { echo "two builds gave different $(basename "$package")"; failures=$((failures + 1)); }
done

# Debian's own check, of both packages: no error, no warning.
if command -v lintian > /dev/null; then
    lintian --tag-display-limit 0 "$deb" $dbgsym > "$work/lintian.txt" 2>&1 || true
    if grep -E '^(E|W): ' "$work/lintian.txt"; then
        failures=$((failures + 1))
    fi
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures problems in the package"
    exit 1
fi
echo "package complete: $(basename "$deb")"
