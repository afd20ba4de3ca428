#!/usr/bin/env bash
# Builds the two Windows programs again, in a new folder and later, with the windows preset's
# configuration (compiled and linked as a release is: cmake/Release.cmake), and compares them with
# those of build/windows (scripts/compare-builds.sh): one commit must give the same bytes whatever
# the folder and the time. CI runs it after the tests; the release files themselves can be
# compared the same way (see the README's "Download and install").
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022
# A compiler cache would hand the second build the first one's objects and prove nothing.
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
targets=(--target UsbDriverWizard usbdrvgen)
cmake --preset windows >/dev/null
cmake --build --preset windows -j 2 "${targets[@]}" >/dev/null
work=$(mktemp -d "$PWD/build/reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

cmake --preset windows -B "$work/build" >/dev/null
cmake --build "$work/build" -j 2 "${targets[@]}" >/dev/null
for side in first second; do mkdir "$work/$side"; done
cp build/windows/app/win32/UsbDriverWizard.exe build/windows/cli/usbdrvgen.exe "$work/first/"
cp "$work/build/app/win32/UsbDriverWizard.exe" "$work/build/cli/usbdrvgen.exe" "$work/second/"
bash scripts/compare-builds.sh "$work/first" "$work/second"
