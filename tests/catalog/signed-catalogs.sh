#!/usr/bin/env bash
# Signed catalogs of `usbdrvgen --catalog`, one round trip per way of signing and key type, then
# one table of refusals. Each signed catalog: asn1crypto and openssl check the signature as
# Authenticode makes it (check-signature.py), its trust list is the unsigned catalog's, and
# osslsigncode verifies it with the signer as the trusted root and not with another. With
# WINE_SH and the Windows build: usbdrvgen.exe writes the same signed bytes (also with keys
# Wine's own PKCS #12 import gets wrong) and leaves no key in a key container, and
# WinVerifyTrust trusts the catalogs of a test certificate made on either side once the
# certificate is trusted, and no longer after a byte changed.
# Usage: signed-catalogs.sh USBDRVGEN CHECK_SIGNATURE_PY WORK [WINE_SH WINDOWS_BUILD]
set -uo pipefail
usbdrvgen=$(realpath "$1") checker=$(realpath "$2") work=$3
short_crt_key=$(dirname "$(realpath "$0")")/short-crt-value.key
wine_sh=${4:+$(realpath "$4")} windows=${5:+$(realpath "$5")}
export SOURCE_DATE_EPOCH=1767225600
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}
pair() {  # pair NAME KEY_ARGS EXTENSION: a self-signed certificate and its key, PEM
  openssl req -x509 $2 -nodes -keyout "$1.key" -out "$1.pem" -days 30 -subj "/CN=$1" \
    -addext "extendedKeyUsage=$3" 2>/dev/null || fail "openssl cannot make $1.pem"
}
pair maker "-newkey rsa:3072" codeSigning
pair ec "-newkey ec -pkeyopt ec_paramgen_curve:P-256" codeSigning
pair other "-newkey rsa:2048" codeSigning
pair server "-newkey rsa:2048" serverAuth
# Two keys Wine's own PKCS #12 import gets wrong: a CRT value a byte short, a public exponent of 3.
cp "$short_crt_key" short.key
pair short "-key short.key" codeSigning
pair e3 "-newkey rsa:2048 -pkeyopt rsa_keygen_pubexp:3" codeSigning
for key in maker short e3; do
  openssl pkcs12 -export -inkey $key.key -in $key.pem -out $key.pfx -passout pass:s3cret ||
    fail "openssl cannot make $key.pfx"
done
export MAKER_PASSWORD=s3cret
catalogs=(tarnbus.cat tarnser.cat)

# round_trip NAME HASH ROOT_PEM ARGS...: signs into NAME, checks against the unsigned catalogs.
round_trip() {
  local name=$1 hash=$2 root=$3
  shift 3
  "$usbdrvgen" --kind com --catalog --catalog-hash "$hash" --quiet --out "unsigned-$hash" 2>/dev/null ||
    { fail "unsigned-$hash: usbdrvgen failed"; return; }
  "$usbdrvgen" --kind com --catalog --catalog-hash "$hash" --quiet --out "$name" "$@" ||
    { fail "$name: usbdrvgen $* failed"; return; }
  if [ "$root" = test ]; then
    openssl x509 -inform DER -in "$name-cert"/tarn-driver-test.cer -out "$name.root.pem" ||
      fail "$name: no test certificate written"
    root=$name.root.pem
  fi
  local catalog
  for catalog in "${catalogs[@]}"; do
    /usr/bin/python3 "$checker" "$name/$catalog" "$hash" "unsigned-$hash/$catalog" || fail "$name/$catalog"
    osslsigncode verify -CAfile "$root" -in "$name/$catalog" >/dev/null 2>&1 ||
      fail "osslsigncode does not verify $name/$catalog with its signer as root"
    osslsigncode verify -CAfile other.pem -in "$name/$catalog" >/dev/null 2>&1 &&
      fail "osslsigncode verifies $name/$catalog with another root"
  done
}
echo "== round trips: PKCS #12 (RSA 3072), PEM (ECDSA P-256), a new test certificate"
round_trip pfx-sha1 sha1 maker.pem --sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD
round_trip pfx-sha256 sha256 maker.pem --sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD
round_trip pem-ec sha256 ec.pem --sign-cert ec.pem --sign-key ec.key
round_trip test sha1 test --test-certificate test-cert
[ -e test/tarn-driver-test.cer ] && fail "the test certificate went into the package"
# Valid for 90 days, as --help and the README say.
validity=($(openssl x509 -inform DER -in test-cert/tarn-driver-test.cer -noout -startdate -enddate |
  cut -d= -f2 | xargs -I{} date -ud {} +%s))
[ "$((${validity[1]:-0} - ${validity[0]:-0}))" = $((90 * 86400)) ] ||
  fail "the test certificate is not valid for 90 days: ${validity[*]}"
echo s3cret | "$usbdrvgen" --kind com --catalog --quiet --out stdin --sign-pfx maker.pfx \
  --sign-password-stdin && cmp stdin/tarnbus.cat pfx-sha1/tarnbus.cat ||
  fail "the password from standard input signs differently"

echo "== refusals: exit 2, nothing written, the password never printed"
# Expired yesterday: req cannot go back in time, x509 -days -1 can.
openssl req -new -newkey rsa:2048 -nodes -keyout old.key -out old.csr -subj /CN=old 2>/dev/null &&
  openssl x509 -req -in old.csr -signkey old.key -days -1 -out old.pem \
    -extfile <(echo extendedKeyUsage=codeSigning) 2>/dev/null || fail "openssl cannot make old.pem"
refusals=(
  "wrong password|MAKER_PASSWORD=not-it|--sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD"
  "is not set|UNSET_ONE=|--sign-pfx maker.pfx --sign-password-env NO_SUCH_VARIABLE"
  "expired on|X=|--sign-cert old.pem --sign-key old.key"
  "not for code signing|X=|--sign-cert server.pem --sign-key server.key"
  "does not belong to the certificate|X=|--sign-cert maker.pem --sign-key other.key"
  "keep the certificate out|X=|--test-certificate refused/certs"
)
for row in "${refusals[@]}"; do
  IFS='|' read -r message environment args <<<"$row"
  # shellcheck disable=SC2086
  env "$environment" "$usbdrvgen" --kind com --catalog --out refused $args 2>refused.err
  status=$?
  [ "$status" = 2 ] || fail "$args: exit status $status, not 2"
  grep -q -- "$message" refused.err || fail "$args: no \"$message\" in: $(cat refused.err)"
  grep -q -e s3cret -e not-it refused.err && fail "$args: a password was printed"
  [ -e refused ] && fail "$args: something was written" && rm -rf refused
done

echo "== a damaged key (its public half the certificate's): exit 1, no catalog written"
/usr/bin/python3 - <<'PY' || fail "cannot make damaged.key"
from asn1crypto import keys, pem
info = keys.PrivateKeyInfo.load(pem.unarmor(open("maker.key", "rb").read())[2])
rsa = info["private_key"].parsed
for field in ("private_exponent", "exponent1", "exponent2"):
    rsa[field] = rsa[field].native + 2
info["private_key"] = rsa
open("damaged.key", "wb").write(pem.armor("PRIVATE KEY", info.dump()))
PY
"$usbdrvgen" --kind com --catalog --quiet --out damaged --sign-cert maker.pem --sign-key damaged.key \
  2>damaged.err
status=$?
[ "$status" = 1 ] || fail "a damaged key: exit status $status, not 1"
grep -q "does not verify with the certificate" damaged.err || fail "a damaged key: $(cat damaged.err)"
ls damaged/*.cat >/dev/null 2>&1 && fail "a damaged key wrote a catalog"

if [ -n "$wine_sh" ]; then
  : "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of this test}"
  trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT
  echo "== usbdrvgen.exe signs the same bytes; WinVerifyTrust trusts the test certificate's catalogs"
  # Wine keeps a PKCS #12 key in this container unless told not to.
  containers='HKCU\Software\Wine\Crypto\RSA'
  bash "$wine_sh" reg delete "$containers" /f >/dev/null 2>&1 </dev/null
  signings=(
    "maker-sha1|sha1|--sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD"
    "maker-sha256|sha256|--sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD"
    "short|sha256|--sign-pfx short.pfx --sign-password-env MAKER_PASSWORD"
    "e3|sha1|--sign-pfx e3.pfx --sign-password-env MAKER_PASSWORD"
    "pem|sha256|--sign-cert maker.pem --sign-key maker.key"
  )
  for row in "${signings[@]}"; do
    IFS='|' read -r name hash args <<<"$row"
    # shellcheck disable=SC2086
    "$usbdrvgen" --kind com --catalog --catalog-hash "$hash" --quiet --out "linux-$name" $args ||
      fail "usbdrvgen $args ($hash) failed"
    # shellcheck disable=SC2086
    bash "$wine_sh" "$windows/cli/usbdrvgen.exe" --kind com --catalog --catalog-hash "$hash" \
      --quiet --out "windows-$name" $args </dev/null || fail "usbdrvgen.exe $args ($hash) failed"
    for catalog in "${catalogs[@]}"; do
      cmp "linux-$name/$catalog" "windows-$name/$catalog" ||
        fail "usbdrvgen.exe signs $catalog differently with $args ($hash)"
    done
  done
  # Gone is what reg says of a missing key; any other failure is not an answer.
  left=$(bash "$wine_sh" reg query "$containers" </dev/null 2>&1)
  status=$?
  case $status:$left in
    0:*'Crypto\RSA\'*) fail "the PKCS #12 key was left in a key container" ;;
    0:* | 1:*'nable to find the specified registry key'*) ;;
    *) fail "reg query $containers exited $status: $left" ;;
  esac
  trust="$windows/tests/catalog/programs/TrustCatalog.exe"
  bash "$wine_sh" "$windows/cli/usbdrvgen.exe" --kind com --catalog --quiet --out windows-test \
    --test-certificate windows-test-cert </dev/null || fail "usbdrvgen.exe --test-certificate failed"
  for made in test windows-test; do
    bash "$wine_sh" "$trust" "$made-cert/tarn-driver-test.cer" "$made/tarnbus.cat" \
      "$made/tarnser.cat" </dev/null || fail "WinVerifyTrust does not trust $made/*.cat"
  done
  cp test/tarnbus.cat changed.cat || fail "no test/tarnbus.cat to change"
  printf '\x55' | dd of=changed.cat bs=1 seek=$(($(stat -c %s changed.cat) - 5)) conv=notrunc 2>/dev/null
  bash "$wine_sh" "$trust" test-cert/tarn-driver-test.cer changed.cat </dev/null &&
    fail "WinVerifyTrust trusts a catalog whose signature changed"
fi

[ "$failed" -eq 0 ] && echo "PASS: signed catalogs verify, refusals write nothing"
exit "$failed"
