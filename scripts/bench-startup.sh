#!/usr/bin/env bash
# Start-up benchmark (not part of the test run): under wine64, the median time from process
# creation to a visible dialog for TorvanPatch.exe and for a bare program that shows an empty
# dialog, interleaved, with their ratio; then the 32-bit product's size and imports.
#   bench-startup.sh [runs]   (default 21)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
runs=${1:-21}
scripts/install-deps.sh
cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null
cmake --preset win64 >/dev/null && cmake --build --preset win64 >/dev/null
winpath() { echo "Z:${1//\//\\}"; }
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-bench}
export LC_ALL=${LC_ALL:-en_US.UTF-8}
echo "==== Start-up under wine64 ($runs runs each, interleaved, LC_ALL=$LC_ALL)"
scripts/with-wine-env.sh scripts/wine-run.sh build/win64/tests/bench/startup_bench.exe "$runs" \
    "$(winpath "$repo/build/win64/app/TorvanPatch.exe")" \
    "$(winpath "$repo/build/win64/tests/bench/bare_dialog.exe")" | grep -E '^(median|ratio)'
echo "==== The 32-bit product"
scripts/check-exe.sh build/win32/app/TorvanPatch.exe pe32
