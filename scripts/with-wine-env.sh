#!/usr/bin/env bash
# Runs a command inside the project root (in-root.sh) with a virtual display (when none is set)
# and an initialised Wine prefix, then stops the prefix's wineserver before the display: a
# wineserver left bound to a dead display makes every later window creation fail.
#   with-wine-env.sh CMD [ARGS...]
#   TORVAN_PREFIX  win64 (default): 64-bit Windows 10; win32: 32-bit Windows XP SP3
#   WINEPREFIX     prefix to use (default: build/wineprefix-<kind> in the repo); reused across runs
# Inside, `wine PROGRAM` runs a 32-bit Windows program in that prefix.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
if ! in_root; then exec "$scripts/in-root.sh" "$scripts/with-wine-env.sh" "$@"; fi
wine_defaults
export WINEARCH=$TORVAN_PREFIX

xvfb_pid=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; fi
    return 0
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'rm -f "$fdfile"; cleanup' EXIT
    for _ in $(seq 100); do
        if [ -s "$fdfile" ]; then break; fi
        sleep 0.1
    done
    DISPLAY=":$(head -n1 "$fdfile")"
    export DISPLAY
    if [ "$DISPLAY" = : ]; then echo "with-wine-env: Xvfb did not start" >&2 && exit 1; fi
fi
# Without a display Wine still starts programs, but none ever shows a window: say so now rather
# than let every test wait for one.
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "with-wine-env: the display $DISPLAY does not answer" >&2 && exit 1
fi

mkdir -p "$(dirname "$WINEPREFIX")"
# A prefix of the repository's own made by another Wine, way or kind is made again, not patched.
made_by=$WINEPREFIX/.torvan-wine
made_for="$(wine --version) $TORVAN_WINDOWS_32 $TORVAN_PREFIX"
if [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$made_by" 2>/dev/null)" != "$made_for" ]; then
    if [[ $(realpath -m "$WINEPREFIX") != "$(cd "$repo" && pwd -P)"/build/* ]]; then
        echo "with-wine-env: $WINEPREFIX was made by another Wine, way or kind" >&2
        exit 1
    fi
    echo "with-wine-env: $WINEPREFIX was made by another Wine, way or kind; making it again" >&2
    rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "with-wine-env: creating the $TORVAN_PREFIX Wine prefix $WINEPREFIX" >&2
    wine wineboot -i >/dev/null 2>&1 || true
    # A virtual display has no window manager: Wine draws the frames itself instead of waiting
    # for one on every window that closes.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # No debugger: a program that crashes ends at once with its exception code, instead of
    # waiting in Wine's, which also holds the test's output open.
    views="32 64"
    if [ "$TORVAN_PREFIX" = win32 ]; then views=32; fi
    for view in $views; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' \
            "/reg:$view" /f >/dev/null 2>&1
    done
    if [ "$TORVAN_PREFIX" = win32 ]; then wine winecfg -v winxp >/dev/null 2>&1; fi
    wineserver -w
    case $TORVAN_PREFIX in
    win64) [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] ;;
    win32) grep -qx '#arch=win32' "$WINEPREFIX/system.reg" &&
        grep -q '"CSDVersion"="Service Pack 3"' "$WINEPREFIX/system.reg" ;;
    esac || { echo "with-wine-env: $WINEPREFIX is not a $TORVAN_PREFIX prefix" >&2; exit 1; }
    echo "$made_for" >"$made_by"
fi

"$@"
