#!/usr/bin/env bash
# Takes the screenshots in docs/ again: builds the wizard, the GUI test driver and usbdrvgen,
# plays the GUI scenarios that take screenshots (tests/gui/scenarios.table) under Wine on a
# private X server, and copies every picture they take into docs/.
#
# Usage: scripts/screenshots.sh
# USBWIZ_WINDOWS_BUILD_DIR and USBWIZ_NATIVE_BUILD_DIR pick other build folders than
# build/windows and build/native.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
windows_build=$(realpath -m "${USBWIZ_WINDOWS_BUILD_DIR:-build/windows}")
native_build=$(realpath -m "${USBWIZ_NATIVE_BUILD_DIR:-build/native}")

bash scripts/setup.sh
cmake --preset windows -B "$windows_build" >/dev/null
cmake --build "$windows_build" --target UsbDriverWizard WizardDriver
cmake --preset native -B "$native_build" -DUSBWIZ_WINDOWS_BUILD_DIR="$windows_build" >/dev/null
cmake --build "$native_build" --target usbdrvgen

# The scenarios with a snapshot step.
names=()
for scenario in tests/gui/scenarios/*.txt; do
  grep -q '^snapshot' "$scenario" && names+=("$(basename "$scenario" .txt)")
done

work="$windows_build/screenshots"
WINEPREFIX="$work/wine" bash tests/gui/run-scenarios.sh "$windows_build" \
  "$native_build/cli/usbdrvgen" "$work" scripts/wine.sh tests/gui/scenarios.table "${names[@]}"

cp "$work"/snapshots/*.png docs/
echo "docs/: $(ls "$work"/snapshots/*.png | wc -l) screenshots from ${#names[@]} scenarios (${names[*]})"
# A picture that no scenario takes any more would stay behind unnoticed.
for picture in docs/*.png; do
  [ -f "$work/snapshots/$(basename "$picture")" ] || echo "note: no scenario takes $picture any more"
done
