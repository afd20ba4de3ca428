#!/usr/bin/env bash
# Builds the two Windows programs twice, one build after the other in two new folders, with the
# release configuration, and compares them (scripts/compare-builds.sh): one commit must give
# the same bytes whatever the folder and the time. CI runs it; the release files themselves can
# be compared the same way (see the README's "Download and install").
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
work=$(mktemp -d "$PWD/build/reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

for side in first second; do
  cmake --preset release-windows -B "$work/$side-build" >/dev/null
  cmake --build "$work/$side-build" -j 2 --target UsbDriverWizard usbdrvgen >/dev/null
  mkdir "$work/$side"
  cp "$work/$side-build/app/win32/UsbDriverWizard.exe" "$work/$side-build/cli/usbdrvgen.exe" \
    "$work/$side/"
done
bash scripts/compare-builds.sh "$work/first" "$work/second"
