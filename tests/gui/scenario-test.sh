#!/usr/bin/env bash
# Plays a scenario against the real UsbDriverWizard.exe under Wine and, when a package kind is
# given, checks that the folder the wizard wrote holds exactly the files, byte for byte, that the
# native usbdrvgen writes for the same settings.
#
# Usage: scenario-test.sh WINDOWS_BUILD SCENARIO WORK_DIR WINE_SH [KIND USBDRVGEN]
#   The scenario sees ${OUT}: a folder that does not exist yet (two levels below WORK_DIR), as a
#   Windows path. Screenshots the scenario takes land in WORK_DIR/snapshots.
# WINEPREFIX must name the test's own prefix.
set -euo pipefail
windows_build=$1 scenario=$2 work=$3 wine_sh=$4
kind=${5:-} usbdrvgen=${6:-}
here=$(cd "$(dirname "$0")" && pwd)

wizard="$windows_build/app/win32/UsbDriverWizard.exe"
driver="$windows_build/tests/gui/programs/WizardDriver.exe"
for program in "$wizard" "$driver"; do
  if [ ! -f "$program" ]; then
    echo "FAIL: $program does not exist; build it with:" >&2
    echo "  cmake --preset windows -B $windows_build && cmake --build $windows_build --target UsbDriverWizard WizardDriver" >&2
    exit 1
  fi
done

rm -rf "$work"
mkdir -p "$work"
# Z: is the Linux root inside Wine.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
wizard_out="$work/wizard/package"

SNAPSHOT_DIR="$work/snapshots" bash "$here/on-private-display.sh" "$work/display" 240 "$wine_sh" \
  "$driver" --program "$(windows_path "$wizard")" --scenario "$(windows_path "$scenario")" \
  --set "OUT=$(windows_path "$wizard_out")" --snapshots "$(windows_path "$work/snapshots")"

[ -n "$kind" ] || exit 0

native_out="$work/native"
"$usbdrvgen" --kind "$kind" --out "$native_out" --quiet
wizard_names=$(cd "$wizard_out" && find . -type f -printf '%P\n' | sort)
native_names=$(cd "$native_out" && find . -type f -printf '%P\n' | sort)
if [ "$wizard_names" != "$native_names" ]; then
  echo "FAIL: the wizard wrote other files than usbdrvgen --kind $kind (< wizard, > usbdrvgen):" >&2
  diff <(printf '%s\n' "$wizard_names") <(printf '%s\n' "$native_names") >&2 || true
  exit 1
fi
failed=0
while IFS= read -r file; do
  cmp "$wizard_out/$file" "$native_out/$file" >&2 || failed=1
done <<<"$wizard_names"
[ "$failed" -eq 0 ] || exit 1
echo "PASS: the wizard wrote the same $(printf '%s\n' "$wizard_names" | grep -c .) files as usbdrvgen --kind $kind"
