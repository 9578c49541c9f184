#!/usr/bin/env bash
# Makes, once per machine and user, the project's Debian 13 root: the whole toolchain and the
# Windows side (root-packages.sh). Its place: TORVAN_ROOT, else /var/cache/torvan-root for root and
# ${XDG_CACHE_HOME:-~/.cache}/torvan-root, owned by the user, for anyone else. A marker written
# last tells a finished root from an interrupted one, which is finished; a root of an older recipe
# gets the new one, and one at the old place (torvan-wine-root) moves here first. The packages come
# from TORVAN_DEBIAN_MIRROR and TORVAN_DEBIAN_SECURITY_MIRROR, else from the mirrors the host's apt
# uses, else from mmdebstrap's default: always the release, its updates and its security suite.
# Logs go to <root>.log. A ready root: one line, or none with --quiet.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
if in_root; then exit 0; fi
root=$("$scripts/in-root.sh" --where)
quiet=${1-} # --quiet: nothing to say when the root is ready
suite=trixie
recipe_files=("$scripts/root-packages.sh" "$scripts/root-wine.sh" "$scripts/runs-32bit-code.c")
recipe="recipe $(cat "${recipe_files[@]}" | sha256sum | cut -c1-16)"

ready() {
    if [ ! -f "$root$stamp" ] || ! grep -qx "$recipe" "$root$stamp"; then return 1; fi
    if [ "$quiet" != --quiet ]; then echo "make-root: $root ready ($(head -n1 "$root$stamp"))" >&2; fi
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
    echo "make-root: failed: $*; the end of $log:" >&2
    tail -n 25 "$log" >&2
    exit 1
}
mounted_under() { # is anything mounted at or under the path (a bound repository, /dev)?
    awk -v r="$(readlink -f "$1")" '$5 == r || index($5, r "/") == 1 { found = 1 }
        END { exit !found }' /proc/self/mountinfo
}
old=$(old_root_place)
if [ -z "${TORVAN_ROOT:-}" ] && [ ! -e "$root" ] && [ -e "$old" ]; then
    echo "make-root: reusing the root at $old, which moves to $root" >&2
    mv "$old" "$root"
    rm -f "$old.lock" "$old.log"
fi
done=made what="making the project root in $root (Debian 13, once, a few minutes; "
if [ -f "$root$stamp" ] || [ -f "$root/etc/torvan-wine-root" ]; then
    done=updated what="updating $root to the current recipe ("
fi
echo "make-root: ${what}log: $log)" >&2
command -v mmdebstrap >/dev/null || fail "mmdebstrap is missing: run scripts/install-deps.sh"

# The archive's mirrors: the release and its updates from one, the security suite (a separate
# archive) from the other. Named by the caller, or the ones the host's apt already uses.
host_mirror() { # the Release file's label: Debian or Debian-Security
    apt-get indextargets --format "\$(REPO_URI)" 'Created-By: Packages' 'Origin: Debian' \
        "Label: $1" 2>/dev/null | head -n1
}
mirror=${TORVAN_DEBIAN_MIRROR:-} security=${TORVAN_DEBIAN_SECURITY_MIRROR:-}
options=()
if [ -n "$mirror$security" ]; then
    if [ -z "$mirror" ] || [ -z "$security" ]; then
        fail "set both TORVAN_DEBIAN_MIRROR and TORVAN_DEBIAN_SECURITY_MIRROR, or neither"
    fi
    # Mirrors are named to rebuild from an archive snapshot of a past day, whose Release files
    # are past their Valid-Until by then.
    options+=(--aptopt='Acquire::Check-Valid-Until "false"')
else
    mirror=$(host_mirror Debian) security=$(host_mirror Debian-Security)
fi
sources=() # none: mmdebstrap's default mirrors, with the same three suites
if [ -n "$mirror" ] && [ -n "$security" ]; then
    sources=("deb $mirror $suite main" "deb $mirror $suite-updates main" "deb $security $suite-security main")
fi
# mmdebstrap reads no apt configuration of the host's: its proxy is passed on.
for scheme in http https; do
    proxy=
    eval "$(apt-config shell proxy "Acquire::$scheme::Proxy")"
    if [ -n "$proxy" ]; then options+=(--aptopt="Acquire::$scheme::Proxy \"$proxy\""); fi
done

# An interrupted base system cannot be resumed: that step starts again from an empty directory.
if [ ! -e "$root/.torvan-base-done" ]; then
    if [ -e "$root" ]; then
        if mounted_under "$root"; then fail "something is mounted under $root; unmount it first"; fi
        "$scripts/in-root.sh" --owner rm -rf --one-file-system "$root" >>"$log" 2>&1 ||
            fail "removing the unfinished $root"
    fi
    echo "make-root: base system (minbase, $suite, $suite-updates, $suite-security)" >&2
    mkdir -p "$root"
    # As a tar stream, unpacked by the owner of the root's files; device nodes come from the
    # host's /dev, bound at every entry.
    mmdebstrap --variant=minbase --include=ca-certificates "${options[@]}" "$suite" - \
        "${sources[@]}" 2>>"$log" |
        "$scripts/in-root.sh" --owner tar -C "$root" -xp --numeric-owner --exclude='./dev/*' \
            >>"$log" 2>&1 || fail "the base system"
    touch "$root/.torvan-base-done"
fi

echo "make-root: installing the toolchain and Wine 10 (scripts/root-packages.sh)" >&2
cp -L /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mkdir -p "$root/usr/local/lib/torvan-root"
cp "${recipe_files[@]}" "$root/usr/local/lib/torvan-root/"
"$scripts/in-root.sh" --admin /usr/local/lib/torvan-root/root-packages.sh >>"$log" 2>&1 ||
    fail "installing packages inside the root"

wine_version=$("$scripts/in-root.sh" --admin wine --version 2>>"$log")
printf '%s\n%s\n' "$wine_version, Debian $(cat "$root/etc/debian_version"), made $(date -u +%F)" \
    "$recipe" >"$root$stamp.new"
mv "$root$stamp.new" "$root$stamp"
rm -f "$root/etc/torvan-wine-root"
size=$("$scripts/in-root.sh" --owner du -sh --one-file-system "$root" | cut -f1)
echo "make-root: $done $root in $((SECONDS - start)) s ($wine_version, $size)" >&2
