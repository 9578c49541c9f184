#!/usr/bin/env bash
# Builds the product, the 32-bit TorvanPatch.exe, and shows it under Wine 10 in the project root,
# as the Windows that TORVAN_PREFIX names (win64, the default, or win32), in the locale of LC_ALL
# (default zh_CN.UTF-8: without a stored language the dialog opens in Simplified Chinese, which
# reads correctly only under that code page). With a display the dialog opens there until it is
# closed; without one it runs on a virtual display, and a screenshot is saved. The registry key is
# left as the program finds it.   show.sh [screenshot.png]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
exe=$repo/build/win32/app/TorvanPatch.exe
if [ "${1-}" = --in-wine-env ]; then
    scripts/wine-appearance.sh
    if [ -z "${2-}" ]; then exec scripts/wine-run.sh "$exe"; fi
    exec scripts/screenshot.sh "$exe" "$2"
fi
echo "==== The host's packages and the project root"
ready_for_windows
echo "==== Building the product (in the root)"
scripts/build.sh win32
export TORVAN_PREFIX=${TORVAN_PREFIX:-win64} TORVAN_LOCALE=${LC_ALL:-zh_CN.UTF-8} # for Wine alone
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-show-$TORVAN_PREFIX}
echo "==== $TORVAN_PREFIX, system locale for Wine: $TORVAN_LOCALE (set LC_ALL to see another, e.g. zh_TW.UTF-8)"
if [ -n "${DISPLAY:-}" ]; then
    echo "==== Running TorvanPatch.exe on $DISPLAY (close the dialog to finish)"
    exec scripts/with-wine-env.sh "$0" --in-wine-env
fi
shot=$(realpath -m "${1:-$repo/build/TorvanPatch.png}")
mkdir -p "$(dirname "$shot")"
echo "==== No display: running TorvanPatch.exe on a virtual display"
TORVAN_ROOT_BIND=$(dirname "$shot") scripts/with-wine-env.sh "$0" --in-wine-env "$shot"
echo "Screenshot of the running dialog: $shot"
