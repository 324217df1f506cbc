#!/usr/bin/env bash
# Runs a command on a private Xvfb display (started here, stopped when the command ends) unless
# CLARIVO_USE_DISPLAY=1 asks to use the current one. Usage: with-xvfb.sh COMMAND [ARGS...]
set -euo pipefail
if [ "${CLARIVO_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then exec "$@"; fi

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
num=$(head -n1 "$fdfile"); rm -f "$fdfile"
[ -n "$num" ] || { echo "with-xvfb: Xvfb did not start" >&2; kill $xvfb 2>/dev/null; exit 1; }
export DISPLAY=":$num"
stop() {
  # Wine's desktop process belongs to this display: end the prefix's Wine processes with it.
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  kill $xvfb 2>/dev/null || true
  wait $xvfb 2>/dev/null || true
}
trap stop EXIT
set +e
"$@"
rc=$?
set -e
exit $rc
