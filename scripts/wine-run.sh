#!/usr/bin/env bash
# Runs a 32-bit Windows program under the root's Wine 10 in the prefix TORVAN_PREFIX names (CTest's
# emulator; from outside the root, or with no display, through with-wine-env.sh). TORVAN_LOCALE
# reaches Wine alone as LC_ALL: a bash script given a locale the root lacks warns.
#   wine-run.sh EXE [ARGS...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_wine_env "$@"
wine_defaults
exec env ${TORVAN_LOCALE:+LC_ALL="$TORVAN_LOCALE"} wine "$@"
