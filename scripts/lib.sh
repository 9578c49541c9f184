# shellcheck shell=bash
# Sourced by the scripts for what they share. Sets repo (the repository) and scripts (this folder).
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
scripts=$repo/scripts

# The root's marker, written last when it is made: it exists only inside a finished project root.
stamp=/etc/torvan-root
in_root() { [ -e "$stamp" ]; }

# Where the project root lives unless TORVAN_ROOT says: root's cache or the user's. The old name is
# that of roots made before they held the toolchain.
root_place() {
    local cache=${XDG_CACHE_HOME:-$HOME/.cache}
    if [ "$(id -u)" -eq 0 ]; then cache=/var/cache; fi
    echo "$cache/${1:-torvan-root}"
}
old_root_place() { root_place torvan-wine-root; }

# Run the calling script again inside the root, or the Wine environment (root, display, prefix).
enter_root() { if ! in_root; then exec "$scripts/in-root.sh" "$0" "$@"; fi; }
enter_wine_env() { if ! in_root || [ -z "${DISPLAY:-}" ]; then exec "$scripts/with-wine-env.sh" "$0" "$@"; fi; }

# Wine's defaults: the prefix of the kind asked for, no debug output, no Mono or Gecko prompts.
wine_defaults() {
    export TORVAN_PREFIX=${TORVAN_PREFIX:-win64}
    export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix-$TORVAN_PREFIX}
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# On the host: the packages, the root, and the way this machine runs 32-bit Windows programs
# (said in one line), decided before any entry of the root.
ready_for_windows() {
    "$scripts/install-deps.sh"
    "$scripts/make-root.sh"
    TORVAN_WINDOWS_32=$("$scripts/windows-32.sh" --say)
    export TORVAN_WINDOWS_32
}

# Runs a command quietly; its output is shown only when it fails.
quietly() {
    local log rc=0
    log=$(mktemp)
    "$@" >"$log" 2>&1 || { rc=$? && cat "$log" >&2; }
    rm -f "$log"
    return "$rc"
}

build_preset() { quietly cmake --preset "$1" && quietly cmake --build --preset "$1"; } # a preset, built

# The product's version from app/Version.h, which its resources and About text use too.
product_version() {
    awk '$1 == "#define" && $2 ~ /^TORVAN_VERSION_(MAJOR|MINOR|PATCH|BUILD)$/ { v[$2] = $3 }
         END { print v["TORVAN_VERSION_MAJOR"] "." v["TORVAN_VERSION_MINOR"] "." \
                     v["TORVAN_VERSION_PATCH"] "." v["TORVAN_VERSION_BUILD"] }' "$repo/app/Version.h"
}
