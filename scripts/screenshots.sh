#!/usr/bin/env bash
# Screenshots of the dialog in its three languages, each under its own locale, for docs/.
# Each run starts from a key holding the language and Windowed = 1, so every control is enabled.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
if [ "${1:-}" != --in-wine-env ]; then
    ready_for_windows
    scripts/build.sh win32
    export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-shots}
    exec scripts/with-wine-env.sh "$0" --in-wine-env
fi

# /reg:32: the 32-bit view, which the 32-bit program reads.
key='HKLM\Software\Kavrenta\Torvan'
shoot() { # locale, stored language, output name
    TORVAN_LOCALE=$1 scripts/wine-run.sh reg add "$key" /reg:32 /v Language /d "$2" /f >/dev/null
    TORVAN_LOCALE=$1 scripts/wine-run.sh reg add "$key" /reg:32 /v Windowed /t REG_DWORD /d 1 /f >/dev/null
    TORVAN_LOCALE=$1 scripts/show.sh --in-wine-env "$repo/docs/$3"
    echo "docs/$3 ($1, $2)"
}
shoot zh_CN.UTF-8 GB2312 dialog-zh-CN.png
shoot zh_TW.UTF-8 BIG5 dialog-zh-TW.png
shoot en_US.UTF-8 OTHER dialog-en.png
scripts/wine-run.sh reg delete "$key" /reg:32 /f >/dev/null
