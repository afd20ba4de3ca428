#!/usr/bin/env bash
# Builds SHA-1 and SHA-256 catalogs of the files of catalog-members.sh with MakeCatalog, and
# checks them against tools that share no code with ours: asn1crypto decodes them and compares
# every member's digest with sha1sum/sha256sum (flat files) and osslsigncode (PE images);
# osslsigncode signs each catalog, verifies the signature and finds the PE members in it; a
# changed PE image is no longer found. A signed PE image keeps the digest of the unsigned one.
# Usage: catalog-checks.sh MAKE_CATALOG CHECKER_PY TINY_C WORK_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
make_catalog=$1 checker=$2 tiny_c=$3 work=$4
python=/usr/bin/python3  # Debian's, which has python3-asn1crypto
time=1767225600 os_attr="2:5.00,2:5.1"

rm -rf "$work"
mkdir -p "$work"
cd "$work"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

source "$here/catalog-members.sh"
make_members "$tiny_c"
osslsigncode sign -certs cert.pem -key key.pem -in tail.sys -out signed.sys >/dev/null

for algorithm in sha1 sha256; do
  echo "== $algorithm: ${members[*]} signed.sys"
  args=() expected=()
  for m in "${members[@]}"; do
    args+=("$m=$m")
    sha1=""
    [ "$algorithm" = sha256 ] && sha1=$(digest_of sha1 "$m")
    expected+=("$(kind_of "$m"):$(digest_of "$algorithm" "$m"):$sha1:$m")
  done
  "$make_catalog" "$algorithm" "$time" "$os_attr" $algorithm.cat "${args[@]}"
  "$python" "$checker" $algorithm.cat "$algorithm" "$time" "$os_attr" "${expected[@]}" || failed=1
  openssl asn1parse -inform DER -in $algorithm.cat >/dev/null || fail "openssl cannot parse $algorithm.cat"

  # A signed PE image is hashed up to its certificate table: the digest of the unsigned file.
  "$make_catalog" "$algorithm" "$time" "$os_attr" signed-$algorithm.cat signed.sys=signed.sys
  sha1=""
  [ "$algorithm" = sha256 ] && sha1=$(pe_digest sha1 tail.sys)
  "$python" "$checker" signed-$algorithm.cat "$algorithm" "$time" "$os_attr" \
    "pe:$(pe_digest "$algorithm" tail.sys):$sha1:signed.sys" || failed=1

  osslsigncode sign -certs cert.pem -key key.pem -h "$algorithm" -in $algorithm.cat \
    -out $algorithm-signed.cat >/dev/null
  osslsigncode verify -CAfile cert.pem -in $algorithm-signed.cat >verify.out 2>&1 ||
    fail "osslsigncode does not verify the signed $algorithm catalog: $(cat verify.out)"
  for pe in tiny.exe tiny32.exe tail.sys signed.sys; do
    osslsigncode verify -CAfile cert.pem -catalog $algorithm-signed.cat -in "$pe" >verify.out 2>&1 ||
      fail "osslsigncode does not find $pe in the $algorithm catalog: $(cat verify.out)"
  done
  cp tiny.exe changed.exe && printf '\1' | dd of=changed.exe bs=1 seek=1100 conv=notrunc 2>/dev/null
  if osslsigncode verify -CAfile cert.pem -catalog $algorithm-signed.cat -in changed.exe \
      >verify.out 2>&1; then
    fail "osslsigncode finds a changed PE image in the $algorithm catalog"
  fi
done

# MakeCat's layout does not depend on the order the members come in.
"$make_catalog" sha1 "$time" "$os_attr" reversed.cat fake.dll=fake.dll tail.sys=tail.sys \
  tiny32.exe=tiny32.exe tiny.exe=tiny.exe acmebus.inf=acmebus.inf
cmp sha1.cat reversed.cat || fail "the order of the members changes the catalog"

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "PASS: both catalog forms decode as MakeCat's, with the digests of sha1sum, sha256sum and osslsigncode, and sign and verify with osslsigncode"
