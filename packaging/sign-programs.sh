#!/usr/bin/env bash
# Signs Windows programs in place with osslsigncode (Authenticode, SHA-256), dated
# SOURCE_DATE_EPOCH so that signing the same bytes with the same key gives the same file, and
# prints the signer's subject. The certificate comes from the environment scripts/release.sh
# sets: USBWIZ_SIGN_PFX with USBWIZ_SIGN_PASSWORD_ENV (the name of the variable that holds its
# password), or USBWIZ_SIGN_CERT and USBWIZ_SIGN_KEY (PEM files).
# Usage: sign-programs.sh PROGRAM.exe...
set -euo pipefail
: "${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH must be set}"

password=""
if [ -n "${USBWIZ_SIGN_PFX:-}" ]; then
  [ -z "${USBWIZ_SIGN_PASSWORD_ENV:-}" ] || password=${!USBWIZ_SIGN_PASSWORD_ENV:-}
  key=(-pkcs12 "$USBWIZ_SIGN_PFX")
  subject=$(PASSWORD=$password openssl pkcs12 -in "$USBWIZ_SIGN_PFX" -passin env:PASSWORD \
    -nokeys -clcerts | openssl x509 -noout -subject -nameopt RFC2253)
else
  key=(-certs "$USBWIZ_SIGN_CERT" -key "$USBWIZ_SIGN_KEY")
  subject=$(openssl x509 -in "$USBWIZ_SIGN_CERT" -noout -subject -nameopt RFC2253)
fi

# The password goes through a pipe, never on a command line that ps shows.
[ -z "$password" ] || key+=(-readpass -)
for program in "$@"; do
  printf '%s' "$password" | osslsigncode sign "${key[@]}" -h sha256 \
    -n "USB Driver Installation Wizard" -time "$SOURCE_DATE_EPOCH" \
    -in "$program" -out "$program.signed" >/dev/null
  mv "$program.signed" "$program"
done
echo "${subject#subject=}"
