#!/usr/bin/env bash
# Runs one 32-bit Windows program under the Wine 10 of the Wine root, in the prefix of the kind
# TORVAN_PREFIX names: CTest's emulator for the Windows builds. Inside the root (with-wine-env.sh
# ctest ...) it runs Wine directly; from outside, or with no display, through with-wine-env.sh.
#   wine-run.sh EXE [ARGS...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_wine_env "$@"
wine_defaults
exec wine "$@"
