#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private, quiet prefix (build/wine),
# creating the prefix on first use. Usage: scripts/wine.sh PROGRAM.exe [ARGS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

export WINEPREFIX="${WINEPREFIX:-$root/build/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64

# Tests may start together: one of them creates the prefix while the others wait. A boot cut
# short (seen once on a busy machine) leaves system.reg without system32, a prefix Wine cannot
# start from, so the prefix counts as made only with kernel32.dll in place; else it is made again.
mkdir -p "$WINEPREFIX"
(
  flock 9
  system32=$WINEPREFIX/drive_c/windows/system32
  for attempt in 1 2; do
    [ ! -f "$system32/kernel32.dll" ] || break
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    # Everything goes, .update-timestamp too: with it Wine takes the prefix as up to date.
    rm -rf "${WINEPREFIX:?}" && mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >"$WINEPREFIX.boot.log" 2>&1 || true
    /usr/lib/wine/wineserver -w
    # Wine's own fonts (MS Sans Serif, Tahoma, Marlett), so that dialogs are measured and drawn
    # as on Windows rather than with whatever the Linux fonts offer.
    if [ -d /usr/share/wine/fonts ]; then
      cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
  done
  if [ ! -f "$system32/kernel32.dll" ]; then
    echo "wine.sh: could not make the Wine prefix $WINEPREFIX; wineboot said:" >&2
    cat "$WINEPREFIX.boot.log" >&2
    exit 1
  fi
) 9>"$WINEPREFIX.lock"

exec "$wine" "$@"
