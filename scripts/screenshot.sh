#!/usr/bin/env bash
# Starts a Windows program under the Wine environment's Wine, waits (bounded) for its dialog, saves
# a PNG of that window and ends the program (it writes nothing unless Save is pressed).
#   screenshot.sh <exe> <out.png> [title-regex]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_wine_env "$@"
exe=$1 out=$2 title=${3:-TORVAN95}
"$scripts/wine-run.sh" "$exe" &
pid=$!
win=
for _ in $(seq 100); do
    win=$(xdotool search --name "$title" 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.2
done
if [ -z "$win" ]; then
    kill "$pid" 2>/dev/null || true
    echo "screenshot: no window titled /$title/ appeared" >&2
    exit 1
fi
sleep 1 # let the first paint finish
mkdir -p "$(dirname "$out")"
import -window "$win" "$out"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
