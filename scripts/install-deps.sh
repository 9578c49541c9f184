#!/usr/bin/env bash
# Installs what the build, the tests and the demo need from Debian's packages, once.
# Safe to run again: it only calls apt-get when a package is missing.
set -euo pipefail
packages=(
    cmake make clang libclang-rt-14-dev googletest      # native build, sanitizers, libFuzzer, tests
    g++-mingw-w64-i686-win32                            # the product's compiler (win32 threads: XP)
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix # test builds' compilers (posix threads)
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64   # windres, objdump
    wine64 xvfb                                         # run the Windows build headless
    imagemagick xdotool                                 # screenshots of the running dialog
    fonts-wqy-microhei                                  # a CJK font for the Chinese dialogs
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
    exit 0
fi
echo "install-deps: installing from Debian: ${missing[*]}"
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
