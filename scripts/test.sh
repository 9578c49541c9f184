#!/usr/bin/env bash
# Runs every test: the native unit tests and a bounded fuzz run (ASan + UBSan); the 32-bit product
# build with its exe checks (size, imports, Windows XP, reproducible bytes) and the players'
# package; and the end-to-end suite driving build/win32's TorvanPatch.exe under Wine 10 in six
# locales, as 64-bit Windows 10 (win64) and as 32-bit Windows XP SP3 (win32), each in a fresh
# prefix; TORVAN_PREFIX=win64 or =win32 runs one. Checks the packages and makes the Wine root first.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
step() { printf '\n==== %s\n' "$*"; }
prefixes=${TORVAN_PREFIX:-win64 win32}

step "Packages and the Wine root"
ready_for_windows

step "Native build (clang, ASan + UBSan)"
build_preset native
# The native tests, a 30-second fuzz run among them, go on while the Windows side builds.
native_log=$(mktemp)
ctest --preset native >"$native_log" 2>&1 &
native_tests=$!
trap 'kill "$native_tests" 2>/dev/null || true' EXIT

step "The 32-bit product and its exe checks"
build_preset win32
scripts/check-exe.sh build/win32/app/TorvanPatch.exe
# Checked once: the package's exe is this one.
TORVAN_EXE_CHECKED=$(sha256sum <build/win32/app/TorvanPatch.exe)
export TORVAN_EXE_CHECKED
scripts/check-reproducible.sh
scripts/check-release.sh

step "The end-to-end tests' build (32-bit, like the product)"
build_preset wintest

step "Native tests (unit tests; the template parser fuzzed for 30 s)"
wait "$native_tests" || true
cat "$native_log"

# The count of the last CTest summary in a log: failed, then all.
total() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n1; }
read -r failed all < <(total "$native_log")
for prefix in $prefixes; do
    windows="64-bit Windows 10" && [ "$prefix" = win64 ] || windows="32-bit Windows XP SP3"
    way=$TORVAN_WINDOWS_32 && [ "$prefix-$way" != win32-wow64 ] || way="the 32-bit Wine run directly"
    step "End-to-end tests as $windows ($prefix, $way) in six locales"
    log=$(mktemp)
    # A fresh prefix: no registry state carried over from an earlier run.
    rm -rf "build/wineprefix-test-$prefix"
    TORVAN_PREFIX=$prefix WINEPREFIX="$repo/build/wineprefix-test-$prefix" \
        scripts/with-wine-env.sh ctest --preset wintest 2>&1 | tee "$log" || true
    read -r f a < <(total "$log") || { f=1 a=1; } # no summary: the run itself failed
    failed=$((failed + f)) all=$((all + a))
done
echo
echo "$((all - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
