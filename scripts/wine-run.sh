#!/usr/bin/env bash
# Runs a Windows executable under Wine in the project's own prefix (the build folder's "wineprefix"),
# preparing that prefix on first use. CTest uses this as the cross-compiling emulator.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

exe=$1
if [ -z "${WINEPREFIX:-}" ]; then
  # The build folder is the nearest folder above the executable that holds a CMakeCache.txt.
  dir=$(cd "$(dirname "$exe")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || dir=$(cd "$here/.." && pwd)/build
  export WINEPREFIX="$dir/wineprefix"
fi
"$here/wine-prefix.sh" "$WINEPREFIX"
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
