#!/usr/bin/env bash
# Makes, once per machine, the Debian 13 root that the Windows-side programs run in. The product is
# 32-bit and this kind of machine cannot execute 32-bit Linux code, which the Wine of Debian 12 needs
# for 32-bit programs; the Wine 10 of Debian 13 runs them in its WoW64 mode inside a 64-bit process.
#   wine-root.sh     (as root; TORVAN_WINE_ROOT sets the place, default /var/cache/torvan-wine-root)
# A marker written last tells a finished root from an interrupted one, which is finished (or, when
# debootstrap itself was cut short, made again). A root made from an older package list gets the
# new one installed. Otherwise a call prints one line and changes nothing. Logs go to <root>.log.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=${TORVAN_WINE_ROOT:-/var/cache/torvan-wine-root}
root=${root%/}
mirror=${TORVAN_DEBIAN_MIRROR:-http://deb.debian.org/debian}
stamp=/etc/torvan-wine-root # inside the root: written last, and how scripts tell they run inside it
[ -e "$stamp" ] && exit 0   # already inside the root

# Runs inside the root (through in-wine-root.sh); each step is a no-op when already done.
install='
export DEBIAN_FRONTEND=noninteractive
dpkg --configure -a # finishes what an interrupted run left half-installed
# No service may start inside the root.
printf "#!/bin/sh\nexit 101\n" >/usr/sbin/policy-rc.d && chmod 755 /usr/sbin/policy-rc.d
dpkg --add-architecture i386 # only for fetching the 32-bit Windows DLLs below
apt-get update -q
# Recommends are left out (they bring sound, printing, scanning and media stacks); what Wine loads
# for windows, text and fonts is named instead.
apt-get install -y -q --no-install-recommends \
    wine wine64 libwine fonts-wine \
    libfreetype6 libfontconfig1 fontconfig libxrender1 libxrandr2 libxi6 libxcursor1 \
    libxcomposite1 libxext6 libxfixes3 libxinerama1 libxxf86vm1 libgnutls30t64 \
    xvfb xauth xdotool imagemagick fonts-wqy-microhei cmake procps
# Wine 10 runs 32-bit programs through WoW64 with the 32-bit PE DLLs alone. Debian ships them in
# the i386 libwine, whose Linux half could not run here anyway: only the PE files are taken, from
# the same version as the 64-bit Wine.
version=$(dpkg-query -W -f="\${Version}" libwine)
tmp=$(mktemp -d)
(cd "$tmp" && apt-get download -q "libwine:i386=$version")
dpkg-deb -x "$tmp"/libwine_*_i386.deb "$tmp/x"
dest=/usr/lib/x86_64-linux-gnu/wine/i386-windows
mkdir -p "$dest"
cp -a "$tmp/x/usr/lib/i386-linux-gnu/wine/i386-windows/." "$dest/"
rm -rf "$tmp"
dpkg --remove-architecture i386
apt-get clean
rm -rf /var/lib/apt/lists/*
# What the scripts rely on.
for t in wine wineserver Xvfb xdotool import cmake ctest; do
    command -v "$t" >/dev/null || { echo "missing $t"; exit 1; }
done
test -f "$dest/kernel32.dll" || { echo "missing the 32-bit DLLs"; exit 1; }
'
recipe="recipe $(sha256sum <<<"$install" | cut -c1-16)"

ready() {
    [ -f "$root$stamp" ] && grep -qx "$recipe" "$root$stamp" || return 1
    echo "wine-root: $root ready ($(head -n1 "$root$stamp"))" >&2
}
ready && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "wine-root: making $root takes root (debootstrap, chroot): run 'sudo $0' once" >&2
    exit 1
fi
mkdir -p "$(dirname "$root")"
# One maker at a time; a second caller waits, then finds the root ready.
exec 9>"$root.lock"
flock 9
ready && exit 0

log=$root.log
: >"$log"
start=$SECONDS
fail() {
    echo "wine-root: failed: $*; the end of $log:" >&2
    tail -n 25 "$log" >&2
    exit 1
}
if [ -f "$root$stamp" ]; then
    done=updated
    echo "wine-root: updating $root to the current package list (log: $log)" >&2
else
    done=made
    echo "wine-root: making the Wine 10 root in $root (Debian 13, once per machine, a few minutes; log: $log)" >&2
fi

if ! command -v debootstrap >/dev/null; then
    echo "wine-root: installing debootstrap" >&2
    { apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap; } \
        >>"$log" 2>&1 || fail "installing debootstrap"
fi

# An interrupted debootstrap cannot be resumed: that step starts again from an empty directory.
if [ ! -e "$root/.torvan-debootstrap-done" ]; then
    if [ -e "$root" ]; then
        # Never delete through a mount (a bind-mounted repository or /dev).
        if awk -v r="$(readlink -f "$root")" '$5 == r || index($5, r "/") == 1 { found = 1 }
                END { exit !found }' /proc/self/mountinfo; then
            fail "something is mounted under $root; unmount it first"
        fi
        rm -rf --one-file-system "$root"
    fi
    echo "wine-root: debootstrap (minbase, trixie)" >&2
    debootstrap --variant=minbase trixie "$root" "$mirror" >>"$log" 2>&1 || fail "debootstrap"
    touch "$root/.torvan-debootstrap-done"
fi

echo "wine-root: installing Wine 10, Xvfb, CMake, xdotool, ImageMagick, a CJK font" >&2
cp -L /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
TORVAN_WINE_ROOT_BUILDING=1 "$here/in-wine-root.sh" bash -euo pipefail -c "$install" >>"$log" 2>&1 ||
    fail "installing packages inside the root"

wine_version=$(TORVAN_WINE_ROOT_BUILDING=1 "$here/in-wine-root.sh" wine --version 2>>"$log")
printf '%s\n%s\n' "$wine_version, Debian $(cat "$root/etc/debian_version"), made $(date -u +%F)" \
    "$recipe" >"$root$stamp.new"
mv "$root$stamp.new" "$root$stamp"
echo "wine-root: $done $root in $((SECONDS - start)) s ($wine_version, $(du -sh --one-file-system "$root" | cut -f1))" >&2
