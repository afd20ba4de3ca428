#!/usr/bin/env bash
# The manual page as man shows it: groff warns about nothing (lintian reads it the same way),
# and it names exactly the options --help names, spelt so that they copy as typed.
# Usage: manual-page.sh USBDRVGEN MANUAL.1.gz
set -euo pipefail
usbdrvgen=$1 manual=$2
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
