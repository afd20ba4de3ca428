#!/usr/bin/env bash
# Signed catalogs of `usbdrvgen --catalog`: one table of keys made here with openssl, every kind
# a maker may hold, each signed with or refused (exit 2, its one line, nothing written, no
# password printed). Each signed catalog: asn1crypto and openssl check the signature as
# Authenticode makes it (check-signature.py), its trust list is the unsigned catalog's, it
# carries the signer's chain and nothing else of the file, and osslsigncode verifies it with the
# chain's root and not with another. Then one table of --test-certificate folders. With WINE_SH
# and the Windows build, usbdrvgen.exe runs the same tables: it signs the same bytes wherever
# both builds sign, leaves no key in a key container, and WinVerifyTrust trusts the catalogs of
# a test certificate made on either side once the certificate is trusted, and no longer after a
# byte changed.
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
pair() {  # pair NAME KEY_ARGS EXTENSION...: a self-signed certificate and its key, PEM
  local name=$1 key=$2 extension extensions=()
  for extension in "${@:3}"; do extensions+=(-addext "$extension"); done
  # shellcheck disable=SC2086
  openssl req -x509 $key -nodes -keyout "$name.key" -out "$name.pem" -days 30 -subj "/CN=$name" \
    "${extensions[@]}" 2>/dev/null || fail "openssl cannot make $name.pem"
}
issued() {  # issued NAME ISSUER DAYS EXTENSIONS: a certificate of a new RSA key, from ISSUER
  openssl req -new -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$1" 2>/dev/null &&
    openssl x509 -req -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -days "$3" -out "$1.pem" \
      -extfile <(printf '%b' "$4") 2>/dev/null || fail "openssl cannot make $1.pem"
}
pfx() {  # pfx NAME KEY CERTIFICATE [OPTIONS...]: a PKCS #12 file, password s3cret
  openssl pkcs12 -export -inkey "$2" -in "$3" -out "$1.pfx" -passout pass:s3cret "${@:4}" ||
    fail "openssl cannot make $1.pfx"
}
pair maker "-newkey rsa:3072" extendedKeyUsage=codeSigning
pair ec256 "-newkey ec -pkeyopt ec_paramgen_curve:P-256" extendedKeyUsage=codeSigning
pair ec384 "-newkey ec -pkeyopt ec_paramgen_curve:P-384" extendedKeyUsage=codeSigning
pair ec521 "-newkey ec -pkeyopt ec_paramgen_curve:P-521" extendedKeyUsage=codeSigning
pair other "-newkey rsa:2048" extendedKeyUsage=codeSigning
pair server "-newkey rsa:2048" extendedKeyUsage=serverAuth
pair small "-newkey rsa:1024" extendedKeyUsage=codeSigning
pair encipher "-newkey rsa:2048" extendedKeyUsage=codeSigning keyUsage=keyEncipherment
pair root "-newkey rsa:3072" keyUsage=critical,keyCertSign,cRLSign
issued middle root 30 'basicConstraints=critical,CA:true\nkeyUsage=critical,keyCertSign,cRLSign\n'
issued leaf middle 30 'extendedKeyUsage=codeSigning\nkeyUsage=digitalSignature\n'
issued expired middle -1 'extendedKeyUsage=codeSigning\n'
# Two keys Wine's own PKCS #12 import gets wrong: a CRT value a byte short, a public exponent of 3.
cp "$short_crt_key" short.key
pair short "-key short.key" extendedKeyUsage=codeSigning
pair e3 "-newkey rsa:2048 -pkeyopt rsa_keygen_pubexp:3" extendedKeyUsage=codeSigning
for key in maker short e3 ec384; do pfx $key $key.key $key.pem; done
pfx legacy maker.key maker.pem -legacy   # RC2-40 certificates, 3DES key, SHA-1 MAC
pfx nomac maker.key maker.pem -nomac
pfx chain leaf.key leaf.pem -certfile <(cat root.pem other.pem middle.pem)
pfx expired expired.key expired.pem -certfile middle.pem
cat root.pem other.pem middle.pem leaf.pem >unordered.pem   # the leaf last, beside a stranger
openssl pkcs8 -topk8 -in maker.key -out pkcs8.key -passout pass:s3cret &&   # PBES2, AES-256
  openssl rsa -in maker.key -des3 -traditional -out traditional.key -passout pass:s3cret 2>/dev/null &&
  openssl ec -in ec384.key -aes128 -out ec384-encrypted.key -passout pass:s3cret 2>/dev/null ||
  fail "openssl cannot encrypt the keys"
/usr/bin/python3 - <<'PY' || fail "cannot make damaged.key"
# The maker's key with its private exponent and CRT exponents changed: its public half is the
# certificate's, its signatures verify with nothing.
from asn1crypto import keys, pem
info = keys.PrivateKeyInfo.load(pem.unarmor(open("maker.key", "rb").read())[2])
rsa = info["private_key"].parsed
for field in ("private_exponent", "exponent1", "exponent2"):
    rsa[field] = rsa[field].native + 2
info["private_key"] = rsa
open("damaged.key", "wb").write(pem.armor("PRIVATE KEY", info.dump()))
PY
catalogs=(tarnbus.cat tarnser.cat)
for hash in sha1 sha256; do
  "$usbdrvgen" --kind com --catalog --catalog-hash "$hash" --quiet --out "unsigned-$hash" ||
    fail "the unsigned $hash catalogs were not written"
done

# signed NAME HASH ROOT CN...: NAME's catalogs against the unsigned ones and the root; the
# signature carries the certificates named CN and no others.
signed() {
  local name=$1 hash=$2 root=$3 catalog
  shift 3
  for catalog in "${catalogs[@]}"; do
    /usr/bin/python3 "$checker" "$name/$catalog" "$hash" "unsigned-$hash/$catalog" >/dev/null ||
      fail "$name/$catalog: $(/usr/bin/python3 "$checker" "$name/$catalog" "$hash" "unsigned-$hash/$catalog")"
    osslsigncode verify -CAfile "$root" -in "$name/$catalog" >/dev/null 2>&1 ||
      fail "osslsigncode does not verify $name/$catalog with $root as root"
    osslsigncode verify -CAfile other.pem -in "$name/$catalog" >/dev/null 2>&1 &&
      fail "osslsigncode verifies $name/$catalog with another root"
    carried=$(openssl pkcs7 -inform DER -in "$name/$catalog" -print_certs -noout |
      sed -n 's/^subject=CN = //p' | sort | tr '\n' ' ')
    [ "$carried" = "$(printf '%s\n' "$@" | sort | tr '\n' ' ')" ] ||
      fail "$name/$catalog carries the certificates $carried, not $*"
  done
}

# One run: exit status 0 and the catalogs checked, or 2 with VERDICT in its one line and
# nothing written; no password ever printed.
# check_run NAME STATUS VERDICT HASH ROOT_AND_CHAIN
check_run() {
  local name=$1 status=$2 verdict=$3 hash=$4
  if [ "$verdict" = ok ]; then
    [ "$status" = 0 ] || { fail "$name: exit status $status: $(cat "$name.err")"; return; }
    # shellcheck disable=SC2086
    signed "$name" "$hash" $5
  else
    [ "$status" = 2 ] || fail "$name: exit status $status, not 2"
    grep -q -- "$verdict" < <(grep -v '^GnuTLS error' "$name.err") ||
      fail "$name: no \"$verdict\" in: $(cat "$name.err")"
    [ -e "$name" ] && fail "$name: something was written"
  fi
  grep -q -e s3cret -e not-it -e 'Secr3t' "$name.err" && fail "$name: a password was printed"
}

# NAME | ENVIRONMENT | ARGUMENTS | LINUX | WINDOWS | ROOT CHAIN...
# A verdict is ok (signed) or a piece of the refusal's line; WINDOWS "=" is the Linux verdict.
# The password is in MAKER_PASSWORD unless ENVIRONMENT says otherwise.
keys=(
  "pfx|MAKER_PASSWORD=s3cret|--sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD|ok|=|maker.pem maker"
  "pfx-sha256|MAKER_PASSWORD=s3cret|--catalog-hash sha256 --sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD|ok|=|maker.pem maker"
  "pfx-legacy|MAKER_PASSWORD=s3cret|--sign-pfx legacy.pfx --sign-password-env MAKER_PASSWORD|ok|=|maker.pem maker"
  "pfx-nomac|MAKER_PASSWORD=s3cret|--sign-pfx nomac.pfx --sign-password-env MAKER_PASSWORD|ok|=|maker.pem maker"
  "pfx-chain|MAKER_PASSWORD=s3cret|--sign-pfx chain.pfx --sign-password-env MAKER_PASSWORD|ok|=|root.pem leaf middle"
  "pfx-short-crt|MAKER_PASSWORD=s3cret|--catalog-hash sha256 --sign-pfx short.pfx --sign-password-env MAKER_PASSWORD|ok|=|short.pem short"
  "pfx-exponent-3|MAKER_PASSWORD=s3cret|--sign-pfx e3.pfx --sign-password-env MAKER_PASSWORD|ok|=|e3.pem e3"
  "pem|X=|--catalog-hash sha256 --sign-cert maker.pem --sign-key maker.key|ok|=|maker.pem maker"
  "pem-unordered|X=|--sign-cert unordered.pem --sign-key leaf.key|ok|=|root.pem leaf middle"
  "pem-pkcs8-encrypted|MAKER_PASSWORD=s3cret|--sign-cert maker.pem --sign-key pkcs8.key --sign-password-env MAKER_PASSWORD|ok|=|maker.pem maker"
  "pem-traditional-encrypted|MAKER_PASSWORD=s3cret|--sign-cert maker.pem --sign-key traditional.key --sign-password-env MAKER_PASSWORD|ok|=|maker.pem maker"
  "ec-p256|X=|--catalog-hash sha256 --sign-cert ec256.pem --sign-key ec256.key|ok|RSA keys only|ec256.pem ec256"
  "ec-p384-encrypted|MAKER_PASSWORD=s3cret|--catalog-hash sha256 --sign-cert ec384.pem --sign-key ec384-encrypted.key --sign-password-env MAKER_PASSWORD|ok|RSA keys only|ec384.pem ec384"
  "ec-p521|X=|--catalog-hash sha256 --sign-cert ec521.pem --sign-key ec521.key|ok|RSA keys only|ec521.pem ec521"
  "ec-pfx|MAKER_PASSWORD=s3cret|--catalog-hash sha256 --sign-pfx ec384.pfx --sign-password-env MAKER_PASSWORD|ok|RSA keys only|ec384.pem ec384"
  "ec-for-sha1|X=|--sign-cert ec256.pem --sign-key ec256.key|SHA-256 catalogs only|=|"
  "wrong-password|MAKER_PASSWORD=not-it|--sign-pfx maker.pfx --sign-password-env MAKER_PASSWORD|wrong password|=|"
  "wrong-password-nomac|MAKER_PASSWORD=not-it|--sign-pfx nomac.pfx --sign-password-env MAKER_PASSWORD|wrong password|=|"
  "wrong-password-pem|MAKER_PASSWORD=not-it|--sign-cert maker.pem --sign-key pkcs8.key --sign-password-env MAKER_PASSWORD|wrong password|=|"
  "no-password|X=|--sign-cert maker.pem --sign-key traditional.key|no password was given|=|"
  "unset-variable|X=|--sign-pfx maker.pfx --sign-password-env NO_SUCH_VARIABLE|NO_SUCH_VARIABLE is not set|=|"
  "password-as-name|X=|--sign-pfx maker.pfx --sign-password-env Secr3t-PW-77|it is not shown|=|"
  "password-in-two|X=|--sign-pfx maker.pfx --sign-password-env Secr3t PW-77|neither is shown|=|"
  "expired|X=|--sign-cert expired.pem --sign-key expired.key|'expired' expired on|=|"
  "expired-in-pfx|MAKER_PASSWORD=s3cret|--sign-pfx expired.pfx --sign-password-env MAKER_PASSWORD|'expired' expired on|=|"
  "not-code-signing|X=|--sign-cert server.pem --sign-key server.key|not for code signing|=|"
  "not-its-key|X=|--sign-cert maker.pem --sign-key other.key|does not belong to the certificate|=|"
  "rsa-1024|X=|--sign-cert small.pem --sign-key small.key|RSA key of 1024 bits|=|"
  "authority|X=|--sign-cert root.pem --sign-key root.key|certificate authority's|=|"
  "no-digital-signature|X=|--sign-cert encipher.pem --sign-key encipher.key|does not allow digital signatures|=|"
  "damaged|X=|--sign-cert maker.pem --sign-key damaged.key|private key is damaged|ok|maker.pem maker"
)
if [ -n "$wine_sh" ]; then
  : "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of this test}"
  trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT
  # Wine keeps a PKCS #12 key in this container unless told not to.
  containers='HKCU\Software\Wine\Crypto\RSA'
  bash "$wine_sh" reg delete "$containers" /f >/dev/null 2>&1 </dev/null
fi
echo "== the keys: signed by usbdrvgen${wine_sh:+ and usbdrvgen.exe}, or refused"
for row in "${keys[@]}"; do
  IFS='|' read -r name environment args linux on_windows chain <<<"$row"
  hash=sha1 && [[ $args == *"--catalog-hash sha256"* ]] && hash=sha256
  # shellcheck disable=SC2086
  env "$environment" "$usbdrvgen" --kind com --catalog --quiet --out "linux-$name" $args \
    2>"linux-$name.err"
  check_run "linux-$name" $? "$linux" "$hash" "$chain"
  [ -n "$wine_sh" ] || continue
  [ "$on_windows" = "=" ] && on_windows=$linux
  # shellcheck disable=SC2086
  env "$environment" bash "$wine_sh" "$windows/cli/usbdrvgen.exe" --kind com --catalog --quiet \
    --out "windows-$name" $args </dev/null 2>"windows-$name.err"
  check_run "windows-$name" $? "$on_windows" "$hash" "$chain"
  if [ "$linux" = ok ] && [ "$on_windows" = ok ]; then
    for catalog in "${catalogs[@]}"; do
      cmp -s "linux-$name/$catalog" "windows-$name/$catalog" ||
        fail "usbdrvgen.exe signs $catalog differently with $args"
    done
  fi
done
echo s3cret | "$usbdrvgen" --kind com --catalog --quiet --out stdin --sign-cert maker.pem \
  --sign-key traditional.key --sign-password-stdin && cmp stdin/tarnbus.cat linux-pfx/tarnbus.cat ||
  fail "the password from standard input signs differently"
if [ -n "$wine_sh" ]; then
  # Gone is what reg says of a missing key; any other failure is not an answer.
  left=$(bash "$wine_sh" reg query "$containers" </dev/null 2>&1)
  status=$?
  case $status:$left in
    0:*'Crypto\RSA\'*) fail "the PKCS #12 key was left in a key container" ;;
    0:* | 1:*'nable to find the specified registry key'*) ;;
    *) fail "reg query $containers exited $status: $left" ;;
  esac
fi

echo "== a new test certificate, its folder outside the package"
"$usbdrvgen" --kind com --catalog --quiet --out test --test-certificate test-cert ||
  fail "no test certificate was made"
openssl x509 -inform DER -in test-cert/tarn-driver-test.cer -out test.root.pem ||
  fail "no test certificate written"
signed test sha1 test.root.pem "Tarnwell driver test certificate"
# Valid for 90 days, as --help and the README say.
validity=($(openssl x509 -inform DER -in test-cert/tarn-driver-test.cer -noout -startdate -enddate |
  cut -d= -f2 | xargs -I{} date -ud {} +%s))
[ "$((${validity[1]:-0} - ${validity[0]:-0}))" = $((90 * 86400)) ] ||
  fail "the test certificate is not valid for 90 days: ${validity[*]}"
# Its name is at most the 64 characters a common name may have, and still says whose it is.
long="Müller Industrial Measurement and Control Systems GmbH & Co. KG"
"$usbdrvgen" --kind com --catalog --quiet --out long --long-name "$long" --test-certificate long-cert ||
  fail "no test certificate for the long name"
subject=$(openssl x509 -inform DER -in long-cert/tarn-driver-test.cer -noout -subject -nameopt utf8)
[ "$subject" = "subject=CN=Müller Industrial Measurement and Con... driver test certificate" ] ||
  fail "the long name's certificate: $subject"

# Refused unless the folder lies outside the package and can take the file: exit 2 and nothing
# written, the package's folder (there already, empty) included. DIR | LINUX | WINDOWS
mkdir -p tc-out elsewhere && touch a-file && ln -s tc-out tc-link && ln -s tc-out/certs tc-dangling
folders=(
  "$PWD/tc-out/certs|package's folder|="
  "x/../tc-out/certs|package's folder|="
  "tc-link/certs|package's folder|="
  "tc-link/../tc-out|package's folder|-"
  "tc-dangling|package's folder|-"
  "Z:${PWD//\//\\}\\TC-OUT\\Certs|-|package's folder"
  "|name is empty|="
  "a-file|not a folder|="
  "a-file/sub|Not a directory|-"
  "read-only/certs|Read-only file system|Access denied"
  "elsewhere/certs|ok|="
)
if [ "$(id -u)" -eq 0 ] && mkdir -p read-only && mount -t tmpfs -o size=64k,ro tmpfs read-only; then
  unmount=1
else
  echo "   (a read-only folder needs root to mount one: skipped)"
  unmount=0
fi
for build in linux windows; do
  [ "$build" = windows ] && [ -z "$wine_sh" ] && continue
  run=("$usbdrvgen") && [ "$build" = windows ] && run=(bash "$wine_sh" "$windows/cli/usbdrvgen.exe")
  for row in "${folders[@]}"; do
    IFS='|' read -r folder verdict on_windows <<<"$row"
    [ "$build" = windows ] && { [ "$on_windows" = "=" ] || verdict=$on_windows; }
    [ "$verdict" = - ] && continue
    [[ $folder == read-only* ]] && [ "$unmount" = 0 ] && continue
    "${run[@]}" --kind com --catalog --quiet --out tc-out --test-certificate "$folder" </dev/null \
      2>tc.err
    status=$?
    if [ "$verdict" = ok ]; then
      [ "$status" = 0 ] && [ -f "$folder/tarn-driver-test.cer" ] && [ ! -e tc-out/certs ] ||
        fail "$build --test-certificate $folder: exit status $status, the certificate not there"
      rm -rf tc-out/* "$folder"
    else
      [ "$status" = 2 ] || fail "$build --test-certificate '$folder': exit status $status, not 2"
      grep -q -- "$verdict" tc.err || fail "$build --test-certificate '$folder': $(cat tc.err)"
      [ -z "$(ls -A tc-out)" ] || fail "$build --test-certificate '$folder' wrote into the package"
    fi
  done
done
[ "$unmount" = 1 ] && umount read-only
# Without --out there is no package to keep out of: --dump-settings still prints.
"$usbdrvgen" --kind com --catalog --test-certificate elsewhere/certs --dump-settings >/dev/null ||
  fail "--dump-settings with --test-certificate and no --out failed"

if [ -n "$wine_sh" ]; then
  echo "== WinVerifyTrust trusts the test certificate's catalogs, made on either side"
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
