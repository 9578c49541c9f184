#!/usr/bin/env bash
# Builds the product, the 32-bit TorvanPatch.exe, and shows it under Wine 10 in the project root,
# as the Windows that TORVAN_PREFIX names (win64, the default, or win32), in the locale that
# TORVAN_LOCALE or LC_ALL names for Wine alone (default zh_CN.UTF-8: without a stored language the
# dialog opens in Simplified Chinese, which reads correctly only under that code page). With a
# display the dialog opens there until it is closed; without one it runs on a virtual display, and
# a screenshot is saved. The registry key is left as the program finds it.   show.sh [shot.png]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
exe=$repo/build/win32/app/TorvanPatch.exe
if [ "${1-}" = --in-wine-env ]; then # inside: the dialog as a player sees it, or its screenshot
    # An installed CJK font stands in for the Chinese dialog faces, so the Chinese texts read.
    for face in SimSun 宋体 MingLiU 細明體 PMingLiU 新細明體; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
            /d "${TORVAN_CJK_FONT:-WenQuanYi Micro Hei}" /f >/dev/null
    done
    if [ -z "${2-}" ]; then exec scripts/wine-run.sh "$exe"; fi
    scripts/wine-run.sh "$exe" &
    pid=$! win=
    for _ in $(seq 100); do
        win=$(xdotool search --name TORVAN95 2>/dev/null | head -n1 || true)
        if [ -n "$win" ]; then break; fi
        sleep 0.2
    done
    if [ -n "$win" ]; then sleep 1 && import -window "$win" "$2"; fi # once the first paint is done
    kill "$pid" 2>/dev/null || true # it writes nothing unless Save is pressed
    wait "$pid" 2>/dev/null || true
    if [ -z "$win" ]; then echo "show: the dialog did not appear" >&2 && exit 1; fi
    exit 0
fi
echo "==== The host's packages and the project root"
ready_for_windows
echo "==== Building the product (in the root)"
scripts/build.sh win32
export TORVAN_PREFIX=${TORVAN_PREFIX:-win64} TORVAN_LOCALE=${TORVAN_LOCALE:-${LC_ALL:-zh_CN.UTF-8}}
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-show-$TORVAN_PREFIX}
echo "==== $TORVAN_PREFIX, Wine's language and code page from $TORVAN_LOCALE (TORVAN_LOCALE=zh_TW.UTF-8 shows another)"
if [ -n "${DISPLAY:-}" ]; then
    echo "==== Running TorvanPatch.exe on $DISPLAY (close the dialog to finish)"
    exec scripts/with-wine-env.sh "$0" --in-wine-env
fi
shot=$(realpath -m "${1:-$repo/build/TorvanPatch.png}")
mkdir -p "$(dirname "$shot")"
echo "==== No display: running TorvanPatch.exe on a virtual display"
TORVAN_ROOT_BIND=$(dirname "$shot") scripts/with-wine-env.sh "$0" --in-wine-env "$shot"
echo "Screenshot of the running dialog: $shot"
