#!/usr/bin/env bash
# Shows that the product build is reproducible: builds TorvanPatch.exe again from a copy of this
# work tree elsewhere (every absolute path differs) and compares the bytes with build/win32's; checks
# that the PE header has no time stamp and neither tree's path is in either exe. Prints the SHA-256,
# which any other build of the same sources must match. Run after the win32 preset's build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
exe=$repo/build/win32/app/TorvanPatch.exe
fail() { echo "check-reproducible: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "$exe not found: build the win32 preset first"

again=$(mktemp -d /tmp/torvan-reproducible.XXXXXX)
trap 'rm -rf "$again"' EXIT
# The work tree as it is (uncommitted edits included), without earlier builds.
tar -C "$repo" --exclude=./build --exclude=./.git -cf - . | tar -C "$again" -xf -
(cd "$again" && build_preset win32) || fail "the second build in $again failed"
copy=$again/build/win32/app/TorvanPatch.exe

# TimeDateStamp: 4 bytes at offset 8 of the COFF header, which starts at the offset stored at 0x3c.
timestamp() {
    local pe
    pe=$(od -A n -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    od -A n -t u4 -j $((pe + 8)) -N 4 "$1" | tr -d ' '
}
for f in "$exe" "$copy"; do
    stamp=$(timestamp "$f")
    [ "$stamp" = 0 ] || fail "$f: PE time stamp is $stamp, not 0"
    for dir in "$repo" "$again"; do
        hits=$(grep -a -c -F "$dir" "$f" || true)
        [ "$hits" = 0 ] || fail "$f contains the path $dir ($hits times)"
    done
done
if ! cmp "$exe" "$copy"; then
    fail "builds in $repo and $again differ: the build is not reproducible"
fi
echo "check-reproducible: identical builds in $repo and $again; PE time stamp 0; no build path inside"
echo "check-reproducible: $(stat -c %s "$exe") bytes, sha256 $(sha256sum "$exe" | cut -d' ' -f1)"
