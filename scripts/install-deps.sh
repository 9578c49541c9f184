#!/usr/bin/env bash
# Installs what the build and the native tests need from Debian's packages, once; the Windows side
# (Wine 10, Xvfb, fonts, screenshot tools) lives in the root that scripts/wine-root.sh makes.
# Safe to run again: it only calls apt-get when a package is missing.
set -euo pipefail
packages=(
    cmake make clang libclang-rt-14-dev googletest      # native build, sanitizers, libFuzzer, tests
    g++-mingw-w64-i686-win32                            # the product's compiler (win32 threads: XP)
    g++-mingw-w64-i686-posix                            # the Windows tests' compiler (std::mutex)
    binutils-mingw-w64-i686                             # windres, objdump
    debootstrap                                         # makes the Wine root
    zip unzip                                           # the players' package (release.sh)
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
