#!/usr/bin/env bash
# Prepares a Wine prefix for Clarivo once: a 64-bit prefix in which Wine draws no window-manager frame
# (Decorated and Managed off), so that the non-client area is painted by the program and Wine alone.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.clarivo-ready" ] && exit 0

export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko download prompts: the machine has no internet and Clarivo needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
[ -n "${DISPLAY:-}" ] || export DISPLAY=   # wineboot needs no display
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.clarivo-ready"
