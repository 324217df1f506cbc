#!/usr/bin/env bash
# Installs what is missing, builds Clarivo.exe and starts it under Wine. With a display it simply runs
# the program; with none it runs it on a virtual display, saves a screenshot in the build folder,
# closes the program and prints the screenshot's path.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Clarivo

exe="$root/build/windows/app/Clarivo.exe"
export WINEPREFIX="$root/build/windows/wineprefix"
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" "$exe"
fi

shot="$root/build/windows/clarivo-screenshot.png"
"$root/scripts/with-xvfb.sh" bash -c '
  "$1/scripts/wine-run.sh" "$2" &
  for _ in $(seq 60); do
    win=$(xdotool search --name "^Clarivo$" 2>/dev/null | head -n1) && [ -n "$win" ] && break
    sleep 1
  done
  sleep 3
  import -window root "$3"
  [ -n "${win:-}" ] && xdotool windowclose "$win" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
' _ "$root" "$exe" "$shot"
echo "$shot"
