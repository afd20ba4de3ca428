#!/usr/bin/env bash
# The Windows build's catalogs under Wine: MakeCatalog.exe (BCrypt hashing) must write the same
# bytes as the native MakeCatalog (libcrypto) for both forms, and CatalogMembers.exe must read
# every member back through crypt32 and wintrust as sha1sum, sha256sum and osslsigncode
# computed it; Windows' own hash of each flat file must be listed. A changed INF file and a
# changed PE image are then no longer found.
# Usage: catalog-under-wine.sh MAKE_CATALOG WINDOWS_BUILD_PROGRAMS TINY_C WORK WINE_SH BUILD_COMMAND
# WINEPREFIX must name the test's own prefix; it is created on first use.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
make_catalog=$1 programs=$2 tiny_c=$3 work=$4 wine_sh=$5 build_command=$6
time=1767225600 os_attr="2:5.00,2:5.1"

for exe in MakeCatalog.exe CatalogMembers.exe; do
  if [ ! -f "$programs/$exe" ]; then
    echo "FAIL: $programs/$exe does not exist; build it with: $build_command" >&2
    exit 1
  fi
done
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of this test}"
trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT

rm -rf "$work"
mkdir -p "$work"
cd "$work"  # Wine starts in the same folder: the programs take relative paths
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

source "$here/catalog-members.sh"
make_members "$tiny_c"
cp acmebus.inf changed.inf && printf ';' >>changed.inf
cp tiny.exe changed.exe && printf '\1' | dd of=changed.exe bs=1 seek=1100 conv=notrunc 2>/dev/null

# members_check FORM CATALOG WANTED_STATUS OUTPUT [EXTRA...]: CatalogMembers.exe with every
# member's expectation (the PE image tiny.exe replaced by changed.exe when asked) and the flat
# files' own hashes.
members_check() {
  local algorithm=$1 catalog=$2 wanted=$3 output=$4 pe_image=tiny.exe
  shift 4
  [ "${1:-}" = --changed-pe ] && pe_image=changed.exe && shift
  local expected=() m digest
  for m in "${members[@]}"; do
    digest=$(digest_of "$algorithm" "$m")
    [ "$m" = tiny.exe ] && digest=$(digest_of "$algorithm" "$pe_image")
    expected+=("$(kind_of "$m"):$digest:$m")
  done
  local status=0
  bash "$wine_sh" "$programs/CatalogMembers.exe" "$catalog" "$algorithm" "${expected[@]}" \
    file:acmebus.inf file:fake.dll "$@" </dev/null >"$output" 2>&1 || status=$?
  tr -d '\r' <"$output"
  if [ "$status" -ne "$wanted" ]; then
    fail "CatalogMembers.exe on $catalog exited with $status, not $wanted"
    return 1
  fi
}

args=()
for m in "${members[@]}"; do args+=("$m=$m"); done
for algorithm in sha1 sha256; do
  echo "== $algorithm: the native and the Windows catalog"
  "$make_catalog" "$algorithm" "$time" "$os_attr" native-$algorithm.cat "${args[@]}"
  bash "$wine_sh" "$programs/MakeCatalog.exe" "$algorithm" "$time" "$os_attr" \
    windows-$algorithm.cat "${args[@]}" </dev/null || fail "MakeCatalog.exe $algorithm failed"
  cmp native-$algorithm.cat windows-$algorithm.cat ||
    fail "the Windows build writes another $algorithm catalog than the native one"

  echo "== $algorithm: read back through crypt32 and wintrust"
  members_check "$algorithm" windows-$algorithm.cat 0 read-$algorithm.out
  if [ "$algorithm" = sha1 ] && ! grep -q "^enumerated $(digest_of sha1 tail.sys) pe version 0x200" \
      read-$algorithm.out; then
    fail "CryptCATEnumerateMember does not list tail.sys as a PE image"
  fi

  echo "== $algorithm: a changed INF file and a changed PE image are not found"
  if members_check "$algorithm" windows-$algorithm.cat 1 changed-inf-$algorithm.out file:changed.inf &&
      ! grep -q '^FAIL file changed.inf is not in the catalog' changed-inf-$algorithm.out; then
    fail "the changed INF file is not reported"
  fi
  if members_check "$algorithm" windows-$algorithm.cat 1 changed-pe-$algorithm.out --changed-pe &&
      ! grep -q "^FAIL missing member pe:$(digest_of "$algorithm" changed.exe):tiny.exe" \
        changed-pe-$algorithm.out; then
    fail "the changed PE image is not reported"
  fi
done

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "PASS: the Windows build writes the native build's catalogs, and Windows' API reads every member back"
