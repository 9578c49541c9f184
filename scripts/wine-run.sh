#!/usr/bin/env bash
# Runs one Windows program under wine64: the CTest emulator of the win64 preset.
# Without a display it wraps itself in with-wine-env.sh, which starts one for this call.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-wine-env.sh" "$here/wine-run.sh" "$@"
fi
export WINEPREFIX=${WINEPREFIX:-$(cd "$here/.." && pwd)/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec /usr/lib/wine/wine64 "$@"
