#!/usr/bin/env bash
# Takes the README's screenshots, docs/welcome.png and docs/summary.png, by walking the kind-1
# scenario through the wizard of a Windows build under Wine, into the kind's default folder on
# the private prefix's C: drive.
# Usage: tests/gui/take-screenshots.sh [WINDOWS_BUILD]   (default: build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
windows_build=$(cd "${1:-$root/build/windows}" && pwd)
work="$windows_build/screenshots"
export WINEPREFIX="$work/wine"

rm -rf "$work/snapshots"
SNAPSHOT_DIR="$work/snapshots" bash "$root/tests/gui/on-private-display.sh" "$work/display" 240 \
  "$root/scripts/wine.sh" "$windows_build/tests/gui/programs/WizardDriver.exe" \
  --program "Z:${windows_build//\//\\}\\app\\win32\\UsbDriverWizard.exe" \
  --scenario "Z:${root//\//\\}\\tests\\gui\\scenarios\\kind1-defaults-to-finish.txt" \
  --set 'OUT=C:\Vexmor\MCU\CustomKR550xDriverInstall' --snapshots "Z:${work//\//\\}\\snapshots"
rm -rf "$WINEPREFIX/drive_c/Vexmor"
cp "$work/snapshots/welcome.png" "$work/snapshots/summary.png" "$root/docs/"
echo "docs/welcome.png and docs/summary.png updated"
