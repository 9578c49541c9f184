#!/usr/bin/env bash
# Builds the product, the 32-bit TorvanPatch.exe, and shows it running under Wine 10 (in the root
# that scripts/wine-root.sh makes once; WoW64 or emulated, as scripts/windows-32.sh decides). With
# a display the dialog opens there and this waits until it is closed; without one it runs on a
# virtual display, saves a screenshot and prints its path. The registry key is left as the
# program finds it.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
echo "==== Packages"
scripts/install-deps.sh
TORVAN_WINDOWS_32=$(scripts/windows-32.sh --say)
export TORVAN_WINDOWS_32
scripts/wine-root.sh
echo "==== Building the product"
cmake --preset win32 >/dev/null && cmake --build --preset win32
exe="$repo/build/win32/app/TorvanPatch.exe"
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-show}
# Wine takes the system locale from LC_ALL. Without a stored language the dialog opens in
# Simplified Chinese, which reads correctly only under a Simplified Chinese code page.
export LC_ALL=${LC_ALL:-zh_CN.UTF-8}
echo "==== System locale for Wine: LC_ALL=$LC_ALL (set LC_ALL to see another, e.g. zh_TW.UTF-8)"

if [ -n "${DISPLAY:-}" ]; then
    echo "==== Running TorvanPatch.exe on $DISPLAY (close the dialog to finish)"
    scripts/with-wine-env.sh bash -c 'scripts/wine-appearance.sh && scripts/wine-run.sh "$0"' "$exe"
    exit 0
fi

shot=${1:-$repo/build/TorvanPatch.png}
echo "==== No display: running TorvanPatch.exe on a virtual display"
scripts/with-wine-env.sh bash -c 'scripts/wine-appearance.sh && scripts/screenshot.sh "$0" "$1"' "$exe" "$shot"
echo "Screenshot of the running dialog: $shot"
