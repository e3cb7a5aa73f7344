#!/usr/bin/env bash
# Installs the build into a throwaway DESTDIR and checks that a desktop system finds everything where
# it looks: programs, shipped data, the udev rule, menu entry, icons, file types and software-centre
# entry. Usage: InstallTreeTest.sh BUILD_DIR IMAGE_COUNT (the default images the build lists)
set -euo pipefail
build=$1
images=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr > /dev/null

failures=0
expect() {
    if [ ! -e "$dest/usr/$1" ]; then
        echo "missing: /usr/$1"
        failures=$((failures + 1))
    fi
}
for f in bin/zal-programmer bin/zalctl bin/kbx-sim libexec/zal-programmer/zalctl-report share/zal-programmer/Values.i \
         "share/zal-programmer/Default ZAL V22.b" "share/zal-programmer/Default MUVEPLUS2 V1.b" \
         lib/udev/rules.d/70-zal-kbx.rules share/applications/zal-programmer.desktop \
         share/mime/packages/zal-programmer.xml share/metainfo/se.vesk.ZalProgrammer.metainfo.xml \
         share/icons/hicolor/scalable/apps/zal-programmer.svg share/man/man1/zal-programmer.1.gz \
         share/man/man1/zalctl.1.gz share/man/man1/kbx-sim.1.gz share/bash-completion/completions/zalctl \
         share/doc/zal-programmer/copyright share/doc/zal-programmer/changelog.gz; do
    expect "$f"
done
for size in 16 24 32 48 64 128 256; do
    expect "share/icons/hicolor/${size}x${size}/apps/zal-programmer.png"
done
[ "$(ls "$dest/usr/share/zal-programmer/" | grep -c '\.b$')" = "$images" ] || { echo "not $images default images"; failures=$((failures + 1)); }

desktop-file-validate "$dest/usr/share/applications/zal-programmer.desktop" || failures=$((failures + 1))
appstreamcli validate --no-net "$dest/usr/share/metainfo/se.vesk.ZalProgrammer.metainfo.xml" > /dev/null ||
    failures=$((failures + 1))

# Every file type the desktop entry opens has its glob, and the icon it names is installed.
mime="$dest/usr/share/mime/packages/zal-programmer.xml"
for ext in Bora Zal Muve Dorf Muveplus Muveplus2; do
    grep -q "pattern=\"\\*\\.$ext\"" "$mime" || { echo "no glob for .$ext"; failures=$((failures + 1)); }
done
grep -q '^Icon=zal-programmer$' "$dest/usr/share/applications/zal-programmer.desktop" || failures=$((failures + 1))

# The udev rule: only the KBX, never every FTDI adapter; access for the logged-in user; ModemManager
# kept away; a stable name for its tty. Every rule line that names FTDI's vendor names the product too.
rule="$dest/usr/lib/udev/rules.d/70-zal-kbx.rules"
logical=$(sed -e ':a' -e '/\\$/N; s/\\\n//; ta' "$rule" | grep -v '^[[:space:]]*#' | grep -v '^[[:space:]]*$')
while IFS= read -r line; do
    if [[ $line == *'"0403"'* && $line != *'"Vesk KBX - Active USB Interface"'* ]]; then
        echo "rule matches every FTDI chip: $line"
        failures=$((failures + 1))
    fi
    # KEY op "value" pairs, comma separated, and nothing else.
    if ! grep -Eq '^([A-Z_]+(\{[a-zA-Z_]+\})?[[:space:]]*(==|!=|=|\+=|:=)[[:space:]]*"[^"]*"[[:space:]]*,?[[:space:]]*)+$' <<<"$line"; then
        echo "rule line does not parse: $line"
        failures=$((failures + 1))
    fi
done <<<"$logical"
# udev itself checks the rule where its version can (systemd 253 and later).
if command -v udevadm > /dev/null && udevadm verify --help > /dev/null 2>&1; then
    udevadm verify "$rule" || failures=$((failures + 1))
fi
for key in 'TAG+="uaccess"' 'GROUP="plugdev"' 'ENV{ID_MM_DEVICE_IGNORE}="1"' 'SYMLINK+="kbx-'; do
    grep -qF "$key" "$rule" || { echo "rule lacks $key"; failures=$((failures + 1)); }
done

bash -n "$dest/usr/share/bash-completion/completions/zalctl" || failures=$((failures + 1))
# Both programs name their version, the window's without a display.
for program in zal-programmer zalctl; do
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$dest/usr/bin/$program" --version 2>&1 | grep -q "^$program 1\." ||
        { echo "$program --version does not print the version"; failures=$((failures + 1)); }
done
for page in zal-programmer zalctl kbx-sim; do
    if command -v groff > /dev/null && [ -n "$(zcat "$dest/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww 2>&1 > /dev/null)" ]; then
        echo "manual page $page.1 has warnings"
        failures=$((failures + 1))
    fi
done
# On an 80-column terminal each entry's heading stays whole, never running into its text.
if command -v groff > /dev/null; then
    narrow=$(zcat "$dest/usr/share/man/man1/zalctl.1.gz" | groff -man -Tutf8 -rLL=80n 2>/dev/null | sed 's/\x1b\[[0-9;]*m//g; s/.\x08//g')
    for heading in 'backups list [--serial S] [--since DATE] [--station NAME] [--json]' 'read [-o FILE] [--json]' \
                   'kbx-dump [-o FILE] [--yes] [--kbx SERIAL | --port PATH]'; do
        grep -qF -- "$heading" <<<"$narrow" || { echo "manual heading broken: $heading"; failures=$((failures + 1)); }
    done
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures problems in the installed tree"
    exit 1
fi
echo "installed tree complete"
