#!/usr/bin/env bash
# Installs the whole toolchain and the Windows side, inside the project root as its administrator
# (make-root.sh copies it to /usr/local/lib/torvan-root and runs it there). Each step is a no-op
# when already done, so a root of an older recipe is brought up to this one.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
here=$(dirname "${BASH_SOURCE[0]}")
dpkg --configure -a # finishes what an interrupted run left half-installed
# No service may start inside the root.
printf '#!/bin/sh\nexit 101\n' >/usr/sbin/policy-rc.d
chmod 755 /usr/sbin/policy-rc.d
# i386: the 32-bit Wine, its libraries and its PE DLLs, which WoW64 runs as well.
if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
apt-get update -q

# The build: clang with its sanitizer and libFuzzer runtime; both MinGW-w64 i686 compilers (win32
# threads for the product, which must run on XP; posix for the tests: GoogleTest needs std::mutex);
# Python for the readme's width check; gcc and libc's static library for the 32-bit code check.
build=(cmake make clang libclang-rt-dev googletest g++-mingw-w64-i686-win32
       g++-mingw-w64-i686-posix binutils-mingw-w64-i686 zip unzip shellcheck python3 gcc libc6-dev)
# Recommends are left out (they bring sound, printing, scanning and media stacks); what Wine loads
# for windows, text and fonts is named instead, for both halves.
x=(libfreetype6 libfontconfig1 libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxext6
   libxfixes3 libxinerama1 libxxf86vm1 libgnutls30t64)
windows=(wine wine64 libwine wine32:i386 fonts-wine qemu-user "${x[@]}" "${x[@]/%/:i386}"
         fontconfig xvfb xauth xdotool imagemagick fonts-wqy-microhei procps)
apt-get install -y -q --no-install-recommends "${build[@]}" "${windows[@]}"

# The WoW64 way: the 64-bit Wine takes any 32-bit loader it finds, so that way is shown this copy
# of its directory without one (hard links: no space).
rm -rf /usr/lib/wine-wow64
cp -al /usr/lib/wine /usr/lib/wine-wow64
rm /usr/lib/wine-wow64/wine
install -m 755 "$here/root-wine.sh" /usr/local/bin/wine

# windows-32.sh runs this on the host, before any entry: static, whatever the host's C library.
mkdir -p /usr/local/libexec
gcc -O0 -static -no-pie -o /usr/local/libexec/torvan-runs-32bit-code "$here/runs-32bit-code.c"

apt-get clean
rm -rf /var/lib/apt/lists/*
# What the scripts rely on.
for t in wine wineserver Xvfb xdotool import cmake ctest qemu-i386 /usr/lib/wine/wine clang++ \
    i686-w64-mingw32-g++-win32 i686-w64-mingw32-g++-posix i686-w64-mingw32-windres \
    i686-w64-mingw32-objdump zip unzip shellcheck python3; do
    command -v "$t" >/dev/null || { echo "missing $t" >&2 && exit 1; }
done
for f in /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll /usr/src/googletest/CMakeLists.txt; do
    [ -f "$f" ] || { echo "missing $f" >&2 && exit 1; }
done
