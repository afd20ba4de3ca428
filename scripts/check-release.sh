#!/usr/bin/env bash
# Checks the release files in DIR as a maker gets them; scripts/release.sh runs it.
#   .deb     what dpkg-deb says of it (-I, -c), lintian without errors, its usbdrvgen --version;
#            as root, installed with the README's apt line (--version, man finds its page) and
#            purged again
#   .tar.gz  its usbdrvgen needs nothing but glibc, and the glibc its README names; it is the
#            .deb's program and lists the carried files as the copyright file does; the
#            README's line installs it into a home without ~/.local
#   all      no program names the folder it was built in
#   .zip     its SHA256SUMS hold; under Wine both programs answer --version, usbdrvgen.exe
#            lists the carried files as the notices do and writes the packages the Linux
#            program writes, byte for byte; signed by CERT when one is given, else unsigned
#   mark     when the programs carry any of payload/stand-ins, and only then, the file names
#            carry -standins, and --version, --payloads, the READMEs and the .deb's description
#            say "stand-in payloads: not for distribution"
# Usage: scripts/check-release.sh DIR [--cert CERT.pem]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath "${1:?usage: check-release.sh DIR [--cert CERT.pem]}")
cert=""
[ "${2:-}" != --cert ] || cert=$(realpath "$3")
version=$(sed -n 's/^project(UsbDriverWizard VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
mark="stand-in payloads: not for distribution"
suffix=""
[ ! -f "$dir/UsbDriverWizard-$version-standins-win64.zip" ] || suffix=-standins
zip=$dir/UsbDriverWizard-$version$suffix-win64.zip
deb=$dir/usbdrvgen_$version${suffix}_amd64.deb
tgz=$dir/usbdrvgen-$version$suffix-linux-x86_64.tar.gz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Catalogs carry their time: both programs must be given the same.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date +%s)}
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}
# The carried files as a notice lists them: lines of a SHA-256, a size and a name.
listing() { grep -E '^ *[0-9a-f]{64}  [0-9]+  ' "$1" | sed 's/^ *//; s/\r$//'; }
# WHAT TEXT: TEXT shows the stand-in mark exactly when the programs carry stand-ins.
stand_ins=unknown
expect_mark() {
  local shown=no
  ! grep -qF "$mark" <<<"$2" || shown=yes
  [ "$shown" = "$stand_ins" ] ||
    fail "$1: the stand-in mark shown: $shown; the programs carry stand-ins: $stand_ins"
}

for file in "$zip" "$deb" "$tgz"; do
  [ -f "$file" ] || { fail "missing $file"; exit 1; }
done
[ ! -f "$dir/SHA256SUMS" ] || (cd "$dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS"

echo "== $(basename "$deb")"
dpkg-deb -I "$deb"
dpkg-deb -c "$deb"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail ".deb: Version is not $version"
dpkg-deb -f "$deb" Depends | grep -q '^libc6 (>= ' || fail ".deb: Depends names no libc6"
tags=$(lintian --fail-on error "$deb" 2>&1)
status=$?
tags=$(grep -v 'root privileges' <<<"$tags")
echo "lintian: exit status $status, ${tags:-no tags}"
[ "$status" = 0 ] || fail ".deb: lintian reports errors"
dpkg-deb -x "$deb" "$work/deb"
# Whether the programs carry stand-ins, from what they carry: a file byte for byte one of
# payload/stand-ins. Everything a maker reads first must then say so, and nothing otherwise.
stand_ins=no
grep -q ': OK$' < <("$work/deb/usr/bin/usbdrvgen" --payloads | awk '!/^#/ {print $1 "  " $3}' |
  (cd "$root/payload/stand-ins" && sha256sum -c 2>/dev/null)) && stand_ins=yes
release=$version expected_suffix=""
[ "$stand_ins" = no ] || release="$version ($mark)" expected_suffix=-standins
[ "$suffix" = "$expected_suffix" ] ||
  fail "the file names carry '$suffix'; the programs carry stand-ins: $stand_ins"
echo "stand-in payloads: $stand_ins"
expect_mark ".deb: Description" "$(dpkg-deb -f "$deb" Description)"
[ "$("$work/deb/usr/bin/usbdrvgen" --version)" = "usbdrvgen $release" ] ||
  fail ".deb: usbdrvgen --version"
# Installed as a maker installs it, where that changes nothing already there: root, and no
# usbdrvgen package on the machine. Removed again afterwards.
if [ "$(id -u)" = 0 ] && ! dpkg -s usbdrvgen >/dev/null 2>&1; then
  if (cd "$dir" && apt install "./${deb##*/}" >"$work/apt.log" 2>&1); then
    [ "$(/usr/bin/usbdrvgen --version)" = "usbdrvgen $release" ] ||
      fail ".deb installed: usbdrvgen --version"
    man -w usbdrvgen >/dev/null 2>&1 || fail ".deb installed: no manual page for man"
    echo "installed: $(/usr/bin/usbdrvgen --version), manual page $(man -w usbdrvgen)"
    dpkg --purge usbdrvgen >/dev/null || fail ".deb: dpkg --purge"
  else
    fail ".deb: apt install ./${deb##*/}: $(cat "$work/apt.log")"
  fi
fi

echo "== $(basename "$tgz")"
tar -tzvf "$tgz"
tar -xzf "$tgz" -C "$work"
top=$work/usbdrvgen-$version$suffix-linux-x86_64
linux=$top/bin/usbdrvgen
cmp -s "$linux" "$work/deb/usr/bin/usbdrvgen" || fail ".tar.gz: not the .deb's program"
needed=$(readelf -d "$linux" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
[ "$needed" = "ld-linux-x86-64.so.2 libc.so.6 " ] || fail ".tar.gz: usbdrvgen needs $needed"
glibc=$(objdump -T "$linux" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -1)
echo "usbdrvgen needs: $needed(newest symbol version $glibc)"
grep -q "needs glibc ${glibc#GLIBC_} or later" "$top/share/doc/usbdrvgen/README" ||
  fail ".tar.gz: the README does not name glibc ${glibc#GLIBC_}"
# As the README installs it, for the user who runs this.
HOME=$work/home bash -c 'mkdir -p ~/.local && tar -xzf "$0" --strip-components=1 -C ~/.local' \
  "$tgz" && [ "$("$work/home/.local/bin/usbdrvgen" --version)" = "usbdrvgen $release" ] &&
  [ -f "$work/home/.local/share/man/man1/usbdrvgen.1.gz" ] ||
  fail ".tar.gz: the README's line does not install it into ~/.local"
listing "$top/share/doc/usbdrvgen/copyright" >"$work/notices-linux"
"$linux" --payloads >"$work/payloads-linux"
listing "$work/payloads-linux" | diff -u "$work/notices-linux" - ||
  fail ".tar.gz: --payloads and copyright"
expect_mark ".tar.gz: usbdrvgen --payloads" "$(head -1 "$work/payloads-linux")"
expect_mark ".tar.gz: README" "$(head -1 "$top/share/doc/usbdrvgen/README")"
[ -s "$work/notices-linux" ] || fail ".tar.gz: the copyright file names no carried file"

echo "== $(basename "$zip")"
unzip -l "$zip"
unzip -q "$zip" -d "$work/zip"
win=$work/zip/UsbDriverWizard-$version$suffix-win64
[ "$(cd "$win" && ls | tr '\n' ' ')" = \
  "LICENSE.txt README.txt SHA256SUMS THIRD-PARTY-NOTICES.txt UsbDriverWizard.exe usbdrvgen.exe " ] ||
  fail ".zip: unexpected files: $(ls "$win" | tr '\n' ' ')"
(cd "$win" && sha256sum --quiet -c SHA256SUMS) || fail ".zip: SHA256SUMS"
for program in "$win/UsbDriverWizard.exe" "$win/usbdrvgen.exe" "$linux"; do
  ! grep -q -F "$root" < <(strings -a "$program") || fail "${program##*/} names the build's folder"
done

export WINEPREFIX=${WINEPREFIX:-$root/build/wine-release-check}
wine() { bash "$root/scripts/wine.sh" "$@" 2>/dev/null | tr -d '\r'; }
[ "$(wine "$win/UsbDriverWizard.exe" --version)" = "UsbDriverWizard $release" ] ||
  fail ".zip: UsbDriverWizard.exe --version under Wine"
[ "$(wine "$win/usbdrvgen.exe" --version)" = "usbdrvgen $release" ] ||
  fail ".zip: usbdrvgen.exe --version under Wine"
listing "$win/THIRD-PARTY-NOTICES.txt" >"$work/notices-windows"
wine "$win/usbdrvgen.exe" --payloads >"$work/payloads-windows"
listing "$work/payloads-windows" | diff -u "$work/notices-windows" - ||
  fail ".zip: --payloads and THIRD-PARTY-NOTICES.txt"
expect_mark ".zip: usbdrvgen.exe --payloads" "$(head -1 "$work/payloads-windows")"
expect_mark ".zip: README.txt" "$(head -1 "$win/README.txt")"
cmp -s "$work/notices-windows" "$work/notices-linux" || fail "the .zip and .tar.gz carry other files"
packages=("--kind com --pid C7A0 --uninstall-name acmeun --long-name Acme --catalog"
  "--kind ferrolink --no-preinstaller")
for i in "${!packages[@]}"; do
  read -ra options <<<"${packages[$i]}"
  "$linux" "${options[@]}" --quiet --out "$work/linux-$i" || fail "usbdrvgen ${packages[$i]}"
  wine "$win/usbdrvgen.exe" "${options[@]}" --quiet --out "Z:${work//\//\\}\\windows-$i" ||
    fail "usbdrvgen.exe ${packages[$i]}"
  diff -r "$work/linux-$i" "$work/windows-$i" >/dev/null && [ -n "$(ls "$work/linux-$i")" ] ||
    fail "usbdrvgen.exe under Wine and usbdrvgen wrote different packages (${packages[$i]})"
  echo "package ${packages[$i]}: $(ls "$work/linux-$i" | wc -l) files, the same from both programs"
done

for exe in UsbDriverWizard usbdrvgen; do
  if [ -n "$cert" ]; then
    osslsigncode verify -CAfile "$cert" -in "$win/$exe.exe" >/dev/null ||
      fail ".zip: $exe.exe is not signed by $cert"
  elif osslsigncode verify -in "$win/$exe.exe" >/dev/null 2>&1 ||
    ! grep -q "not signed" "$win/README.txt"; then
    fail ".zip: $exe.exe was to be unsigned, and README.txt to say so"
  fi
done
echo "signature: ${cert:-none (README.txt says the programs are not signed)}"

[ "$failed" = 0 ] && echo "check-release: the release files in $dir are sound"
exit "$failed"
