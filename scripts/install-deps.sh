#!/usr/bin/env bash
# Installs what the build, the native tests and the making of the Wine root need from Debian's
# packages: the one step that takes root. Everything else runs as an ordinary user, who needs a
# subordinate ID range (/etc/subuid, /etc/subgid) for the Wine root's files; this checks for one.
# Safe to run again: it only calls apt-get when a package is missing. The Windows side (Wine 10,
# qemu-i386, Xvfb, fonts, screenshot tools) lives in the root that scripts/wine-root.sh makes.
set -euo pipefail
packages=(
    cmake make gcc clang libclang-rt-14-dev googletest  # native build, sanitizers, libFuzzer, tests
    g++-mingw-w64-i686-win32                            # the product's compiler (win32 threads: XP)
    g++-mingw-w64-i686-posix                            # the Windows tests' compiler (std::mutex)
    binutils-mingw-w64-i686                             # windres, objdump
    mmdebstrap uidmap                                   # makes the Wine root, also unprivileged
    zip unzip                                           # the players' package (release.sh)
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
elif [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: installing Debian packages takes root, once: sudo $0" >&2
    echo "install-deps: missing: ${missing[*]}" >&2
    exit 1
else
    echo "install-deps: installing from Debian: ${missing[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

# Whoever runs the rest: this user, or the one who called sudo.
user=${SUDO_USER:-$(id -un)}
[ "$user" != root ] || exit 0
for f in /etc/subuid /etc/subgid; do
    grep -q "^$user:\|^$(id -u "$user"):" "$f" 2>/dev/null && continue
    # A range after every one given out so far.
    from=$(cat /etc/subuid /etc/subgid 2>/dev/null | awk -F: '$2 + $3 > m { m = $2 + $3 }
        END { print (m > 100000 ? m : 100000) }')
    echo "install-deps: $user has no subordinate ID range in $f, which the Wine root's files need;" \
        "as root: usermod --add-subuids $from-$((from + 65535)) --add-subgids $from-$((from + 65535)) $user" >&2
    [ -n "${SUDO_USER:-}" ] || exit 1 # the admin is told; the user cannot go on
    exit 0
done
