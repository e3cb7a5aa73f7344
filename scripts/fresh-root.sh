#!/usr/bin/env bash
# fresh-root.sh SUITE [COMMAND]: runs COMMAND (default ./test) as root on a clean clone of the committed
# main inside a minimal Debian root of SUITE (bookworm, trixie), made with debootstrap: what a newcomer's
# fresh machine does. CI runs ./test this way on Debian 13 beside its own run on Debian 12. The bare
# root is cached in ${TMPDIR:-/tmp}/zal-root-SUITE; each run starts from a fresh copy of it.
set -euo pipefail
suite=${1:?usage: fresh-root.sh SUITE [COMMAND]}
cmd=${2:-./test}
root_dir=$(cd "$(dirname "$0")/.." && pwd)
base=${TMPDIR:-/tmp}/zal-root-$suite
command -v debootstrap > /dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap > /dev/null
mirror=$(sed -n 's/^URIs: *\(http[^ ]*\/debian\)$/\1/p' /etc/apt/sources.list.d/*.sources 2> /dev/null | head -1)
mirror=${mirror:-http://deb.debian.org/debian}
if [ ! -f "$base/base.ok" ]; then
    rm -rf "$base/base"
    mkdir -p "$base"
    debootstrap --variant=minbase "$suite" "$base/base" "$mirror" > "$base/debootstrap.log" 2>&1 ||
        { tail -n 20 "$base/debootstrap.log"; exit 1; }
    touch "$base/base.ok"
fi
run=$base/run
cleanup() {
    umount -R "$run/dev" 2> /dev/null || true
    umount "$run/proc" 2> /dev/null || true
}
cleanup
if grep -q " $run/" /proc/mounts; then
    echo "fresh-root: mounts left under $run; not removing it" >&2
    exit 1
fi
rm -rf "$run"
cp -a "$base/base" "$run"
cp /etc/resolv.conf "$run/etc/resolv.conf"
mkdir -p "$run/src"
git clone -q "$root_dir" "$run/src/zal"
mount -t proc proc "$run/proc"
mount --rbind /dev "$run/dev"
mount --make-rslave "$run/dev"
trap cleanup EXIT
chroot "$run" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    bash -c "cd /src/zal && $cmd"
