#!/usr/bin/env bash
# Checks the players' package of scripts/release.sh: exactly TorvanPatch.exe (the tested one),
# TorvanPatch-NoAdmin.bat and README.txt (those of docs/players/, CR LF; the readme UTF-8 with a BOM,
# no prose line over 80 columns) and matching SHA256SUMS (CR LF too), in that order; a second run
# (other directory, umask, time zone) gives the same bytes. Run after the win32 preset's build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
fail() { echo "check-release: $*" >&2; exit 1; }
exe=build/win32/app/TorvanPatch.exe readme=docs/players/README.txt
bat=docs/players/TorvanPatch-NoAdmin.bat
[ -f "$exe" ] || fail "$exe not found: build the win32 preset first"
tested=$(sha256sum <"$exe")

work=$(mktemp -d /tmp/torvan-check-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
zip=$(scripts/release.sh | sed -n 's/^[0-9a-f]\{64\}  //p')
[ -f "$zip" ] || fail "release.sh named no zip"
# release.sh builds first: the exe must not have changed under the test run.
[ "$(sha256sum <"$exe")" = "$tested" ] || fail "release.sh rebuilt $exe: package what was tested"

entries=$(unzip -Z1 "$zip" | paste -sd' ')
[ "$entries" = "TorvanPatch.exe TorvanPatch-NoAdmin.bat README.txt SHA256SUMS" ] ||
    fail "$zip holds: $entries"
unzip -q "$zip" -d "$work/unpacked"
for f in "TorvanPatch.exe $exe" "TorvanPatch-NoAdmin.bat $bat" "README.txt $readme"; do
    cmp "$work/unpacked/${f% *}" "${f#* }" || fail "the ${f% *} in $zip is not ${f#* }"
done
(cd "$work/unpacked" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not match"
summed=$(tr -d '\r' <"$work/unpacked/SHA256SUMS" | awk '{ print $2 }' | paste -sd' ')
[ "$summed" = "TorvanPatch.exe TorvanPatch-NoAdmin.bat README.txt" ] ||
    fail "SHA256SUMS covers: $summed"

# What Notepad of Windows XP needs to show the three languages.
[ "$(head -c 3 "$readme" | od -A n -t x1 | tr -d ' ')" = efbbbf ] || fail "$readme: no UTF-8 BOM"
iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null 2>&1 || fail "$readme: not valid UTF-8"
# As many CR as LF, each CR before an LF, and the last line ended too: Notepad before Windows 10
# 1809 needs it of the readme and the sums, and cmd.exe can misread a batch file without it.
for text in "$readme" "$bat" "$work/unpacked/SHA256SUMS"; do
    crs=$(tr -cd '\r' <"$text" | wc -c) lfs=$(tr -cd '\n' <"$text" | wc -c)
    crlfs=$(LC_ALL=C grep -c $'\r$' "$text" || true)
    if [ "$crs" != "$lfs" ] || [ "$crlfs" != "$lfs" ] || [ "$(tail -c 1 "$text" | od -A n -t x1)" != " 0a" ]; then
        fail "$text: not every line ends in CR LF ($crs CR, $lfs LF, $crlfs CR LF)"
    fi
done
scripts/check-width.py "$readme" >&2 || fail "$readme: lines wider than Notepad shows whole"
# cmd.exe reads a batch file in the console's code page: ASCII reads the same in every one.
LC_ALL=C grep -q '[^ -~'$'\r'']' "$bat" && fail "$bat: not ASCII"

(umask 077 && TORVAN_EXE_CHECKED=$tested TZ=Asia/Taipei scripts/release.sh "$work/again" >/dev/null)
cmp "$zip" "$work/again/$(basename "$zip")" || fail "a second run gave another zip"

echo "check-release: $zip holds the tested exe, the batch file, README.txt and matching" \
    "SHA256SUMS; the same bytes from a second run"
echo "check-release: $(stat -c %s "$zip") bytes, sha256 $(sha256sum "$zip" | cut -d' ' -f1)"
