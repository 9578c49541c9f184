#!/usr/bin/env bash
# Makes, once per machine and user, the Debian 13 root that the Windows-side programs run in: Wine
# 10 (64- and 32-bit, for either way of windows-32.sh), qemu-i386, Xvfb, fonts, CMake. Its place:
# TORVAN_WINE_ROOT, by default /var/cache/torvan-wine-root for root, else
# ${XDG_CACHE_HOME:-~/.cache}/torvan-wine-root, owned by the user (no privileges needed). A marker
# written last tells a finished root from an interrupted one, which is finished; a root of an older
# package list gets the new one. Otherwise it prints one line. Logs go to <root>.log.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
in_wine_root && exit 0
here=$scripts
root=$("$here/in-wine-root.sh" --where)
mirror=${TORVAN_DEBIAN_MIRROR:-http://deb.debian.org/debian}

# Runs inside the root (in-wine-root.sh --admin); each step is a no-op when already done.
install='
export DEBIAN_FRONTEND=noninteractive
dpkg --configure -a # finishes what an interrupted run left half-installed
# No service may start inside the root.
printf "#!/bin/sh\nexit 101\n" >/usr/sbin/policy-rc.d && chmod 755 /usr/sbin/policy-rc.d
# i386: the 32-bit Wine, its libraries and its PE DLLs, which WoW64 runs as well.
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -q
# Recommends are left out (they bring sound, printing, scanning and media stacks); what Wine loads
# for windows, text and fonts is named instead, for both halves.
x="libfreetype6 libfontconfig1 libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxext6
   libxfixes3 libxinerama1 libxxf86vm1 libgnutls30t64"
apt-get install -y -q --no-install-recommends wine wine64 libwine wine32:i386 fonts-wine \
    qemu-user $x $(printf "%s:i386 " $x) fontconfig \
    xvfb xauth xdotool imagemagick fonts-wqy-microhei cmake procps
# The WoW64 way: the 64-bit Wine takes any 32-bit loader it finds, so that way is shown this copy
# of its directory without one (hard links: no space).
rm -rf /usr/lib/wine-wow64
cp -al /usr/lib/wine /usr/lib/wine-wow64
rm /usr/lib/wine-wow64/wine
# "wine" is the 64-bit Wine in both ways (Debian'\''s wrapper would take the 32-bit one), unless
# a 32-bit prefix hides it.
printf "#!/bin/sh\n[ -x /usr/lib/wine/wine64 ] && exec /usr/lib/wine/wine64 \"\$@\"\nexec /usr/lib/wine/wine \"\$@\"\n" >/usr/local/bin/wine
chmod 755 /usr/local/bin/wine
apt-get clean
rm -rf /var/lib/apt/lists/*
# What the scripts rely on.
for t in wine wineserver Xvfb xdotool import cmake ctest qemu-i386 /usr/lib/wine/wine; do
    command -v "$t" >/dev/null || { echo "missing $t"; exit 1; }
done
test -f /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll || { echo "missing the 32-bit DLLs"; exit 1; }
'
recipe="recipe $(sha256sum <<<"$install" | cut -c1-16)"

ready() {
    [ -f "$root$stamp" ] && grep -qx "$recipe" "$root$stamp" || return 1
    echo "wine-root: $root ready ($(head -n1 "$root$stamp"))" >&2
}
ready && exit 0

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
    echo "wine-root: making the Wine 10 root in $root (Debian 13, once, a few minutes; log: $log)" >&2
fi
command -v mmdebstrap >/dev/null || fail "mmdebstrap is missing: run scripts/install-deps.sh"

# An interrupted base system cannot be resumed: that step starts again from an empty directory.
# (Roots made before with debootstrap carry that tool's name on the marker.)
if [ ! -e "$root/.torvan-base-done" ] && [ ! -e "$root/.torvan-debootstrap-done" ]; then
    if [ -e "$root" ]; then
        # Never delete through a mount (a bind-mounted repository or /dev).
        if awk -v r="$(readlink -f "$root")" '$5 == r || index($5, r "/") == 1 { found = 1 }
                END { exit !found }' /proc/self/mountinfo; then
            fail "something is mounted under $root; unmount it first"
        fi
        "$here/in-wine-root.sh" --owner rm -rf --one-file-system "$root" >>"$log" 2>&1 ||
            fail "removing the unfinished $root"
    fi
    echo "wine-root: base system (minbase, trixie)" >&2
    mkdir -p "$root"
    # As a tar stream, unpacked by the owner of the root's files; device nodes come from the
    # host's /dev, bound at every entry.
    mmdebstrap --variant=minbase trixie - "$mirror" 2>>"$log" |
        "$here/in-wine-root.sh" --owner tar -C "$root" -xp --numeric-owner --exclude='./dev/*' \
            >>"$log" 2>&1 || fail "the base system"
    touch "$root/.torvan-base-done"
fi

echo "wine-root: installing Wine 10 (64- and 32-bit), qemu-i386, Xvfb, CMake, xdotool," \
    "ImageMagick, a CJK font" >&2
cp -L /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
"$here/in-wine-root.sh" --admin bash -euo pipefail -c "$install" >>"$log" 2>&1 ||
    fail "installing packages inside the root"

wine_version=$("$here/in-wine-root.sh" --admin wine --version 2>>"$log")
printf '%s\n%s\n' "$wine_version, Debian $(cat "$root/etc/debian_version"), made $(date -u +%F)" \
    "$recipe" >"$root$stamp.new"
mv "$root$stamp.new" "$root$stamp"
size=$("$here/in-wine-root.sh" --owner du -sh --one-file-system "$root" | cut -f1)
echo "wine-root: $done $root in $((SECONDS - start)) s ($wine_version, $size)" >&2
