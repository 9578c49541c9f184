#!/usr/bin/env bash
# Runs every test: the native unit tests and fuzz run (ASan + UBSan), the 32-bit product build with
# its import check, and the 64-bit build whose Windows-side tests run under wine64 on a virtual
# display. Installs missing Debian packages first.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
step() { printf '\n==== %s\n' "$*"; }

step "Packages"
scripts/install-deps.sh

step "Native build (clang, ASan + UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native

step "Native tests (includes a bounded fuzz run of the template parser)"
native_log=$(mktemp)
ctest --preset native 2>&1 | tee "$native_log"

step "32-bit product build"
cmake --preset win32 >/dev/null
cmake --build --preset win32
scripts/check-exe.sh build/win32/app/TorvanPatch.exe pe32

step "64-bit build and Windows-side tests under wine64"
cmake --preset win64 >/dev/null
cmake --build --preset win64
scripts/check-exe.sh build/win64/app/TorvanPatch.exe pe32+
wine_log=$(mktemp)
# A fresh prefix per run: no registry state or font settings carried over from an earlier run.
rm -rf build/wineprefix-test
WINEPREFIX="$repo/build/wineprefix-test" scripts/with-wine-env.sh ctest --preset win64 2>&1 | tee "$wine_log"

# One closing line over both runs.
total() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n1; }
read -r nf nt < <(total "$native_log")
read -r wf wt < <(total "$wine_log")
failed=$((nf + wf))
passed=$((nt + wt - failed))
echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
