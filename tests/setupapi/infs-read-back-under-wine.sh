#!/usr/bin/env bash
# Generates both packages with the native usbdrvgen, with the user's own IDs and names, and
# reads every INF back through the Windows setup API under Wine (SetupApiInfCheck) against the
# expectation files; then shows that the checker does fail on wrong expectations, on an INF
# that Setup refuses and on an unusable expectation file.
# Usage: infs-read-back-under-wine.sh USBDRVGEN CHECKER_EXE EXPECTATIONS_DIR WORK_FOLDER WINE_SH
#        BUILD_COMMAND
# WINEPREFIX must name the test's own prefix; it is created on first use.
set -euo pipefail
usbdrvgen=$1 checker=$2 expectations=$3 work=$4 wine_sh=$5 build_command=$6 names_table=$7

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
# package NAME KIND [OPTION VALUE]: writes the package (a COM port package also with its
# catalog lines active, in NAME-certified) with the base names and the one changed, and queues
# its INF files with their expectations and names for the checker.
package() {
  local name=$1 kind=$2 field args
  local -A values
  named_package "$kind" "${3:-}" "${4:-}"
  for field in "${!values[@]}"; do printf '%s=%s\n' "$field" "${values[$field]}"; done |
    iconv -f UTF-8 -t CP1252 >"$work/$name.values"
  checker_args+=(--values "$(windows_path "$work/$name.values")")

  local pairs
  if [ "$kind" = com ]; then
    generate "$work/$name" "${args[@]}"
    generate "$work/$name-certified" "${args[@]}" --certification plan
    local prefix=${values[InfPrefix]}
    pairs=("$name/${prefix}bus.inf" com-bus.txt "$name/tarnvxd.inf" com-vxd.txt
           "$name/${prefix}w2k.inf" com-w2k.txt "$name/${prefix}wdm.inf" com-wdm.txt
           "$name-certified/${prefix}bus.inf" com-bus-certified.txt
           "$name-certified/tarnvxd.inf" com-serial-certified.txt
           "$name-certified/${prefix}w2k.inf" com-serial-certified.txt
           "$name-certified/${prefix}wdm.inf" com-serial-certified.txt)
  else
    generate "$work/$name" "${args[@]}" --certification plan
    pairs=("$name/${values[InfName]}.inf" ferrolink.txt)
  fi
  local i
  for ((i = 0; i < ${#pairs[@]}; i += 2)); do
    checker_args+=("$(windows_path "$work/${pairs[i]}")" "$(windows_path "$expectations/${pairs[i + 1]}")")
  done
}

package com com
package ferrolink ferrolink
row=0
while IFS=$'\t' read -r kind option value; do
  row=$((row + 1))
  package "name-$row" "$kind" "$option" "$value"
done < <(accepted_names "$names_table")
echo "== $row accepted names of $names_table, each in its package"

failed=0
echo "== reading the generated INF files back through the setup API"
if ! bash "$wine_sh" "$checker" "${checker_args[@]}" </dev/null; then
  echo "FAIL: the setup API reads the generated INF files differently from the expectations" >&2
  failed=1
fi

# Runs the checker and demands an exit status; its output goes to a file for closer checks.
expect_status() {
  local wanted=$1 output=$2
  shift 2
  local status=0
  bash "$wine_sh" "$checker" "$@" </dev/null >"$output" 2>&1 || status=$?
  if [ "$status" -ne "$wanted" ]; then
    echo "FAIL: SetupApiInfCheck $* exited with $status, not $wanted; its output:" >&2
    cat "$output" >&2
    failed=1
    return 1
  fi
}

echo "== the checker reports every wrong expectation"
must_fail=$expectations/checker-must-fail.txt
if expect_status 1 "$work/must-fail.out" "$(windows_path "$work/com/acmebus.inf")" \
    "$(windows_path "$must_fail")"; then
  checks=$(grep -cv '^\(#.*\)\?$' "$must_fail")
  reports=$(grep -c '^FAIL Z:.*: expected .*, found ' "$work/must-fail.out" || true)
  if [ "$reports" -ne "$checks" ]; then
    echo "FAIL: $reports failures reported for $checks wrong expectations:" >&2
    cat "$work/must-fail.out" >&2
    failed=1
  fi
  if ! grep -qF '[Strings] key Provider field 1: expected "Not The Provider", found "Acme Widget Works"' \
      "$work/must-fail.out"; then
    echo "FAIL: the report does not name what was expected and what was found:" >&2
    cat "$work/must-fail.out" >&2
    failed=1
  fi
fi

echo "== the checker fails on an INF that Setup refuses"
printf '[Version]\r\nSignature="$Not A Signature$"\r\n' >"$work/refused.inf"
if expect_status 1 "$work/refused.out" "$(windows_path "$work/refused.inf")" \
    "$(windows_path "$expectations/com-bus-certified.txt")"; then
  if ! grep -q 'SetupOpenInfFile failed' "$work/refused.out"; then
    echo "FAIL: the refused open is not reported:" >&2
    cat "$work/refused.out" >&2
    failed=1
  fi
fi

echo "== the checker refuses an unusable expectation file"
printf 'string|Version|Signature|one|$CHICAGO$\n' >"$work/unusable.txt"
expect_status 2 "$work/unusable.out" "$(windows_path "$work/com/acmebus.inf")" \
  "$(windows_path "$work/unusable.txt")" || true

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "PASS: the setup API reads all five INF files as intended"
