#!/usr/bin/env bash
# Windows' own device installer installs the generated packages: usbdrvgen writes both kinds with
# their default names, with other names and with each accepted name of the names table, and the
# COM port package signed with a new test certificate; DeviceInstallCheck (from the Windows build)
# installs every INF of each for a device with its hardware ID under Wine and checks what the
# installer left. Then it shows that the checker fails when an installation goes wrong.
# Usage: install-packages-under-wine.sh USBDRVGEN CHECKER_EXE WORK_FOLDER WINE_SH BUILD_COMMAND
#        NAMES_TABLE
# WINEPREFIX must name the test's own prefix; it is created on first use.
set -euo pipefail
usbdrvgen=$1 checker=$2 work=$3 wine_sh=$4 build_command=$5 names_table=$6

if [ ! -f "$checker" ]; then
  echo "FAIL: $checker does not exist; build it with: $build_command" >&2
  exit 1
fi
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of this test}"

rm -rf "$work"
mkdir -p "$work"
trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT

# shellcheck source-path=SCRIPTDIR source=../names/named-packages.sh
source "$(dirname "$0")/../names/named-packages.sh"

checker_args=()
# device INF DESCRIPTION [FRIENDLY_NAME]: queues the INF (relative to the work folder) with the
# names its device must show, written in code page 1252 as the package is.
device() {
  local inf=$1
  { printf 'description=%s\n' "$2"; if [ $# -gt 2 ]; then printf 'friendly=%s\n' "$3"; fi; } |
    iconv -f UTF-8 -t CP1252 >"$work/$inf.names"
  checker_args+=("$(windows_path "$work/$inf")" "$(windows_path "$work/$inf.names")")
}

# package NAME KIND [OPTION VALUE [USBDRVGEN_ARGS...]]: writes the package with the base names
# and the one changed, and queues every INF of it with the names the INF gives its device.
package() {
  local name=$1 kind=$2 args
  local -A values
  named_package "$kind" "${3:-}" "${4:-}"
  generate "$work/$name" "${args[@]}" "${@:5}"
  local usb=${values[UsbDeviceName]}
  if [ "$kind" = com ]; then
    local prefix=${values[InfPrefix]} port=${values[ComDeviceName]}
    device "$name/${prefix}bus.inf" "$usb"
    device "$name/${prefix}w2k.inf" "$port"
    device "$name/${prefix}wdm.inf" "$port"
    device "$name/tarnvxd.inf" "$port"
  else
    device "$name/${values[InfName]}.inf" "$usb" "$usb"
  fi
}

# Each kind with the names it starts with (as the wizard's pages show them).
generate "$work/default-com" --kind com
device default-com/tarnbus.inf "KR550x USB Composite Device"
for inf in tarnw2k tarnwdm tarnvxd; do
  device "default-com/$inf.inf" "KR550x USB to UART Bridge Controller"
done
generate "$work/default-ferrolink" --kind ferrolink
device default-ferrolink/tnfrlnk.inf "Ferrolink Device" "Ferrolink Device"
package com com
package ferrolink ferrolink
row=0
while IFS=$'\t' read -r kind option value; do
  row=$((row + 1))
  package "name-$row" "$kind" "$option" "$value"
done < <(accepted_names "$names_table")
package signed com "" "" --catalog --test-certificate "$work/signed-cert"
echo "== both packages with their default names, other names and $row accepted names of"
echo "   $names_table; the COM port package signed with a new test certificate"
# One Wine session for all: each new one waits seconds for Wine's own devices to start.
certificate=$(windows_path "$work/signed-cert/acme-driver-test.cer")
failed=0
if ! bash "$wine_sh" "$checker" --trust "$certificate" "${checker_args[@]}" </dev/null; then
  echo "FAIL: the device installer did not install the packages as their INF files say" >&2
  failed=1
fi

echo "== the checker reports names that differ, a file not installed and the installer's error"
ferrolink_inf=$(windows_path "$work/ferrolink/acmefl.inf")
ferrolink_names=$(windows_path "$work/ferrolink/acmefl.inf.names")
printf 'description=Not The Name\nfriendly=Not The Friendly Name\n' >"$work/wrong.names"
# A driver file the installer cannot read (a folder in its place): Wine's installer skips it.
rm "$work/ferrolink/acmedrv.sys" && mkdir "$work/ferrolink/acmedrv.sys"
# expect_failure OUTPUT PATTERN... -- CHECKER_ARGS...: the checker must exit 1 and print each
# PATTERN.
expect_failure() {
  local output=$1 status=0 patterns=()
  shift
  while [ "$1" != -- ]; do patterns+=("$1"); shift; done
  shift
  bash "$wine_sh" "$checker" "$@" </dev/null >"$output" 2>&1 || status=$?
  local pattern
  for pattern in "${patterns[@]}"; do
    if [ "$status" -ne 1 ] || ! grep -q -- "$pattern" "$output"; then
      echo "FAIL: the checker exited with $status and did not report \"$pattern\":" >&2
      cat "$output" >&2
      failed=1
    fi
  done
}
expect_failure "$work/differs.out" 'description "Acme Direct Link", expected "Not The Name"' \
  'friendly name (device key) "Acme Direct Link", expected "Not The Friendly Name"' \
  'FAIL .*acmedrv.sys: not installed' -- "$ferrolink_inf" "$(windows_path "$work/wrong.names")"
# A device the INF has no driver for.
expect_failure "$work/no-driver.out" \
  'FAIL installation: DIF_SELECTBESTCOMPATDRV failed with 0xE0000228' \
  -- --hardware-id 'USB\VID_0000&PID_0000' "$ferrolink_inf" "$ferrolink_names"

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "PASS: Windows' device installer installed every package as its INF files say"
