#!/usr/bin/env bash
# Builds the CMake presets named (CMakePresets.json), quietly: their output shows only when one
# fails. Inside the project root, which it enters once for all of them when called from the host.
#   build.sh PRESET...
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
enter_root "$@"
cd "$repo"
for preset in "$@"; do build_preset "$preset"; done
