#!/bin/sh
# Installed as the root's "wine" (root-packages.sh): the 64-bit Wine in both ways of running
# 32-bit programs (Debian's wrapper would take the 32-bit one), unless a 32-bit prefix's mounts
# hide it (in-root.sh), and then the 32-bit loader.
if [ -x /usr/lib/wine/wine64 ]; then exec /usr/lib/wine/wine64 "$@"; fi
exec /usr/lib/wine/wine "$@"
