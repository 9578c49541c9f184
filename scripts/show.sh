#!/usr/bin/env bash
# Builds the product, the 32-bit TorvanPatch.exe, and shows it running under Wine 10 (in the root
# that scripts/wine-root.sh makes once; WoW64 or emulated, as scripts/windows-32.sh decides), as
# the Windows that TORVAN_PREFIX names (win64, the default, or win32). With a display the dialog
# opens there and this waits until it is closed; without one it runs on a virtual display, saves a
# screenshot and prints its path. The registry key is left as the program finds it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
echo "==== Packages"
ready_for_windows
echo "==== Building the product"
build_preset win32
exe="$repo/build/win32/app/TorvanPatch.exe"
export TORVAN_PREFIX=${TORVAN_PREFIX:-win64}
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-show-$TORVAN_PREFIX}
# Wine takes the system locale from LC_ALL, handed to Wine alone (TORVAN_LOCALE).
# Without a stored language the dialog opens in Simplified Chinese, which reads correctly only
# under a Simplified Chinese code page.
locale=${LC_ALL:-zh_CN.UTF-8}
echo "==== $TORVAN_PREFIX, system locale for Wine: $locale (set LC_ALL to see another, e.g. zh_TW.UTF-8)"
export TORVAN_LOCALE=$locale
show() { scripts/with-wine-env.sh bash -c 'scripts/wine-appearance.sh && "$@"' show "$@"; }
if [ -n "${DISPLAY:-}" ]; then
    echo "==== Running TorvanPatch.exe on $DISPLAY (close the dialog to finish)"
    show scripts/wine-run.sh "$exe"
    exit 0
fi
shot=${1:-$repo/build/TorvanPatch.png}
echo "==== No display: running TorvanPatch.exe on a virtual display"
show scripts/screenshot.sh "$exe" "$shot"
echo "Screenshot of the running dialog: $shot"
