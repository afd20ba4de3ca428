#!/usr/bin/env bash
# The catalogs `usbdrvgen --catalog` writes beside the package, checked with tools that share no
# code with ours: each lists exactly the INF files that name it and the files they copy, every
# member with the digest sha1sum, sha256sum or osslsigncode give for the file in the folder
# (asn1crypto decodes the catalog); osslsigncode signs and verifies each; two runs with the same
# SOURCE_DATE_EPOCH give the same bytes. With WINE_SH and the Windows build's folder: usbdrvgen.exe
# writes the same catalogs, and crypt32/wintrust read every member back, a changed file no longer.
# Usage: package-catalogs.sh USBDRVGEN CHECK_CATALOG_PY WORK [WINE_SH WINDOWS_BUILD]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
usbdrvgen=$(realpath "$1") checker=$(realpath "$2") work=$3
wine_sh=${4:+$(realpath "$4")} windows=${5:+$(realpath "$5")}
export SOURCE_DATE_EPOCH=1767225600
rm -rf "$work" && mkdir -p "$work" && cd "$work"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}
source "$here/catalog-members.sh"  # pe_digest, digest_of
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 30 -subj /CN=test \
  -addext extendedKeyUsage=codeSigning 2>/dev/null
kind_of() {  # by content, as file(1) sees it
  case $(file -b "$1") in PE32*) echo pe ;; *) echo flat ;; esac
}

names=(--uninstall-name acmeun --inf-prefix ac)
declare -A catalog_members=(
  [acbus.cat]="acbus.inf tarnbus.sys tarnwh95.sys tarnwhnt.sys acmeun.exe acmeun2k.exe acmeun.u98 acmeun.u2k"
  [acser.cat]="acw2k.inf acwdm.inf tarnvxd.inf tarnser.sys tarncmnt.sys tarncr.sys tarncm95.sys tarnvcr.vxd tarncomm.vxd tarnvcd.vxd"
)
declare -A os_attr=([sha1]="1:4.10,1:4.90,2:5.00,2:5.1" [sha256]="2:6.2,2:6.3,2:10.0")

for algorithm in sha1 sha256; do
  echo "== $algorithm catalogs"
  chosen=(--catalog-hash "$algorithm")
  [ "$algorithm" = sha1 ] && chosen=()  # the default; the second run names it
  "$usbdrvgen" --kind com --catalog "${chosen[@]}" "${names[@]}" --quiet --out "$algorithm"
  "$usbdrvgen" --kind com --catalog --catalog-hash "$algorithm" "${names[@]}" --quiet --out again
  [ "$(kind_of "$algorithm/acmeun.exe")" = pe ] || fail "the PE stand-in is not a PE image"
  for catalog in "${!catalog_members[@]}"; do
    cmp "$algorithm/$catalog" "again/$catalog" || fail "$catalog differs between two runs"
    entries=()
    for m in ${catalog_members[$catalog]}; do
      digest=$(digest_of "$algorithm" "$algorithm/$m")
      sha1=""
      [ "$algorithm" = sha256 ] && sha1=$(digest_of sha1 "$algorithm/$m")
      entries+=("$(kind_of "$algorithm/$m"):$digest:$sha1:$m")
    done
    /usr/bin/python3 "$checker" "$algorithm/$catalog" "$algorithm" "$SOURCE_DATE_EPOCH" \
      "${os_attr[$algorithm]}" "${entries[@]}" || fail "$algorithm/$catalog: see above"
    osslsigncode sign -certs cert.pem -key key.pem -h "$algorithm" -in "$algorithm/$catalog" \
      -out "$algorithm/signed-$catalog" >/dev/null || fail "osslsigncode cannot sign $catalog"
    osslsigncode verify -CAfile cert.pem -in "$algorithm/signed-$catalog" >/dev/null ||
      fail "osslsigncode does not verify the signed $algorithm/$catalog"
  done
  rm -rf again
done

if [ -n "$wine_sh" ]; then
  : "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of this test}"
  trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT
  for algorithm in sha1 sha256; do
    echo "== $algorithm: usbdrvgen.exe under Wine, and Windows reading the members back"
    bash "$wine_sh" "$windows/cli/usbdrvgen.exe" --kind com --catalog --catalog-hash "$algorithm" \
      "${names[@]}" --quiet --out "windows-$algorithm" </dev/null || fail "usbdrvgen.exe failed"
    for catalog in "${!catalog_members[@]}"; do
      cmp "$algorithm/$catalog" "windows-$algorithm/$catalog" ||
        fail "usbdrvgen.exe writes another $algorithm/$catalog"
      expected=()
      for m in ${catalog_members[$catalog]}; do
        expected+=("$(kind_of "$algorithm/$m"):$(digest_of "$algorithm" "$algorithm/$m"):$m")
      done
      flat=${catalog_members[$catalog]%% *}  # the catalog's first INF file
      (cd "$algorithm" && bash "$wine_sh" "$windows/tests/catalog/programs/CatalogMembers.exe" \
        "$catalog" "$algorithm" "${expected[@]}" "file:$flat" </dev/null >../"$catalog.out" 2>&1) ||
        fail "CatalogMembers.exe on $algorithm/$catalog: $(tr -d '\r' <"$catalog.out")"
      printf ';' >>"$algorithm/$flat"
      if (cd "$algorithm" && bash "$wine_sh" "$windows/tests/catalog/programs/CatalogMembers.exe" \
          "$catalog" "$algorithm" "${expected[@]}" "file:$flat" </dev/null >/dev/null 2>&1); then
        fail "a changed $flat is still found in $algorithm/$catalog"
      fi
    done
  done
fi

[ "$failed" -eq 0 ] && echo "PASS: the package's catalogs list what they must, as Windows reads them"
exit "$failed"
