#!/usr/bin/env bash
# Which payload folder a Windows build takes, checked by configuring only, in folders of its own:
# a folder refused by the everyday preset is undone by the configure step of scripts/run.sh; the
# real-files preset refuses the stand-ins; and the mark and release file names follow the files.
# Usage: payload-folders.sh SOURCE WORK
set -uo pipefail
source=$1 work=$2
rm -rf "$work" && mkdir -p "$work/real"
cd "$source" || exit 1
failed=0
fail() {
  echo "FAIL: $*" >&2
  tail -5 "$work/log" >&2
  failed=1
}
configure() { cmake "$@" >"$work/log" 2>&1; }
mark() { cat "$1/payload/generated/payload/StandInMark.inc"; }
zip_name() { sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$1/CPackConfig.cmake"; }

configure --preset windows -B "$work/windows" -DUSBWIZ_PAYLOAD_DIR="$work/missing" &&
  fail "the windows preset took a missing payload folder"
grep -q "Payload 145 is missing" "$work/log" || fail "the refusal does not name the missing file"
# scripts/run.sh's configure step, right after the refusal.
configure --preset windows -B "$work/windows" || fail "scripts/run.sh's configure step failed"
grep -q "^USBWIZ_PAYLOAD_DIR:[A-Z]*=$source/payload/stand-ins$" "$work/windows/CMakeCache.txt" ||
  fail "the windows preset did not go back to the stand-ins"
configure --preset windows -B "$work/windows" -DUSBWIZ_RELEASE=ON || fail "a stand-in release"
[ "$(mark "$work/windows")" = '"stand-in payloads: not for distribution"' ] &&
  [[ "$(zip_name "$work/windows")" == UsbDriverWizard-*-standins-win64 ]] ||
  fail "a stand-in release is not marked: $(mark "$work/windows") $(zip_name "$work/windows")"

configure --preset windows-payloads -B "$work/payloads" &&
  fail "the real-files preset took the stand-ins"
grep -q -e "-DUSBWIZ_PAYLOAD_DIR=<folder>" "$work/log" || fail "the refusal does not say what to give"
# Real files are anything but the stand-ins' bytes.
cp payload/stand-ins/* "$work/real/" && for file in "$work/real"/*; do echo >>"$file"; done
configure --preset windows-payloads -B "$work/payloads" -DUSBWIZ_PAYLOAD_DIR="$work/real" \
  -DUSBWIZ_RELEASE=ON || fail "the real-files preset refused real files"
[ "$(mark "$work/payloads")" = '""' ] && [[ "$(zip_name "$work/payloads")" != *standins* ]] ||
  fail "a real release is marked: $(mark "$work/payloads") $(zip_name "$work/payloads")"

[ "$failed" = 0 ] && rm -rf "$work"
exit "$failed"
