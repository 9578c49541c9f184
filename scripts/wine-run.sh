#!/usr/bin/env bash
# Runs one Windows program (32- or 64-bit) under the Wine 10 of the Wine root: CTest's emulator for
# the Windows builds. CTest runs inside the root (with-wine-env.sh ctest ...), where this runs Wine
# directly; called from outside, it goes through with-wine-env.sh, as it does when no display is set.
#   wine-run.sh EXE [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ ! -e /etc/torvan-wine-root ] || [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-wine-env.sh" "$here/wine-run.sh" "$@"
fi
export WINEPREFIX=${WINEPREFIX:-$(cd "$here/.." && pwd)/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
