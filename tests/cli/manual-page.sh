#!/usr/bin/env bash
# The manual page as man shows it: groff warns about nothing (lintian reads it the same way),
# and it names exactly the options --help names, spelt so that they copy as typed. The sections
# made from the program's data agree with the program: each kind's defaults with --dump-settings,
# each package's files with --list, and every example runs as written.
# Usage: manual-page.sh USBDRVGEN MANUAL.1.gz
set -euo pipefail
usbdrvgen=$(realpath "$1") manual=$2
options() { grep -o -e '--[a-z0-9][a-z0-9-]*' | sort -u; }

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  echo "FAIL: groff warns about $manual:" >&2
  echo "$warnings" >&2
  exit 1
fi
shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$manual" 2>/dev/null | col -b | options)
helped=$("$usbdrvgen" --help | options)
if [ "$shown" != "$helped" ] || [ -z "$helped" ]; then
  echo "FAIL: the manual and --help name different options:" >&2
  diff <(echo "$helped") <(echo "$shown") >&2 || true
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}
# The page's source with its escapes undone, and one section or subsection of it.
source=$(zcat "$manual" | sed 's/\\-/-/g; s/\\e/\\/g')
part() {
  awk -v head="$1" -v end="^\\${1:0:3} |^\\.SH " '$0 == head {on = 1; next} $0 ~ end {on = 0} on' \
    <<<"$source"
}
for name in "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
  [ -n "$(part ".SH $name")" ] || fail "no section $name"
done

for kind in com ferrolink; do
  names=$(part ".SS \"--kind $kind\"" | sed -n 's/^\.I //p')
  while IFS= read -r line; do
    field=${line%% =*} value=${line#* = }
    [ "$line" != "$field =" ] || value="(empty)"
    entry=$(part ".SS \"Settings files (--settings FILE, --dump-settings)\"" |
      grep -A1 -x ".B $field" | tail -n +2 || true)
    [[ "$entry" == "$kind: $value;"* || "$entry" == *"; $kind: $value"* ||
      "$entry" == "$value for both kinds"* ]] ||
      fail "the manual gives $field as '$entry', --kind $kind --dump-settings as '$value'"
    names=${names//"{$field}"/$value}
  done < <("$usbdrvgen" --kind $kind --dump-settings | grep -v '^#')
  listed=$({ "$usbdrvgen" --kind $kind --catalog --list --out "$work/x" 2>/dev/null ||
    "$usbdrvgen" --kind $kind --list --out "$work/x"; } | sed 's|.*/||' | sort)
  names=$(sort <<<"$names")
  [ -n "$listed" ] && [ "$names" = "$listed" ] ||
    fail "the manual's --kind $kind package is not what --list names:
$(diff <(echo "$listed") <(echo "$names"))"
done

# The examples, run as written, with a maker's certificate in the files they name.
part ".SH EXAMPLES" | awk '/^\.nf$/ {on = 1; next} /^\.fi$/ {on = 0} on' >"$work/examples.sh"
(
  cd "$work"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout maker.key -out maker-chain.pem -days 30 \
    -subj /CN=maker -addext extendedKeyUsage=codeSigning 2>/dev/null
  openssl pkcs12 -export -in maker-chain.pem -inkey maker.key -out maker.pfx -passout pass:...
  PATH=$(dirname "$usbdrvgen"):$PATH bash -e examples.sh >examples.out 2>&1
) || fail "the examples failed: $(cat "$work/examples.out")"
exit "$failed"
