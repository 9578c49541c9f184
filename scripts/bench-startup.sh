#!/usr/bin/env bash
# Start-up benchmark (not part of the test run): under Wine 10, the median time from process
# creation to a visible dialog, for TorvanPatch.exe and two baselines that show a dialog and do
# nothing else (an empty one, and the program's own dialog resource), runs interleaved; then the
# ratios and the product's checks. 32-bit release builds, as shipped. It says which way ran them
# (scripts/windows-32.sh): compare figures, and ratios, only within one way.
#   bench-startup.sh [runs]   (default 25)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
runs=${1:-25}
locale=${TORVAN_LOCALE:-${LC_ALL:-en_US.UTF-8}}
if [ "${2-}" != --in-wine-env ]; then
    ready_for_windows
    export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-bench} TORVAN_LOCALE=$locale
    exec scripts/with-wine-env.sh "$0" "$runs" --in-wine-env
fi
bench=build/bench
quietly cmake --preset win32 -B "$bench" -DTORVAN_BENCH=ON
quietly cmake --build "$bench" -j2
winpath() { echo "Z:${1//\//\\}"; }
echo "==== Start-up under Wine, $TORVAN_WINDOWS_32 ($runs runs each, interleaved, LC_ALL=$locale)"
out=$(scripts/wine-run.sh "$bench/bench/startup_bench.exe" "$runs" \
    "$(winpath "$repo/$bench/app/TorvanPatch.exe")" \
    "$(winpath "$repo/$bench/bench/bare_dialog.exe")" \
    "$(winpath "$repo/$bench/bench/bare_resource_dialog.exe")")
grep -a '^median' <<<"$out"
mapfile -t medians < <(sed -n 's/^median .* \([0-9.]*\) ms over .*/\1/p' <<<"$out")
awk -v t="${medians[0]}" -v e="${medians[1]}" -v r="${medians[2]}" 'BEGIN {
    printf "ratio to the empty dialog: %.3f\nratio to the same dialog resource: %.3f\n", t / e, t / r }'
echo "(measured $TORVAN_WINDOWS_32: compare only with figures of the same way)"
echo "==== The product"
scripts/check-exe.sh "$bench/app/TorvanPatch.exe"
