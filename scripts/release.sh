#!/usr/bin/env bash
# Makes the players' package dist/TorvanPatch-<version of app/Version.h>.zip: the win32 preset's
# TorvanPatch.exe (built if out of date, then checked by check-exe.sh), the batch file that starts
# it without elevation, the players' readme as README.txt, and SHA256SUMS over those three. The
# zip is byte-reproducible: fixed order and times, mode 644, no extra fields, whatever the clock,
# time zone or umask. Built inside the project root; prints the versions of the root's toolchain
# that built it next to its SHA-256, so that anyone can rebuild it from the same packages.
#   release.sh [output-dir]     (default: dist/ in the repository)
# TORVAN_EXE_CHECKED=<sha256>: that exe has been through check-exe.sh already (scripts/test.sh).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
fail() { echo "release: $*" >&2; exit 1; }
out=$(realpath -m "${1:-$repo/dist}")
mkdir -p "$out"
if ! in_root; then TORVAN_ROOT_BIND=$out exec "$scripts/in-root.sh" "$0" "$out"; fi
cd "$repo"

version=$(product_version)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no version in app/Version.h ($version)"

stage=$(mktemp -d /tmp/torvan-release.XXXXXX)
trap 'rm -rf "$stage"' EXIT
build_preset win32 || fail "building the win32 preset failed"
exe=build/win32/app/TorvanPatch.exe
[ "${TORVAN_EXE_CHECKED:-}" = "$(sha256sum <"$exe")" ] || scripts/check-exe.sh "$exe" >/dev/null

# The package's files, in the order the zip lists them.
files=(TorvanPatch.exe TorvanPatch-NoAdmin.bat README.txt SHA256SUMS)
mkdir "$stage/files"
cp "$exe" "$stage/files/TorvanPatch.exe"
cp docs/players/TorvanPatch-NoAdmin.bat "$stage/files/TorvanPatch-NoAdmin.bat"
cp docs/players/README.txt "$stage/files/README.txt"
# CR LF, so that Notepad shows one file a line; sha256sum -c reads it so too.
(cd "$stage/files" && sha256sum TorvanPatch.exe TorvanPatch-NoAdmin.bat README.txt | sed 's/$/\r/' >SHA256SUMS)
chmod 644 "$stage/files"/*
# One fixed time for every entry, so the zip depends on its files only, not on the commit or the
# clock. Zip stores local time: UTC pins it.
export TZ=UTC
touch -d '2000-01-01 00:00:00' "$stage/files"/*
zip="$out/TorvanPatch-$version.zip"
# -X: no extra fields (uid/gid, extended times); -D: no directory entries. A new file each time:
# zip would otherwise update an existing archive.
(cd "$stage/files" && zip -q -X -D -9 "$stage/package.zip" "${files[@]}")
mv -f "$stage/package.zip" "$zip"
chmod 644 "$zip"

echo "release: $zip, $(stat -c %s "$zip") bytes: ${files[*]}"
echo "release: built in Debian $(cat /etc/debian_version) with:"
dpkg-query -W -f '  ${Package} ${Version}\n' g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 \
    mingw-w64-i686-dev cmake zip
sha256sum "$zip"
