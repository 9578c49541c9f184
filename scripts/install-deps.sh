#!/usr/bin/env bash
# Installs all the host needs, the one step that takes root: mmdebstrap, which makes the project's
# Debian 13 root (make-root.sh) where the whole toolchain lives, and uidmap, with which an ordinary
# user enters it. Such a user needs a subordinate ID range (/etc/subuid, /etc/subgid) for the root's
# files; this checks for one. Safe to run again: apt-get runs only when a package is missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
packages=(mmdebstrap uidmap)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: the host has what it needs (${packages[*]})"
elif [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: installing Debian packages takes root, once: sudo $0" >&2
    echo "install-deps: missing: ${missing[*]}" >&2
    exit 1
else
    echo "install-deps: installing from Debian: ${missing[*]} (apt's output only if it fails)"
    quietly apt-get update -q
    quietly env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

# Whoever runs the rest: this user, or the one who called sudo.
user=${SUDO_USER:-$(id -un)}
if [ "$user" = root ]; then exit 0; fi
for f in /etc/subuid /etc/subgid; do
    if grep -q "^$user:\|^$(id -u "$user"):" "$f" 2>/dev/null; then continue; fi
    # A range after every one given out so far.
    from=$(cat /etc/subuid /etc/subgid 2>/dev/null | awk -F: '$2 + $3 > m { m = $2 + $3 }
        END { print (m > 100000 ? m : 100000) }')
    echo "install-deps: $user has no subordinate ID range in $f, which the root's files need;" \
        "as root: usermod --add-subuids $from-$((from + 65535)) --add-subgids $from-$((from + 65535)) $user" >&2
    if [ -z "${SUDO_USER:-}" ]; then exit 1; fi # the admin is told; the user cannot go on
    exit 0
done
