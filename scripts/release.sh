#!/usr/bin/env bash
# Makes the players' package dist/TorvanPatch-<version>.zip (the version from app/Version.h, which
# the exe's version resource and About text use too): TorvanPatch.exe of the win32 preset (built
# first if out of date, then put through check-exe.sh), the batch file that starts it without
# elevation, the players' readme as README.txt, and SHA256SUMS over those three. The zip is
# byte-reproducible: fixed entry order, fixed times, mode 644, no extra fields, whatever the clock,
# time zone or umask. Prints the zip's SHA-256.
#   release.sh [output-dir]     (default: dist/ in the repository)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
fail() { echo "release: $*" >&2; exit 1; }
out=$(mkdir -p "${1:-$repo/dist}" && cd "${1:-$repo/dist}" && pwd)

version=$(awk '$1 == "#define" && $2 ~ /^TORVAN_VERSION_(MAJOR|MINOR|PATCH|BUILD)$/ { v[$2] = $3 }
               END { print v["TORVAN_VERSION_MAJOR"] "." v["TORVAN_VERSION_MINOR"] "." \
                           v["TORVAN_VERSION_PATCH"] "." v["TORVAN_VERSION_BUILD"] }' app/Version.h)
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no version in app/Version.h ($version)"

stage=$(mktemp -d /tmp/torvan-release.XXXXXX)
trap 'rm -rf "$stage"' EXIT
if ! (cmake --preset win32 && cmake --build --preset win32) >"$stage/build.log" 2>&1; then
    cat "$stage/build.log" >&2
    fail "building the win32 preset failed"
fi
exe=build/win32/app/TorvanPatch.exe
scripts/check-exe.sh "$exe" pe32 >/dev/null

# The package's files, in the order the zip lists them.
files=(TorvanPatch.exe TorvanPatch-NoAdmin.bat README.txt SHA256SUMS)
mkdir "$stage/files"
cp "$exe" "$stage/files/TorvanPatch.exe"
cp docs/players/TorvanPatch-NoAdmin.bat "$stage/files/TorvanPatch-NoAdmin.bat"
cp docs/players/README.txt "$stage/files/README.txt"
(cd "$stage/files" && sha256sum TorvanPatch.exe TorvanPatch-NoAdmin.bat README.txt >SHA256SUMS)
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
sha256sum "$zip"
