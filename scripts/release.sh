#!/usr/bin/env bash
# Makes the release files of this commit in build/release/: builds, tests and packages usbdrvgen
# for Linux (.deb, .tar.gz) and both Windows programs (.zip) with the release-linux and
# release-windows workflow presets, from new build folders, then checks the files as a maker
# gets them (scripts/check-release.sh). Every date in them is the commit's (SOURCE_DATE_EPOCH),
# so that another build of the commit gives the same bytes (scripts/compare-builds.sh).
#
# Usage: scripts/release.sh [--payload-dir DIR]
#          [--sign-pfx FILE [--sign-password-env VAR] | --sign-cert CERT.pem --sign-key KEY.pem]
#   --payload-dir   the real driver and program files (README: "The real driver and program
#                   files"), refused if any is a stand-in; without it the release carries the
#                   stand-ins and says so in its file names (-standins) and texts, and this
#                   script ends with a warning
#   --sign-*        sign UsbDriverWizard.exe and usbdrvgen.exe with osslsigncode; VAR names the
#                   environment variable that holds the PFX file's password. Without a
#                   certificate the programs are not signed, and the zip's README says so.
set -euo pipefail
cd "$(dirname "$0")/.."
# The modes of staged files and folders end up in the archives.
umask 022

usage() {
  sed -n 's/^# \{0,1\}//; /^Usage:/,/^$/p' "$0" >&2
  exit 2
}
payload=(-DUSBWIZ_PAYLOAD_DIR="$PWD/payload/stand-ins" -DUSBWIZ_REAL_PAYLOADS=OFF)
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --payload-dir) payload=(-DUSBWIZ_PAYLOAD_DIR="$(realpath "$2")" -DUSBWIZ_REAL_PAYLOADS=ON) ;;
    --sign-pfx) export USBWIZ_SIGN_PFX=$(realpath "$2") ;;
    --sign-password-env) export USBWIZ_SIGN_PASSWORD_ENV=$2 ;;
    --sign-cert) export USBWIZ_SIGN_CERT=$(realpath "$2") ;;
    --sign-key) export USBWIZ_SIGN_KEY=$(realpath "$2") ;;
    *) usage ;;
  esac
  shift 2
done
pfx=${USBWIZ_SIGN_PFX:+1} cert=${USBWIZ_SIGN_CERT:+1} key=${USBWIZ_SIGN_KEY:+1}
if [ "$cert" != "$key" ] || { [ -n "$pfx" ] && [ -n "$cert" ]; }; then
  echo "release: give either --sign-pfx, or --sign-cert with --sign-key" >&2
  exit 2
fi

bash scripts/setup.sh
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: warning: the work tree has changes that are not committed; the files will" \
    "not be those of commit $(git rev-parse --short HEAD)" >&2
fi

rm -rf build/release-linux build/release-windows build/release
for preset in release-linux release-windows; do
  cmake --preset "$preset" "${payload[@]}" >/dev/null
  cmake --workflow --preset "$preset"
done

# The build names the files (with -standins when it carries the stand-ins).
mkdir -p build/release
cp build/release-windows/UsbDriverWizard-*-win64.zip build/release-linux/usbdrvgen_*_amd64.deb \
  build/release-linux/usbdrvgen-*-linux-x86_64.tar.gz build/release/
(cd build/release && sha256sum -- *.zip *.deb *.tar.gz >SHA256SUMS)

check=()
[ -z "${USBWIZ_SIGN_CERT:-}" ] || check=(--cert "$USBWIZ_SIGN_CERT")
if [ -n "${USBWIZ_SIGN_PFX:-}" ]; then
  PASSWORD=${USBWIZ_SIGN_PASSWORD_ENV:+${!USBWIZ_SIGN_PASSWORD_ENV}} openssl pkcs12 \
    -in "$USBWIZ_SIGN_PFX" -passin env:PASSWORD -nokeys -clcerts -out build/release-windows/signer.pem
  check=(--cert build/release-windows/signer.pem)
fi
bash scripts/check-release.sh build/release "${check[@]}"
echo "release: build/release/ holds the release files of commit $(git rev-parse --short HEAD):"
cat build/release/SHA256SUMS
if compgen -G "build/release/*-standins*" >/dev/null; then
  echo "release: warning: these files carry the stand-in payloads: not for distribution." \
    "Give the real driver and program files with --payload-dir for a release for makers." >&2
fi
