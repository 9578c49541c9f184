#!/usr/bin/env bash
# Runs every test: shellcheck over the scripts; the native unit tests and a bounded fuzz run (ASan
# + UBSan); the 32-bit product build with its exe checks (size, imports, Windows XP, reproducible
# bytes) and the players' package; and the end-to-end suite driving build/win32's TorvanPatch.exe
# under Wine 10 in six locales, as 64-bit Windows 10 (win64) and as 32-bit Windows XP SP3 (win32),
# each in a fresh prefix; TORVAN_PREFIX=win64 or =win32 runs one. Checks the host's packages and
# makes the project root first; everything else runs in the root, entered once for the builds and
# once per prefix.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$repo"
step() { printf '\n==== %s\n' "$*"; }

# Inside the root: every build, the checks, the native tests.
if [ "${1-}" = --builds ]; then
    step "Shell scripts (shellcheck)"
    shellcheck scripts/*.sh .ci/run
    echo "shellcheck: scripts/ and .ci/ clean"

    step "Native build (clang, ASan + UBSan)"
    build_preset native
    # The native tests, a 30-second fuzz run among them, go on while the Windows side builds.
    native_log=$(mktemp)
    ctest --preset native >"$native_log" 2>&1 &
    native_tests=$!
    trap 'kill "$native_tests" 2>/dev/null || true; rm -f "$native_log"' EXIT

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
    exit 0
fi

prefixes=${TORVAN_PREFIX:-win64 win32}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
trap 'exit 130' INT TERM # once what runs has ended: no summary for an interrupted run
# The count of the last CTest summary in the log: failed, then all.
total() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -n1; }

step "The host's packages and the project root"
ready_for_windows

scripts/in-root.sh "$0" --builds 2>&1 | tee "$log"
if ! read -r failed all < <(total); then failed=1 all=1; fi # no native summary
for prefix in $prefixes; do
    windows="32-bit Windows XP SP3" way=$TORVAN_WINDOWS_32
    if [ "$prefix" = win64 ]; then windows="64-bit Windows 10"; fi
    if [ "$prefix-$way" = win32-wow64 ]; then way="the 32-bit Wine run directly"; fi
    step "End-to-end tests as $windows ($prefix, $way) in six locales"
    # A fresh prefix: no registry state carried over from an earlier run.
    rm -rf "build/wineprefix-test-$prefix"
    TORVAN_PREFIX=$prefix WINEPREFIX="$repo/build/wineprefix-test-$prefix" \
        scripts/with-wine-env.sh ctest --preset wintest 2>&1 | tee "$log" || true
    if ! read -r f a < <(total); then f=1 a=1; fi # no summary: the run itself failed
    failed=$((failed + f)) all=$((all + a))
done
echo
echo "$((all - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
