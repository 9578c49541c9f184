#!/usr/bin/env bash
# Runs every test: the native unit tests and a bounded fuzz run (ASan + UBSan); the 32-bit product
# build with its exe checks (imports, Windows XP, reproducible bytes); and the end-to-end suite,
# 32-bit like the product, driving build/win32's TorvanPatch.exe under Wine 10 in six locales,
# through WoW64 or emulated (scripts/windows-32.sh; TORVAN_WINDOWS_32 forces one).
# Checks the Debian packages and makes the Wine root first (once per machine and user).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
step() { printf '\n==== %s\n' "$*"; }

step "Packages and the Wine root"
scripts/install-deps.sh
TORVAN_WINDOWS_32=$(scripts/windows-32.sh --say)
export TORVAN_WINDOWS_32
scripts/wine-root.sh

step "Native build (clang, ASan + UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native

# The native tests, a 30-second fuzz run among them, go on while the Windows side builds.
native_log=$(mktemp)
ctest --preset native >"$native_log" 2>&1 &
native_tests=$!
trap 'kill "$native_tests" 2>/dev/null || true' EXIT

step "The 32-bit product and its exe checks"
cmake --preset win32 >/dev/null
cmake --build --preset win32
scripts/check-exe.sh build/win32/app/TorvanPatch.exe pe32
scripts/check-reproducible.sh

step "The end-to-end tests' build (32-bit, like the product)"
cmake --preset wintest >/dev/null
cmake --build --preset wintest

step "Native tests (unit tests; the template parser fuzzed for 30 s)"
wait "$native_tests" || true
cat "$native_log"

step "End-to-end tests: the product under Wine 10 ($TORVAN_WINDOWS_32) in six locales"
wine_log=$(mktemp)
# A fresh prefix per run: no registry state or settings carried over from an earlier run.
rm -rf build/wineprefix-test
WINEPREFIX="$repo/build/wineprefix-test" scripts/with-wine-env.sh ctest --preset wintest 2>&1 |
    tee "$wine_log" || true

# One closing line over both runs.
total() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n1; }
read -r nf nt < <(total "$native_log")
read -r wf wt < <(total "$wine_log")
failed=$((nf + wf))
echo
echo "$((nt + wt - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
