#!/usr/bin/env bash
# usbdrvgen --payloads lists the payload folder as CMake hashed it, and says "stand-in payloads:
# not for distribution" (there, as a comment line, and in --version) exactly when a carried file
# is byte for byte one of payload/stand-ins.
# Usage: payload-listing.sh USBDRVGEN LISTING STAND-INS
set -uo pipefail
usbdrvgen=$1 listing=$2 stand_ins=$3
mark="stand-in payloads: not for distribution"
payloads=$("$usbdrvgen" --payloads) || exit 1
diff -u "$listing" <(grep -v '^#' <<<"$payloads") || exit 1
expected=no
# grep reads to the end: with -q it would stop at the first match and, under pipefail, the
# sha256sum it cut short would fail the pipe now and then.
awk '{print $1 "  " $3}' "$listing" | (cd "$stand_ins" && sha256sum -c 2>/dev/null) |
  grep ': OK$' >/dev/null && expected=yes
shown=no
[ "$(head -1 <<<"$payloads")" != "# $mark" ] ||
  [[ "$("$usbdrvgen" --version)" != *" ($mark)" ]] || shown=yes
[ "$shown" = "$expected" ] && exit 0
echo "FAIL: the stand-in mark shown: $shown; the build carries stand-ins: $expected" >&2
exit 1
