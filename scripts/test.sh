#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the host build's sanitizer tests
# and short fuzz runs, then the Windows test executables under Wine on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

jobs=$(nproc)
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

export WINEPREFIX="$root/build/windows/wineprefix"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

status=0
ctest --preset host -j "$jobs" || status=1
"$root/scripts/with-xvfb.sh" ctest --preset windows -j "$jobs" || status=1
exit $status
