#!/usr/bin/env bash
# Runs the native GenerateBothPackages and the Windows one under Wine into two folders and
# checks that they wrote the same files, byte for byte.
# Usage: same-packages-under-wine.sh NATIVE_PROGRAM WINDOWS_EXE WORK_FOLDER WINE_SH BUILD_COMMAND
# WINEPREFIX must name the test's own prefix; it is created on first use.
set -euo pipefail
native_program=$1 windows_exe=$2 work=$3 wine_sh=$4 build_command=$5

if [ ! -f "$windows_exe" ]; then
  echo "FAIL: $windows_exe does not exist; build it with: $build_command" >&2
  exit 1
fi
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of this test}"

rm -rf "$work"
mkdir -p "$work"
native_out="$work/native"
windows_out="$work/windows"

# Whatever happens, leave no Wine server of this prefix behind.
trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT

echo "== native: $native_program $native_out"
if ! "$native_program" "$native_out"; then
  echo "FAIL: the native program failed" >&2
  exit 1
fi

# Z: is the Linux root inside Wine.
windows_folder="Z:${windows_out//\//\\}"
echo "== windows: $windows_exe $windows_folder"
if ! bash "$wine_sh" "$windows_exe" "$windows_folder" </dev/null; then
  echo "FAIL: the Windows program failed under Wine" >&2
  exit 1
fi

failed=0
for package in com-port:20 ferrolink:9; do
  name=${package%%:*} expected=${package##*:}
  native_names=$(cd "$native_out/$name" && find . -type f -printf '%P\n' | sort)
  windows_names=$(cd "$windows_out/$name" && find . -type f -printf '%P\n' | sort)
  count=$(printf '%s\n' "$native_names" | grep -c . || true)
  if [ "$count" -ne "$expected" ]; then
    echo "FAIL: the native $name package has $count files, not $expected" >&2
    failed=1
  fi
  if [ "$native_names" != "$windows_names" ]; then
    echo "FAIL: the two $name packages hold different file names:" >&2
    diff <(printf '%s\n' "$native_names") <(printf '%s\n' "$windows_names") >&2 || true
    failed=1
    continue
  fi
  while IFS= read -r file; do
    if ! cmp "$native_out/$name/$file" "$windows_out/$name/$file" >&2; then
      failed=1
    fi
  done <<<"$native_names"
done

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "PASS: the Windows build wrote the same 20 + 9 files as the native build"
