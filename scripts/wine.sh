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
    # Wine's own fonts (MS Sans Serif, Tahoma, Marlett), so that dialogs are measured and drawn
    # as on Windows rather than with whatever the Linux fonts offer.
    if [ -d /usr/share/wine/fonts ]; then
      cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
  fi
) 9>"$WINEPREFIX.lock"

exec "$wine" "$@"
