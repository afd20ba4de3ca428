#!/usr/bin/env bash
# Plays the GUI scenarios of a table against the real UsbDriverWizard.exe under Wine, all of them
# in one X server and one Wine session (Wine starts once), then checks what each scenario left
# behind against the native usbdrvgen, byte for byte. The table (scenarios.table) says the
# format; scenarios live beside it in scenarios/.
#
# Usage: run-scenarios.sh WINDOWS_BUILD USBDRVGEN WORK_DIR WINE_SH TABLE [NAME...]
#   NAME...   only these scenarios of the table (default: all)
# Output folders go to a fresh temporary folder (kept, and named, when a scenario fails);
# screenshots that scenarios take go to WORK_DIR/snapshots. WINEPREFIX must name the caller's own
# prefix. Runs as root: scenarios that need a small disk mount a tmpfs (and always unmount it).
set -euo pipefail
windows_build=$1 usbdrvgen=$2 work=$3 wine_sh=$4 table=$5
# The package checks run usbdrvgen from the scenarios' folder, so a relative path must not stay one.
usbdrvgen=$(realpath "$usbdrvgen")
shift 5
here=$(cd "$(dirname "$0")" && pwd)
scenarios_dir=$(cd "$(dirname "$table")" && pwd)/scenarios
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of the caller}"

wizard="$windows_build/app/win32/UsbDriverWizard.exe"
driver="$windows_build/tests/gui/programs/WizardDriver.exe"
for program in "$wizard" "$driver"; do
  if [ ! -f "$program" ]; then
    echo "FAIL: $program does not exist; build it with:" >&2
    echo "  cmake --preset windows -B $windows_build && cmake --build $windows_build --target UsbDriverWizard WizardDriver" >&2
    exit 1
  fi
done
[ -x "$usbdrvgen" ] || { echo "FAIL: $usbdrvgen is not built" >&2; exit 1; }

# Z: is the Linux root inside Wine.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# C: is the prefix's drive_c.
linux_path() {
  local path="$WINEPREFIX/drive_c/${1:3}"
  printf '%s' "${path//\\//}"
}

# The table: NAME [small-disk SIZE FILLER] OUTCOME...
names=() setups=() outcomes=()
while read -r name rest; do
  case "$name" in '' | '#'*) continue ;; esac
  if [ $# -gt 0 ] && ! grep -qxF "$name" < <(printf '%s\n' "$@"); then continue; fi
  [ -f "$scenarios_dir/$name.txt" ] || { echo "FAIL: the table names $name, but $scenarios_dir/$name.txt is missing" >&2; exit 1; }
  setup=""
  if [ "${rest%% *}" = small-disk ]; then
    read -r _ size filler rest <<<"$rest"
    setup="small-disk $size $filler"
  fi
  names+=("$name") setups+=("$setup") outcomes+=("$rest")
done <"$table"
[ ${#names[@]} -gt 0 ] || { echo "FAIL: no scenario of the table selected" >&2; exit 1; }

run=$(mktemp -d "${TMPDIR:-/tmp}/usbwiz-gui.XXXXXX")
mounts=()
keep_run=0
cleanup() {
  local mount
  for mount in ${mounts[@]+"${mounts[@]}"}; do
    umount "$mount" 2>/dev/null || umount -l "$mount" || echo "could not unmount $mount" >&2
  done
  if [ "$keep_run" -eq 0 ]; then rm -rf "$run"; else echo "the scenarios' folders are kept in $run"; fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# Set-ups. A small disk is a tmpfs at the scenario's folder, mostly taken by a filler file, so that
# the package runs out of space part way.
for i in "${!names[@]}"; do
  mkdir -p "$run/${names[$i]}"
  read -r kind size filler <<<"${setups[$i]}" || true
  if [ "$kind" = small-disk ]; then
    mount -t tmpfs -o "size=$size" tmpfs "$run/${names[$i]}"
    mounts+=("$run/${names[$i]}")
    head -c "$filler" /dev/zero >"$run/${names[$i]}/filler"
  fi
done
# One scenario proves that the message boxes' caption follows the program's file name.
cp "$wizard" "$run/CustomDriverWizard.exe"
# The maker's certificate and key the signing scenarios choose (${KEYS} in their steps and
# outcomes), made here; the wizard and usbdrvgen date their catalogs alike.
keys="$run/keys"
export PFX_PASSWORD=Gui-Pfx-7 SOURCE_DATE_EPOCH=1767225600
mkdir -p "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/signer.key" -out "$keys/signer.pem" \
  -days 30 -subj "/CN=Vexmor Test Signer" -addext extendedKeyUsage=codeSigning 2>/dev/null &&
  openssl pkcs12 -export -inkey "$keys/signer.key" -in "$keys/signer.pem" \
    -out "$keys/signer.pfx" -passout env:PFX_PASSWORD ||
  { echo "FAIL: openssl cannot make the signing scenarios' key" >&2; exit 1; }
# The kinds' default output folders, and the folders scenarios choose on the prefix's C: drive,
# are below C:\Vexmor: start without them.
rm -rf "$WINEPREFIX/drive_c/Vexmor"

scenario_arguments=()
for name in "${names[@]}"; do
  scenario_arguments+=(--scenario "$(windows_path "$scenarios_dir/$name.txt")")
done
mkdir -p "$work"
rm -rf "$work/snapshots"
log="$work/driver.log"
driver_status=0
SNAPSHOT_DIR="$work/snapshots" bash "$here/on-private-display.sh" "$work/display" 250 "$wine_sh" \
  "$driver" --program "$(windows_path "$wizard")" --work "$(windows_path "$run")" \
  --set "RENAMED_WIZARD=$(windows_path "$run/CustomDriverWizard.exe")" \
  --set "KEYS=$(windows_path "$keys")" --set "PFX_PASSWORD=$PFX_PASSWORD" \
  --snapshots "$(windows_path "$work/snapshots")" "${scenario_arguments[@]}" | tee "$log" ||
  driver_status=$?

# What the wizard left behind. A package check compares a folder with the files usbdrvgen writes
# for the same settings (settings files are found beside the scenarios), byte for byte. Given a
# CERTIFICATE, the catalogs are judged by trust instead: WinVerifyTrust must trust each once
# CERTIFICATE is in the prefix's Root and TrustedPublisher stores.
compare_package() {
  local name=$1 folder=$2 certificate=$3
  shift 3
  local native="$run/$name.usbdrvgen"
  rm -rf "$native"
  (cd "$scenarios_dir" && "$usbdrvgen" "$@" --out "$native" --quiet) || {
    echo "  usbdrvgen $* failed"
    return 1
  }
  local expected written
  expected=$(cd "$native" && find . -type f -printf '%P\n' | sort)
  written=$( (cd "$folder" 2>/dev/null && find . -type f -printf '%P\n') | sort)
  if [ "$written" != "$expected" ]; then
    echo "  $folder holds other files than expected (< written, > expected):"
    diff <(printf '%s\n' "$written") <(printf '%s\n' "$expected") | sed 's/^/    /' || true
    return 1
  fi
  local file status=0 catalogs=()
  for file in $expected; do
    if [ -n "$certificate" ] && [[ $file == *.cat ]]; then
      catalogs+=("$(windows_path "$folder/$file")")
      continue
    fi
    cmp "$folder/$file" "$native/$file" | sed 's/^/  /' && continue
    status=1
  done
  if [ -n "$certificate" ]; then
    [ ${#catalogs[@]} -gt 0 ] || { echo "  usbdrvgen $* writes no catalog"; return 1; }
    bash "$wine_sh" "$windows_build/tests/catalog/programs/TrustCatalog.exe" \
      "$(windows_path "$certificate")" "${catalogs[@]}" </dev/null | sed 's/^/  /' || status=1
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true  # the prefix's server it started
  fi
  [ "$status" -eq 0 ] || return 1
  echo "  the same $(printf '%s\n' "$expected" | grep -c .) files as usbdrvgen $*${certificate:+ (the catalogs by trust)}"
}

# A failed Finish leaves the folder as it was: exactly the files the steps put there, and no
# file of the run, not even a temporary one.
check_holds() {
  local folder=$1 expected written
  shift
  expected=$(printf '%s\n' "$@" | grep . | sort || true)
  written=$( (cd "$folder" 2>/dev/null && find . -type f -printf '%P\n') | sort)
  if [ "$written" != "$expected" ]; then
    echo "  $folder holds other files than it did (< holds, > held before):"
    diff <(printf '%s\n' "$written") <(printf '%s\n' "$expected") | sed 's/^/    /' || true
    return 1
  fi
  echo "  ${folder##*/} holds only what it held before${1:+: $*}"
}

check_outcome() {
  local name=$1 outcome folder
  shift
  outcome=$1
  shift
  case "$outcome" in
    steps) [ $# -eq 0 ] || { echo "  steps takes no arguments"; return 1; } ;;
    package)
      folder=$1
      shift
      case "$folder" in
        [Cc]:\\*) folder=$(linux_path "$folder") ;;
        *) folder="$run/$name/${folder//\\//}" ;;
      esac
      compare_package "$name" "$folder" "" "$@"
      ;;
    trusted-package) compare_package "$name" "$run/$name/$1" "$run/$name/$2" "${@:3}" ;;
    holds) check_holds "$run/$name/out" "$@" ;;
    *)
      echo "  unknown outcome $outcome"
      return 1
      ;;
  esac
}

echo
echo "== outcomes"
failed=0
for i in "${!names[@]}"; do
  name=${names[$i]}
  if ! grep -qx "RESULT PASS $name.*" "$log"; then
    echo "FAIL  $name: its steps did not pass"
    failed=$((failed + 1))
    continue
  fi
  # shellcheck disable=SC2086  # the outcome's words are arguments
  if report=$(check_outcome "$name" ${outcomes[$i]//'${KEYS}'/$keys} 2>&1); then
    echo "PASS  $name"
  else
    echo "FAIL  $name: what it left behind"
    failed=$((failed + 1))
  fi
  [ -z "$report" ] || echo "$report"
done
if [ "$driver_status" -ne 0 ] && [ "$failed" -eq 0 ]; then
  echo "FAIL  the driver ended with status $driver_status"
  failed=1
fi
echo "${#names[@]} scenarios, $failed failed"
[ "$failed" -eq 0 ] || keep_run=1
[ "$failed" -eq 0 ]
