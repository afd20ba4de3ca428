#!/usr/bin/env bash
# usbdrvgen verify against one table of packages and single faults: packages usbdrvgen writes
# (unsigned, signed with a key, with a test certificate), catalogs signed by osslsigncode, and an
# INF with decorated CatalogFile and SourceDisksFiles entries written here. Each row must give
# exactly its verdicts (beside the files of the package that no INF names) and exit status.
# With WINE_SH and the Windows build, usbdrvgen.exe gives the same answers, and Windows' own
# catalog API (CatalogMembers: SHA-1 member lookup; TrustCatalog: WinVerifyTrust) agrees on the
# SHA-1 packages, file by file and catalog by catalog.
# Usage: verify-faults.sh USBDRVGEN MAKECATALOG TINY_C WORK [WINE_SH WINDOWS_BUILD]
set -uo pipefail
usbdrvgen=$(realpath "$1") makecatalog=$(realpath "$2") tiny_c=$(realpath "$3") work=$4
wine_sh=${5:+$(realpath "$5")} windows=${6:+$(realpath "$6")}
export SOURCE_DATE_EPOCH=1767225600
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}
verify() {  # verify ARGS...: the report on stdout (JSON unless ARGS say --text), the exit status
  local format=--json
  [ "${*: -1}" = --text ] && format= && set -- "${@:1:$#-1}"
  if [ -n "$wine_sh" ]; then
    bash "$wine_sh" "$windows/cli/usbdrvgen.exe" verify "$@" $format </dev/null 2>>verify.err |
      tr -d '\r'
  else
    "$usbdrvgen" verify "$@" $format 2>>verify.err
  fi
}
flip() {  # flip FILE OFFSET: one byte changed (a negative OFFSET counts from the end)
  local at=$2
  [ "$at" -lt 0 ] && at=$(($(stat -c %s "$1") + at))
  printf "\\x$(printf %02x $((0x$(xxd -s "$at" -l 1 -p "$1") ^ 1)))" |
    dd of="$1" bs=1 seek="$at" conv=notrunc 2>/dev/null
}

echo "== keys: a CA and its code signers (one expired), a self-signed ECDSA signer, another root"
ca() {  # ca NAME: a self-signed certificate authority
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.pem" -days 30 \
    -subj "/CN=$1" -addext basicConstraints=critical,CA:true -addext keyUsage=keyCertSign 2>/dev/null
}
leaf() {  # leaf NAME DAYS [USAGE [ISSUER [DIGEST]]]: a code signer issued by ca
  openssl req -new -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$1" 2>/dev/null
  openssl x509 -req -in "$1.csr" -CA "${4:-ca}.pem" -CAkey "${4:-ca}.key" -days "$2" \
    "-${5:-sha256}" -set_serial "0x$(openssl rand -hex 8)" -out "$1.pem" \
    -extfile <(echo "extendedKeyUsage=${3:-codeSigning}") 2>/dev/null
}
ca ca && ca other && leaf maker 30 && leaf expired -1 && leaf server 30 serverAuth
leaf fakeca 30 && leaf sub 30 codeSigning fakeca  # issued by a signer that is no authority
leaf sha384 30 codeSigning ca sha384
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -keyout ec.key -out ec.pem \
  -days 30 -subj /CN=ec -addext extendedKeyUsage=codeSigning 2>/dev/null

echo "== packages"
"$usbdrvgen" --kind com --catalog --quiet --out unsigned
"$usbdrvgen" --kind com --catalog --catalog-hash sha256 --quiet --out key --sign-cert maker.pem \
  --sign-key maker.key
"$usbdrvgen" --kind com --catalog --quiet --out test --test-certificate test-cert
openssl x509 -inform DER -in test-cert/tarn-driver-test.cer -out test.pem
"$usbdrvgen" --kind com --catalog --catalog-hash sha256 --quiet --out ecdsa --sign-cert ec.pem \
  --sign-key ec.key
ossl_sign() {  # ossl_sign FROM TO CERT KEY: FROM's package with its catalogs signed by osslsigncode
  cp -r "$1" "$2"
  for catalog in "$2"/*.cat; do
    rm "$catalog"
    osslsigncode sign -certs "$3" -key "$4" -h sha256 -in "$1/${catalog##*/}" -out "$catalog" \
      >/dev/null || fail "osslsigncode cannot sign $catalog"
  done
}
cat maker.pem ca.pem >maker-chain.pem
ossl_sign unsigned ossl maker-chain.pem maker.key
ossl_sign unsigned expired expired.pem expired.key
ossl_sign unsigned server server.pem server.key
cat sub.pem fakeca.pem >sub-chain.pem
ossl_sign unsigned noca sub-chain.pem sub.key
ossl_sign unsigned sha384 sha384.pem sha384.key

# A Unicode INF for two architectures: the amd64 files in a folder of their own (spelt in another
# case on disk than in the INF), SHA-256 and SHA-1 catalogs, string keys, quotes and comments.
mkdir -p decorated/AMD64 && cd decorated || exit 1
{ printf '\xff\xfe' && iconv -f UTF-8 -t UTF-16LE; } >deco.inf <<'INF'
[Version]
Signature   = "$WINDOWS NT$"
Class       = USB
ClassGuid   = {36FC9E60-C465-11CF-8056-444553540000}
Provider    = %Maker%
DriverVer   = 01/01/2026,1.0.0.0
CatalogFile.NTamd64 = deco64.cat   ; Windows 8 and later
CatalogFile.NTx86   = "deco32.cat"

[Manufacturer]
%Maker% = Models, NTamd64, NTx86.5.1

[SourceDisksNames]
1 = %Disk%,,,

[SourceDisksNames.amd64]
1 = %Disk%,,,\amd64

[SourceDisksFiles]
common.dll = 1

[SourceDisksFiles.amd64]
%Driver%.sys = 1

[SourceDisksFiles.x86]
%Driver%.sys = 1, \
               x86

[Strings]
Maker  = "Test ""Maker"" ; Inc."
Disk   = "Driver disk"
Driver = Deco
INF
mkdir x86
x86_64-w64-mingw32-gcc-posix -Os -nostdlib -e start -s -o AMD64/DECO.SYS "$tiny_c"
x86_64-w64-mingw32-objcopy -O pei-i386 AMD64/DECO.SYS x86/deco.sys
echo "common 32" >common.dll && echo "common 64" >AMD64/Common.dll
"$makecatalog" sha256 "$SOURCE_DATE_EPOCH" 2:6.2 deco64.unsigned deco.inf=deco.inf \
  deco.sys=AMD64/DECO.SYS common.dll=AMD64/Common.dll
"$makecatalog" sha1 "$SOURCE_DATE_EPOCH" 2:5.1 deco32.unsigned deco.inf=deco.inf \
  deco.sys=x86/deco.sys common.dll=common.dll
for catalog in deco64 deco32; do
  osslsigncode sign -certs ../maker-chain.pem -key ../maker.key -in "$catalog.unsigned" \
    -out "$catalog.cat" >/dev/null && rm "$catalog.unsigned"
done
cd .. || exit 1

echo "== the table"
# name | package | fault (@ stands for the package's copy) | verify's options | the lines that
# are not ok, but for the files the package itself holds and no INF names, as VERDICT@FILE,
# comma-separated ('*' and '?' as in the shell), or error:REASON for a folder that cannot be
# checked | exit status | the Windows build's verdicts and status, where they differ
rows=(
  "unsigned|unsigned|:||unsigned@tarnbus.cat,unsigned@tarnser.cat|0"
  "unsigned, a root given|unsigned|:|--root ca.pem|untrusted@tarnbus.cat,untrusted@tarnser.cat|1"
  "signed with a key|key|:|--root ca.pem||0"
  "no root: chains not judged|key|:|||0"
  "test certificate|test|:|--root test.pem||0"
  "osslsigncode|ossl|:|--root ca.pem||0"
  "decorated INF|decorated|:|--root ca.pem||0"
  "a carried file changed|key|flip @/tarnser.sys 10|--root ca.pem|changed@tarnser.sys|1"
  "a PE file changed|test|flip @/tarnunin.exe -10|--root test.pem|changed@tarnunin.exe|1"
  "an INF changed|key|flip @/tarnw2k.inf 10|--root ca.pem|changed@tarnw2k.inf|1"
  "a file removed|test|rm @/tarncr.sys|--root test.pem|missing@tarncr.sys|1"
  "a stray driver file|key|touch @/tarnold.sys|--root ca.pem|stray@tarnold.sys|1"
  "a stray text file|key|touch @/stray.txt|--root ca.pem|not named@stray.txt|0"
  "the catalogs swapped|test|swap @|--root test.pem|wrong catalog@*|1"
  "a signature byte changed|test|flip @/tarnbus.cat -5|--root test.pem|bad signature@tarnbus.cat|1"
  "root not given (unknown issuer)|key|:|--root other.pem|untrusted@tarnbus.cat,untrusted@tarnser.cat|1"
  "root not given (self-signed)|test|:|--root other.pem|untrusted@tarnbus.cat,untrusted@tarnser.cat|1"
  "an expired signer|expired|:|--root ca.pem|expired@tarnbus.cat,expired@tarnser.cat|1"
  "a decorated file changed|decorated|flip @/AMD64/Common.dll 2|--root ca.pem|changed@AMD64?Common.dll|1"
  "not for code signing|server|:|--root ca.pem|not for code signing@tarnbus.cat,not for code signing@tarnser.cat|1"
  "an issuer that is no authority|noca|:|--root ca.pem|untrusted@tarnbus.cat,untrusted@tarnser.cat|1"
  "ECDSA|ecdsa|:|--root ec.pem||0|cannot check@tarnbus.cat,cannot check@tarnser.cat|1"
  "a signer's certificate signed with SHA-384|sha384|:|--root ca.pem|cannot check@tarnbus.cat,cannot check@tarnser.cat|1"
  "two names alike but for case|key|cp @/tarnser.sys @/TARNSER.SYS|--root ca.pem|ambiguous@tarnser.sys|1"
  "a stray file of an odd name|key|odd_name @|--root ca.pem|not named@odd*name|0"
  "no INF file|key|rm @/*.inf|--root ca.pem|error:no INF file in the folder|2"
  "a catalog cut short|key|truncate -s 100 @/tarnser.cat|--root ca.pem|error:tarnser.cat: not a catalog|2"
  "an INF over 64 MiB|key|truncate -s 65M @/tarnbus.inf|--root ca.pem|error:larger than 64 MiB|2"
  "a root that is no certificate|key|:|--root key/setup.ini|error:no certificate in it|2"
  "no such folder|key|rm -r @|--root ca.pem|error:no such folder|2"
)
odd_name() { touch "$1/$(printf 'odd\001\377 name')"; }  # a control byte, not UTF-8
swap() {
  mv "$1/tarnbus.cat" "$1/x.cat" && mv "$1/tarnser.cat" "$1/tarnbus.cat" && mv "$1/x.cat" "$1/tarnser.cat"
}
# The lines that are not ok as VERDICT@FILE, sorted.
findings() { jq -r '.files[]? | select(.verdict != "ok") | "\(.verdict)@\(.file)"' | sort; }
matches() {  # matches LINE ITEM...
  local line=$1 item
  shift
  for item in "$@"; do
    # shellcheck disable=SC2053
    [[ "$line" == $item ]] && return 0
  done
  return 1
}

for row in "${rows[@]}"; do
  IFS='|' read -r name package fault options expected status on_windows <<<"$row"
  [ -n "$wine_sh" ] && [ -n "$on_windows" ] && expected=${on_windows%|*} status=${on_windows##*|}
  # shellcheck disable=SC2086
  verify "$package" $options | findings | grep '^not named@' >before.txt
  rm -rf faulty && cp -r "$package" faulty && ${fault//@/faulty}
  # shellcheck disable=SC2086
  verify faulty $options >report.json
  got=$?
  [ "$got" = "$status" ] || fail "$name: exit status $got, not $status"
  if [[ "$expected" == error:* ]]; then
    error=$(jq -r .error report.json)
    [[ "$error" == *"${expected#error:}"* ]] || fail "$name: the reason is '$error'"
    echo "$name: exit $got; $error"
    continue
  fi
  findings <report.json | comm -13 before.txt - >new.txt
  IFS=',' read -r -a wanted <<<"$expected"
  for item in "${wanted[@]}"; do
    found=0
    while read -r line; do matches "$line" "$item" && found=1; done <new.txt
    [ "$found" = 1 ] || fail "$name: no $item among: $(tr '\n' ' ' <new.txt)"
  done
  while read -r line; do
    matches "$line" "${wanted[@]}" || fail "$name: $line as well"
  done <new.txt
  first=$(head -n 1 new.txt)
  echo "$name: exit $got${first:+; $first: $(jq -r --arg f "$first" '.files[] | select("\(.verdict)@\(.file)" == $f) | .reason' report.json | head -n 1)}"
done

echo "== the text report: the JSON report's lines in columns, and its counts"
rm -rf faulty && cp -r key faulty && flip faulty/tarnser.sys 10
verify faulty --root ca.pem >report.json
verify faulty --root ca.pem --text >report.txt
[ "$(grep -c . report.txt)" = "$(($(jq '.files | length' report.json) + 1))" ] ||
  fail "the text report has $(grep -c . report.txt) lines"
grep -q '^tarnser\.sys  *tarnser\.cat  *changed  *tarnser\.cat lists another digest' report.txt ||
  fail "no changed line in columns: $(cat report.txt)"
summary="$(jq -r '.summary | "\(.checked) checked: \(.ok) ok, \(.failed) failed (changed 1), \(.notes) notes"' report.json)"
[ "$(tail -n 1 report.txt)" = "$summary; chains checked against the given roots" ] ||
  fail "the text report's summary is '$(tail -n 1 report.txt)', not '$summary; ...'"

if [ -n "$wine_sh" ]; then
  : "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix of this test}"
  trap 'WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT
  programs=$windows/tests/catalog/programs
  echo "== Windows' own catalog API on the SHA-1 packages"
  # agree PACKAGE ROOT_PEM [SHOWN]: per catalog, CatalogMembers finds exactly the flat files
  # verify says are listed in it (Wine hashes PE files whole, not as Windows does), and
  # WinVerifyTrust trusts it (the root put into the prefix's stores) exactly when verify says its
  # signature is ok; with SHOWN its answer is only shown: Wine 8 checks the signature and the
  # chain to a trusted root, but not the signer's validity period, usage or issuer's CA flag.
  agree() {
    local package=$1 root=$2 shown=${3:-} catalog report
    report=$(verify "$package" --root "$root")
    openssl x509 -in "$root" -outform DER -out root.cer
    for catalog in $(jq -r '.files[] | select(.file == .catalog) | .file' <<<"$report"); do
      local files=() listed=() found file entry
      while IFS=$'\t' read -r file verdict; do
        case $(file -b "$package/$file") in PE32*) continue ;; esac
        files+=("file:$file")
        [ "$verdict" = ok ] && listed+=("$file")
      done < <(jq -r --arg c "$catalog" '.files[] | select(.catalog == $c and .file != $c and
        .verdict != "missing") | "\(.file)\t\(.verdict)"' <<<"$report")
      found=$(cd "$package" && bash "$wine_sh" "$programs/CatalogMembers.exe" "$catalog" sha1 \
        "${files[@]}" </dev/null | tr -d '\r' | sed -n 's/^FAIL file \([^ ]*\) is not in.*/\1/p')
      for entry in "${files[@]}"; do
        file=${entry#file:}
        local windows=listed ours=other
        grep -qx -- "$file" <<<"$found" && windows=other
        grep -qx -- "$file" < <(printf '%s\n' "${listed[@]}") && ours=listed
        [ "$windows" = "$ours" ] || fail "$package/$file in $catalog: Windows says $windows, verify $ours"
      done
      local trusted=no ours=no
      bash "$wine_sh" "$programs/TrustCatalog.exe" root.cer "$package/$catalog" </dev/null \
        >/dev/null && trusted=yes
      [ "$(jq -r --arg c "$catalog" '.files[] | select(.file == $c) | .verdict' <<<"$report")" = ok ] &&
        ours=yes
      [ -z "$shown" ] && [ "$trusted" != "$ours" ] &&
        fail "$package/$catalog: WinVerifyTrust trusted=$trusted, verify ok=$ours"
      echo "$package/$catalog: of ${#files[@]} flat files Windows lists $((${#files[@]} - $(grep -c . <<<"$found"))), verify ${#listed[@]}; WinVerifyTrust trusted=$trusted, verify ok=$ours"
    done
  }
  # Another root first: the prefix's stores keep what TrustCatalog puts into them.
  agree test other.pem
  rm -rf agree && cp -r test agree && flip agree/tarnser.sys 10 && rm agree/tarncr.sys &&
    flip agree/tarnw2k.inf 10 && flip agree/tarnbus.cat -5
  agree agree test.pem
  agree test test.pem
  agree ossl ca.pem
  agree server ca.pem shown
  agree noca ca.pem shown
  agree expired ca.pem shown
fi

[ "$failed" -eq 0 ] && echo "PASS: every package and fault gives its verdicts"
exit "$failed"
