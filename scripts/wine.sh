#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private, quiet prefix (build/wine),
# creating the prefix on first use. Usage: scripts/wine.sh PROGRAM.exe [ARGS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

export WINEPREFIX="${WINEPREFIX:-$root/build/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64

# Tests may start together: one of them creates the prefix while the others wait.
mkdir -p "$WINEPREFIX"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
  fi
) 9>"$WINEPREFIX.lock"

exec "$wine" "$@"
