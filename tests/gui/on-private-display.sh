#!/usr/bin/env bash
# Runs a Windows program under Wine on an X server of its own and cleans up everything it
# started: the Xvfb by its pid, the Wine processes of WINEPREFIX (which must be the caller's own
# prefix) with wineserver -k.
#
# Usage: on-private-display.sh WORK_DIR SECONDS WINE_SH PROGRAM.exe [ARGS...]
#   WORK_DIR   a folder of the caller's; the X server's display number is kept there
#   SECONDS    the program is killed after this long, so a hung dialog cannot hang the test
#   WINE_SH    scripts/wine.sh, which creates the prefix on first use
# With USBWIZ_DPI set, the prefix's display runs at that DPI (96 is Windows' 100 %, 144 150 %).
# With SNAPSHOT_DIR set (a Linux folder that the program sees as a Windows path), every
# NAME.rect file that appears there (WIDTHxHEIGHT+X+Y) is answered with NAME.png, a screenshot of
# that rectangle, and the .rect file is removed to say so.
set -euo pipefail
work=$1 seconds=$2 wine_sh=$3
shift 3
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of the caller}"
if [ ! -f "$1" ]; then
  echo "FAIL: $1 does not exist: build the Windows programs first" \
       "(cmake --preset windows -B BUILD && cmake --build BUILD)" >&2
  exit 1
fi

mkdir -p "$work"
xvfb_pid="" watcher_pid=""
cleanup() {
  if [ -n "$watcher_pid" ]; then
    kill "$watcher_pid" 2>/dev/null || true
    wait "$watcher_pid" 2>/dev/null || true
  fi
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients.
display_file="$work/display"
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "FAIL: Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$display_file" ] || { echo "FAIL: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"
echo "== X server $DISPLAY (pid $xvfb_pid), Wine prefix $WINEPREFIX"

take_snapshots() {
  while :; do
    for request in "$SNAPSHOT_DIR"/*.rect; do
      [ -e "$request" ] || continue
      name=$(basename "$request" .rect)
      geometry=$(head -n1 "$request")
      # Wine may still be pushing the last paint to the X server: take shots until two agree.
      previous="$SNAPSHOT_DIR/$name.previous.png"
      import -window root -crop "$geometry" +repage "$previous" || true
      for _ in $(seq 1 40); do
        sleep 0.1
        import -window root -crop "$geometry" +repage "$SNAPSHOT_DIR/$name.png" || true
        cmp -s "$previous" "$SNAPSHOT_DIR/$name.png" && break
        cp "$SNAPSHOT_DIR/$name.png" "$previous"
      done
      rm -f "$previous" "$request"
      echo "== snapshot $name ($geometry): $SNAPSHOT_DIR/$name.png"
    done
    sleep 0.1
  done
}
if [ -n "${SNAPSHOT_DIR:-}" ]; then
  mkdir -p "$SNAPSHOT_DIR"
  take_snapshots &
  watcher_pid=$!
fi

# Without a window manager, Wine waits two seconds for one to acknowledge every window it hides
# (each page that ends). Windows that Wine keeps to itself need no such answer, and Wine draws
# their title bars, so screenshots show the captions.
if ! grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
  bash "$wine_sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
fi

# Wine reads the display's DPI from the prefix when a program starts.
if [ -n "${USBWIZ_DPI:-}" ] &&
  ! grep -qs "^\"LogPixels\"=dword:$(printf '%08x' "$USBWIZ_DPI")\$" "$WINEPREFIX/user.reg"; then
  bash "$wine_sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$USBWIZ_DPI" /f \
    >/dev/null
fi

status=0
timeout --kill-after=10 "$seconds" bash "$wine_sh" "$@" </dev/null || status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "FAIL: $1 did not finish within $seconds seconds" >&2
fi
exit "$status"
