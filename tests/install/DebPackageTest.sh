#!/usr/bin/env bash
# Builds the Debian package and checks its control fields and contents, then unpacks it into a
# throwaway root and runs the unpacked zalctl: it must find its shipped data under share/zal-programmer.
# Usage: DebPackageTest.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/zal-programmer_*.deb)

failures=0
info=$(dpkg-deb -I "$deb")
for field in 'Package: zal-programmer' 'Section: electronics' 'Architecture: amd64\|Architecture: arm64\|Architecture: ' \
             'Depends: .*libqt6core6' 'Depends: .*libqt6widgets6' 'Depends: .*libftdi1'; do
    grep -q "$field" <<<"$info" || { echo "control lacks: $field"; failures=$((failures + 1)); }
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/zal-programmer ./usr/bin/zalctl ./usr/bin/kbx-sim ./usr/libexec/zal-programmer/zalctl-report ./usr/lib/udev/rules.d/70-zal-kbx.rules \
            ./usr/share/applications/zal-programmer.desktop ./usr/share/metainfo/zal-programmer.metainfo.xml \
            ./usr/share/mime/packages/zal-programmer.xml ./usr/share/icons/hicolor/48x48/apps/zal-programmer.png \
            ./usr/share/man/man1/zalctl.1 ./usr/share/bash-completion/completions/zalctl \
            ./usr/share/zal-programmer/Values.i; do
    grep -qF " $path" <<<"$contents" || { echo "package lacks $path"; failures=$((failures + 1)); }
done

dpkg-deb -x "$deb" "$work/root"
mkdir -p "$work/home"
HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$work/root/usr/bin/zalctl" folders > "$work/folders.txt"
grep -q "Install folder: $work/root/usr/share/zal-programmer" "$work/folders.txt" || {
    echo "the unpacked zalctl did not find its data:"; cat "$work/folders.txt"; failures=$((failures + 1)); }
grep -q "Default ZAL V22.bin" "$work/folders.txt" || { echo "no default images installed"; failures=$((failures + 1)); }
# The report commands run in zalctl-report, which zalctl finds in the package's libexec folder.
HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$work/root/usr/bin/zalctl" new ZAL -o "$work/z.Zal" > /dev/null 2>&1
HOME="$work/home" XDG_DATA_HOME="$work/home/data" "$work/root/usr/bin/zalctl" export "$work/z.Zal" -o "$work/z.csv" ||
    { echo "the unpacked zalctl could not export"; failures=$((failures + 1)); }
[ -s "$work/z.csv" ] || { echo "no report exported"; failures=$((failures + 1)); }

if [ "$failures" -gt 0 ]; then
    echo "$failures problems in the package"
    exit 1
fi
echo "package complete: $(basename "$deb")"
