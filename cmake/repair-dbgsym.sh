#!/bin/sh
# repair-dbgsym.sh DDEB: makes CPack's debug-symbols package one that dpkg and lintian accept and that
# two builds give alike. CPack lists its files in md5sums under the absolute path of its staging folder
# (so dpkg --verify fails and the bytes depend on the build folder) and gives it no documentation
# folder; a Debian dbgsym package names its files from the package root and links its documentation
# folder to the package it holds the symbols of.
set -eu
ddeb=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ar x "$ddeb"
mkdir control data
tar -xzf control.tar.gz -C control
tar -xzf data.tar.gz -C data
package=$(sed -n 's/^Package: \(.*\)-dbgsym$/\1/p' control/control)
[ -n "$package" ] || { echo "repair-dbgsym: $1 is no dbgsym package" >&2; exit 1; }

sed 's|^\([0-9a-f]*\)  /.*-dbgsym/|\1  |' control/md5sums | sort -k 2 > md5sums
mv md5sums control/md5sums
# The build IDs in one order whatever order the build found the programs in.
ids=$(sed -n 's/^Build-Ids: //p' control/control | tr ' ' '\n' | sort | tr '\n' ' ' | sed 's/ $//')
sed -i "s/^Build-Ids: .*/Build-Ids: $ids/" control/control
mkdir -p data/usr/share/doc
ln -sfn "$package" "data/usr/share/doc/$package-dbgsym"

when=@${SOURCE_DATE_EPOCH:-$(stat -c %Y control/control)}
pack() {
    tar --sort=name --owner=0 --group=0 --numeric-owner --mtime="$when" --clamp-mtime --format=gnu \
        -C "$1" -cf - . | gzip -9n > "$2"
}
pack control control.tar.gz
pack data data.tar.gz
rm -f "$ddeb"
ar rcD "$ddeb" debian-binary control.tar.gz data.tar.gz
