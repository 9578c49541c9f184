#!/usr/bin/env bash
# Start-up benchmark (not part of the test run): under wine64, the median time from process
# creation to a visible dialog, for TorvanPatch.exe and two baselines that show a dialog and do
# nothing else (an empty one, and the program's own twenty-control dialog resource), runs
# interleaved; then the ratios and the 32-bit product's size and imports. Release (MinSizeRel)
# builds, as shipped.
#   bench-startup.sh [runs]   (default 25)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
runs=${1:-25}
scripts/install-deps.sh
cmake --preset win32 >/dev/null && cmake --build --preset win32 >/dev/null
bench=build/win64-bench
cmake --preset win64 -B "$bench" -DCMAKE_BUILD_TYPE=MinSizeRel -DTORVAN_WINDOWS_TESTS=OFF >/dev/null
cmake --build "$bench" -j2 >/dev/null
winpath() { echo "Z:${1//\//\\}"; }
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-bench}
export LC_ALL=${LC_ALL:-en_US.UTF-8}
echo "==== Start-up under wine64 ($runs runs each, interleaved, LC_ALL=$LC_ALL)"
out=$(scripts/with-wine-env.sh scripts/wine-run.sh "$bench/tests/bench/startup_bench.exe" "$runs" \
    "$(winpath "$repo/$bench/app/TorvanPatch.exe")" \
    "$(winpath "$repo/$bench/tests/bench/bare_dialog.exe")" \
    "$(winpath "$repo/$bench/tests/bench/bare_resource_dialog.exe")")
grep -a '^median' <<<"$out"
medians=($(sed -n 's/^median .* \([0-9.]*\) ms over .*/\1/p' <<<"$out"))
awk -v t="${medians[0]}" -v e="${medians[1]}" -v r="${medians[2]}" 'BEGIN {
    printf "ratio to the empty dialog: %.3f\nratio to the same dialog resource: %.3f\n", t / e, t / r }'
echo "==== The 32-bit product"
scripts/check-exe.sh build/win32/app/TorvanPatch.exe pe32
